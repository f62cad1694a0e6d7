// CXMLArchive: modes, the child elements, numbers, texts and arrays. The
// time types are in XMLArchiveTime.cpp.
#include "xml/XMLArchive.h"

#include "text/Base64Coding.h"

#include <charconv>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

using Element = CExtensibleMarkupLanguageElement;

namespace {

const char kEntryTag[] = "ENTRY";

const char* SkipSpaces(const char* text)
{
    while (*text == ' ' || *text == '\t' || *text == '\r' || *text == '\n' || *text == '\f' || *text == '\v') {
        ++text;
    }
    return text;
}

int DigitValue(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'Z') {
        return c - 'A' + 10;
    }
    return 99;
}

// The conversion of strtoul where unsigned long has 32 bits, on every
// system: blanks, an optional sign, digits of the base (and "0x" in base
// 16); overflow gives 0xFFFFFFFF; a '-' negates modulo 2^32; no digits
// give 0.
std::uint32_t ToUnsigned32(const char* text, int base)
{
    text = SkipSpaces(text);
    bool negative = false;
    if (*text == '+' || *text == '-') {
        negative = *text == '-';
        ++text;
    }
    if (base == 16 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') && DigitValue(text[2]) < 16) {
        text += 2;
    }
    std::uint64_t value = 0;
    bool overflow = false;
    for (; DigitValue(*text) < base; ++text) {
        value = value * std::uint64_t(base) + std::uint64_t(DigitValue(*text));
        if (value > 0xFFFFFFFFu) {
            overflow = true;
            value = 0xFFFFFFFFu;
        }
    }
    if (overflow) {
        return 0xFFFFFFFFu;
    }
    return negative ? std::uint32_t(0u - std::uint32_t(value)) : std::uint32_t(value);
}

// strtod without the locale: the decimal point is always '.'.
double ToDouble(const char* text)
{
    text = SkipSpaces(text);
    if (*text == '+') {
        ++text;
    }
    double value = 0.0;
    std::from_chars(text, text + std::strlen(text), value);
    return value;
}

// "%.15lf" with the trailing zeros removed (the point stays), or the
// shortest text that reads back exactly when that form loses bits.
CString DoubleText(double value)
{
    char buffer[512];
    const auto fixed = std::to_chars(buffer, buffer + sizeof buffer - 1, value, std::chars_format::fixed, 15);
    int length = fixed.ec == std::errc() ? int(fixed.ptr - buffer) : 0;
    while (length > 0 && buffer[length - 1] == '0') {
        --length;
    }
    buffer[length] = '\0';
    CString text = length > 0 ? CString(buffer, length) : CString("0.0");
    const double back = ToDouble(text);
    if (back == value || (back != back && value != value)) {
        return text;
    }
    const auto shortest = std::to_chars(buffer, buffer + sizeof buffer - 1, value);
    return CString(buffer, int(shortest.ptr - buffer));
}

// Whole seconds, negative spans with a '-'. Text written as a 32-bit
// unsigned number reads back the same.
long long ToSeconds(const char* text)
{
    return std::strtoll(SkipSpaces(text), nullptr, 10);
}

} // namespace

CXMLArchive::CXMLArchive()
{
    TIME_ZONE_INFORMATION zone {};
    const DWORD which = GetTimeZoneInformation(&zone);
    if (which == TIME_ZONE_ID_INVALID) {
        return;
    }
    // The bias in force now: UTC = local time + bias.
    LONG bias = zone.Bias;
    if (which == TIME_ZONE_ID_DAYLIGHT) {
        bias += zone.DaylightBias;
    } else if (which == TIME_ZONE_ID_STANDARD) {
        bias += zone.StandardBias;
    }
    const int hours = -bias / 60;
    const int minutes = -(bias % 60);
    if (hours == 0 && minutes == 0) {
        m_TimeZoneSuffix = "Z";
        return;
    }
    const char sign = hours < 0 || minutes < 0 ? '-' : '+';
    m_TimeZoneSuffix.Format("X%02d:%02d", std::abs(hours), std::abs(minutes));
    m_TimeZoneSuffix.SetAt(0, sign);
}

CXMLArchive::~CXMLArchive() = default;

void CXMLArchive::SetAddNewLineAfterEachElement(BOOL addNewLine)
{
    m_AddNewLineAfterEachElement = addNewLine != FALSE;
}

BOOL CXMLArchive::GetAddNewLineAfterEachElement() const
{
    return m_AddNewLineAfterEachElement ? TRUE : FALSE;
}

BOOL CXMLArchive::IsLoading() const
{
    return m_IsStoring ? FALSE : TRUE;
}

BOOL CXMLArchive::IsStoring() const
{
    return m_IsStoring ? TRUE : FALSE;
}

Element* CXMLArchive::GetElement() const
{
    return m_Element;
}

void CXMLArchive::ReadFrom(Element* element)
{
    m_IsStoring = false;
    m_Element = element;
}

void CXMLArchive::WriteTo(Element* element)
{
    m_IsStoring = true;
    m_Element = element;
}

BOOL CXMLArchive::SerializeObject(const char* name, void* object, XML_ARCHIVE_SERIALIZE_FUNCTION function)
{
    if (name == nullptr || *name == '\0' || object == nullptr || function == nullptr) {
        return FALSE;
    }
    return function(*this, CString(name), object) != FALSE ? TRUE : FALSE;
}

// --- Children ---

Element* CXMLArchive::AddChild(const char* name, const CString& text, bool asMarkup)
{
    if (!m_IsStoring || m_Element == nullptr || name == nullptr) {
        return nullptr;
    }
    Element* child = Element::NewElement(m_Element, Element::typeElement);
    child->SetTag(name);
    if (text.IsEmpty()) {
        // No text child at all: the element is written as empty.
    } else if (asMarkup) {
        child->AddTextXML(text);
    } else {
        child->AddText(text);
    }
    if (m_AddNewLineAfterEachElement) {
        m_Element->AddTextXML("\r\n");
    }
    return child;
}

Element* CXMLArchive::FindChild(const char* name) const
{
    if (m_IsStoring || m_Element == nullptr || name == nullptr) {
        return nullptr;
    }
    return m_Element->GetChild(name);
}

Element* CXMLArchive::ReadText(const char* name, CString& text) const
{
    Element* child = FindChild(name);
    if (child != nullptr) {
        child->GetText(text);
    }
    return child;
}

// --- Numbers ---

Element* CXMLArchive::Write(const char* name, BYTE value)
{
    CString text;
    text.Format("%x", unsigned(value));
    return AddChild(name, text, false);
}

Element* CXMLArchive::Write(const char* name, unsigned long long value)
{
    CString text;
    text.Format("%llu", value);
    return AddChild(name, text, false);
}

Element* CXMLArchive::Write(const char* name, long long value)
{
    CString text;
    text.Format("%lld", value);
    return AddChild(name, text, false);
}

Element* CXMLArchive::Write(const char* name, long value)
{
    if (value < long(INT32_MIN) || value > long(INT32_MAX)) {
        return nullptr;
    }
    return Write(name, static_cast<unsigned long>(static_cast<std::uint32_t>(value)));
}

Element* CXMLArchive::Write(const char* name, unsigned long value)
{
    if (value > 0xFFFFFFFFul) {
        return nullptr;
    }
    CString text;
    text.Format("%lu", value);
    return AddChild(name, text, false);
}

Element* CXMLArchive::Write(const char* name, double value)
{
    return AddChild(name, DoubleText(value), false);
}

Element* CXMLArchive::Write(const char* name, int value)
{
    return AddChild(name, value != 0 ? "1" : "0", false);
}

Element* CXMLArchive::Read(const char* name, float& value)
{
    double wide = 0.0;
    Element* child = Read(name, wide);
    if (child != nullptr) {
        value = static_cast<float>(wide);
    }
    return child;
}

Element* CXMLArchive::Read(const char* name, WORD& value)
{
    unsigned long wide = 0;
    Element* child = Read(name, wide);
    if (child != nullptr) {
        value = static_cast<WORD>(wide);
    }
    return child;
}

Element* CXMLArchive::Read(const char* name, BYTE& value)
{
    CString text;
    Element* child = ReadText(name, text);
    if (child != nullptr) {
        value = static_cast<BYTE>(ToUnsigned32(text, 16));
    }
    return child;
}

Element* CXMLArchive::Read(const char* name, unsigned long long& value)
{
    CString text;
    Element* child = ReadText(name, text);
    if (child != nullptr) {
        value = std::strtoull(SkipSpaces(text), nullptr, 10);
    }
    return child;
}

Element* CXMLArchive::Read(const char* name, long long& value)
{
    CString text;
    Element* child = ReadText(name, text);
    if (child != nullptr) {
        value = std::strtoll(SkipSpaces(text), nullptr, 10);
    }
    return child;
}

Element* CXMLArchive::Read(const char* name, long& value)
{
    CString text;
    Element* child = ReadText(name, text);
    if (child != nullptr) {
        value = static_cast<long>(static_cast<std::int32_t>(ToUnsigned32(text, 10)));
    }
    return child;
}

Element* CXMLArchive::Read(const char* name, unsigned long& value)
{
    CString text;
    Element* child = ReadText(name, text);
    if (child != nullptr) {
        value = ToUnsigned32(text, 10);
    }
    return child;
}

#if !defined(_WIN32)
Element* CXMLArchive::Read(const char* name, DWORD& value)
{
    unsigned long wide = 0;
    Element* child = Read(name, wide);
    if (child != nullptr) {
        value = static_cast<DWORD>(wide);
    }
    return child;
}
#endif

Element* CXMLArchive::Read(const char* name, double& value)
{
    CString text;
    Element* child = ReadText(name, text);
    if (child != nullptr) {
        value = ToDouble(text);
    }
    return child;
}

Element* CXMLArchive::Read(const char* name, int& value)
{
    unsigned long wide = 0;
    Element* child = Read(name, wide);
    if (child != nullptr) {
        value = wide != 0 ? TRUE : FALSE;
    }
    return child;
}

// --- Spans ---

Element* CXMLArchive::Write(const char* name, const CTimeSpan& value)
{
    CString text;
    text.Format("%lld", static_cast<long long>(value.GetTotalSeconds()));
    return AddChild(name, text, false);
}

Element* CXMLArchive::Write(const char* name, const COleDateTimeSpan& value)
{
    // Rounded to the nearest second, half a second away from zero.
    const long long seconds = static_cast<long long>(value.GetDays()) * 86400 + value.GetHours() * 3600LL
        + value.GetMinutes() * 60LL + value.GetSeconds();
    CString text;
    text.Format("%lld", seconds);
    return AddChild(name, text, false);
}

Element* CXMLArchive::Read(const char* name, CTimeSpan& value)
{
    CString text;
    Element* child = ReadText(name, text);
    if (child != nullptr) {
        value = CTimeSpan(ToSeconds(text));
    }
    return child;
}

Element* CXMLArchive::Read(const char* name, COleDateTimeSpan& value)
{
    CString text;
    Element* child = ReadText(name, text);
    if (child != nullptr) {
        value = COleDateTimeSpan(double(ToSeconds(text)) / 86400.0);
    }
    return child;
}

// --- Texts and arrays ---

Element* CXMLArchive::Write(const char* name, const CString& value)
{
    return AddChild(name, value, false);
}

Element* CXMLArchive::WriteXML(const char* name, const CString& markup)
{
    return AddChild(name, markup, true);
}

Element* CXMLArchive::Read(const char* name, CString& value)
{
    return ReadText(name, value);
}

Element* CXMLArchive::Write(const char* name, const CByteArray& value)
{
    CBase64Coding coder;
    CString text;
    coder.Encode(value, text);
    return AddChild(name, text, false);
}

Element* CXMLArchive::Read(const char* name, CByteArray& value)
{
    value.RemoveAll();
    CString text;
    Element* child = ReadText(name, text);
    if (child != nullptr) {
        CBase64Coding coder;
        coder.Decode(text, value);
    }
    return child;
}

namespace {

// Writes the array as ENTRY children of list, one value each.
template <class Array, class Convert>
void WriteEntries(Element* list, BOOL addNewLine, const Array& value, Convert convert)
{
    CXMLArchive entries;
    entries.SetAddNewLineAfterEachElement(addNewLine);
    entries.WriteTo(list);
    for (int i = 0; i < value.GetSize(); ++i) {
        entries.Write(kEntryTag, convert(value[i]));
    }
}

// The entries ENTRY(0), ENTRY(1), ... are the children tagged ENTRY in
// order; walking the children once finds them all without a search per
// entry, and stops where the numbering would find none.
template <class Add>
void ReadEntries(const Element* list, Add add)
{
    DWORD index = 0;
    Element* child = nullptr;
    while (list->GetNextChild(index, child)) {
        if (child->GetType() == Element::typeElement && child->Tag() == kEntryTag) {
            CString text;
            child->GetText(text);
            add(text);
        }
    }
}

}

Element* CXMLArchive::Write(const char* name, const CDWordArray& value)
{
    Element* list = AddChild(name, CString(), false);
    if (list != nullptr) {
        WriteEntries(list, GetAddNewLineAfterEachElement(), value,
                     [](DWORD entry) { return static_cast<unsigned long>(entry); });
    }
    return list;
}

Element* CXMLArchive::Write(const char* name, const CStringArray& value)
{
    Element* list = AddChild(name, CString(), false);
    if (list != nullptr) {
        WriteEntries(list, GetAddNewLineAfterEachElement(), value, [](const CString& entry) { return entry; });
    }
    return list;
}

Element* CXMLArchive::Read(const char* name, CDWordArray& value)
{
    value.RemoveAll();
    Element* list = FindChild(name);
    if (list != nullptr) {
        ReadEntries(list, [&value](const CString& text) { value.Add(ToUnsigned32(text, 10)); });
    }
    return list;
}

Element* CXMLArchive::Read(const char* name, CStringArray& value)
{
    value.RemoveAll();
    Element* list = FindChild(name);
    if (list != nullptr) {
        ReadEntries(list, [&value](const CString& text) { value.Add(text); });
    }
    return list;
}

#include "xml/ExtensibleMarkupLanguageEntities.h"

#include "xml/XmlCharClasses.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <cstdint>
#include <cstring>
#include <string_view>

using OrvXml::IsLetterByte;
using OrvXml::IsNameCharByte;

namespace {

enum : DWORD { kRuleNone = 0, kRuleName = 5, kRuleCharRef = 66, kRuleEntityRef = 68 };

// Rule 66 bodies: the text between "&#" and ";". Decimal digits, or a
// lower-case x and hexadecimal digits (which may be none).
bool IsNumericBody(std::string_view body) noexcept
{
    if (!body.empty() && body[0] == 'x') {
        for (char c : body.substr(1)) {
            if (!std::isxdigit(static_cast<unsigned char>(c))) {
                return false;
            }
        }
        return true;
    }
    if (body.empty()) {
        return false;
    }
    for (char c : body) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

bool IsNameBody(std::string_view name) noexcept
{
    if (name.empty()) {
        return false;
    }
    const char first = name[0];
    if (!IsLetterByte(first) && first != '_' && first != ':') {
        return false;
    }
    for (char c : name.substr(1)) {
        if (!IsNameCharByte(c)) {
            return false;
        }
    }
    return true;
}

// References of up to eight bytes, as all the predefined ones are, as one
// number, so that a lookup compares one number per entry: from four bytes
// on, the first four and the last four bytes (which overlap and so cover
// every byte), else the bytes themselves. Equal lengths and equal keys mean
// equal references; longer references have the key 0.
enum : int { kShortKeyLength = 8 };
inline ULONGLONG ShortKey(const char* reference, int length) noexcept
{
    if (length >= 4 && length <= kShortKeyLength) {
        std::uint32_t first = 0;
        std::uint32_t last = 0;
        std::memcpy(&first, reference, sizeof first);
        std::memcpy(&last, reference + length - 4, sizeof last);
        return ULONGLONG(first) | (ULONGLONG(last) << 32);
    }
    ULONGLONG key = 0;
    for (int i = 0; i < length && length <= kShortKeyLength; ++i) {
        key |= ULONGLONG(BYTE(reference[i])) << (8 * i);
    }
    return key;
}

inline int ShortSlotOf(ULONGLONG key, int length) noexcept
{
    // The five predefined references land in five different slots.
    const ULONGLONG folded = key ^ (key >> 32);
    return int(((folded + ULONGLONG(length)) * 0xFF51AFD7ED558CCDULL) >> 60);
}

// References are short: a plain loop beats a call to memcmp.
bool EqualBytes(const char* left, const char* right, int length) noexcept
{
    for (int i = 0; i < length; ++i) {
        if (left[i] != right[i]) {
            return false;
        }
    }
    return true;
}

int DigitValue(char c) noexcept
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The value of a numeric body (as IsNumericBody accepts). Leading zeros are
// skipped and at most 11 further digits count, so the value fits 64 bits.
// False when there are no digits at all.
bool NumericValue(std::string_view body, ULONGLONG& value) noexcept
{
    int base = 10;
    if (!body.empty() && body[0] == 'x') {
        base = 16;
        body.remove_prefix(1);
    }
    if (body.empty()) {
        return false;
    }
    while (body.size() > 1 && body[0] == '0') {
        body.remove_prefix(1);
    }
    value = 0;
    for (std::size_t i = 0; i < body.size() && i < 11; ++i) {
        const int digit = DigitValue(body[i]);
        if (digit < 0 || digit >= base) {
            return false;
        }
        value = value * ULONGLONG(base) + ULONGLONG(digit);
    }
    return true;
}

bool IsCharProduction(ULONGLONG value) noexcept
{
    return value <= 0x10FFFF && OrvXml::IsXmlChar(DWORD(value));
}

// Replaces the character references of a replacement text. False for a
// reference without ";", without digits or outside the Char production.
bool ExpandCharacterReferences(const CString& text, CString& expanded)
{
    const std::string_view source(text.GetString(), std::size_t(text.GetLength()));
    expanded.Empty();
    std::size_t at = 0;
    for (;;) {
        const std::size_t found = source.find("&#", at);
        if (found == std::string_view::npos) {
            expanded += CString(source.data() + at, int(source.size() - at));
            return true;
        }
        expanded += CString(source.data() + at, int(found - at));
        const std::size_t semicolon = source.find(';', found + 2);
        if (semicolon == std::string_view::npos) {
            return false;
        }
        const std::string_view body = source.substr(found + 2, semicolon - found - 2);
        ULONGLONG value = 0;
        if (!IsNumericBody(body) || !NumericValue(body, value) || !IsCharProduction(value)) {
            return false;
        }
        OrvXml::AppendCodePoint(expanded, value);
        at = semicolon + 1;
    }
}

} // namespace

void OrvXml::AppendCodePoint(CString& text, ULONGLONG value)
{
    text += value <= 255 ? char(BYTE(value)) : kUnrepresentableCharacter;
}

CExtensibleMarkupLanguageEntities::CExtensibleMarkupLanguageEntities(const CExtensibleMarkupLanguageEntities& source)
{
    Copy(source);
}

CExtensibleMarkupLanguageEntities::~CExtensibleMarkupLanguageEntities() = default;

int CExtensibleMarkupLanguageEntities::LowerBound(const char* key, int length) const
{
    const std::string_view wanted(key, std::size_t(length));
    int low = 0;
    int high = m_References.GetSize();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        const CString& at = m_References.GetData()[middle];
        const std::string_view candidate(at.GetString(), std::size_t(at.GetLength()));
        if (candidate < wanted) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

const CString* CExtensibleMarkupLanguageEntities::Find(const char* reference, int length) const
{
    // A document's table usually holds little more than the five
    // predefined entities: a scan that compares lengths first beats the
    // binary search there.
    constexpr int kScanLimit = 8;
    constexpr int kShortKeyScanLimit = 16;
    const int size = m_References.GetSize();
    if (length <= kShortKeyLength) {
        const ULONGLONG key = ShortKey(reference, length);
        const ShortSlot& slot = m_ShortSlots[ShortSlotOf(key, length)];
        if (slot.m_Key == key && slot.m_Length == length) {
            return &m_Texts.GetData()[slot.m_Index];
        }
        if (m_AllShortKeysSlotted) {
            return nullptr;
        }
    }
    if (length <= kShortKeyLength && size <= kShortKeyScanLimit) {
        const ULONGLONG key = ShortKey(reference, length);
        for (int i = 0; i < size; ++i) {
            if (m_ShortKeys[std::size_t(i)] == key && m_References.GetData()[i].GetLength() == length) {
                return &m_Texts.GetData()[i];
            }
        }
        return nullptr;
    }
    if (size <= kScanLimit) {
        for (int i = 0; i < size; ++i) {
            const CString& at = m_References.GetData()[i];
            if (at.GetLength() == length && EqualBytes(at.GetString(), reference, length)) {
                return &m_Texts.GetData()[i];
            }
        }
        return nullptr;
    }
    const int index = LowerBound(reference, length);
    if (index < m_References.GetSize()) {
        const CString& at = m_References.GetData()[index];
        if (at.GetLength() == length && std::memcmp(at.GetString(), reference, std::size_t(length)) == 0) {
            return &m_Texts.GetData()[index];
        }
    }
    return nullptr;
}

bool CExtensibleMarkupLanguageEntities::Add(const CString& reference, const CString& text)
{
    const int length = reference.GetLength();
    if (length < 3 || reference[0] != '&' || reference[length - 1] != ';'
        || !IsNameBody(std::string_view(reference.GetString() + 1, std::size_t(length - 2)))) {
        return false;
    }
    CString expanded;
    if (!ExpandCharacterReferences(text, expanded)) {
        return false;
    }
    const int index = LowerBound(reference.GetString(), length);
    if (index < m_References.GetSize() && m_References[index] == reference) {
        m_Texts[index] = expanded;
        return true;
    }
    m_References.InsertAt(index, reference);
    m_Texts.InsertAt(index, expanded);
    m_UpdateShortKeys();
    return true;
}

void CExtensibleMarkupLanguageEntities::Copy(const CExtensibleMarkupLanguageEntities& source)
{
    m_References.Copy(source.m_References);
    m_Texts.Copy(source.m_Texts);
    m_ShortKeys = source.m_ShortKeys;
    std::copy(std::begin(source.m_ShortSlots), std::end(source.m_ShortSlots), std::begin(m_ShortSlots));
    m_AllShortKeysSlotted = source.m_AllShortKeysSlotted;
}

void CExtensibleMarkupLanguageEntities::Empty()
{
    m_References.RemoveAll();
    m_Texts.RemoveAll();
    m_ShortKeys.clear();
    m_UpdateShortKeys();
}

void CExtensibleMarkupLanguageEntities::m_UpdateShortKeys()
{
    m_ShortKeys.resize(std::size_t(m_References.GetSize()));
    for (int i = 0; i < m_References.GetSize(); ++i) {
        const CString& reference = m_References.GetData()[i];
        m_ShortKeys[std::size_t(i)] = ShortKey(reference.GetString(), reference.GetLength());
    }
    std::fill(std::begin(m_ShortSlots), std::end(m_ShortSlots), ShortSlot());
    m_AllShortKeysSlotted = true;
    for (int i = 0; i < m_References.GetSize(); ++i) {
        const int length = m_References.GetData()[i].GetLength();
        if (length > kShortKeyLength) {
            continue;
        }
        ShortSlot& slot = m_ShortSlots[ShortSlotOf(m_ShortKeys[std::size_t(i)], length)];
        if (slot.m_Length >= 0) {
            m_AllShortKeysSlotted = false;
            continue;
        }
        slot.m_Key = m_ShortKeys[std::size_t(i)];
        slot.m_Length = length;
        slot.m_Index = i;
    }
}

bool CExtensibleMarkupLanguageEntities::Enumerate(DWORD& index) const
{
    index = 0;
    return GetSize() > 0;
}

bool CExtensibleMarkupLanguageEntities::GetNext(DWORD& index, CString& reference, CString& text) const
{
    if (index >= DWORD(GetSize())) {
        return false;
    }
    reference = m_References[int(index)];
    text = m_Texts[int(index)];
    ++index;
    return true;
}

int CExtensibleMarkupLanguageEntities::GetSize() const
{
    return m_References.GetSize();
}

bool CExtensibleMarkupLanguageEntities::IsEntity(const CString& reference, DWORD& rule) const
{
    return IsEntityReference(reference.GetString(), reference.GetLength(), rule);
}

bool CExtensibleMarkupLanguageEntities::IsEntityReference(const char* reference, int length, DWORD& rule) const
{
    if (length < 3 || reference[0] != '&' || reference[length - 1] != ';') {
        rule = kRuleEntityRef;
        return false;
    }
    const std::string_view body(reference + 1, std::size_t(length - 2));
    if (body[0] == '#') {
        rule = IsNumericBody(body.substr(1)) ? kRuleNone : kRuleCharRef;
        return rule == kRuleNone;
    }
    if (!IsNameBody(body)) {
        rule = kRuleName;
        return false;
    }
    rule = kRuleNone;
    return Find(reference, length) != nullptr;
}

bool CExtensibleMarkupLanguageEntities::Resolve(const CString& reference, CString& text) const
{
    text.Empty();
    const int length = reference.GetLength();
    if (length < 3 || reference[0] != '&' || reference[length - 1] != ';') {
        return false;
    }
    const std::string_view body(reference.GetString() + 1, std::size_t(length - 2));
    if (body[0] == '#') {
        ULONGLONG value = 0;
        if (!IsNumericBody(body.substr(1)) || !NumericValue(body.substr(1), value)) {
            return false;
        }
        OrvXml::AppendCodePoint(text, value);
        return true;
    }
    const CString* found = Find(reference.GetString(), length);
    if (found == nullptr) {
        return false;
    }
    text = *found;
    return true;
}

CExtensibleMarkupLanguageEntities& CExtensibleMarkupLanguageEntities::operator=(const CExtensibleMarkupLanguageEntities& source)
{
    Copy(source);
    return *this;
}

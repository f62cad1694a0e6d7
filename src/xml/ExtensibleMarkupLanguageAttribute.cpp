#include "xml/ExtensibleMarkupLanguageAttribute.h"

#include "xml/XmlNodeArena.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <typeinfo>

CExtensibleMarkupLanguageAttribute::CExtensibleMarkupLanguageAttribute(const CExtensibleMarkupLanguageAttribute& source)
    : m_Name(source.m_Name)
    , m_Value(source.m_Value)
{
}

CExtensibleMarkupLanguageAttribute::~CExtensibleMarkupLanguageAttribute()
{
    // Texts that were set since no longer borrow: their part of the tail is
    // then not counted, which only retires fewer bytes early.
    OrvXml::RetireNodeTail(this, sizeof(CExtensibleMarkupLanguageAttribute), m_Name.BorrowedSize() + m_Value.BorrowedSize());
}

namespace {

// Copies the value to out, NUL-terminated, with its white space normalised
// (CR LF, CR, LF and tab become one space); returns the length written.
[[gnu::noinline]] std::size_t CopyNormalised(char* out, std::string_view value) noexcept
{
    std::size_t length = 0;
    for (std::size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c == '\r' && i + 1 < value.size() && value[i + 1] == '\n') {
            ++i;
        }
        if (c == '\r' || c == '\n' || c == '\t') {
            c = ' ';
        }
        out[length++] = c;
    }
    out[length] = '\0';
    return length;
}

// The same, with the white space normalised only when asked. Names and
// values of 8 to 16 bytes, the usual ones that do not sit inline, take two
// overlapping 8-byte moves in place instead of a call.
inline std::size_t CopyValue(char* out, std::string_view value, bool normalise) noexcept
{
    if (normalise) {
        return CopyNormalised(out, value);
    }
    const std::size_t size = value.size();
    if (size >= 8 && size <= 16) {
        std::uint64_t head = 0;
        std::uint64_t tail = 0;
        std::memcpy(&head, value.data(), 8);
        std::memcpy(&tail, value.data() + size - 8, 8);
        std::memcpy(out, &head, 8);
        std::memcpy(out + size - 8, &tail, 8);
    } else {
        std::memcpy(out, value.data(), size);
    }
    out[size] = '\0';
    return size;
}

} // namespace

// Used by this file alone, and inlined into its loops. Returns the end of
// the bytes the texts take after the attribute.
[[gnu::always_inline]] inline char* CExtensibleMarkupLanguageAttribute::SetTexts(CExtensibleMarkupLanguageAttribute* attribute,
    std::string_view name, std::string_view value, bool normaliseValue) noexcept
{
    using OrvXml::CNodeText;
    char* bytes = reinterpret_cast<char*>(attribute + 1);
    if (CNodeText::FitsInline(name.size())) {
        attribute->m_Name.SetInlineOnEmpty(name.data(), name.size());
    } else {
        CopyValue(bytes, name, false);
        attribute->m_Name.BorrowOnEmpty(bytes, name.size());
        bytes += name.size() + 1;
    }
    const bool valueInline = CNodeText::FitsInline(value.size());
    if (valueInline && !normaliseValue) {
        attribute->m_Value.SetInlineOnEmpty(value.data(), value.size());
    } else if (valueInline) {
        // Normalising never lengthens the value, so it fits in place.
        attribute->m_Value.m_Word = std::uint32_t(CopyValue(attribute->m_Value.m_Bytes, value, true));
    } else {
        attribute->m_Value.BorrowOnEmpty(bytes, CopyValue(bytes, value, normaliseValue));
        // (The room taken is the value's length before normalising.)
        bytes += value.size() + 1;
    }
    return bytes;
}

CExtensibleMarkupLanguageAttribute* CExtensibleMarkupLanguageAttribute::NewWithTexts(
    std::string_view name, std::string_view value, bool normaliseValue)
{
    return ConstructWithTexts(OrvXml::AllocateNode(SizeWithTexts(name, value)), name, value, normaliseValue);
}


namespace {

// An attribute that lives in its element's attribute list (see
// ConstructEmbeddedRun). Its class differs from its base only in where its
// memory goes when it is deleted.
class CEmbeddedAttribute final : public CExtensibleMarkupLanguageAttribute {
public:
    CEmbeddedAttribute() = default;
    static void operator delete(void* attribute) noexcept
    {
        OrvXml::RetireEmbeddedNode(attribute, sizeof(CEmbeddedAttribute));
    }
};

} // namespace

CExtensibleMarkupLanguageAttribute* CExtensibleMarkupLanguageAttribute::ConstructWithTexts(
    void* memory, std::string_view name, std::string_view value, bool normaliseValue) noexcept
{
    auto* attribute = ::new (memory) CExtensibleMarkupLanguageAttribute;
    SetTexts(attribute, name, value, normaliseValue);
    return attribute;
}

void CExtensibleMarkupLanguageAttribute::ConstructEmbeddedRun(char* room, const OrvXml::CAttributeSource* sources,
    int count, CExtensibleMarkupLanguageAttribute** items) noexcept
{
    for (int i = 0; i < count; ++i) {
        const OrvXml::CAttributeSource& source = sources[i];
        if (OrvXml::kEmbeddedHeader != 0) {
            const void* const marker = room;
            std::memcpy(room, &marker, sizeof marker);
        }
        static_assert(sizeof(CEmbeddedAttribute) == sizeof(CExtensibleMarkupLanguageAttribute));
        CExtensibleMarkupLanguageAttribute* attribute = ::new (room + OrvXml::kEmbeddedHeader) CEmbeddedAttribute;
        const char* const used = SetTexts(attribute, source.Name(), source.Value(), source.normalise);
        items[i] = attribute;
        // The next one starts where EmbeddedRoom says this one ends.
        room += OrvXml::RoundedToPointer(std::size_t(used - room));
    }
}

void CExtensibleMarkupLanguageAttribute::DestroyRun(
    CExtensibleMarkupLanguageAttribute* const* attributes, int count) noexcept
{
    for (int i = 0; i < count; ++i) {
        CExtensibleMarkupLanguageAttribute* const attribute = attributes[i];
        // (Checked builds mark the memory of each dead attribute instead. The
        // class of the list's own attributes, private to this file, is told
        // from the others by the address of its type alone.)
        if (OrvXml::kEmbeddedHeader == 0 && typeid(CEmbeddedAttribute) == typeid(*attribute)
            && !attribute->m_Name.IsOwnAllocation() && !attribute->m_Value.IsOwnAllocation()) {
            continue;
        }
        delete attribute;
    }
}

void CExtensibleMarkupLanguageAttribute::Copy(const CExtensibleMarkupLanguageAttribute& source)
{
    if (this != &source) {
        m_Name = source.m_Name;
        m_Value = source.m_Value;
    }
}

void CExtensibleMarkupLanguageAttribute::Empty()
{
    m_Name.Empty();
    m_Value.Empty();
}

CExtensibleMarkupLanguageAttribute& CExtensibleMarkupLanguageAttribute::operator=(const CExtensibleMarkupLanguageAttribute& source)
{
    Copy(source);
    return *this;
}

void* CExtensibleMarkupLanguageAttribute::operator new(std::size_t size)
{
    return OrvXml::AllocateNode(size);
}

void CExtensibleMarkupLanguageAttribute::operator delete(void* attribute, std::size_t size) noexcept
{
    OrvXml::ReleaseNode(attribute, size);
}

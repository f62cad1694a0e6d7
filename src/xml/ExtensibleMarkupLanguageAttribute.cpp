#include "xml/ExtensibleMarkupLanguageAttribute.h"

#include "xml/XmlNodeArena.h"

#include <cstring>
#include <new>

CExtensibleMarkupLanguageAttribute::CExtensibleMarkupLanguageAttribute(const CExtensibleMarkupLanguageAttribute& source)
    : m_Name(source.m_Name)
    , m_Value(source.m_Value)
{
}

CExtensibleMarkupLanguageAttribute::~CExtensibleMarkupLanguageAttribute()
{
    OrvXml::RetireNodeTail(this, sizeof(CExtensibleMarkupLanguageAttribute), m_Name.m_HolderTail);
}

CExtensibleMarkupLanguageAttribute* CExtensibleMarkupLanguageAttribute::NewWithTexts(
    std::string_view name, std::string_view value, bool normaliseValue)
{
    const std::size_t tail = name.size() + 1 + value.size() + 1;
    void* memory = OrvXml::AllocateNode(sizeof(CExtensibleMarkupLanguageAttribute) + tail);
    auto* attribute = ::new (memory) CExtensibleMarkupLanguageAttribute;
    char* bytes = reinterpret_cast<char*>(attribute + 1);
    std::memcpy(bytes, name.data(), name.size());
    bytes[name.size()] = '\0';
    char* out = bytes + name.size() + 1;
    std::size_t length = 0;
    if (normaliseValue) {
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
    } else {
        std::memcpy(out, value.data(), value.size());
        length = value.size();
    }
    out[length] = '\0';
    attribute->m_Name.Borrow(bytes, name.size());
    attribute->m_Value.Borrow(out, length);
    // A tail too long to record only happens on the heap, where the size
    // given back does not matter.
    attribute->m_Name.m_HolderTail = tail <= 0xFFFF ? std::uint16_t(tail) : 0;
    return attribute;
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

#include "xml/ExtensibleMarkupLanguageAttribute.h"

#include "xml/XmlNodeArena.h"

CExtensibleMarkupLanguageAttribute::CExtensibleMarkupLanguageAttribute(const CExtensibleMarkupLanguageAttribute& source)
    : m_Name(source.m_Name)
    , m_Value(source.m_Value)
{
}

CExtensibleMarkupLanguageAttribute::~CExtensibleMarkupLanguageAttribute() = default;

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

// CExtensibleMarkupLanguageAttribute: one name="value" pair of an XML node.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "xml/XmlNodeText.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

class ORV_API CExtensibleMarkupLanguageAttribute {
public:
    CExtensibleMarkupLanguageAttribute() = default;
    CExtensibleMarkupLanguageAttribute(const CString& name, const CString& value) : m_Name(name), m_Value(value) {}
    CExtensibleMarkupLanguageAttribute(const CExtensibleMarkupLanguageAttribute& source);
    virtual ~CExtensibleMarkupLanguageAttribute();

    virtual void Copy(const CExtensibleMarkupLanguageAttribute& source);
    // Empties both the name and the value.
    virtual void Empty();
    virtual CExtensibleMarkupLanguageAttribute& operator=(const CExtensibleMarkupLanguageAttribute& source);

    // Attributes created while a document is parsed share the parse's
    // blocks of memory; each is still destroyed on its own with delete.
    static void* operator new(std::size_t size);
    static void operator delete(void* attribute, std::size_t size) noexcept;

    OrvXml::CNodeText m_Name;
    OrvXml::CNodeText m_Value;

private:
    // The bytes allocated after this attribute for its texts, when it was
    // created with them (see NewWithTexts); 0 when there are none or, for an
    // attribute too large for the parse's blocks, when they do not fit.
    std::uint16_t m_TextTail = 0;

    friend class CExtensibleMarkupLanguageElement;

    // An attribute and its texts in one allocation: the name and the value,
    // each NUL-terminated, follow the object. The value's white space is
    // normalised on the way when asked (CR LF, CR, LF and tab become one
    // space). Throws std::bad_alloc.
    static CExtensibleMarkupLanguageAttribute* NewWithTexts(
        std::string_view name, std::string_view value, bool normaliseValue);
};

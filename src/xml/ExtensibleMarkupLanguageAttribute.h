// CExtensibleMarkupLanguageAttribute: one name="value" pair of an XML node.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"

#include <cstddef>
#include <utility>

class ORV_API CExtensibleMarkupLanguageAttribute {
public:
    CExtensibleMarkupLanguageAttribute() = default;
    CExtensibleMarkupLanguageAttribute(const CString& name, const CString& value) : m_Name(name), m_Value(value) {}
    CExtensibleMarkupLanguageAttribute(CString&& name, CString&& value) noexcept
        : m_Name(std::move(name))
        , m_Value(std::move(value))
    {
    }
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

    CString m_Name;
    CString m_Value;
};

// CExtensibleMarkupLanguageAttribute: one name="value" pair of an XML node.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"

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

    CString m_Name;
    CString m_Value;
};

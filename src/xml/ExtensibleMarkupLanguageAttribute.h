// CExtensibleMarkupLanguageAttribute: one name="value" pair of an XML node.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "xml/XmlNodeArena.h"
#include "xml/XmlNodeText.h"

#include <cstddef>
#include <cstdint>
#include <new>
#include <string_view>

namespace OrvXml {
// A name and value read from markup, not yet an attribute.
struct CAttributeSource {
    const char* name;
    std::size_t nameLength;
    const char* value;
    std::size_t valueLength;
    bool normalise;

    std::string_view Name() const noexcept { return std::string_view(name, nameLength); }
    std::string_view Value() const noexcept { return std::string_view(value, valueLength); }
};
} // namespace OrvXml

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
    friend class CExtensibleMarkupLanguageElement;

    // An attribute and its texts in one allocation: a name or value too long
    // to sit inline follows the object, NUL-terminated (the texts that still
    // borrow those bytes tell how many there are). The value's white space is
    // normalised on the way when asked (CR LF, CR, LF and tab become one
    // space). Throws std::bad_alloc.
    static CExtensibleMarkupLanguageAttribute* NewWithTexts(
        std::string_view name, std::string_view value, bool normaliseValue);
    // The two steps of NewWithTexts: the bytes the attribute and its texts
    // take (throws std::bad_alloc for a text too long to hold), and the
    // attribute built in memory of that size.
    static std::size_t SizeWithTexts(std::string_view name, std::string_view value)
    {
        using OrvXml::CNodeText;
        if (name.size() > CNodeText::kLengthMask || value.size() > CNodeText::kLengthMask) {
            throw std::bad_alloc();
        }
        // Short texts sit inline; the others follow the object.
        return sizeof(CExtensibleMarkupLanguageAttribute) + (CNodeText::FitsInline(name.size()) ? 0 : name.size() + 1)
            + (CNodeText::FitsInline(value.size()) ? 0 : value.size() + 1);
    }
    static CExtensibleMarkupLanguageAttribute* ConstructWithTexts(
        void* memory, std::string_view name, std::string_view value, bool normaliseValue) noexcept;
    static char* SetTexts(CExtensibleMarkupLanguageAttribute* attribute, std::string_view name,
        std::string_view value, bool normaliseValue) noexcept;
    // The bytes an embedded attribute of the name and value takes in its
    // list's room (see XmlNodeList.h), for names and values of at most
    // CNodeText::kLengthMask bytes.
    static std::size_t EmbeddedRoom(std::size_t nameLength, std::size_t valueLength) noexcept
    {
        using OrvXml::CNodeText;
        return OrvXml::EmbeddedSlot(sizeof(CExtensibleMarkupLanguageAttribute)
            + (CNodeText::FitsInline(nameLength) ? 0 : nameLength + 1)
            + (CNodeText::FitsInline(valueLength) ? 0 : valueLength + 1));
    }
    // Builds count attributes one after the other in room (of the bytes
    // EmbeddedRoom gives for them), memory that their element's attribute
    // list owns (see XmlNodeList.h), and points items at them. Deleting one
    // ends its life and leaves the memory to the list.
    static void ConstructEmbeddedRun(char* room, const OrvXml::CAttributeSource* sources, int count,
        CExtensibleMarkupLanguageAttribute** items) noexcept;
    // Deletes count attributes. One that lives in its list's room and whose
    // texts hold no allocation of their own has nothing to release (its
    // memory goes with the list), and is passed over.
    static void DestroyRun(CExtensibleMarkupLanguageAttribute* const* attributes, int count) noexcept;
};

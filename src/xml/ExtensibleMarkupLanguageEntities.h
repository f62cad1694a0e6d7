// CExtensibleMarkupLanguageEntities: the entity table of an XML document,
// references ("&name;") and their replacement texts, kept in sorted order.
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"
#include "framework/String.h"
#include "base/Types.h"

#include <vector>

class ORV_API CExtensibleMarkupLanguageEntities {
public:
    CExtensibleMarkupLanguageEntities() = default;
    CExtensibleMarkupLanguageEntities(const CExtensibleMarkupLanguageEntities& source);
    virtual ~CExtensibleMarkupLanguageEntities();

    // Adds or replaces a named entity. The reference must be "&" Name ";";
    // character references in the text ("&#169;", "&#x41;") are replaced by
    // the character they denote. False, with the table unchanged, for a
    // malformed reference or a bad character reference in the text.
    virtual bool Add(const CString& reference, const CString& text);
    virtual void Copy(const CExtensibleMarkupLanguageEntities& source);
    virtual void Empty();
    // Iteration in sorted order: Enumerate sets index to 0 and returns
    // whether there are entries; GetNext yields the entry at index and
    // advances it, false past the end.
    virtual bool Enumerate(DWORD& index) const;
    virtual bool GetNext(DWORD& index, CString& reference, CString& text) const;
    virtual int GetSize() const;
    // True for a well-formed numeric character reference or a known named
    // one. Otherwise false, with rule set to 68 (no "&" or ";", or too
    // short), 66 (malformed numeric reference), 5 (bad name) or 0 (a
    // well-formed name that is not in the table).
    virtual bool IsEntity(const CString& reference, DWORD& rule) const;
    // The replacement text of a reference: the character of a numeric
    // reference, or the stored text of a named one.
    virtual bool Resolve(const CString& reference, CString& text) const;
    virtual CExtensibleMarkupLanguageEntities& operator=(const CExtensibleMarkupLanguageEntities& source);

    // Fast lookup used while parsing: the replacement text of a named
    // reference held in [reference, reference + length), or null.
    const CString* Find(const char* reference, int length) const;
    // IsEntity on the reference held in [reference, reference + length),
    // without copying it.
    bool IsEntityReference(const char* reference, int length, DWORD& rule) const;

private:
    // The index of the first reference not sorted before the key.
    int LowerBound(const char* key, int length) const;
    // Refreshes m_ShortKeys after the references changed.
    void m_UpdateShortKeys();

    CStringArray m_References;
    CStringArray m_Texts;
    // One number per reference for the lookup while parsing (see ShortKey).
    std::vector<ULONGLONG> m_ShortKeys;
    // The short references again, each in the slot its key picks, so that
    // most lookups while parsing read one slot. When two references want
    // the same slot, the second is found by the scan of m_ShortKeys.
    struct ShortSlot {
        ULONGLONG m_Key = 0;
        int m_Length = -1;
        int m_Index = 0;
    };
    enum : int { kShortSlotCount = 16 };
    ShortSlot m_ShortSlots[kShortSlotCount];
    bool m_AllShortKeysSlotted = true;
};

namespace OrvXml {
// Characters that single-byte text cannot hold become this one, as they do
// when the byte-buffer parser turns wide text into bytes.
inline constexpr char kUnrepresentableCharacter = 'q';
// Appends the character of a code point to single-byte text.
void AppendCodePoint(CString& text, ULONGLONG value);
} // namespace OrvXml

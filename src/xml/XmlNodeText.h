// CNodeText: the compact text of the XML tree (element tags and contents,
// attribute names and values).
//
// A document holds four texts per node and attribute, so their size counts:
// a CNodeText is two words, a pointer to NUL-terminated bytes, the length and
// how the bytes are held:
// - none: the empty text, no pointer, reads as "";
// - own: an allocation of its own from the tree's allocation functions (the
//   parse's node arena while a parse runs, the heap otherwise);
// - borrowed: bytes the parser placed right after the object that holds the
//   text, in that object's allocation; they are never freed on their own.
// Setting a text always gives it bytes of its own; copies allocate. The
// length counts embedded NULs, which the text keeps.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"

#include <cstdint>
#include <string_view>

class CExtensibleMarkupLanguageAttribute;
class CExtensibleMarkupLanguageElement;

namespace OrvXml {

class ORV_API CNodeText {
public:
    CNodeText() noexcept = default;
    explicit CNodeText(std::string_view text) { Assign(text); }
    explicit CNodeText(const CString& text) { Assign(std::string_view(text.GetString(), std::size_t(text.GetLength()))); }
    CNodeText(const CNodeText& source) { Assign(source.View()); }
    ~CNodeText() { Release(); }

    // Assignments copy the bytes into storage of this text's own; they
    // throw std::bad_alloc, leaving the text as it was.
    CNodeText& operator=(const CNodeText& source);
    CNodeText& operator=(const CString& text);
    CNodeText& operator=(const char* text);
    CNodeText& operator=(std::string_view text);

    const char* GetString() const noexcept { return m_Text != nullptr ? m_Text : ""; }
    operator const char*() const noexcept { return GetString(); }
    int GetLength() const noexcept { return int(m_Length); }
    bool IsEmpty() const noexcept { return m_Length == 0; }
    std::string_view View() const noexcept { return std::string_view(GetString(), m_Length); }
    // A CString of the same bytes, embedded NULs included (a conversion
    // through const char* would stop at the first NUL).
    CString ToCString() const { return CString(GetString(), int(m_Length)); }
    void Empty() noexcept;

    // Byte-wise equality, embedded NULs included.
    friend bool operator==(const CNodeText& left, const CNodeText& right) noexcept { return left.View() == right.View(); }
    friend bool operator==(const CNodeText& left, const CString& right) noexcept
    {
        return left.View() == std::string_view(right.GetString(), std::size_t(right.GetLength()));
    }
    friend bool operator==(const CNodeText& left, std::string_view right) noexcept { return left.View() == right; }
    friend bool operator==(const CNodeText& left, const char* right) noexcept
    {
        return left.View() == std::string_view(right != nullptr ? right : "");
    }

private:
    friend class ::CExtensibleMarkupLanguageAttribute;
    friend class ::CExtensibleMarkupLanguageElement;

    enum Ownership : std::uint16_t { ownNone = 0, ownAllocation = 1, ownBorrowed = 2 };

    void Assign(std::string_view text);
    void Release() noexcept;
    // Points at length bytes (followed by a NUL) that live in the holder's
    // own allocation, after the holder.
    void Borrow(const char* bytes, std::size_t length) noexcept;

    const char* m_Text = nullptr;
    std::uint32_t m_Length = 0;
    std::uint16_t m_Ownership = ownNone;
    // Not part of the text: the object holding borrowed texts records here
    // how many bytes it allocated after itself for them, so that it can give
    // back exactly that much when it dies. Copies and assignments leave it.
    std::uint16_t m_HolderTail = 0;
};

} // namespace OrvXml

// CNodeText: the compact text of the XML tree (element tags and contents,
// attribute names and values).
//
// A document holds four texts per node and attribute, so their size counts:
// a CNodeText is two words, a pointer to NUL-terminated bytes, the length and
// how the bytes are held:
// - inline: a text short enough to fit, with its NUL, in the pointer's place
//   (most tags and names); the empty text is an inline one;
// - own: an allocation of its own from the tree's allocation functions (the
//   parse's node arena while a parse runs, the heap otherwise);
// - borrowed: bytes the parser placed right after the object that holds the
//   text, in that object's allocation; they are never freed on their own.
// Setting a text gives it bytes of its own (inline or allocated), and so does
// a copy. The length counts embedded NULs, which the text keeps.
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
    ~CNodeText()
    {
        if (m_Ownership == ownAllocation) {
            FreeAllocation();
        }
    }

    // Assignments copy the bytes into storage of this text's own; they
    // throw std::bad_alloc, leaving the text as it was.
    CNodeText& operator=(const CNodeText& source);
    CNodeText& operator=(const CString& text);
    CNodeText& operator=(const char* text);
    CNodeText& operator=(std::string_view text);

    const char* GetString() const noexcept { return m_Ownership == ownInline ? m_Bytes : m_Text; }
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

    enum Ownership : std::uint16_t { ownInline = 0, ownAllocation = 1, ownBorrowed = 2 };
    enum : std::size_t { kInlineCapacity = sizeof(const char*) - 1 };

    // Whether a text of the length is held in place, without bytes elsewhere.
    static bool FitsInline(std::size_t length) noexcept { return length <= kInlineCapacity; }
    void Assign(std::string_view text);
    void FreeAllocation() noexcept;
    void Release() noexcept;
    // Points at length bytes (followed by a NUL) that live in the holder's
    // own allocation, after the holder.
    void Borrow(const char* bytes, std::size_t length) noexcept;

    union {
        // Inline: the bytes and their NUL, zero-filled.
        char m_Bytes[sizeof(const char*)] = {};
        // Own or borrowed.
        const char* m_Text;
    };
    std::uint32_t m_Length = 0;
    std::uint16_t m_Ownership = ownInline;
    // Not part of the text: the object holding borrowed texts records here
    // how many bytes it allocated after itself for them, so that it can give
    // back exactly that much when it dies. Copies and assignments leave it.
    std::uint16_t m_HolderTail = 0;
};

} // namespace OrvXml

// CNodeText: the compact text of the XML tree (element tags and contents,
// attribute names and values).
//
// A document holds four texts per node and attribute, so their size counts:
// a CNodeText is twelve bytes, the bytes' address and the length, and holds
// its bytes in one of three ways:
// - inline: a text short enough to fit, with its NUL, in the address's place
//   (most tags and names); the empty text is an inline one;
// - own: an allocation of its own from the tree's allocation functions (the
//   parse's node arena while a parse runs, the heap otherwise);
// - borrowed: bytes the parser placed right after the object that holds the
//   text, in that object's allocation; they are never freed on their own.
// Setting a text gives it bytes of its own (inline or allocated), and so does
// a copy. The length counts embedded NULs, which the text keeps; like a
// CString, a text holds at most 0x7FFFFFFF bytes.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"

#include <cstdint>
#include <cstring>
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
        if (IsOwnAllocation()) {
            FreeAllocation();
        }
    }

    // Assignments copy the bytes into storage of this text's own; they
    // throw std::bad_alloc, leaving the text as it was.
    CNodeText& operator=(const CNodeText& source);
    CNodeText& operator=(const CString& text);
    CNodeText& operator=(const char* text);
    CNodeText& operator=(std::string_view text);

    const char* GetString() const noexcept { return m_Word <= kInlineCapacity ? m_Bytes : Address(); }
    operator const char*() const noexcept { return GetString(); }
    int GetLength() const noexcept { return int(m_Word & kLengthMask); }
    bool IsEmpty() const noexcept { return m_Word == 0; }
    std::string_view View() const noexcept { return std::string_view(GetString(), m_Word & kLengthMask); }
    // A CString of the same bytes, embedded NULs included (a conversion
    // through const char* would stop at the first NUL).
    CString ToCString() const { return CString(GetString(), GetLength()); }
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

    // The word is the length, with the top bit set for borrowed bytes. A
    // text that is not borrowed is inline exactly when it is short enough.
    enum : std::uint32_t { kBorrowed = 0x80000000u, kLengthMask = 0x7FFFFFFFu };
    enum : std::uint32_t { kInlineCapacity = sizeof(const char*) - 1 };

    // Whether a text of the length is held in place, without bytes elsewhere.
    static bool FitsInline(std::size_t length) noexcept { return length <= kInlineCapacity; }
    bool IsOwnAllocation() const noexcept { return m_Word > kInlineCapacity && m_Word < kBorrowed; }
    bool IsBorrowed() const noexcept { return m_Word >= kBorrowed; }
    // The bytes borrowed from the holder's allocation, with their NUL; 0
    // for a text that borrows none.
    std::size_t BorrowedSize() const noexcept { return IsBorrowed() ? (m_Word & kLengthMask) + 1 : 0; }
    // Sets a text that holds nothing (inline and empty) to length bytes
    // (at most kInlineCapacity) held inline.
    void SetInlineOnEmpty(const char* bytes, std::size_t length) noexcept
    {
        CopyShort(m_Bytes, bytes, length);
        m_Word = std::uint32_t(length);
    }
    // Copies length bytes (at most kInlineCapacity) with at most two
    // overlapping stores, which the holders' many short texts take in a
    // few instructions where a loop or a call to memcpy takes dozens.
    static void CopyShort(char* out, const char* in, std::size_t length) noexcept
    {
        if (length >= 4) {
            std::uint32_t head = 0;
            std::uint32_t tail = 0;
            std::memcpy(&head, in, 4);
            std::memcpy(&tail, in + length - 4, 4);
            std::memcpy(out, &head, 4);
            std::memcpy(out + length - 4, &tail, 4);
        } else if (length > 0) {
            const char first = in[0];
            const char middle = in[length / 2];
            const char last = in[length - 1];
            out[0] = first;
            out[length / 2] = middle;
            out[length - 1] = last;
        }
    }
    // Sets a text that holds nothing to borrow length bytes of its holder's
    // allocation (followed there by a NUL).
    void BorrowOnEmpty(const char* bytes, std::size_t length) noexcept
    {
        SetAddress(bytes);
        m_Word = std::uint32_t(length) | kBorrowed;
    }
    const char* Address() const noexcept
    {
        const char* address = nullptr;
        std::memcpy(&address, m_Bytes, sizeof(address));
        return address;
    }
    void SetAddress(const char* address) noexcept { std::memcpy(m_Bytes, &address, sizeof(address)); }
    void Assign(std::string_view text);
    void FreeAllocation() noexcept;
    void Release() noexcept;
    // Points at length bytes (followed by a NUL) that live in the holder's
    // own allocation, after the holder.
    void Borrow(const char* bytes, std::size_t length) noexcept;

    // Inline: the bytes and their NUL, zero-filled; otherwise the address of
    // the bytes (kept as bytes, so that a text needs only four-byte
    // alignment and two of them pack tightly into a node).
    char m_Bytes[sizeof(const char*)] = {};
    std::uint32_t m_Word = 0;
};

} // namespace OrvXml

#include "xml/XmlNodeText.h"

#include "xml/XmlNodeArena.h"

#include <new>

namespace OrvXml {

CNodeText& CNodeText::operator=(const CNodeText& source)
{
    if (this != &source) {
        Assign(source.View());
    }
    return *this;
}

CNodeText& CNodeText::operator=(const CString& text)
{
    Assign(std::string_view(text.GetString(), std::size_t(text.GetLength())));
    return *this;
}

CNodeText& CNodeText::operator=(const char* text)
{
    Assign(std::string_view(text != nullptr ? text : ""));
    return *this;
}

CNodeText& CNodeText::operator=(std::string_view text)
{
    Assign(text);
    return *this;
}

void CNodeText::Empty() noexcept
{
    Release();
}

void CNodeText::Assign(std::string_view text)
{
    if (text.size() > kLengthMask) {
        throw std::bad_alloc();
    }
    if (FitsInline(text.size())) {
        // Copied aside first: the new value may be a view of this text.
        char bytes[sizeof(m_Bytes)] = {};
        std::memcpy(bytes, text.data(), text.size());
        Release();
        std::memcpy(m_Bytes, bytes, sizeof(m_Bytes));
        m_Word = std::uint32_t(text.size());
        return;
    }
    // Allocated before this text lets go of its bytes, which the new value
    // may be a view of.
    char* bytes = static_cast<char*>(AllocateNode(text.size() + 1));
    std::memcpy(bytes, text.data(), text.size());
    bytes[text.size()] = '\0';
    Release();
    SetAddress(bytes);
    m_Word = std::uint32_t(text.size());
}

void CNodeText::FreeAllocation() noexcept
{
    ReleaseNode(const_cast<char*>(Address()), std::size_t(m_Word) + 1);
}

void CNodeText::Release() noexcept
{
    if (IsOwnAllocation()) {
        FreeAllocation();
    }
    std::memset(m_Bytes, 0, sizeof(m_Bytes));
    m_Word = 0;
}

void CNodeText::Borrow(const char* bytes, std::size_t length) noexcept
{
    Release();
    if (length > 0) {
        SetAddress(bytes);
        m_Word = std::uint32_t(length) | kBorrowed;
    }
}

} // namespace OrvXml

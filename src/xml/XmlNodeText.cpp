#include "xml/XmlNodeText.h"

#include "xml/XmlNodeArena.h"

#include <cstring>
#include <limits>
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
    if (text.size() > std::numeric_limits<std::uint32_t>::max() - 1) {
        throw std::bad_alloc();
    }
    if (text.size() <= kInlineCapacity) {
        // Copied aside first: the new value may be a view of this text.
        char bytes[sizeof(m_Bytes)] = {};
        std::memcpy(bytes, text.data(), text.size());
        Release();
        std::memcpy(m_Bytes, bytes, sizeof(m_Bytes));
        m_Length = std::uint32_t(text.size());
        return;
    }
    // Allocated before this text lets go of its bytes, which the new value
    // may be a view of.
    char* bytes = static_cast<char*>(AllocateNode(text.size() + 1));
    std::memcpy(bytes, text.data(), text.size());
    bytes[text.size()] = '\0';
    Release();
    m_Text = bytes;
    m_Length = std::uint32_t(text.size());
    m_Ownership = ownAllocation;
}

void CNodeText::FreeAllocation() noexcept
{
    ReleaseNode(const_cast<char*>(m_Text), std::size_t(m_Length) + 1);
}

void CNodeText::Release() noexcept
{
    if (m_Ownership == ownAllocation) {
        FreeAllocation();
    }
    std::memset(m_Bytes, 0, sizeof(m_Bytes));
    m_Length = 0;
    m_Ownership = ownInline;
}

void CNodeText::Borrow(const char* bytes, std::size_t length) noexcept
{
    Release();
    if (length > 0) {
        m_Text = bytes;
        m_Length = std::uint32_t(length);
        m_Ownership = ownBorrowed;
    }
}

} // namespace OrvXml

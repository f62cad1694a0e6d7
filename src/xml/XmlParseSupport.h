// Small helpers shared by the XML parsing sources: views of strings, white
// space trimming and the nesting guard. Internal to the library.
#pragma once

#include "framework/String.h"
#include "platform/Types.h"
#include "xml/XmlCharClasses.h"
#include "xml/XmlNodeText.h"

#include <string_view>

namespace OrvXml {

inline std::string_view View(const CString& text) noexcept
{
    return std::string_view(text.GetString(), std::size_t(text.GetLength()));
}

inline std::string_view View(const CNodeText& text) noexcept
{
    return text.View();
}

inline CString ToCString(std::string_view text)
{
    return CString(text.data(), int(text.size()));
}

inline std::string_view TrimLeft(std::string_view text) noexcept
{
    while (!text.empty() && IsXmlSpace(text.front())) {
        text.remove_prefix(1);
    }
    return text;
}

inline std::string_view TrimRight(std::string_view text) noexcept
{
    while (!text.empty() && IsXmlSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

inline std::string_view Trim(std::string_view text) noexcept
{
    return TrimRight(TrimLeft(text));
}

inline bool StartsWith(std::string_view text, std::string_view prefix) noexcept
{
    return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

inline bool IsQuote(char c) noexcept
{
    return c == '"' || c == '\'';
}

// The index of the first white space character, or npos.
inline std::size_t FindSpace(std::string_view text) noexcept
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsXmlSpace(text[i])) {
            return i;
        }
    }
    return std::string_view::npos;
}

// Parse calls that nest through declarations (a DOCTYPE internal subset
// whose parameter entities hold markup that again holds a DOCTYPE) recurse on
// the machine stack, about ten frames per level. Thirty-two levels stay far
// inside a 1 MB stack even in sanitizer builds; real documents use one or two.
inline constexpr DWORD kMaximumRecursiveParseDepth = 32;

} // namespace OrvXml

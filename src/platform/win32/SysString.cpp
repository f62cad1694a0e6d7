// Code-page conversions for system strings; the strings themselves are
// oleaut32's.
#include "platform/SysString.h"

#include <vector>

namespace platform {

std::string OleToCodePage(const OLECHAR* text)
{
    const int length = static_cast<int>(OleLength(text));
    if (length == 0)
        return std::string();
    const int needed = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return std::string();
    std::string out(static_cast<std::size_t>(needed), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, out.data(), needed, nullptr, nullptr);
    return out;
}

namespace {

std::vector<OLECHAR> Widen(const char* text, std::size_t length)
{
    std::vector<OLECHAR> wide(1, 0);
    if (text == nullptr || length == 0)
        return wide;
    const int needed = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
    if (needed <= 0)
        return wide;
    wide.assign(static_cast<std::size_t>(needed) + 1, 0);
    MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), wide.data(), needed);
    return wide;
}

} // namespace

BSTR CodePageToOle(const char* text, std::size_t length)
{
    const std::vector<OLECHAR> wide = Widen(text, length);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size() - 1));
}

bool AssignCodePage(BSTR* target, const char* text, std::size_t length)
{
    const std::vector<OLECHAR> wide = Widen(text, length);
    return SysReAllocString(target, wide.data()) != FALSE;
}

} // namespace platform

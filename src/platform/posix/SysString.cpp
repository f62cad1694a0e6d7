// System strings without oleaut32: a 4-byte byte count, the characters and a
// 16-bit NUL, in one block from malloc. The string pointer is the block plus
// four bytes.
#include "platform/SysString.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr std::size_t kPrefix = sizeof(std::uint32_t);

std::uint32_t* BlockOf(BSTR text)
{
    return reinterpret_cast<std::uint32_t*>(reinterpret_cast<unsigned char*>(text) - kPrefix);
}

// A zero-filled string of length characters, or null when the length does
// not fit the 32-bit byte count or memory runs out.
BSTR Allocate(std::size_t length)
{
    if (length > (std::numeric_limits<std::uint32_t>::max() - kPrefix - sizeof(OLECHAR)) / sizeof(OLECHAR))
        return nullptr;
    const std::size_t bytes = length * sizeof(OLECHAR);
    auto* block = static_cast<unsigned char*>(std::calloc(1, kPrefix + bytes + sizeof(OLECHAR)));
    if (block == nullptr)
        return nullptr;
    const auto count = static_cast<std::uint32_t>(bytes);
    std::memcpy(block, &count, kPrefix);
    return reinterpret_cast<BSTR>(block + kPrefix);
}

} // namespace

extern "C" {

BSTR SysAllocString(const OLECHAR* text)
{
    if (text == nullptr)
        return nullptr;
    return SysAllocStringLen(text, static_cast<UINT>(platform::OleLength(text)));
}

BSTR SysAllocStringLen(const OLECHAR* text, UINT length)
{
    BSTR result = Allocate(length);
    if (result != nullptr && text != nullptr)
        std::memcpy(result, text, std::size_t(length) * sizeof(OLECHAR));
    return result;
}

int SysReAllocString(BSTR* target, const OLECHAR* text)
{
    if (target == nullptr)
        return FALSE;
    if (text == nullptr && *target == nullptr)
        return TRUE;
    static const OLECHAR empty[1] = {0};
    BSTR copy = SysAllocString(text != nullptr ? text : empty);
    if (copy == nullptr)
        return FALSE;
    SysFreeString(*target);
    *target = copy;
    return TRUE;
}

void SysFreeString(BSTR text)
{
    if (text != nullptr)
        std::free(BlockOf(text));
}

UINT SysStringLen(BSTR text)
{
    if (text == nullptr)
        return 0;
    std::uint32_t bytes = 0;
    std::memcpy(&bytes, BlockOf(text), kPrefix);
    return bytes / sizeof(OLECHAR);
}

} // extern "C"

namespace platform {

// Natively the process code page is UTF-8. Unpaired surrogates become '?'.
std::string OleToCodePage(const OLECHAR* text)
{
    std::string out;
    const std::size_t length = OleLength(text);
    out.reserve(length);
    for (std::size_t i = 0; i < length; ++i) {
        std::uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = '?';
        }
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}

namespace {

// Decodes UTF-8; a byte that does not start a well-formed sequence becomes '?'.
std::u16string FromUtf8(const char* text, std::size_t length)
{
    std::u16string out;
    out.reserve(length);
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    std::size_t i = 0;
    while (i < length) {
        const unsigned char b = p[i];
        std::uint32_t c = b;
        std::size_t extra = 0;
        if (b >= 0xF0 && b <= 0xF4) {
            c = b & 0x07;
            extra = 3;
        } else if (b >= 0xE0 && b < 0xF0) {
            c = b & 0x0F;
            extra = 2;
        } else if (b >= 0xC2 && b < 0xE0) {
            c = b & 0x1F;
            extra = 1;
        } else if (b >= 0x80) {
            out += u'?';
            ++i;
            continue;
        }
        bool good = i + extra < length;
        for (std::size_t k = 1; good && k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                good = false;
            else
                c = (c << 6) | (p[i + k] & 0x3F);
        }
        const bool overlong = (extra == 2 && c < 0x800) || (extra == 3 && c < 0x10000);
        const bool invalid = (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF;
        if (!good || overlong || invalid) {
            out += u'?';
            ++i;
            continue;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out += char16_t(0xD800 + (c >> 10));
            out += char16_t(0xDC00 + (c & 0x3FF));
        } else {
            out += char16_t(c);
        }
        i += extra + 1;
    }
    return out;
}

} // namespace

BSTR CodePageToOle(const char* text, std::size_t length)
{
    const std::u16string wide = FromUtf8(text != nullptr ? text : "", text != nullptr ? length : 0);
    return SysAllocStringLen(wide.c_str(), static_cast<UINT>(wide.size()));
}

bool AssignCodePage(BSTR* target, const char* text, std::size_t length)
{
    const std::u16string wide = FromUtf8(text != nullptr ? text : "", text != nullptr ? length : 0);
    return SysReAllocString(target, wide.c_str()) != FALSE;
}

} // namespace platform

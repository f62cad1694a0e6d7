#include "platform/Url.h"

#include <cstring>
#include <string>

HRESULT UrlCanonicalizeA(const char* url, char* canonical, DWORD* length, DWORD flags)
{
    if (url == nullptr || canonical == nullptr || length == nullptr || *length == 0)
        return E_INVALIDARG;
    static const char kHex[] = "0123456789ABCDEF";
    // Tabs are dropped and trailing spaces trimmed, as the system does.
    std::string source;
    for (const char* p = url; *p != '\0'; ++p) {
        if (*p != '\t')
            source += *p;
    }
    while (!source.empty() && source.back() == ' ')
        source.pop_back();
    std::string result;
    for (const char ch : source) {
        const auto byte = static_cast<unsigned char>(ch);
        const bool escape = byte <= 0x20 || byte >= 0x7F || (byte == '%' && (flags & URL_ESCAPE_PERCENT) != 0);
        if (escape) {
            result += '%';
            result += kHex[byte >> 4];
            result += kHex[byte & 0x0F];
        } else {
            result += static_cast<char>(byte);
        }
    }
    if (result.size() + 1 > *length) {
        *length = static_cast<DWORD>(result.size() + 1);
        return E_POINTER;
    }
    std::memcpy(canonical, result.c_str(), result.size() + 1);
    *length = static_cast<DWORD>(result.size());
    return S_OK;
}

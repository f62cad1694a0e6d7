#include "platform/Path.h"

#include <cstring>

namespace {
constexpr std::size_t kMaxPath = 260;
} // namespace

BOOL PathAppendA(char* path, const char* more)
{
    if (path == nullptr)
        return FALSE;
    if (more == nullptr)
        more = "";
    while (*more == '/' || *more == '\\')
        ++more;
    const std::size_t length = strnlen(path, kMaxPath);
    if (length >= kMaxPath)
        return FALSE;
    const bool separator = *more != '\0' && length > 0 && path[length - 1] != '/';
    const std::size_t extra = std::strlen(more);
    if (length + (separator ? 1 : 0) + extra >= kMaxPath)
        return FALSE;
    char* end = path + length;
    if (separator)
        *end++ = '/';
    std::memcpy(end, more, extra + 1);
    return TRUE;
}

#include "Output.h"

#include <algorithm>
#include <cstring>

namespace kestrel {

int WriteNumber(std::string_view text, char* buffer, int capacity)
{
    if (buffer == nullptr || capacity < 1)
        return 0;
    if (text.size() < std::size_t(capacity))
        return WriteText(text, buffer, capacity);
    std::memset(buffer, '#', std::size_t(capacity - 1));
    buffer[capacity - 1] = '\0';
    return capacity - 1;
}

int WriteText(std::string_view text, char* buffer, int capacity)
{
    if (buffer == nullptr || capacity < 1)
        return 0;
    const std::size_t length = std::min(text.size(), std::size_t(capacity - 1));
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    return int(length);
}

} // namespace kestrel

#include "platform/Module.h"

#include <vector>

namespace platform {

std::string ModuleFileName(HMODULE module)
{
    // The call cuts a long path and answers the buffer size; grow until the
    // whole path fits.
    for (DWORD size = 260; size <= 32768 * 2; size *= 2) {
        std::vector<char> buffer(size);
        const DWORD length = GetModuleFileNameA(module, buffer.data(), size);
        if (length == 0)
            return {};
        if (length < size - 1)
            return std::string(buffer.data(), length);
    }
    return {};
}

bool LoadModuleString(HMODULE module, UINT id, std::string& text)
{
    // LoadStringA answers only how much it copied; a text that filled the
    // buffer may have been cut, so try again with more room.
    for (int size = 256; size <= 65536; size *= 2) {
        std::vector<char> buffer(static_cast<std::size_t>(size));
        const int length = LoadStringA(module, id, buffer.data(), size);
        if (length <= 0)
            return false;
        if (length < size - 1) {
            text.assign(buffer.data(), static_cast<std::size_t>(length));
            return true;
        }
    }
    return false;
}

} // namespace platform

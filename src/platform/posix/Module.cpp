#include "platform/Module.h"

#include "platform/LastError.h"
#include "platform/StringTable.h"

#include <algorithm>
#include <cstring>
#include <unistd.h>

namespace {

// Any fixed address serves as the handle of the library's own module.
const char kLibraryModuleTag = 0;
const char kExecutableModuleTag = 0;

const platform::StringTableEntry* FindString(UINT id)
{
    const auto* end = platform::kLibraryStrings + platform::kLibraryStringCount;
    const auto* entry = std::find_if(platform::kLibraryStrings, end,
                                     [id](const platform::StringTableEntry& e) { return e.id == id; });
    return entry == end ? nullptr : entry;
}

} // namespace

namespace platform {

HMODULE LibraryModule() noexcept
{
    return reinterpret_cast<HMODULE>(const_cast<char*>(&kLibraryModuleTag));
}

HMODULE ExecutableModule() noexcept
{
    return reinterpret_cast<HMODULE>(const_cast<char*>(&kExecutableModuleTag));
}

} // namespace platform

HMODULE LoadLibraryA(const char*)
{
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

BOOL FreeLibrary(HMODULE module)
{
    if (module == platform::LibraryModule() || module == platform::ExecutableModule())
        return TRUE;
    SetLastError(6); // ERROR_INVALID_HANDLE
    return FALSE;
}

DWORD GetModuleFileNameA(HMODULE module, char* fileName, DWORD size)
{
    const bool executable = module == nullptr || module == platform::ExecutableModule();
    if (!executable || fileName == nullptr || size == 0) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    char path[4096];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof path);
    if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    if (static_cast<DWORD>(length) >= size) {
        std::memcpy(fileName, path, size - 1);
        fileName[size - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return size;
    }
    std::memcpy(fileName, path, static_cast<std::size_t>(length));
    fileName[length] = '\0';
    return static_cast<DWORD>(length);
}

int LoadStringA(HINSTANCE instance, UINT id, char* buffer, int bufferMax)
{
    if (buffer == nullptr || bufferMax < 1)
        return 0;
    const platform::StringTableEntry* entry = instance == platform::LibraryModule() ? FindString(id) : nullptr;
    if (entry == nullptr) {
        buffer[0] = '\0';
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return 0;
    }
    const int length = std::min(static_cast<int>(std::strlen(entry->text)), bufferMax - 1);
    std::memcpy(buffer, entry->text, static_cast<std::size_t>(length));
    buffer[length] = '\0';
    return length;
}

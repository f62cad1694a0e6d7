#include "platform/Module.h"

namespace platform {

HMODULE LibraryModule() noexcept
{
    // The module that holds this function's code is the library itself.
    HMODULE module = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<const char*>(&LibraryModule), &module);
    return module;
}

HMODULE ExecutableModule() noexcept
{
    return GetModuleHandleA(nullptr);
}

} // namespace platform

#include "framework/win/ModuleState.h"

namespace {

// The resource module of this process. The application's user-interface
// thread is the only one that switches it, so no lock guards it.
HINSTANCE g_resourceModule = nullptr;

} // namespace

HINSTANCE AfxGetLibraryHandle()
{
    static const HINSTANCE library = [] {
        HMODULE module = nullptr;
        ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                             reinterpret_cast<LPCSTR>(&AfxGetLibraryHandle), &module);
        return module;
    }();
    return library;
}

HINSTANCE AfxGetInstanceHandle()
{
    return ::GetModuleHandleA(nullptr);
}

HINSTANCE AfxGetResourceHandle()
{
    return g_resourceModule != nullptr ? g_resourceModule : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE module)
{
    g_resourceModule = module;
}

HINSTANCE AfxFindResourceHandle(const char* name, const char* type)
{
    HINSTANCE current = AfxGetResourceHandle();
    if (::FindResourceA(current, name, type) != nullptr)
        return current;
    HINSTANCE library = AfxGetLibraryHandle();
    if (library != current && ::FindResourceA(library, name, type) != nullptr)
        return library;
    return nullptr;
}

#include "platform/ModuleState.h"

#include <atomic>
#include <string>

namespace {

// Null until a scope sets a module: the executable then.
std::atomic<HINSTANCE> g_resourceHandle{nullptr};

} // namespace

HINSTANCE AfxGetLibraryHandle() noexcept
{
    return platform::LibraryModule();
}

HINSTANCE AfxGetInstanceHandle() noexcept
{
    return platform::ExecutableModule();
}

HINSTANCE AfxGetResourceHandle() noexcept
{
    HINSTANCE resource = g_resourceHandle.load();
    return resource != nullptr ? resource : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE resource) noexcept
{
    g_resourceHandle.store(resource);
}

BOOL LoadResourceString(HINSTANCE module, UINT id, CString& text)
{
    std::string loaded;
    if (module == nullptr || !platform::LoadModuleString(module, id, loaded)) {
        text.Empty();
        return FALSE;
    }
    text = CString(loaded.data(), static_cast<int>(loaded.size()));
    return TRUE;
}

BOOL LoadChainedResourceString(HINSTANCE module, UINT id, CString& text)
{
    if (LoadResourceString(module, id, text))
        return TRUE;
    const HINSTANCE library = AfxGetLibraryHandle();
    return module != library && LoadResourceString(library, id, text);
}

BOOL LoadResourceString(UINT id, CString& text)
{
    return LoadChainedResourceString(AfxGetResourceHandle(), id, text);
}

#if defined(_WIN32)
HINSTANCE AfxFindResourceHandle(const char* name, const char* type)
{
    const HINSTANCE current = AfxGetResourceHandle();
    if (::FindResourceA(current, name, type) != nullptr)
        return current;
    const HINSTANCE library = AfxGetLibraryHandle();
    if (library != current && ::FindResourceA(library, name, type) != nullptr)
        return library;
    return nullptr;
}
#endif

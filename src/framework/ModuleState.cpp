#include "framework/ModuleState.h"

#include <atomic>
#include <string>

namespace {

std::atomic<HINSTANCE> g_resourceHandle{nullptr};

} // namespace

HINSTANCE AfxGetResourceHandle() noexcept
{
    HINSTANCE resource = g_resourceHandle.load();
    return resource != nullptr ? resource : platform::LibraryModule();
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

BOOL LoadResourceString(UINT id, CString& text)
{
    const HINSTANCE current = AfxGetResourceHandle();
    if (LoadResourceString(current, id, text))
        return TRUE;
    const HINSTANCE library = platform::LibraryModule();
    return current != library && LoadResourceString(library, id, text);
}

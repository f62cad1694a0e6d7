#include "controls/win/CompanionLibrary.h"

#include <atomic>

namespace orv::companion {

namespace {

constexpr const char* kLibrary = "OrvInject2.dll";

// Once found, the library stays loaded; while it is missing, each use looks
// again.
HMODULE Library()
{
    static std::atomic<HMODULE> module {nullptr};
    if (module.load() == nullptr) {
        HMODULE found = ::GetModuleHandleA(kLibrary);
        module = found != nullptr ? found : ::LoadLibraryA(kLibrary);
    }
    return module.load();
}

template <class Function>
Function* Typed(const char* name)
{
    return reinterpret_cast<Function*>(reinterpret_cast<void*>(Export(name)));
}

} // namespace

FARPROC Export(const char* name)
{
    HMODULE module = Library();
    return module != nullptr ? ::GetProcAddress(module, name) : nullptr;
}

void SetExternalDropSymbol(const char* symbol)
{
    using Function = BOOL WINAPI(const char*);
    Function* const set = Typed<Function>("SetExternalDropSymbol");
    if (set != nullptr)
        set(symbol);
}

BOOL HandleExternalDropTarget(int drop)
{
    using Function = BOOL WINAPI(int);
    Function* const handle = Typed<Function>("HandleExternalDropTarget");
    return handle != nullptr ? handle(drop) : FALSE;
}

} // namespace orv::companion

#define ORVINJECT_BUILDING
#include "OrvInject2.h"

#include <cstring>

// One copy of the record for every process that loads the library: a shared
// section of the image.
OrvInjectSharedInfo gs_sharedInfo __attribute__((section(".orvshr"), shared)) = {nullptr, 0, {0}};

namespace {

// The drop target of another process under the cursor, or null.
HWND ExternalTargetAtCursor()
{
    POINT cursor {};
    if (!::GetCursorPos(&cursor))
        return nullptr;
    for (HWND wnd = ::WindowFromPoint(cursor); wnd != nullptr; wnd = ::GetParent(wnd)) {
        DWORD process = 0;
        ::GetWindowThreadProcessId(wnd, &process);
        if (process == ::GetCurrentProcessId())
            return nullptr;
        if (::GetPropA(wnd, ORVINJECT_TARGET_PROP) != nullptr)
            return wnd;
    }
    return nullptr;
}

} // namespace

BOOL WINAPI SetExternalDropSymbol(const char* symbol)
{
    if (symbol == nullptr)
        return FALSE;
    const size_t length = std::strlen(symbol);
    if (length >= ORVINJECT_SYMBOL_SIZE)
        return FALSE;
    std::memcpy(gs_sharedInfo.symbol, symbol, length + 1);
    gs_sharedInfo.dragProcess = ::GetCurrentProcessId();
    return TRUE;
}

BOOL WINAPI HandleExternalDropTarget(int drop)
{
    HWND target = ExternalTargetAtCursor();
    if (target == nullptr || gs_sharedInfo.dragProcess != ::GetCurrentProcessId())
        return FALSE;
    if (!drop) {
        ::SetCursor(::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649))); // the hand
        return TRUE;
    }
    COPYDATASTRUCT data {ORVINJECT_COPYDATA_SYMBOL, static_cast<DWORD>(std::strlen(gs_sharedInfo.symbol) + 1),
                         gs_sharedInfo.symbol};
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutA(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 2000,
                                 &answer) != 0;
}

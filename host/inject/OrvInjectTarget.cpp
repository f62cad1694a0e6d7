// A window of another process that accepts symbols handed over by
// OrvInject2.dll: OrvInjectTarget <left> <top> <record file>. It shows a
// 200 x 100 window, never active, titled "OrvInjectTarget" at the screen point, carrying
// the library's target property, and appends each symbol it receives to the
// record file, one a line. It ends when the window is closed. Exit code 0,
// or 1 for bad arguments.
#include "OrvInject2.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string g_record;

LRESULT CALLBACK TargetProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data->dwData != ORVINJECT_COPYDATA_SYMBOL || data->cbData == 0)
            return FALSE;
        const std::string symbol(static_cast<const char*>(data->lpData), data->cbData - 1);
        if (FILE* file = std::fopen(g_record.c_str(), "ab")) {
            std::fprintf(file, "%s\n", symbol.c_str());
            std::fclose(file);
        }
        return TRUE;
    }
    if (message == WM_DESTROY)
        ::PostQuitMessage(0);
    return ::DefWindowProcA(wnd, message, wParam, lParam);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return 1;
    g_record = argv[3];
    WNDCLASSA windowClass {};
    windowClass.lpfnWndProc = TargetProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH));
    windowClass.lpszClassName = "OrvInjectTarget";
    ::RegisterClassA(&windowClass);
    // It never takes the activation: the drag that ends over it belongs to
    // the active program.
    HWND wnd = ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_NOACTIVATE, "OrvInjectTarget", "OrvInjectTarget", WS_POPUP | WS_BORDER,
                                 std::atoi(argv[1]), std::atoi(argv[2]), 200, 100, nullptr, nullptr,
                                 windowClass.hInstance, nullptr);
    if (wnd == nullptr)
        return 1;
    ::SetPropA(wnd, ORVINJECT_TARGET_PROP, reinterpret_cast<HANDLE>(1));
    ::ShowWindow(wnd, SW_SHOWNOACTIVATE);
    MSG msg;
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0)
        ::DispatchMessageA(&msg);
    ::RemovePropA(wnd, ORVINJECT_TARGET_PROP);
    return 0;
}

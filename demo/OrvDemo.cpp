// OrvDemo: shows the library's order-entry controls in a trading window.
//
//   OrvDemo.exe                    runs the window until it is closed
//   OrvDemo.exe --screenshot PATH  shows it, writes its image as PNG to PATH
//                                  (a Windows path) and exits
//   OrvDemo.exe --peer             a second window, lower on the screen, that
//                                  takes symbols dragged in the first
#include "MainFrame.h"

#include "Screenshot.h"

#include "controls/win/SysColors.h"
#include "framework/win/OleDragDrop.h"
#include "framework/win/RegisteredMessages.h"
#include "framework/WinApp.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Dispatches messages until done() holds or the time is up.
template <class Done>
void PumpUntil(Done done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    MSG msg;
    while (!done() && ::GetTickCount() - start < timeoutMs) {
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
}

// Moves the mouse over the middle of the window with real input.
void MoveMouseOver(HWND wnd)
{
    RECT rect {};
    ::GetWindowRect(wnd, &rect);
    INPUT input {};
    input.type = INPUT_MOUSE;
    input.mi.dx = ((rect.left + rect.right) / 2 * 65536 + 32768) / ::GetSystemMetrics(SM_CXSCREEN);
    input.mi.dy = ((rect.top + rect.bottom) / 2 * 65536 + 32768) / ::GetSystemMetrics(SM_CYSCREEN);
    input.mi.dwFlags = MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    ::SendInput(1, &input, sizeof input);
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    std::string screenshot;
    bool peer = false;
    for (int i = 1; i < __argc; ++i) {
        if (std::strcmp(__argv[i], "--screenshot") == 0 && i + 1 < __argc)
            screenshot = __argv[++i];
        else if (std::strcmp(__argv[i], "--peer") == 0)
            peer = true;
    }
    CWinApp app("OrvDemo");
    CSysColors::Update();
    // Symbols are dragged between the windows with OLE.
    AfxOleInit();
    CDemoFrame frame;
    if (!frame.Create(peer)) {
        std::fprintf(stderr, "OrvDemo: could not create the window\n");
        return 1;
    }
    COrderTicket& ticket = frame.Ticket();
    CQuotePanel& quotes = frame.Quotes();
    if (peer)
        ticket.AcceptSymbolsFromOtherPrograms();
    // The picture always shows the window at its first place.
    if (!peer && screenshot.empty())
        frame.RestorePlacement();
    app.SetMainWnd(&frame);
    frame.ShowWindow(SW_SHOW);
    frame.UpdateWindow();
    if (screenshot.empty())
        return app.Run();

    // A few bursts of the feed, so that the quotes have moved; then let the
    // window settle, put the mouse over "Buy" to show the hover
    // look, then take the picture.
    for (int burst = 0; burst < 6; ++burst)
        quotes.FeedTick();
    PumpUntil([] { return false; }, 300);
    MoveMouseOver(ticket.GetBuyButton());
    PumpUntil([&] { return ::SendMessageA(ticket.GetBuyButton(), RWM_ORV_AREYOUTRACKING, 0, 0) != 0; }, 1000);
    PumpUntil([] { return false; }, 100);
    // The idle pass sets the toolbars' buttons before the picture.
    app.OnIdle(0);
    PumpUntil([] { return false; }, 100);
    const bool written = orv::shot::WriteWindowPng(frame, screenshot);
    if (written)
        std::printf("%s\n", screenshot.c_str());
    else
        std::fprintf(stderr, "OrvDemo: could not write %s\n", screenshot.c_str());
    frame.DestroyWindow();
    return written ? 0 : 1;
}

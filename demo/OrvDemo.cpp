// OrvDemo: shows the library's order-entry controls in a trading window.
//
//   OrvDemo.exe                    runs the window until it is closed
//   OrvDemo.exe --screenshot PATH  shows it, writes its image as PNG to PATH
//                                  (a Windows path) and exits
#include "OrderTicket.h"

#include "UiHarness.h"

#include "controls/win/SysColors.h"
#include "framework/win/RegisteredMessages.h"
#include "framework/WinApp.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Writes the window's image to the path; the screenshot writer takes a
// folder and a name.
int WriteScreenshot(HWND wnd, const std::string& path)
{
    const size_t slash = path.find_last_of("\\/");
    std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0)
        name.resize(name.size() - 4);
    ::SetEnvironmentVariableA("ORV_SCREENSHOT_DIR", folder.c_str());
    _putenv_s("ORV_SCREENSHOT_DIR", folder.c_str());
    const std::string written = orv::ui::SaveScreenshot(wnd, name.c_str());
    if (written.empty()) {
        std::fprintf(stderr, "OrvDemo: could not write %s\n", path.c_str());
        return 1;
    }
    std::printf("%s\n", written.c_str());
    return 0;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    std::string screenshot;
    for (int i = 1; i < __argc; ++i) {
        if (std::strcmp(__argv[i], "--screenshot") == 0 && i + 1 < __argc)
            screenshot = __argv[++i];
    }
    CWinApp app("OrvDemo");
    CSysColors::Update();
    COrderTicket ticket;
    if (!ticket.Create()) {
        std::fprintf(stderr, "OrvDemo: could not create the window\n");
        return 1;
    }
    app.SetMainWnd(&ticket);
    ticket.ShowWindow(SW_SHOW);
    ticket.UpdateWindow();
    if (screenshot.empty())
        return app.Run();

    // Let the window settle, put the mouse over "Buy" to show the hover
    // look, then take the picture.
    orv::ui::PumpUntil([] { return false; }, 300);
    orv::ui::MoveMouseTo(ticket.GetBuyButton(), POINT {30, 12});
    orv::ui::PumpUntil([&] { return ::SendMessageA(ticket.GetBuyButton(), RWM_ORV_AREYOUTRACKING, 0, 0) != 0; }, 1000);
    orv::ui::PumpUntil([] { return false; }, 100);
    const int result = WriteScreenshot(ticket, screenshot);
    ticket.DestroyWindow();
    return result;
}

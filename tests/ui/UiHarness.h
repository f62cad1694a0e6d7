// Helpers of the UI tests: pumping messages until a condition holds, real
// mouse and keyboard input, PNG screenshots of windows and counts of the
// process's GDI and USER handles.
#pragma once

#include "framework/Geometry.h"
#include "framework/String.h"
#include "base/Types.h"

#include <functional>
#include <string>

namespace orv::ui {

// Dispatches this thread's messages until done() holds or the time is up;
// returns whether done() held. Waits for messages rather than sleeping.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Dispatches the messages already waiting, then returns.
void PumpPending();

// Real input through SendInput: the cursor moves to the client point of the
// window and the left button goes down and up.
void MoveMouseTo(HWND wnd, POINT clientPoint);
void ClickAt(HWND wnd, POINT clientPoint);
void PressKey(WORD virtualKey);
// The same as posted messages, for windows that need no focus or position.
void PostClick(HWND wnd, POINT clientPoint);

// Writes the window's image as build/<preset>/screenshots/<name>.png (the
// folder comes from ORV_SCREENSHOT_DIR); returns the file's path, or the
// empty string when it could not be written.
std::string SaveScreenshot(HWND wnd, const char* name);
// Encodes 24-bit rows (top-down, red-green-blue) as a PNG file.
bool WritePng(const std::string& path, int width, int height, const unsigned char* rgb);

struct GuiCounts {
    DWORD gdi;
    DWORD user;
};
// The process's GDI and USER objects. Where the system does not count them
// (Wine), the live handles in the handle tables are counted instead.
GuiCounts CountGuiHandles();

// The window's text.
CString TextOf(HWND wnd);

// A plain top-level test window of the library's class at a fixed place.
CRect TestFrameRect();

} // namespace orv::ui

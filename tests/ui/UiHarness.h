// Helpers of the UI tests: pumping messages until a condition holds, real
// mouse and keyboard input, PNG screenshots of windows and counts of the
// process's GDI and USER handles.
#pragma once

#include "framework/Geometry.h"
#include "framework/String.h"
#include "base/Types.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

class CThreadTimer;

namespace orv::ui {

// Dispatches this thread's messages until done() holds or the time is up;
// returns whether done() held. Waits for messages rather than sleeping.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Dispatches the messages already waiting, then returns.
void PumpPending();

// Real input through SendInput at the client point of the window: a move,
// the left button pressed or released there, or a click (all three).
void MoveMouseTo(HWND wnd, POINT clientPoint);
void MouseButtonAt(HWND wnd, POINT clientPoint, bool down);
void ClickAt(HWND wnd, POINT clientPoint);
// A key pressed and released through SendInput, to the focused window,
// with the `held` keys (Shift, Control) down around it; each key carries its
// scan code, which some controls read.
void PressKey(WORD key, std::initializer_list<WORD> held = {});
// Keys posted to the window as the keyboard makes them, each dispatched
// before the next: characters as WM_CHAR, and these codes as the key-down
// alone of a key that makes no character: \x01 up, \x02 down, \x03 left,
// \x04 right, \x05 Insert, \x7f Delete.
void PostKeys(HWND wnd, const char* keys);
// Puts text on the clipboard, opened on behalf of `owner`; false when it
// cannot be opened.
bool SetClipboardText(HWND owner, const char* text);
// Parks the mouse outside every test window.
void MouseAway();
// A click as posted messages, for windows that need no focus or position.
void PostClick(HWND wnd, POINT clientPoint);

// Dispatches the waiting messages, then writes the window's image as
// build/<preset>/screenshots/<name>.png (the folder comes from
// ORV_SCREENSHOT_DIR); returns the file's path, or the empty string when it
// could not be written.
std::string SaveScreenshot(HWND wnd, const char* name);

struct GuiCounts {
    DWORD gdi;
    DWORD user;
};
// The process's GDI and USER objects. Where the system does not count them
// (Wine), the live handles in the handle tables are counted instead.
GuiCounts CountGuiHandles();
// The process's kernel handles (events, threads, files, ...), read from the
// system's handle table: GetProcessHandleCount answers 0 under Wine. -1 when
// the table cannot be read.
long CountKernelHandles();
// Runs the cycle 1,000 times (or `cycles`), after 20 that may fill lasting system caches
// (window DCs, fonts, glyphs), pumping messages after each as the
// application's loop would, and expects the handle counts to end where they
// began. gdiSlack allows for the window DC cache, which grows by a few
// entries while windows come and go; a leak would add 1,000.
void ExpectNoHandleLeak(const std::function<void()>& cycle, DWORD gdiSlack = 0, int cycles = 1000);

// Dispatches messages for the whole wait, for checks that nothing happens.
void PumpFor(DWORD waitMs);
// Whether the window is destroyed within the time, messages dispatched.
bool WaitGone(HWND wnd, DWORD timeoutMs = 5000);
// Moves the mouse to the screen point and waits until the cursor is there.
bool CursorTo(POINT screenPoint);
// The first visible top-level window of this thread of the class for which
// `accept` holds (any when it is empty); null when there is none.
HWND FindThreadWindow(const char* className, const std::function<bool(HWND)>& accept = {});

// Pixels of the colour in a rectangle of the window (window coordinates),
// and the longest row of them in its client area (an underline spans it).
int CountPixels(HWND wnd, const RECT& rect, COLORREF colour);
int LongestRow(HWND wnd, COLORREF colour);

// Runs `act` once on the first window `find` returns, from a thread timer:
// modal loops (message boxes, menus, dropped lists) dispatch it.
class WhenShown {
public:
    WhenShown(std::function<HWND()> find, std::function<void(HWND)> act, UINT periodMs = 30);
    ~WhenShown();
    bool Done() const { return m_done; }

private:
    std::function<HWND()> m_find;
    std::function<void(HWND)> m_act;
    bool m_done = false;
    std::unique_ptr<::CThreadTimer> m_timer;
};

// Deletes the registry keys (with their subkeys) now and when it goes.
class RegistryKeysGone {
public:
    RegistryKeysGone(HKEY root, std::initializer_list<const char*> keys);
    ~RegistryKeysGone();

private:
    HKEY m_root;
    std::vector<std::string> m_keys;
};

// The message of the exception the call raises; "" when it raises none.
std::string RaisedBy(const std::function<void()>& call);

// The window's rectangle in its parent's client coordinates.
CRect RectInParent(HWND wnd);

// A plain top-level test window of the library's class at a fixed place.
CRect TestFrameRect();

} // namespace orv::ui

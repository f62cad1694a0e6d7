// Free functions for small window, input and menu jobs that the system does
// not do in one step. They keep no state between calls.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "base/Types.h"

class CMenu;

// Brings the window to the front, attaching to the foreground thread's input
// when that is another thread, then shows it (restored when minimised).
// Returns 1 at once when it already is the foreground window, else the
// answer of SetForegroundWindow.
ORV_API int ForceForegroundWindow(HWND wnd);
// The deepest visible, enabled window at the screen point that is not the
// excluded window and has none of the excluded style and extended-style bits
// (0 filters nothing); null when no top-level window qualifies.
ORV_API HWND WindowFromPointEx(POINT point, HWND excluded, DWORD excludedStyle, DWORD excludedExStyle);
// 1 when the right, left or middle mouse button is down.
ORV_API int IsMouseButtonDown();
// Drops the sunken client edge when visual styles are in use, adds it when
// they are not, and recalculates the frame.
ORV_API void AddOrRemoveClientEdge(HWND wnd);
// With flag set, appends a separator and "Always on Top" (57360) to the
// frame's system menu; with it clear, toggles the frame's topmost state.
ORV_API void ProcessAlwaysOnTop(HWND frame, BOOL flag);
// 1 Windows 95, 2 Windows 98/Me, 3 NT 4, 4 Windows 2000/XP, 0 any other.
ORV_API int GetOSVersion();
// The text of a combo box's selection, read with messages that give up after
// 5 seconds. Returns 0, leaving text alone, for a missing window, a failed
// or timed-out message, no selection or an empty item; else 1.
ORV_API int ComboGetLbText(HWND combo, CString& text);
// An OLE colour (RGB or 0x80000000 | system colour index) as RGB; black when
// it cannot be translated.
ORV_API COLORREF TranslateColor(DWORD oleColor, HPALETTE palette = nullptr);
// Black or white, whichever reads better on the colour.
ORV_API COLORREF GetContrastingColor(COLORREF color);

// Position of the first item with the command identifier, or -1.
ORV_API int GetMenuItemPosition(HMENU menu, UINT id);
// Position of the first item whose text equals text exactly, or -1.
ORV_API int GetMenuItemPosition(CMenu* menu, const char* text);
// The popup of the first item whose text equals text exactly, or null.
ORV_API HMENU GetSubMenu(CMenu* menu, const char* text);
// Sets or clears the radio-check look of an item, keeping its other type
// bits. 0 when the item cannot be read or has no text room; else whether
// the change succeeded.
ORV_API int SetMenuItemRadio(HMENU menu, UINT item, BOOL byPosition, BOOL on);
// Deletes separators that stand first, last or next to another separator.
ORV_API void RemoveFunkyMenuSeparators(HMENU menu);
ORV_API void RemoveFunkyMenuSeparators(CMenu* menu);
// Removes each single "&" and turns each "&&" into "&".
ORV_API void StripMnemonicAmp(CString& text);
// Tracks the popup menu at the screen point for the owner; with exclude,
// the menu does not cover that screen rectangle.
ORV_API void ShowContextMenu(CMenu* menu, POINT point, HWND owner, const RECT* exclude = nullptr);

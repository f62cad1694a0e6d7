#include "controls/win/WindowUtils.h"

#include "controls/win/ThemeUtil.h"
#include "framework/win/Menu.h"

#include <olectl.h>

#include <algorithm>
#include <cstring>
#include <vector>

// ------------------------------------------------------- windows and input

int ForceForegroundWindow(HWND wnd)
{
    HWND foreground = ::GetForegroundWindow();
    if (foreground == wnd)
        return 1;
    const DWORD targetThread = ::GetWindowThreadProcessId(wnd, nullptr);
    const DWORD foregroundThread = foreground != nullptr ? ::GetWindowThreadProcessId(foreground, nullptr) : 0;
    BOOL result = FALSE;
    if (foregroundThread != 0 && foregroundThread != targetThread) {
        ::AttachThreadInput(foregroundThread, targetThread, TRUE);
        result = ::SetForegroundWindow(wnd);
        ::AttachThreadInput(foregroundThread, targetThread, FALSE);
    } else {
        result = ::SetForegroundWindow(wnd);
    }
    ::ShowWindow(wnd, ::IsIconic(wnd) ? SW_RESTORE : SW_SHOW);
    return result ? 1 : 0;
}

namespace {

struct PointSearch {
    POINT point;
    HWND excluded;
    DWORD excludedStyle;
    DWORD excludedExStyle;
    HWND found;
};

bool Qualifies(HWND wnd, const PointSearch& search)
{
    if (wnd == search.excluded || !::IsWindowVisible(wnd) || !::IsWindowEnabled(wnd))
        return false;
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(wnd, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrA(wnd, GWL_EXSTYLE));
    if ((search.excludedStyle != 0 && (style & search.excludedStyle) != 0) ||
        (search.excludedExStyle != 0 && (exStyle & search.excludedExStyle) != 0))
        return false;
    RECT rect {};
    return ::GetWindowRect(wnd, &rect) && ::PtInRect(&rect, search.point);
}

BOOL CALLBACK FindFirstQualifying(HWND wnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<PointSearch*>(lParam);
    if (!Qualifies(wnd, *search))
        return TRUE;
    search->found = wnd;
    return FALSE;
}

// The first direct child, topmost first, that qualifies; null when none
// does. (EnumChildWindows would reach the grandchildren too.)
HWND FirstQualifyingChild(HWND parent, const PointSearch& search)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (Qualifies(child, search))
            return child;
    }
    return nullptr;
}

} // namespace

HWND WindowFromPointEx(POINT point, HWND excluded, DWORD excludedStyle, DWORD excludedExStyle)
{
    PointSearch search {point, excluded, excludedStyle, excludedExStyle, nullptr};
    ::EnumWindows(FindFirstQualifying, reinterpret_cast<LPARAM>(&search));
    HWND candidate = search.found;
    if (candidate == nullptr)
        return nullptr;
    // One level at a time: a child that does not qualify hides its own
    // children, however they are placed.
    while (HWND child = FirstQualifyingChild(candidate, search))
        candidate = child;
    return ::IsWindow(candidate) ? candidate : nullptr;
}

int IsMouseButtonDown()
{
    for (int key : {VK_RBUTTON, VK_LBUTTON, VK_MBUTTON}) {
        if (::GetKeyState(key) & 0x8000)
            return 1;
    }
    return 0;
}

void AddOrRemoveClientEdge(HWND wnd)
{
    if (!::IsWindow(wnd))
        return;
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrA(wnd, GWL_EXSTYLE));
    const DWORD changed = IsThemeInUse() ? (exStyle & ~WS_EX_CLIENTEDGE) : (exStyle | WS_EX_CLIENTEDGE);
    ::SetWindowLongPtrA(wnd, GWL_EXSTYLE, static_cast<LONG_PTR>(changed));
    ::SetWindowPos(wnd, nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ProcessAlwaysOnTop(HWND frame, BOOL flag)
{
    if (flag) {
        HMENU systemMenu = ::GetSystemMenu(frame, FALSE);
        if (systemMenu == nullptr)
            return;
        ::AppendMenuA(systemMenu, MF_SEPARATOR, 0, nullptr);
        ::AppendMenuA(systemMenu, MF_STRING, 57360, "Always on Top");
        return;
    }
    const bool topmost = (::GetWindowLongPtrA(frame, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    ::SetWindowPos(frame, topmost ? HWND_NOTOPMOST : HWND_TOPMOST, 0, 0, 0, 0,
                   SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
}

int GetOSVersion()
{
    OSVERSIONINFOA info {};
    info.dwOSVersionInfoSize = sizeof info;
    if (!::GetVersionExA(&info))
        return 0;
    if (info.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS)
        return info.dwMinorVersion == 0 ? 1 : 2;
    if (info.dwPlatformId == VER_PLATFORM_WIN32_NT) {
        if (info.dwMajorVersion == 4)
            return 3;
        if (info.dwMajorVersion == 5)
            return 4;
    }
    return 0;
}

namespace {

// One message with the time-out; false when it failed or timed out.
bool SendWithTimeout(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutA(wnd, message, wParam, lParam, SMTO_NORMAL, 5000, &answer))
        return false;
    result = static_cast<LRESULT>(answer);
    return true;
}

} // namespace

int ComboGetLbText(HWND combo, CString& text)
{
    if (combo == nullptr || !::IsWindow(combo))
        return 0;
    LRESULT selection = CB_ERR;
    if (!SendWithTimeout(combo, CB_GETCURSEL, 0, 0, selection) || selection < 0)
        return 0;
    LRESULT length = CB_ERR;
    if (!SendWithTimeout(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(selection), 0, length) || length <= 0)
        return 0;
    std::vector<char> buffer(static_cast<size_t>(std::max<LRESULT>(length + 1, 256)), '\0');
    LRESULT copied = CB_ERR;
    if (!SendWithTimeout(combo, CB_GETLBTEXT, static_cast<WPARAM>(selection),
                         reinterpret_cast<LPARAM>(buffer.data()), copied) ||
        copied <= 0)
        return 0;
    buffer.back() = '\0';
    text = buffer.data();
    return 1;
}

COLORREF TranslateColor(DWORD oleColor, HPALETTE palette)
{
    COLORREF color = 0;
    if (FAILED(::OleTranslateColor(oleColor, palette, &color)))
        return 0;
    return color;
}

COLORREF GetContrastingColor(COLORREF color)
{
    const int weight = 2 * GetRValue(color) + 5 * GetGValue(color) + GetBValue(color);
    return weight > 1024 ? RGB(0, 0, 0) : RGB(255, 255, 255);
}

// ------------------------------------------------------------------ menus

int GetMenuItemPosition(HMENU menu, UINT id)
{
    const int count = ::GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        if (::GetMenuItemID(menu, position) == id)
            return position;
    }
    return -1;
}

int GetMenuItemPosition(CMenu* menu, const char* text)
{
    if (menu == nullptr || menu->GetSafeHmenu() == nullptr || text == nullptr)
        return -1;
    const int count = menu->GetMenuItemCount();
    char buffer[1024];
    for (int position = 0; position < count; ++position) {
        buffer[0] = '\0';
        ::GetMenuStringA(*menu, static_cast<UINT>(position), buffer, sizeof buffer, MF_BYPOSITION);
        if (std::strcmp(buffer, text) == 0)
            return position;
    }
    return -1;
}

HMENU GetSubMenu(CMenu* menu, const char* text)
{
    const int position = GetMenuItemPosition(menu, text);
    return position >= 0 ? ::GetSubMenu(*menu, position) : nullptr;
}

int SetMenuItemRadio(HMENU menu, UINT item, BOOL byPosition, BOOL on)
{
    char text[256] = "";
    MENUITEMINFOA info {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_TYPE;
    info.dwTypeData = text;
    info.cch = 255;
    if (!::GetMenuItemInfoA(menu, item, byPosition, &info) || info.cch == 0)
        return 0;
    info.fType = on ? (info.fType | MFT_RADIOCHECK) : (info.fType & ~MFT_RADIOCHECK);
    info.dwTypeData = text;
    return ::SetMenuItemInfoA(menu, item, byPosition, &info) ? 1 : 0;
}

namespace {

bool IsPlainSeparator(HMENU menu, int position)
{
    const UINT state = ::GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION);
    return state != static_cast<UINT>(-1) && (state & MF_SEPARATOR) != 0 && (state & MF_POPUP) == 0;
}

} // namespace

void RemoveFunkyMenuSeparators(HMENU menu)
{
    if (menu == nullptr || !::IsMenu(menu))
        return;
    const int count = ::GetMenuItemCount(menu);
    bool previousWasSeparator = false;
    for (int position = count - 1; position >= 0; --position) {
        if (!IsPlainSeparator(menu, position)) {
            previousWasSeparator = false;
            continue;
        }
        const bool remove = position == count - 1 || position == 0 || previousWasSeparator;
        previousWasSeparator = true;
        if (!remove)
            continue;
        ::DeleteMenu(menu, static_cast<UINT>(position), MF_BYPOSITION);
        // After a deletion at the top, every leading separator goes.
        while (position == 0 && ::GetMenuItemCount(menu) > 0 && IsPlainSeparator(menu, 0))
            ::DeleteMenu(menu, 0, MF_BYPOSITION);
    }
}

void RemoveFunkyMenuSeparators(CMenu* menu)
{
    if (menu != nullptr)
        RemoveFunkyMenuSeparators(menu->GetSafeHmenu());
}

void StripMnemonicAmp(CString& text)
{
    CString stripped;
    const int length = text.GetLength();
    for (int i = 0; i < length; ++i) {
        if (text[i] != '&') {
            stripped += text[i];
        } else if (i + 1 < length && text[i + 1] == '&') {
            stripped += '&';
            ++i;
        }
    }
    text = stripped;
}

void ShowContextMenu(CMenu* menu, POINT point, HWND owner, const RECT* exclude)
{
    if (menu == nullptr || menu->GetSafeHmenu() == nullptr)
        return;
    menu->TrackPopupMenu(0, point.x, point.y, owner, exclude);
}

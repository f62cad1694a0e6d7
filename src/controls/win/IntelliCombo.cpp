#include "controls/win/IntelliCombo.h"

namespace {

const char kListProperty[] = "NimIntelli";

// The hook that gives the list window its tab stops exists only while a
// control is being created, and only for the creating thread, so a list
// that another thread makes meanwhile is left alone.
thread_local HHOOK t_hook = nullptr;

// The lowest screen row the list may reach when it opens below the pointer:
// the bottom of the monitor the pointer is on.
LONG ScreenBottomAt(POINT point)
{
    MONITORINFO info {};
    info.cbSize = sizeof info;
    if (!::GetMonitorInfoA(::MonitorFromPoint(point, MONITOR_DEFAULTTONEAREST), &info))
        return ::GetSystemMetrics(SM_CYSCREEN);
    return info.rcMonitor.bottom;
}

} // namespace

CNimIntelliCombo::~CNimIntelliCombo()
{
    // The list's procedure needs this object until the list is gone.
    if (m_hWnd != nullptr)
        DestroyWindow();
}

BOOL CNimIntelliCombo::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                                const RECT& rect, HWND parent, UINT_PTR id)
{
    t_hook = ::SetWindowsHookExA(WH_CALLWNDPROC, CallWndProcHookProc, nullptr, ::GetCurrentThreadId());
    const BOOL created = CComboBox::CreateEx(exStyle, className, windowName, style, rect, parent, id);
    if (t_hook != nullptr)
        ::UnhookWindowsHookEx(t_hook);
    t_hook = nullptr;
    return created;
}

LRESULT CALLBACK CNimIntelliCombo::CallWndProcHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* record = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && record != nullptr && record->message == WM_CREATE) {
        char className[256] = "";
        ::GetClassNameA(record->hwnd, className, sizeof className - 1);
        if (::lstrcmpiA(className, "ComboLBox") == 0) {
            const LONG_PTR style = ::GetWindowLongPtrA(record->hwnd, GWL_STYLE);
            ::SetWindowLongPtrA(record->hwnd, GWL_STYLE, style | LBS_USETABSTOPS);
        }
    }
    return ::CallNextHookEx(t_hook, code, wParam, lParam);
}

// The list is opened and closed once out of sight, so that it exists and
// asks for its colours, which is when it is taken over. A platform that
// leaves the list's painting to the message loop asks later, so the list
// the control reports is taken over here in that case.
int CNimIntelliCombo::OnCreate(CREATESTRUCTA* cs)
{
    if (CComboBox::OnCreate(cs) == -1)
        return -1;
    CRect rect = GetWindowRect();
    MoveWindow(CRect(CPoint(25000, 25000), rect.Size()), FALSE);
    ShowWindow(SW_HIDE);

    ::LockWindowUpdate(::GetDesktopWindow());
    SendMessage(CB_SHOWDROPDOWN, TRUE);
    SendMessage(CB_SHOWDROPDOWN, FALSE);
    ::LockWindowUpdate(nullptr);
    if (!::IsWindow(m_hWndList)) {
        COMBOBOXINFO info {};
        info.cbSize = sizeof info;
        if (::GetComboBoxInfo(m_hWnd, &info))
            TakeOverList(info.hwndList);
    }

    ::MapWindowPoints(nullptr, GetParent(), reinterpret_cast<POINT*>(&rect), 2);
    MoveWindow(rect, FALSE);
    return 0;
}

void CNimIntelliCombo::ShowComboAtCursor()
{
    PostMessage(CB_SHOWDROPDOWN, TRUE);
}

void CNimIntelliCombo::InitDropDown()
{
    ::LockWindowUpdate(::GetDesktopWindow());
    SendMessage(CB_SHOWDROPDOWN, TRUE);
    PostMessage(CB_SHOWDROPDOWN, FALSE);
    ::LockWindowUpdate(nullptr);
}

HBRUSH CNimIntelliCombo::OnCtlColor(CDC* dc, HWND wnd, UINT ctlType)
{
    if (ctlType == CTLCOLOR_LISTBOX)
        return OnCtlColorListBox(dc, wnd);
    return CComboBox::OnCtlColor(dc, wnd, ctlType);
}

HBRUSH CNimIntelliCombo::OnCtlColorListBox(CDC* dc, HWND listWnd)
{
    if (!::IsWindow(m_hWndList))
        TakeOverList(listWnd);
    return CComboBox::OnCtlColor(dc, listWnd, CTLCOLOR_LISTBOX);
}

void CNimIntelliCombo::TakeOverList(HWND listWnd)
{
    if (listWnd == nullptr || !::SetPropA(listWnd, kListProperty, this))
        return;
    m_hWndList = listWnd;
    m_pfnPrevListProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(listWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticListBoxProc)));
}

LRESULT CALLBACK CNimIntelliCombo::StaticListBoxProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* self = static_cast<CNimIntelliCombo*>(::GetPropA(wnd, kListProperty));
    if (self == nullptr)
        return ::DefWindowProcA(wnd, message, wParam, lParam);
    return self->ListBoxProc(wnd, message, wParam, lParam);
}

LRESULT CNimIntelliCombo::ListBoxProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const WNDPROC previous = m_pfnPrevListProc;
    if (message == WM_DESTROY) {
        ReleaseList();
    } else if (message == WM_WINDOWPOSCHANGING) {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (pos->hwnd != m_hWndList)
            return ::DefWindowProcA(wnd, message, wParam, lParam);
        if (!(pos->flags & SWP_NOMOVE)) {
            POINT cursor {};
            ::GetCursorPos(&cursor);
            pos->x = cursor.x;
            pos->y = cursor.y + pos->cy > ScreenBottomAt(cursor) ? cursor.y - pos->cy : cursor.y;
        }
    }
    return ::CallWindowProcA(previous, wnd, message, wParam, lParam);
}

void CNimIntelliCombo::ReleaseList()
{
    ::SetWindowLongPtrA(m_hWndList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnPrevListProc));
    ::RemovePropA(m_hWndList, kListProperty);
    m_hWndList = nullptr;
}

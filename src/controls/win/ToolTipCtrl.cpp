#include "controls/win/ToolTipCtrl.h"

#include "platform/ModuleState.h"

int CNimToolTipCtrl::AddWindowTool(CWnd* wnd, const char* text)
{
    const UINT_PTR id = wnd != nullptr ? reinterpret_cast<UINT_PTR>(wnd->GetSafeHwnd()) : 0;
    return AddToolRecord(TTF_IDISHWND | TTF_SUBCLASS, id, nullptr, text);
}

int CNimToolTipCtrl::AddRectTool(CWnd*, const char* text, const RECT* rect, UINT_PTR id)
{
    return AddToolRecord(TTF_SUBCLASS, id, rect, text);
}

// The record has the size of the platform's structure in this build; fields
// the caller does not name stay zero. The tools belong to the control's
// owner window when it has one, else to its parent, else to no window.
int CNimToolTipCtrl::AddToolRecord(UINT flags, UINT_PTR id, const RECT* rect, const char* text)
{
    if (!IsWindow())
        return 0;
    TOOLINFOA info {};
    info.cbSize = sizeof(TOOLINFOA);
    info.uFlags = flags;
    info.hwnd = ::GetWindow(m_hWnd, GW_OWNER);
    if (info.hwnd == nullptr)
        info.hwnd = GetParent();
    info.uId = id;
    if (rect != nullptr)
        info.rect = *rect;
    info.hinst = AfxGetResourceHandle();
    info.lpszText = const_cast<char*>(text);
    return static_cast<int>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

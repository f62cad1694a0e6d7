#include "controls/win/DlgToolBar.h"

#include "controls/win/WindowWrappers.h"


CDlgToolBar::CDlgToolBar()
{
    m_bEnableActiveAccessibility = FALSE;
}

CDlgToolBar::~CDlgToolBar() = default;

LRESULT CDlgToolBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    CToolBar::OnIdleUpdateCmdUI(wParam, 0);
    if (!IsWindowVisible())
        return 0;
    HWND parent = GetParent();
    if (parent == nullptr)
        return 0;
    HWND target = ::lstrcmpiA(CWindowClass(parent), REBARCLASSNAMEA) == 0 ? ::GetParent(parent) : parent;
    if (target == nullptr)
        return 0;
    if (CWnd* wnd = FromHandlePermanent(target)) {
        OnUpdateCmdUI(wnd, static_cast<BOOL>(wParam));
        return 0;
    }
    // A window without an object has no handlers: its buttons are only
    // disabled, when asked.
    CWnd plain;
    plain.Attach(target);
    OnUpdateCmdUI(&plain, static_cast<BOOL>(wParam));
    plain.Detach();
    return 0;
}

CNoActiveAccessibilityToolbar::CNoActiveAccessibilityToolbar()
{
    m_bEnableActiveAccessibility = FALSE;
}

CNoActiveAccessibilityToolbar::~CNoActiveAccessibilityToolbar() = default;

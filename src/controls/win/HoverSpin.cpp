#include "controls/win/HoverSpin.h"

#include "controls/win/HoverLook.h"
#include "controls/win/SysColors.h"
#include "framework/win/DC.h"

#include <cstdlib>

void CNimHoverSpin::Centre()
{
    SendMessage(UDM_SETRANGE, 0, MAKELPARAM(kRangeMax, kRangeMin));
    SendMessage(UDM_SETPOS, 0, MAKELPARAM(kRestingPos, 0));
}

void CNimHoverSpin::SetRange(double, double)
{
    SendMessage(UDM_SETRANGE, 0, MAKELPARAM(kRangeMax, kRangeMin));
}

void CNimHoverSpin::SetPos(double)
{
    SendMessage(UDM_SETPOS, 0, MAKELPARAM(kRestingPos, 0));
}

void CNimHoverSpin::PreSubclassWindow()
{
    CSpinButtonCtrl::PreSubclassWindow();
    // A window still being created ignores this; OnCreate repeats it.
    Centre();
}

int CNimHoverSpin::OnCreate(CREATESTRUCTA* cs)
{
    const int result = CSpinButtonCtrl::OnCreate(cs);
    if (result != -1)
        Centre();
    return result;
}

HWND CNimHoverSpin::GetBuddyHwnd() const
{
    if (m_hWnd == nullptr)
        return nullptr;
    return reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY));
}

INimSpinBuddy* CNimHoverSpin::GetBuddy() const
{
    return dynamic_cast<INimSpinBuddy*>(FromHandlePermanent(GetBuddyHwnd()));
}

void CNimHoverSpin::SetBuddy(CWnd* buddy)
{
    HWND buddyWnd = buddy != nullptr ? buddy->GetSafeHwnd() : nullptr;
    SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddyWnd));
    if (buddyWnd == nullptr)
        return;
    EvenOutSize();
    const bool buddyShown = (::GetWindowLongPtrA(buddyWnd, GWL_STYLE) & WS_VISIBLE) != 0;
    ShowWindow(buddyShown ? SW_SHOWNA : SW_HIDE);
}

namespace {

CRect RectInParent(HWND wnd)
{
    CRect rect;
    ::GetWindowRect(wnd, &rect);
    HWND parent = ::GetParent(wnd);
    if (parent != nullptr)
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

// With even dimensions the up and down halves are the same size. The buddy
// grows with the spin so that the two stay level.
void CNimHoverSpin::EvenOutSize()
{
    const CRect rect = RectInParent(m_hWnd);
    const int width = rect.Width() + (rect.Width() & 1);
    const int height = rect.Height() + (rect.Height() & 1);
    if (width == rect.Width() && height == rect.Height())
        return;
    SetWindowPos(nullptr, rect.left, rect.top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    if (height == rect.Height())
        return;
    HWND buddy = GetBuddyHwnd();
    const CRect buddyRect = RectInParent(buddy);
    ::SetWindowPos(buddy, nullptr, buddyRect.left, buddyRect.top, buddyRect.Width(), buddyRect.Height() + 1,
                   SWP_NOZORDER | SWP_NOACTIVATE);
}

void CNimHoverSpin::RepaintWithBuddy()
{
    Invalidate(FALSE);
    HWND buddy = GetBuddyHwnd();
    if (buddy != nullptr)
        ::RedrawWindow(buddy, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOERASE);
}

BOOL CNimHoverSpin::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == UDN_DELTAPOS) {
        OnDeltaPos(reinterpret_cast<NMUPDOWN*>(lParam));
        *result = 0; // the platform may move
        return TRUE;
    }
    return CSpinButtonCtrl::OnChildNotify(message, wParam, lParam, result);
}

// The position is put back in the middle before it can reach either end, so
// the platform keeps repeating for as long as the button is held. The margin
// is the size of the step in either direction.
void CNimHoverSpin::OnDeltaPos(NMUPDOWN* change)
{
    const int margin = std::abs(change->iDelta);
    if (!(change->iPos > margin && change->iPos < kRangeMax - margin)) {
        SendMessage(UDM_SETPOS, 0, MAKELPARAM(kRestingPos, 0));
        change->iPos = kRestingPos;
    }
    if (INimSpinBuddy* buddy = GetBuddy())
        buddy->ChangeAmount(change->iDelta);
    Invalidate(FALSE);
}

// Over an arrow that the buddy's limit disables the point counts as nowhere,
// so the arrow cannot be pressed.
LRESULT CNimHoverSpin::OnNcHitTest(CPoint screenPoint)
{
    const LRESULT hit = CSpinButtonCtrl::OnNcHitTest(screenPoint);
    INimSpinBuddy* buddy = hit == HTCLIENT ? GetBuddy() : nullptr;
    if (buddy == nullptr)
        return hit;
    CPoint point = screenPoint;
    ScreenToClient(&point);
    CRect arrows = GetClientRect();
    arrows.top += 2;
    arrows.right -= 2;
    arrows.bottom -= 2;
    const int middle = arrows.top + arrows.Height() / 2;
    const CRect up(arrows.left, arrows.top, arrows.right, middle);
    const CRect down(arrows.left, middle, arrows.right, arrows.bottom);
    if (up.PtInRect(point) && !buddy->CanIncrement())
        return HTNOWHERE;
    if (down.PtInRect(point) && !buddy->CanDecrement())
        return HTNOWHERE;
    return hit;
}

void CNimHoverSpin::OnPaint()
{
    CSpinButtonCtrl::OnPaint();
    if (m_hover.IsThemed() || !m_hover.IsTracking() || !IsWindowEnabled())
        return;
    // Under the mouse the arrows are framed like the lit edit beside them.
    CClientDC dc(m_hWnd);
    dc.Draw3dRect(GetClientRect(), CSysColors::sm_cr3DDkShadow, CSysColors::sm_cr3DDkShadow);
}

void CNimHoverSpin::OnMouseMove(UINT flags, CPoint point)
{
    HWND buddy = GetBuddyHwnd();
    const bool enabled = IsWindowEnabled() && (buddy == nullptr || ::IsWindowEnabled(buddy));
    if (m_hover.OnMouseMove(m_hWnd, enabled))
        RepaintWithBuddy();
    CSpinButtonCtrl::OnMouseMove(flags, point);
}

void CNimHoverSpin::OnMouseLeave()
{
    m_hover.OnMouseLeave();
    RepaintWithBuddy();
    CSpinButtonCtrl::OnMouseLeave();
}

void CNimHoverSpin::OnKillFocus(HWND newFocus)
{
    CSpinButtonCtrl::OnKillFocus(newFocus);
    Invalidate(FALSE);
}

LRESULT CNimHoverSpin::OnThemeChanged()
{
    m_hover.OnThemeChanged();
    const LRESULT result = CSpinButtonCtrl::OnThemeChanged();
    Invalidate();
    return result;
}

#include "controls/win/GridSpin.h"

#include <cstdlib>

CGridSpin::~CGridSpin() = default;

void CGridSpin::Centre()
{
    SendMessage(UDM_SETRANGE32, kRangeMin, kRangeMax);
    SendMessage(UDM_SETPOS32, 0, kRestingPos);
}

void CGridSpin::SetRange(int, int)
{
    SendMessage(UDM_SETRANGE32, kRangeMin, kRangeMax);
}

void CGridSpin::PreSubclassWindow()
{
    CSpinButtonCtrl::PreSubclassWindow();
    // A window still being created ignores this; OnCreate repeats it.
    Centre();
}

int CGridSpin::OnCreate(CREATESTRUCTA* cs)
{
    const int result = CSpinButtonCtrl::OnCreate(cs);
    if (result != -1)
        Centre();
    return result;
}

void CGridSpin::GetUpDownRects(CRect& up, CRect& down) const
{
    CRect arrows = GetClientRect();
    arrows.top += 2;
    arrows.right -= 2;
    arrows.bottom -= 2;
    const int split = arrows.bottom - arrows.Height() / 2;
    up = CRect(arrows.left, arrows.top, arrows.right, split);
    down = CRect(arrows.left, split, arrows.right, arrows.bottom);
}

BOOL CGridSpin::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (!m_bForwarding && message == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == UDN_DELTAPOS) {
        OnDeltaPos(reinterpret_cast<NMUPDOWN*>(lParam));
        *result = 0; // the step is allowed
        return TRUE;
    }
    return CSpinButtonCtrl::OnChildNotify(message, wParam, lParam, result);
}

// The position never reaches either end, so the button keeps repeating for
// as long as it is held.
void CGridSpin::OnDeltaPos(NMUPDOWN* change)
{
    const int margin = std::abs(change->iDelta);
    if (change->iPos <= margin || change->iPos >= kRangeMax - margin) {
        change->iPos = kRestingPos;
        SendMessage(UDM_SETPOS32, 0, kRestingPos);
    }
    HWND buddy = GetBuddy();
    if (buddy == nullptr)
        return;
    m_bForwarding = true;
    ::SendMessageA(buddy, WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(change));
    m_bForwarding = false;
}

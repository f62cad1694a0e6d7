#include "controls/win/HotKeyCtrl.h"

#include "controls/win/SysColors.h"
#include "framework/win/DC.h"

CNimHotKeyCtrl::CNimHotKeyCtrl()
{
    UpdateTheme();
}

BOOL CNimHotKeyCtrl::UpdateTheme()
{
    return m_hover.OnThemeChanged();
}

void CNimHotKeyCtrl::PreSubclassWindow()
{
    CHotKeyCtrl::PreSubclassWindow();
    UpdateTheme();
}

int CNimHotKeyCtrl::OnCreate(CREATESTRUCTA* cs)
{
    if (CHotKeyCtrl::OnCreate(cs) == -1)
        return -1;
    UpdateTheme();
    return 0;
}

LRESULT CNimHotKeyCtrl::OnThemeChanged()
{
    UpdateTheme();
    return CHotKeyCtrl::OnThemeChanged();
}

void CNimHotKeyCtrl::RepaintFrame()
{
    SendMessage(WM_NCPAINT, 1);
}

void CNimHotKeyCtrl::OnSetFocus(HWND oldFocus)
{
    CHotKeyCtrl::OnSetFocus(oldFocus);
    if (!m_hover.IsThemed())
        RepaintFrame();
}

void CNimHotKeyCtrl::OnKillFocus(HWND newFocus)
{
    CHotKeyCtrl::OnKillFocus(newFocus);
    if (!m_hover.IsThemed())
        RepaintFrame();
}

void CNimHotKeyCtrl::OnMouseMove(UINT flags, CPoint point)
{
    CHotKeyCtrl::OnMouseMove(flags, point);
    if (m_hover.OnMouseMove(m_hWnd))
        RepaintFrame();
}

void CNimHotKeyCtrl::OnMouseLeave()
{
    if (!m_hover.IsThemed()) {
        m_hover.OnMouseLeave();
        RepaintFrame();
    }
    CHotKeyCtrl::OnMouseLeave();
}

// The system paints the sunken border; while the control is neither focused
// nor under the mouse its inner ring is painted over in the face colour,
// which reads as flat.
void CNimHotKeyCtrl::OnNcPaint()
{
    CHotKeyCtrl::OnNcPaint();
    if (m_hover.IsThemed() || ::GetFocus() == m_hWnd || m_hover.IsTracking())
        return;
    CWindowDC dc(m_hWnd);
    if (dc.GetSafeHdc() == nullptr)
        return;
    CRect ring = GetWindowRect();
    ring.OffsetRect(-ring.left, -ring.top);
    ring.DeflateRect(1, 1);
    dc.Draw3dRect(ring, CSysColors::sm_crBtnFace, CSysColors::sm_crBtnFace);
}

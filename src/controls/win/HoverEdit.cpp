#include "controls/win/HoverEdit.h"

#include "controls/win/HoverLook.h"

void CNimHoverEdit::SelectAll()
{
    if (!IsWindow())
        return;
    SendMessage(EM_SETSEL, 0, -1);
    SendMessage(EM_SCROLLCARET);
}

LRESULT CNimHoverEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_UNDO || message == EM_UNDO)
        return OnUndo(message, wParam, lParam);
    return CEdit::WindowProc(message, wParam, lParam);
}

// Listeners keep their copy of the text through change notifications, so the
// restored text is announced like any other change.
LRESULT CNimHoverEdit::OnUndo(UINT message, WPARAM wParam, LPARAM lParam)
{
    const LRESULT result = DefWindowProc(message, wParam, lParam);
    if (IsWindow()) {
        ::SendMessageA(GetParent(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), EN_CHANGE),
                       reinterpret_cast<LPARAM>(m_hWnd));
    }
    return result;
}

BOOL CNimHoverEdit::IsHot() const
{
    return m_hover.IsTracking() || ::GetFocus() == m_hWnd;
}

void CNimHoverEdit::DrawBorder()
{
    if (m_hover.IsThemed())
        return;
    DrawHoverEditBorder(m_hWnd, IsHot());
}

void CNimHoverEdit::RedrawAll()
{
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOERASE);
}

void CNimHoverEdit::OnPaint()
{
    CEdit::OnPaint();
    DrawBorder();
}

void CNimHoverEdit::OnNcPaint()
{
    CEdit::OnNcPaint();
    DrawBorder();
}

void CNimHoverEdit::OnMouseMove(UINT flags, CPoint point)
{
    if (m_hover.OnMouseMove(m_hWnd))
        RedrawAll();
    CEdit::OnMouseMove(flags, point);
}

void CNimHoverEdit::OnMouseLeave()
{
    m_hover.OnMouseLeave();
    RedrawAll();
    CEdit::OnMouseLeave();
}

void CNimHoverEdit::OnSetFocus(HWND oldFocus)
{
    CEdit::OnSetFocus(oldFocus);
    // Posted, so that the selection survives the click that gave the focus.
    if (m_bSelectAllOnFocus) {
        PostMessage(EM_SETSEL, 0, -1);
        PostMessage(EM_SCROLLCARET);
    }
    RedrawAll();
}

void CNimHoverEdit::OnKillFocus(HWND newFocus)
{
    CEdit::OnKillFocus(newFocus);
    RedrawAll();
}

void CNimHoverEdit::OnContextMenu(HWND wnd, CPoint screenPoint)
{
    if (!m_bForwardContextMenu) {
        CEdit::OnContextMenu(wnd, screenPoint);
        return;
    }
    ::SendMessageA(::GetParent(wnd), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(wnd),
                   MAKELPARAM(screenPoint.x, screenPoint.y));
}

LRESULT CNimHoverEdit::OnThemeChanged()
{
    m_hover.OnThemeChanged();
    const LRESULT result = CEdit::OnThemeChanged();
    RedrawAll();
    return result;
}

#include "controls/win/NimSplitterWnd.h"

#include "framework/win/DC.h"
#include "framework/win/RegisteredMessages.h"

#include <algorithm>

CNimSplitterWnd::CNimSplitterWnd(CWnd* notifyWnd) : m_pNotifyWnd(notifyWnd)
{
    m_cxBorder = 1;
    m_cyBorder = 1;
    ReadColors();
}

void CNimSplitterWnd::ReadColors()
{
    m_crFace = ::GetSysColor(COLOR_BTNFACE);
    m_crHighlight = ::GetSysColor(COLOR_BTNHIGHLIGHT);
    m_crFrame = ::GetSysColor(COLOR_WINDOWFRAME);
    m_crShadow = ::GetSysColor(COLOR_BTNSHADOW);
}

void CNimSplitterWnd::OnSysColorChange()
{
    CSplitterWnd::OnSysColorChange();
    ReadColors();
    Invalidate();
}

void CNimSplitterWnd::DeleteView(int row, int col, BOOL remember)
{
    if (remember) {
        if (CWnd* pane = GetPane(row, col); pane != nullptr && pane->GetRuntimeClass() != nullptr)
            m_pDynamicViewClass = pane->GetRuntimeClass();
    }
    CSplitterWnd::DeleteView(row, col);
}

CSize CNimSplitterWnd::GetAvailableClientSize() const
{
    CRect inside;
    GetInsideRect(inside);
    const int width = inside.Width() - (GetColumnCount() - 1) * m_cxSplitterGap;
    const int height = inside.Height() - (GetRowCount() - 1) * m_cySplitterGap;
    return CSize(std::max(width, 0), std::max(height, 0));
}

void CNimSplitterWnd::OnDrawSplitter(CDC* dc, ESplitType type, const CRect& rect)
{
    if (dc == nullptr) {
        // RDW_INVALIDATE | RDW_NOCHILDREN.
        RedrawWindow(&rect, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
        return;
    }
    switch (type) {
    case splitBox: {
        CRect inner = rect;
        dc->Draw3dRect(inner, m_crFace, m_crFrame);
        inner.DeflateRect(1, 1);
        dc->Draw3dRect(inner, m_crHighlight, m_crShadow);
        inner.DeflateRect(1, 1);
        dc->FillSolidRect(inner, m_crFace);
        return;
    }
    case splitBorder:
        dc->Draw3dRect(rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        return;
    default:
        dc->FillSolidRect(rect, m_crFace);
        return;
    }
}

void CNimSplitterWnd::StopTracking(BOOL accept)
{
    const bool wasTracking = IsTracking();
    const int hit = m_htTrack;
    CSplitterWnd::StopTracking(accept);
    // Panes made by a split box are not a resize.
    if (!wasTracking || !accept || hit == columnSplitBox || hit == rowSplitBox)
        return;
    if (m_pNotifyWnd != nullptr && m_pNotifyWnd->GetSafeHwnd() != nullptr && RWM_ORV_SPLITTER_RESIZED != 0)
        m_pNotifyWnd->SendMessage(RWM_ORV_SPLITTER_RESIZED, reinterpret_cast<WPARAM>(this), 0);
}

LRESULT CNimSplitterWnd::OnMouseWheel(UINT flags, short delta, CPoint screenPoint)
{
    CPoint point = screenPoint;
    ScreenToClient(&point);
    if (!GetClientRect().PtInRect(point))
        return Default();
    return CSplitterWnd::OnMouseWheel(flags, delta, screenPoint);
}

BOOL CNimSplitterWnd::OnSetCursor(HWND wnd, UINT hitTest, UINT message)
{
    if (m_bLocked)
        return static_cast<BOOL>(Default());
    return CSplitterWnd::OnSetCursor(wnd, hitTest, message);
}

void CNimSplitterWnd::OnLButtonDown(UINT flags, CPoint point)
{
    if (m_bLocked)
        Default();
    else
        CSplitterWnd::OnLButtonDown(flags, point);
}

void CNimSplitterWnd::OnMouseMove(UINT flags, CPoint point)
{
    if (m_bLocked)
        Default();
    else
        CSplitterWnd::OnMouseMove(flags, point);
}

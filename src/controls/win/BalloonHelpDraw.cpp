// The balloon's layout (its size, place and tail) and its drawing.
#include "controls/win/BalloonHelp.h"

#include "framework/win/DC.h"

using orv::controls::BalloonMetrics;

namespace {

// The inner shadow's colour: the background a quarter darker.
COLORREF Shade(COLORREF color)
{
    return RGB(GetRValue(color) * 3 / 4, GetGValue(color) * 3 / 4, GetBValue(color) * 3 / 4);
}

} // namespace

CSize CBalloonHelp::MeasureContent()
{
    if (m_strContent.IsEmpty())
        return CSize();
    CClientDC dc(m_hWnd);
    CSelectScope font(dc, m_strURL.IsEmpty() ? static_cast<HFONT>(m_hContentFont) : static_cast<HFONT>(m_linkFont));
    CRect rect;
    dc.DrawText(m_strContent, &rect, DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS);
    return rect.Size();
}

void CBalloonHelp::PositionWindow()
{
    if (!HasWindow())
        return;
    const BalloonMetrics metrics {nTIP_TAIL, nTIP_MARGIN};
    CSize icon, title, close;
    int cx = 0, cy = 0;
    if (m_ilIcon && ::ImageList_GetIconSize(m_ilIcon.get(), &cx, &cy))
        icon = CSize(cx, cy);
    if (!m_strTitle.IsEmpty()) {
        CClientDC dc(m_hWnd);
        CSelectScope font(dc, m_hTitleFont);
        title = dc.GetTextExtent(m_strTitle, m_strTitle.GetLength());
    }
    if (m_unOptions & unSHOW_CLOSE_BUTTON)
        close = CSize(::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON));
    m_headerSize = orv::controls::BalloonHeaderSize(icon, title, close, metrics.margin);
    m_iconSize = icon;
    const CSize window = orv::controls::BalloonWindowSize(
        orv::controls::BalloonClientSize(m_headerSize, MeasureContent(), metrics), metrics);

    CPoint anchor = m_ptAnchor;
    if (m_hwndAnchor != nullptr && ::IsWindow(m_hwndAnchor))
        ::ClientToScreen(m_hwndAnchor, &anchor);
    MONITORINFO monitor {};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoA(::MonitorFromPoint(anchor, MONITOR_DEFAULTTONEAREST), &monitor);
    m_screenRect = monitor.rcWork;
    m_placement = orv::controls::PlaceBalloon(anchor, window, m_screenRect, metrics);

    const CRect& body = m_placement.body;
    CRgn bodyRegion, tailRegion;
    bodyRegion.CreateRoundRectRgn(body.left, body.top, body.right, body.bottom, nTIP_ELIPSE_WIDTH,
                                  nTIP_ELIPSE_WIDTH);
    tailRegion.CreatePolygonRgn(m_placement.tail.data(), 3, ALTERNATE);
    m_rgnComplete.CreateRectRgn(0, 0, 0, 0);
    m_rgnComplete.CombineRgn(&bodyRegion, &tailRegion, RGN_OR);

    const CRect& placed = m_placement.window;
    SetWindowPos(nullptr, placed.left, placed.top, placed.Width(), placed.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    // The system owns the region it is given.
    CRgn windowRegion;
    windowRegion.CreateRectRgn(0, 0, 0, 0);
    windowRegion.CombineRgn(&m_rgnComplete, nullptr, RGN_COPY);
    if (::SetWindowRgn(m_hWnd, static_cast<HRGN>(windowRegion), TRUE))
        windowRegion.Detach();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
}

CRect CBalloonHelp::GetCloseRect() const
{
    if (!(m_unOptions & unSHOW_CLOSE_BUTTON))
        return CRect();
    const CRect& inner = m_placement.inner;
    return CRect(inner.right - ::GetSystemMetrics(SM_CXSMICON), inner.top, inner.right,
                 inner.top + ::GetSystemMetrics(SM_CYSMICON));
}

// -------------------------------------------------------------- drawing

BOOL CBalloonHelp::OnEraseBkgnd(CDC*)
{
    return TRUE; // the paint fills the whole balloon
}

void CBalloonHelp::OnPaint()
{
    CPaintDC paint(m_hWnd);
    CMemDC dc(paint, GetClientRect());
    Draw(dc);
}

void CBalloonHelp::Draw(CDC& dc)
{
    dc.FillSolidRect(GetClientRect(), m_crBackground);
    if (m_unOptions & unSHOW_INNER_SHADOW) {
        CBrush shadow(Shade(m_crBackground));
        dc.FrameRgn(m_rgnComplete, shadow, 2, 2);
    }
    CBrush frame(m_crForeground);
    dc.FrameRgn(m_rgnComplete, frame, 1, 1);

    const CRect& inner = m_placement.inner;
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(m_crForeground);
    int x = inner.left;
    if (m_ilIcon && m_iconSize.cx > 0) {
        ::ImageList_Draw(m_ilIcon.get(), 0, dc, x, inner.top + (m_headerSize.cy - m_iconSize.cy) / 2,
                         ILD_TRANSPARENT);
        x += m_iconSize.cx + nTIP_MARGIN;
    }
    if (!m_strTitle.IsEmpty()) {
        CSelectScope font(dc, m_hTitleFont);
        CRect title(x, inner.top, inner.right, inner.top + m_headerSize.cy);
        dc.DrawText(m_strTitle, &title, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    }
    if (!m_strContent.IsEmpty()) {
        CSelectScope font(dc, m_strURL.IsEmpty() ? static_cast<HFONT>(m_hContentFont) : static_cast<HFONT>(m_linkFont));
        CRect content(inner.left, inner.top + m_headerSize.cy + nTIP_MARGIN, inner.right, inner.bottom);
        dc.DrawText(m_strContent, &content, DT_NOPREFIX | DT_EXPANDTABS);
    }
    if (m_unOptions & unSHOW_CLOSE_BUTTON)
        DrawCloseButton(dc);
}

// A cross in the foreground colour; pressed, it sits in a sunken square.
void CBalloonHelp::DrawCloseButton(CDC& dc)
{
    CRect rect = GetCloseRect();
    const bool pushed = m_bClosePressed && m_bCloseHot;
    if (pushed) {
        dc.Draw3dRect(rect, ::GetSysColor(COLOR_3DSHADOW), ::GetSysColor(COLOR_3DHILIGHT));
        rect.OffsetRect(1, 1);
    }
    rect.DeflateRect(4, 4);
    CPen pen(PS_SOLID, 2, m_crForeground);
    CSelectScope select(dc, pen);
    dc.MoveTo(rect.left, rect.top);
    dc.LineTo(rect.right, rect.bottom);
    dc.MoveTo(rect.right, rect.top);
    dc.LineTo(rect.left, rect.bottom);
}

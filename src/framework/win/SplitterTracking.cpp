// The splitter's mouse handling: what lies under a point, the drag of a
// bar, an intersection or a split box with its inverted tracker, and the
// wheel.
#include "framework/win/SplitterWnd.h"

#include "framework/win/DC.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kMaxBars = 16;

// A DC of the window that draws over its children, for the tracker.
class CTrackerDC : public CDC {
public:
    explicit CTrackerDC(HWND wnd) : m_hWnd(wnd) { m_hDC = ::GetDCEx(wnd, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS); }
    ~CTrackerDC() override
    {
        if (m_hDC != nullptr)
            ::ReleaseDC(m_hWnd, m_hDC);
        m_hDC = nullptr;
    }

private:
    HWND m_hWnd;
};

} // namespace

int CSplitterWnd::HitTest(CPoint point) const
{
    if (m_hWnd == nullptr)
        return noHit;
    if (HasColumnBox() && ColumnBoxRect().PtInRect(point))
        return columnSplitBox;
    if (HasRowBox() && RowBoxRect().PtInRect(point))
        return rowSplitBox;
    int col = -1, row = -1;
    for (int c = 0; c + 1 < m_nCols && col < 0; ++c) {
        if (ColumnBarRect(c).PtInRect(point))
            col = c;
    }
    for (int r = 0; r + 1 < m_nRows && row < 0; ++r) {
        if (RowBarRect(r).PtInRect(point))
            row = r;
    }
    if (col >= 0 && row >= 0)
        return intersection + row * 16 + col;
    if (col >= 0)
        return columnBar + col;
    if (row >= 0)
        return rowBar + row;
    return noHit;
}

// ------------------------------------------------------------- tracking

void CSplitterWnd::SetCursorFor(int hit) const
{
    const char* cursor = nullptr;
    if (hit == columnSplitBox || (hit >= columnBar && hit < columnBar + kMaxBars))
        cursor = IDC_SIZEWE;
    else if (hit == rowSplitBox || (hit >= rowBar && hit < rowBar + kMaxBars))
        cursor = IDC_SIZENS;
    else if (hit >= intersection)
        cursor = IDC_SIZEALL;
    if (cursor != nullptr)
        ::SetCursor(::LoadCursorA(nullptr, cursor));
}

BOOL CSplitterWnd::OnSetCursor(HWND wnd, UINT hitTest, UINT message)
{
    if (wnd == m_hWnd && hitTest == HTCLIENT) {
        CPoint point;
        ::GetCursorPos(&point);
        ScreenToClient(&point);
        const int hit = m_bTracking ? m_htTrack : HitTest(point);
        if (hit != noHit) {
            SetCursorFor(hit);
            return TRUE;
        }
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}

void CSplitterWnd::OnLButtonDown(UINT flags, CPoint point)
{
    if (m_bTracking)
        return;
    const int hit = HitTest(point);
    if (hit == noHit) {
        CWnd::OnLButtonDown(flags, point);
        return;
    }
    StartTracking(hit);
    m_ptTrackOffset = CPoint(point.x - m_rectTrackX.left, point.y - m_rectTrackY.top);
}

void CSplitterWnd::StartTracking(int hit)
{
    if (hit == noHit || m_bTracking)
        return;
    CRect inside;
    GetInsideRect(inside);
    m_htTrack = hit;
    m_bTrackX = hit == columnSplitBox || (hit >= columnBar && hit < columnBar + kMaxBars) || hit >= intersection;
    m_bTrackY = hit == rowSplitBox || (hit >= rowBar && hit < rowBar + kMaxBars) || hit >= intersection;
    m_rectTrackX = m_rectTrackY = CRect(0, 0, 0, 0);
    if (hit == columnSplitBox) {
        const CRect box = ColumnBoxRect();
        m_rectTrackX = CRect(box.left, inside.top, box.left + m_cxSplitterGap, inside.bottom);
    } else if (hit == rowSplitBox) {
        const CRect box = RowBoxRect();
        m_rectTrackY = CRect(inside.left, box.top, inside.right, box.top + m_cySplitterGap);
    } else {
        const int cross = hit - intersection;
        if (hit >= columnBar && hit < columnBar + kMaxBars)
            m_rectTrackX = ColumnBarRect(hit - columnBar);
        else if (hit >= intersection)
            m_rectTrackX = ColumnBarRect(cross % 16);
        if (hit >= rowBar && hit < rowBar + kMaxBars)
            m_rectTrackY = RowBarRect(hit - rowBar);
        else if (hit >= intersection)
            m_rectTrackY = RowBarRect(cross / 16);
    }
    m_bTracking = true;
    m_hWndPrevFocus = ::SetFocus(m_hWnd);
    ::SetCapture(m_hWnd);
    SetCursorFor(hit);
    InvertTrackers();
}

void CSplitterWnd::InvertTrackers()
{
    if (m_bTrackX)
        OnInvertTracker(m_rectTrackX);
    if (m_bTrackY)
        OnInvertTracker(m_rectTrackY);
}

void CSplitterWnd::OnInvertTracker(const CRect& rect)
{
    CTrackerDC dc(m_hWnd);
    if (dc.GetSafeHdc() != nullptr)
        dc.PatBlt(rect.left, rect.top, rect.Width(), rect.Height(), DSTINVERT);
}

void CSplitterWnd::MoveTrackers(CPoint point)
{
    CRect inside;
    GetInsideRect(inside);
    InvertTrackers();
    if (m_bTrackX) {
        const int width = m_rectTrackX.Width();
        const int x = std::clamp(point.x - m_ptTrackOffset.x, inside.left, std::max(inside.left, inside.right - width));
        m_rectTrackX.OffsetRect(x - m_rectTrackX.left, 0);
    }
    if (m_bTrackY) {
        const int height = m_rectTrackY.Height();
        const int y = std::clamp(point.y - m_ptTrackOffset.y, inside.top, std::max(inside.top, inside.bottom - height));
        m_rectTrackY.OffsetRect(0, y - m_rectTrackY.top);
    }
    InvertTrackers();
}

void CSplitterWnd::OnMouseMove(UINT flags, CPoint point)
{
    if (!m_bTracking) {
        CWnd::OnMouseMove(flags, point);
        return;
    }
    SetCursorFor(m_htTrack);
    MoveTrackers(point);
}

void CSplitterWnd::OnLButtonUp(UINT flags, CPoint point)
{
    if (m_bTracking)
        StopTracking(TRUE);
    else
        CWnd::OnLButtonUp(flags, point);
}

void CSplitterWnd::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (m_bTracking && key == VK_ESCAPE)
        StopTracking(FALSE);
    else
        CWnd::OnKeyDown(key, repeat, flags);
}

void CSplitterWnd::OnCaptureChanged(HWND newCapture)
{
    if (m_bTracking && newCapture != m_hWnd)
        StopTracking(FALSE);
    CWnd::OnCaptureChanged(newCapture);
}

void CSplitterWnd::StopTracking(BOOL accept)
{
    if (!m_bTracking)
        return;
    // Cleared first: releasing the capture comes back here.
    m_bTracking = false;
    InvertTrackers();
    ::ReleaseCapture();
    if (m_hWndPrevFocus != nullptr && ::IsWindow(m_hWndPrevFocus))
        ::SetFocus(m_hWndPrevFocus);
    m_hWndPrevFocus = nullptr;
    if (!accept)
        return;
    const int hit = m_htTrack;
    if (hit == columnSplitBox) {
        SplitColumn(m_rectTrackX.left - m_colInfo[static_cast<size_t>(m_nCols - 1)].nStart);
    } else if (hit == rowSplitBox) {
        SplitRow(m_rectTrackY.top - m_rowInfo[static_cast<size_t>(m_nRows - 1)].nStart);
    } else if (hit >= intersection) {
        // The row first: removing a column renumbers nothing of the rows.
        TrackRowSize(m_rectTrackY.top, (hit - intersection) / 16);
        TrackColumnSize(m_rectTrackX.left, (hit - intersection) % 16);
    } else if (hit >= columnBar) {
        TrackColumnSize(m_rectTrackX.left, hit - columnBar);
    } else if (hit >= rowBar) {
        TrackRowSize(m_rectTrackY.top, hit - rowBar);
    }
    RecalcLayout();
}

void CSplitterWnd::TrackColumnSize(int x, int col) { TrackLineSize(true, x, col); }

void CSplitterWnd::TrackRowSize(int y, int row) { TrackLineSize(false, y, row); }

// Through the overridable calls, so that a derived splitter sees each deletion.
void CSplitterWnd::DeleteAt(bool columns, int line)
{
    if (columns)
        DeleteColumn(line);
    else
        DeleteRow(line);
}

void CSplitterWnd::TrackLineSize(bool columns, int position, int line)
{
    const int lines = columns ? m_nCols : m_nRows;
    if (line < 0 || line + 1 >= lines)
        return;
    std::vector<CRowColInfo>& info = columns ? m_colInfo : m_rowInfo;
    CRect inside;
    GetInsideRect(inside);
    const int size = position - info[static_cast<size_t>(line)].nStart;
    if (m_bDynamic) {
        // A pane pushed below its minimum goes with its line.
        if (size < info[static_cast<size_t>(line)].nMinSize) {
            DeleteAt(columns, line);
            return;
        }
        const int after = columns ? inside.right - (position + m_cxSplitterGap)
                                  : inside.bottom - (position + m_cySplitterGap);
        if (line + 2 == lines && after < info[static_cast<size_t>(line + 1)].nMinSize) {
            DeleteAt(columns, line + 1);
            return;
        }
    }
    info[static_cast<size_t>(line)].nIdealSize = std::max(size, 0);
}

// ---------------------------------------------------------------- wheel

LRESULT CSplitterWnd::OnMouseWheel(UINT, short delta, CPoint screenPoint)
{
    CPoint point = screenPoint;
    ScreenToClient(&point);
    for (int row = 0; row < m_nRows; ++row) {
        for (int col = 0; col < m_nCols; ++col) {
            HWND pane = GetPaneWnd(row, col);
            if (pane == nullptr || !GetCellRect(row, col).PtInRect(point))
                continue;
            const int notches = std::max(1, std::abs(delta) / WHEEL_DELTA);
            for (int i = 0; i < notches; ++i)
                ::SendMessageA(pane, WM_VSCROLL, delta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
            return 0;
        }
    }
    return 0;
}

LRESULT CSplitterWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEWHEEL:
        return OnMouseWheel(LOWORD(wParam), static_cast<short>(HIWORD(wParam)),
                            CPoint(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))));
    case WM_CANCELMODE:
        StopTracking(FALSE);
        return CWnd::WindowProc(message, wParam, lParam);
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

#include "framework/win/SplitterWnd.h"

#include "framework/win/DC.h"
#include "framework/win/FrameWnd.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr int kMaxStatic = 16;
constexpr int kMaxDynamic = 2;

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

// Lays a row of sizes out from start to end with gaps between them: each
// takes its ideal size while there is room, the last takes what is left.
template <class TInfo>
void LayoutAxis(std::vector<TInfo>& info, int count, int start, int end, int gap)
{
    int pos = start;
    for (int i = 0; i < count; ++i) {
        const int left = std::max(0, end - pos);
        const int size = i == count - 1 ? left : std::min(std::max(info[i].nIdealSize, 0), left);
        info[i].nStart = pos;
        info[i].nCurSize = size;
        pos += size + gap;
    }
}

} // namespace

// -------------------------------------------------------------- creation

BOOL CSplitterWnd::CreateSplitterWindow(CWnd* parent, DWORD style, UINT id)
{
    const char* splitterClass = RegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                                 reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    m_rowInfo.assign(static_cast<size_t>(m_nMaxRows), CRowColInfo {});
    m_colInfo.assign(static_cast<size_t>(m_nMaxCols), CRowColInfo {});
    for (CRowColInfo& info : m_rowInfo)
        info.nMinSize = m_minPane.cy;
    for (CRowColInfo& info : m_colInfo)
        info.nMinSize = m_minPane.cx;
    return CreateEx(0, splitterClass, nullptr, (style | WS_CHILD) & ~WS_CLIPCHILDREN, CRect(0, 0, 0, 0),
                    parent != nullptr ? parent->GetSafeHwnd() : nullptr, id);
}

BOOL CSplitterWnd::CreateStatic(CWnd* parent, int rows, int cols, DWORD style, UINT id)
{
    if (m_hWnd != nullptr || rows < 1 || cols < 1 || rows > kMaxStatic || cols > kMaxStatic)
        return FALSE;
    m_bDynamic = false;
    m_nRows = m_nMaxRows = rows;
    m_nCols = m_nMaxCols = cols;
    m_minPane = CSize(0, 0);
    return CreateSplitterWindow(parent, style, id);
}

BOOL CSplitterWnd::Create(CWnd* parent, int maxRows, int maxCols, SIZE minPane, CCreateContext* context,
                          DWORD style, UINT id)
{
    if (m_hWnd != nullptr || maxRows < 1 || maxCols < 1 || maxRows > kMaxDynamic || maxCols > kMaxDynamic ||
        context == nullptr || context->m_pNewViewClass == nullptr)
        return FALSE;
    m_bDynamic = true;
    m_nRows = m_nCols = 1;
    m_nMaxRows = maxRows;
    m_nMaxCols = maxCols;
    m_minPane = minPane;
    m_pDynamicViewClass = context->m_pNewViewClass;
    if (!CreateSplitterWindow(parent, style, id))
        return FALSE;
    if (!CreateView(0, 0, m_pDynamicViewClass, CSize(0, 0), context)) {
        DestroyWindow();
        return FALSE;
    }
    RecalcLayout();
    return TRUE;
}

BOOL CSplitterWnd::CreateView(int row, int col, const CRuntimeClass* viewClass, SIZE initialSize,
                              CCreateContext* context)
{
    if (m_hWnd == nullptr || row < 0 || col < 0 || row >= m_nRows || col >= m_nCols || GetPaneWnd(row, col) != nullptr)
        return FALSE;
    CCreateContext none;
    CView* view = CView::CreateFromClass(viewClass, m_hWnd, IdFromRowCol(row, col), CRect(0, 0, 0, 0),
                                         context != nullptr ? context : &none, WS_CHILD | WS_VISIBLE);
    if (view == nullptr)
        return FALSE;
    if (initialSize.cx > 0)
        m_colInfo[static_cast<size_t>(col)].nIdealSize = initialSize.cx;
    if (initialSize.cy > 0)
        m_rowInfo[static_cast<size_t>(row)].nIdealSize = initialSize.cy;
    return TRUE;
}

BOOL CSplitterWnd::SetPane(int row, int col, HWND wnd)
{
    if (m_hWnd == nullptr || row < 0 || col < 0 || row >= m_nRows || col >= m_nCols || !::IsWindow(wnd) ||
        GetPaneWnd(row, col) != nullptr)
        return FALSE;
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(wnd, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrA(wnd, GWL_EXSTYLE));
    // A pane has no frame of its own: the splitter draws its border.
    ::SetWindowLongPtrA(wnd, GWL_STYLE, static_cast<LONG_PTR>((style & ~(WS_POPUP | WS_CAPTION | WS_THICKFRAME)) | WS_CHILD));
    ::SetWindowLongPtrA(wnd, GWL_EXSTYLE, static_cast<LONG_PTR>(exStyle & ~(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE)));
    ::SetParent(wnd, m_hWnd);
    ::SetWindowLongPtrA(wnd, GWLP_ID, static_cast<LONG_PTR>(IdFromRowCol(row, col)));
    ::SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ::ShowWindow(wnd, SW_SHOWNA);
    RecalcLayout();
    return TRUE;
}

void CSplitterWnd::DeleteView(int row, int col)
{
    HWND pane = GetPaneWnd(row, col);
    if (pane == nullptr)
        return;
    // The frame's active view must not outlive its window.
    if (CFrameWnd* frame = FindParentFrame(m_hWnd); frame != nullptr && frame->GetActiveView() != nullptr &&
                                                    frame->GetActiveView()->GetSafeHwnd() == pane)
        frame->SetActiveView(nullptr, FALSE);
    ::DestroyWindow(pane);
}

CCreateContext CSplitterWnd::ContextBeside(int row, int col) const
{
    CCreateContext context;
    context.m_pNewViewClass = m_pDynamicViewClass;
    if (auto* view = dynamic_cast<CView*>(GetPane(row, col)))
        context.m_pCurrentDoc = view->GetDocument();
    context.m_pCurrentFrame = FindParentFrame(m_hWnd);
    return context;
}

BOOL CSplitterWnd::SplitColumn(int cxBefore)
{
    CRect inside;
    GetInsideRect(inside);
    if (!m_bDynamic || m_nCols >= m_nMaxCols || cxBefore < m_minPane.cx ||
        inside.Width() - cxBefore - m_cxSplitterGap < m_minPane.cx)
        return FALSE;
    const int col = m_nCols++;
    m_colInfo[static_cast<size_t>(col - 1)].nIdealSize = cxBefore;
    m_colInfo[static_cast<size_t>(col)].nIdealSize = 0;
    for (int row = 0; row < m_nRows; ++row) {
        CCreateContext context = ContextBeside(row, col - 1);
        if (!CreateView(row, col, m_pDynamicViewClass, CSize(0, 0), &context)) {
            for (int made = 0; made < row; ++made)
                DeleteView(made, col);
            --m_nCols;
            RecalcLayout();
            return FALSE;
        }
        if (auto* view = dynamic_cast<CView*>(GetPane(row, col)))
            view->OnInitialUpdate();
    }
    RecalcLayout();
    return TRUE;
}

BOOL CSplitterWnd::SplitRow(int cyBefore)
{
    CRect inside;
    GetInsideRect(inside);
    if (!m_bDynamic || m_nRows >= m_nMaxRows || cyBefore < m_minPane.cy ||
        inside.Height() - cyBefore - m_cySplitterGap < m_minPane.cy)
        return FALSE;
    const int row = m_nRows++;
    m_rowInfo[static_cast<size_t>(row - 1)].nIdealSize = cyBefore;
    m_rowInfo[static_cast<size_t>(row)].nIdealSize = 0;
    for (int col = 0; col < m_nCols; ++col) {
        CCreateContext context = ContextBeside(row - 1, col);
        if (!CreateView(row, col, m_pDynamicViewClass, CSize(0, 0), &context)) {
            for (int made = 0; made < col; ++made)
                DeleteView(row, made);
            --m_nRows;
            RecalcLayout();
            return FALSE;
        }
        if (auto* view = dynamic_cast<CView*>(GetPane(row, col)))
            view->OnInitialUpdate();
    }
    RecalcLayout();
    return TRUE;
}

void CSplitterWnd::RenumberPane(int row, int col, int newRow, int newCol)
{
    if (HWND pane = GetPaneWnd(row, col))
        ::SetWindowLongPtrA(pane, GWLP_ID, static_cast<LONG_PTR>(IdFromRowCol(newRow, newCol)));
}

void CSplitterWnd::DeleteColumn(int col)
{
    if (col < 0 || col >= m_nCols || m_nCols <= 1)
        return;
    for (int row = 0; row < m_nRows; ++row)
        DeleteView(row, col);
    for (int later = col + 1; later < m_nCols; ++later) {
        for (int row = 0; row < m_nRows; ++row)
            RenumberPane(row, later, row, later - 1);
    }
    m_colInfo.erase(m_colInfo.begin() + col);
    m_colInfo.push_back(CRowColInfo {m_minPane.cx, 0, 0, 0});
    --m_nCols;
    RecalcLayout();
}

void CSplitterWnd::DeleteRow(int row)
{
    if (row < 0 || row >= m_nRows || m_nRows <= 1)
        return;
    for (int col = 0; col < m_nCols; ++col)
        DeleteView(row, col);
    for (int later = row + 1; later < m_nRows; ++later) {
        for (int col = 0; col < m_nCols; ++col)
            RenumberPane(later, col, later - 1, col);
    }
    m_rowInfo.erase(m_rowInfo.begin() + row);
    m_rowInfo.push_back(CRowColInfo {m_minPane.cy, 0, 0, 0});
    --m_nRows;
    RecalcLayout();
}

// ------------------------------------------------------------- geometry

void CSplitterWnd::SetRowInfo(int row, int ideal, int min)
{
    if (row >= 0 && row < m_nMaxRows) {
        m_rowInfo[static_cast<size_t>(row)].nIdealSize = ideal;
        m_rowInfo[static_cast<size_t>(row)].nMinSize = min;
    }
}

void CSplitterWnd::SetColumnInfo(int col, int ideal, int min)
{
    if (col >= 0 && col < m_nMaxCols) {
        m_colInfo[static_cast<size_t>(col)].nIdealSize = ideal;
        m_colInfo[static_cast<size_t>(col)].nMinSize = min;
    }
}

void CSplitterWnd::GetRowInfo(int row, int& current, int& min) const
{
    current = min = 0;
    if (row >= 0 && row < m_nRows) {
        current = m_rowInfo[static_cast<size_t>(row)].nCurSize;
        min = m_rowInfo[static_cast<size_t>(row)].nMinSize;
    }
}

void CSplitterWnd::GetColumnInfo(int col, int& current, int& min) const
{
    current = min = 0;
    if (col >= 0 && col < m_nCols) {
        current = m_colInfo[static_cast<size_t>(col)].nCurSize;
        min = m_colInfo[static_cast<size_t>(col)].nMinSize;
    }
}

HWND CSplitterWnd::GetPaneWnd(int row, int col) const
{
    if (m_hWnd == nullptr || row < 0 || col < 0 || row >= m_nRows || col >= m_nCols)
        return nullptr;
    return ::GetDlgItem(m_hWnd, static_cast<int>(IdFromRowCol(row, col)));
}

bool CSplitterWnd::HasColumnBox() const { return m_bDynamic && m_nCols < m_nMaxCols; }
bool CSplitterWnd::HasRowBox() const { return m_bDynamic && m_nRows < m_nMaxRows; }

void CSplitterWnd::GetInsideRect(CRect& rect) const
{
    rect = GetClientRect();
    rect.DeflateRect(m_cxBorder, m_cyBorder);
    if (HasColumnBox())
        rect.right -= m_cxSplitter + m_cxBorder;
    if (HasRowBox())
        rect.bottom -= m_cySplitter + m_cyBorder;
    rect.right = std::max(rect.right, rect.left);
    rect.bottom = std::max(rect.bottom, rect.top);
}

CRect CSplitterWnd::ColumnBoxStrip() const
{
    const CRect client = GetClientRect();
    return CRect(client.right - m_cxBorder - m_cxSplitter, client.top + m_cyBorder, client.right - m_cxBorder,
                 client.bottom - m_cyBorder);
}

CRect CSplitterWnd::RowBoxStrip() const
{
    const CRect client = GetClientRect();
    return CRect(client.left + m_cxBorder, client.bottom - m_cyBorder - m_cySplitter, client.right - m_cxBorder,
                 client.bottom - m_cyBorder);
}

CRect CSplitterWnd::ColumnBoxRect() const
{
    CRect strip = ColumnBoxStrip();
    strip.bottom = std::min(strip.bottom, strip.top + ::GetSystemMetrics(SM_CYHSCROLL));
    return strip;
}

CRect CSplitterWnd::RowBoxRect() const
{
    CRect strip = RowBoxStrip();
    strip.right = std::min(strip.right, strip.left + ::GetSystemMetrics(SM_CXVSCROLL));
    return strip;
}

CRect CSplitterWnd::GetCellRect(int row, int col) const
{
    if (row < 0 || col < 0 || row >= m_nRows || col >= m_nCols)
        return CRect(0, 0, 0, 0);
    const CRowColInfo& r = m_rowInfo[static_cast<size_t>(row)];
    const CRowColInfo& c = m_colInfo[static_cast<size_t>(col)];
    return CRect(c.nStart, r.nStart, c.nStart + c.nCurSize, r.nStart + r.nCurSize);
}

CRect CSplitterWnd::ColumnBarRect(int col) const
{
    CRect inside;
    GetInsideRect(inside);
    const CRowColInfo& c = m_colInfo[static_cast<size_t>(col)];
    const int left = c.nStart + c.nCurSize;
    return CRect(left, inside.top - m_cyBorder, left + m_cxSplitterGap, inside.bottom + m_cyBorder);
}

CRect CSplitterWnd::RowBarRect(int row) const
{
    CRect inside;
    GetInsideRect(inside);
    const CRowColInfo& r = m_rowInfo[static_cast<size_t>(row)];
    const int top = r.nStart + r.nCurSize;
    return CRect(inside.left - m_cxBorder, top, inside.right + m_cxBorder, top + m_cySplitterGap);
}

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

// --------------------------------------------------------------- layout

void CSplitterWnd::RecalcLayout()
{
    if (m_hWnd == nullptr)
        return;
    CRect inside;
    GetInsideRect(inside);
    LayoutAxis(m_colInfo, m_nCols, inside.left, inside.right, m_cxSplitterGap);
    LayoutAxis(m_rowInfo, m_nRows, inside.top, inside.bottom, m_cySplitterGap);
    MovePanes();
    DrawParts(nullptr);
}

void CSplitterWnd::MovePanes()
{
    for (int row = 0; row < m_nRows; ++row) {
        for (int col = 0; col < m_nCols; ++col) {
            if (HWND pane = GetPaneWnd(row, col)) {
                const CRect cell = GetCellRect(row, col);
                ::MoveWindow(pane, cell.left, cell.top, cell.Width(), cell.Height(), TRUE);
            }
        }
    }
}

void CSplitterWnd::DrawParts(CDC* dc)
{
    for (int row = 0; row < m_nRows; ++row) {
        for (int col = 0; col < m_nCols; ++col) {
            CRect border = GetCellRect(row, col);
            border.InflateRect(m_cxBorder, m_cyBorder);
            OnDrawSplitter(dc, splitBorder, border);
        }
    }
    // The bars between the panes' borders.
    for (int col = 0; col + 1 < m_nCols; ++col) {
        CRect bar = ColumnBarRect(col);
        bar.DeflateRect(m_cxBorder, 0);
        OnDrawSplitter(dc, splitBar, bar);
    }
    for (int row = 0; row + 1 < m_nRows; ++row) {
        CRect bar = RowBarRect(row);
        bar.DeflateRect(0, m_cyBorder);
        OnDrawSplitter(dc, splitBar, bar);
    }
    for (int row = 0; row + 1 < m_nRows; ++row) {
        for (int col = 0; col + 1 < m_nCols; ++col) {
            const CRect columnBar = ColumnBarRect(col), rowBar = RowBarRect(row);
            CRect cross;
            cross.IntersectRect(&columnBar, &rowBar);
            OnDrawSplitter(dc, splitIntersection, cross);
        }
    }
    if (HasColumnBox()) {
        OnDrawSplitter(dc, splitBar, ColumnBoxStrip());
        OnDrawSplitter(dc, splitBox, ColumnBoxRect());
    }
    if (HasRowBox()) {
        OnDrawSplitter(dc, splitBar, RowBoxStrip());
        OnDrawSplitter(dc, splitBox, RowBoxRect());
    }
}

void CSplitterWnd::OnDrawSplitter(CDC* dc, ESplitType type, const CRect& rect)
{
    if (dc == nullptr) {
        RedrawWindow(&rect, nullptr, RDW_INVALIDATE | RDW_NOCHILDREN);
        return;
    }
    switch (type) {
    case splitBorder:
        dc->Draw3dRect(rect, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNHIGHLIGHT));
        return;
    case splitBox: {
        CRect inner = rect;
        dc->Draw3dRect(inner, ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_WINDOWFRAME));
        inner.DeflateRect(1, 1);
        dc->Draw3dRect(inner, ::GetSysColor(COLOR_BTNHIGHLIGHT), ::GetSysColor(COLOR_BTNSHADOW));
        inner.DeflateRect(1, 1);
        dc->FillSolidRect(inner, ::GetSysColor(COLOR_BTNFACE));
        return;
    }
    default:
        dc->FillSolidRect(rect, ::GetSysColor(COLOR_BTNFACE));
        return;
    }
}

void CSplitterWnd::OnPaint()
{
    CPaintDC dc(m_hWnd);
    DrawParts(&dc);
}

void CSplitterWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    RecalcLayout();
}

// ------------------------------------------------------------- tracking

void CSplitterWnd::SetCursorFor(int hit) const
{
    const char* cursor = nullptr;
    if (hit == columnSplitBox || (hit >= columnBar && hit < columnBar + kMaxStatic))
        cursor = IDC_SIZEWE;
    else if (hit == rowSplitBox || (hit >= rowBar && hit < rowBar + kMaxStatic))
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
    m_bTrackX = hit == columnSplitBox || (hit >= columnBar && hit < columnBar + kMaxStatic) || hit >= intersection;
    m_bTrackY = hit == rowSplitBox || (hit >= rowBar && hit < rowBar + kMaxStatic) || hit >= intersection;
    m_rectTrackX = m_rectTrackY = CRect(0, 0, 0, 0);
    if (hit == columnSplitBox) {
        const CRect box = ColumnBoxRect();
        m_rectTrackX = CRect(box.left, inside.top, box.left + m_cxSplitterGap, inside.bottom);
    } else if (hit == rowSplitBox) {
        const CRect box = RowBoxRect();
        m_rectTrackY = CRect(inside.left, box.top, inside.right, box.top + m_cySplitterGap);
    } else {
        const int cross = hit - intersection;
        if (hit >= columnBar && hit < columnBar + kMaxStatic)
            m_rectTrackX = ColumnBarRect(hit - columnBar);
        else if (hit >= intersection)
            m_rectTrackX = ColumnBarRect(cross % 16);
        if (hit >= rowBar && hit < rowBar + kMaxStatic)
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

void CSplitterWnd::TrackColumnSize(int x, int col)
{
    if (col < 0 || col + 1 >= m_nCols)
        return;
    CRect inside;
    GetInsideRect(inside);
    const int size = x - m_colInfo[static_cast<size_t>(col)].nStart;
    if (m_bDynamic) {
        // A pane pushed below its minimum goes with its column.
        if (size < m_colInfo[static_cast<size_t>(col)].nMinSize) {
            DeleteColumn(col);
            return;
        }
        if (col + 2 == m_nCols && inside.right - (x + m_cxSplitterGap) < m_colInfo[static_cast<size_t>(col + 1)].nMinSize) {
            DeleteColumn(col + 1);
            return;
        }
    }
    m_colInfo[static_cast<size_t>(col)].nIdealSize = std::max(size, 0);
}

void CSplitterWnd::TrackRowSize(int y, int row)
{
    if (row < 0 || row + 1 >= m_nRows)
        return;
    CRect inside;
    GetInsideRect(inside);
    const int size = y - m_rowInfo[static_cast<size_t>(row)].nStart;
    if (m_bDynamic) {
        if (size < m_rowInfo[static_cast<size_t>(row)].nMinSize) {
            DeleteRow(row);
            return;
        }
        if (row + 2 == m_nRows && inside.bottom - (y + m_cySplitterGap) < m_rowInfo[static_cast<size_t>(row + 1)].nMinSize) {
            DeleteRow(row + 1);
            return;
        }
    }
    m_rowInfo[static_cast<size_t>(row)].nIdealSize = std::max(size, 0);
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

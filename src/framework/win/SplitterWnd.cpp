// The splitter's panes, rows and columns, layout and painting; its mouse
// handling is in SplitterTracking.cpp.
#include "framework/win/SplitterWnd.h"

#include "framework/win/DC.h"
#include "framework/win/FrameWnd.h"

#include <algorithm>

namespace {

constexpr int kMaxStatic = 16;
constexpr int kMaxDynamic = 2;

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

BOOL CSplitterWnd::SplitColumn(int cxBefore) { return SplitLine(true, cxBefore); }

BOOL CSplitterWnd::SplitRow(int cyBefore) { return SplitLine(false, cyBefore); }

void CSplitterWnd::DeleteColumn(int col) { DeleteLine(true, col); }

void CSplitterWnd::DeleteRow(int row) { DeleteLine(false, row); }

void CSplitterWnd::RenumberPane(int row, int col, int newRow, int newCol)
{
    if (HWND pane = GetPaneWnd(row, col))
        ::SetWindowLongPtrA(pane, GWLP_ID, static_cast<LONG_PTR>(IdFromRowCol(newRow, newCol)));
}

CPoint CSplitterWnd::PaneAt(bool columns, int line, int along)
{
    return columns ? CPoint(line, along) : CPoint(along, line);
}

BOOL CSplitterWnd::SplitLine(bool columns, int before)
{
    CRect inside;
    GetInsideRect(inside);
    int& lines = columns ? m_nCols : m_nRows;
    const int minimum = columns ? m_minPane.cx : m_minPane.cy;
    const int room = columns ? inside.Width() - m_cxSplitterGap : inside.Height() - m_cySplitterGap;
    if (!m_bDynamic || lines >= (columns ? m_nMaxCols : m_nMaxRows) || before < minimum || room - before < minimum)
        return FALSE;
    std::vector<CRowColInfo>& info = columns ? m_colInfo : m_rowInfo;
    const int line = lines++;
    info[static_cast<size_t>(line - 1)].nIdealSize = before;
    info[static_cast<size_t>(line)].nIdealSize = 0;
    const int across = columns ? m_nRows : m_nCols;
    for (int i = 0; i < across; ++i) {
        const CPoint pane = PaneAt(columns, line, i), beside = PaneAt(columns, line - 1, i);
        CCreateContext context = ContextBeside(beside.y, beside.x);
        if (!CreateView(pane.y, pane.x, m_pDynamicViewClass, CSize(0, 0), &context)) {
            for (int made = 0; made < i; ++made) {
                const CPoint undone = PaneAt(columns, line, made);
                DeleteView(undone.y, undone.x);
            }
            --lines;
            RecalcLayout();
            return FALSE;
        }
        if (auto* view = dynamic_cast<CView*>(GetPane(pane.y, pane.x)))
            view->OnInitialUpdate();
    }
    RecalcLayout();
    return TRUE;
}

void CSplitterWnd::DeleteLine(bool columns, int line)
{
    int& lines = columns ? m_nCols : m_nRows;
    if (line < 0 || line >= lines || lines <= 1)
        return;
    const int across = columns ? m_nRows : m_nCols;
    for (int i = 0; i < across; ++i) {
        const CPoint pane = PaneAt(columns, line, i);
        DeleteView(pane.y, pane.x);
    }
    for (int later = line + 1; later < lines; ++later) {
        for (int i = 0; i < across; ++i) {
            const CPoint from = PaneAt(columns, later, i), to = PaneAt(columns, later - 1, i);
            RenumberPane(from.y, from.x, to.y, to.x);
        }
    }
    std::vector<CRowColInfo>& info = columns ? m_colInfo : m_rowInfo;
    info.erase(info.begin() + line);
    info.push_back(CRowColInfo {columns ? m_minPane.cx : m_minPane.cy, 0, 0, 0});
    --lines;
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


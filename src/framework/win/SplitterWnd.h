// CSplitterWnd: rows and columns of panes with bars between them that the
// user drags to resize the panes.
//
// A static splitter has a fixed grid (up to 16 x 16) whose panes the caller
// makes with CreateView or puts in with SetPane. A dynamic splitter (up to
// 2 x 2) starts with one pane and shows a split box along its right edge
// (new column) and its bottom edge (new row) while it can still grow;
// dragging a box makes the new panes, of the dynamic view class, and
// dragging a bar of a dynamic splitter so that a pane falls below its
// minimum size removes that pane's row or column.
//
// A drag captures the mouse and shows an inverted tracker; releasing the
// button applies it, Escape (or losing the capture) cancels it.
#pragma once

#include "OrvApi.h"
#include "framework/win/DocView.h"

#include <vector>

class ORV_API CSplitterWnd : public CWnd {
public:
    // The parts that OnDrawSplitter paints.
    enum ESplitType { splitBox = 0, splitBar = 1, splitIntersection = 2, splitBorder = 3 };
    // What lies under a point (HitTest): a split box, the bar below row r
    // (rowBar + r), the bar right of column c (columnBar + c), or where those
    // two cross (intersection + r * 16 + c).
    enum : int { noHit = 0, rowSplitBox = 1, columnSplitBox = 2, rowBar = 100, columnBar = 200, intersection = 1000 };

    CSplitterWnd() = default;

    BOOL CreateStatic(CWnd* parent, int rows, int cols, DWORD style = WS_CHILD | WS_VISIBLE,
                      UINT id = AFX_IDW_PANE_FIRST);
    // The first pane is a view of the context's view class, which also
    // becomes the dynamic view class; minPane is the least pane size.
    BOOL Create(CWnd* parent, int maxRows, int maxCols, SIZE minPane, CCreateContext* context,
                DWORD style = WS_CHILD | WS_VISIBLE, UINT id = AFX_IDW_PANE_FIRST);

    // Makes the pane a view of the class; a non-zero size becomes the
    // column's and row's ideal size. FALSE when the place is taken or out of
    // the grid, or the view cannot be made.
    virtual BOOL CreateView(int row, int col, const CRuntimeClass* viewClass, SIZE initialSize,
                            CCreateContext* context);
    // Puts an existing window (a modeless dialog, a control) in the pane: it
    // becomes the splitter's child with the pane's id. Its object, if any,
    // stays its owner's; the window goes with the splitter.
    BOOL SetPane(int row, int col, HWND wnd);
    // Destroys the pane's window (a view deletes itself).
    virtual void DeleteView(int row, int col);

    virtual BOOL SplitRow(int cyBefore);
    virtual BOOL SplitColumn(int cxBefore);
    virtual void DeleteRow(int row);
    virtual void DeleteColumn(int col);

    int GetRowCount() const noexcept { return m_nRows; }
    int GetColumnCount() const noexcept { return m_nCols; }
    void SetRowInfo(int row, int ideal, int min);
    void SetColumnInfo(int col, int ideal, int min);
    // The current size and minimum of the row or column.
    void GetRowInfo(int row, int& current, int& min) const;
    void GetColumnInfo(int col, int& current, int& min) const;

    HWND GetPaneWnd(int row, int col) const;
    CWnd* GetPane(int row, int col) const { return FromHandlePermanent(GetPaneWnd(row, col)); }
    UINT IdFromRowCol(int row, int col) const { return AFX_IDW_PANE_FIRST + row * 16 + col; }
    // The rectangle the pane has, in the splitter's client coordinates.
    CRect GetCellRect(int row, int col) const;

    // Sizes the rows and columns, moves the panes and repaints the parts.
    virtual void RecalcLayout();
    int HitTest(CPoint point) const;
    bool IsTracking() const noexcept { return m_bTracking; }

protected:
    // Paints a part; without a DC it only invalidates the part.
    virtual void OnDrawSplitter(CDC* dc, ESplitType type, const CRect& rect);
    virtual void OnInvertTracker(const CRect& rect);
    virtual void StartTracking(int hit);
    // Ends a drag; when accepted, applies it and recalculates the layout.
    virtual void StopTracking(BOOL accept);
    // A dragged bar's new top (or left) edge for the row (column) above
    // (left of) it.
    virtual void TrackRowSize(int y, int row);
    virtual void TrackColumnSize(int x, int col);
    // The client area less the borders and the split-box strips.
    virtual void GetInsideRect(CRect& rect) const;
    // WM_MOUSEWHEEL at the screen point: each notch scrolls the pane under
    // the point by a line (WM_VSCROLL). Returns the message's result.
    virtual LRESULT OnMouseWheel(UINT flags, short delta, CPoint screenPoint);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    void OnSize(UINT type, int cx, int cy) override;
    BOOL OnSetCursor(HWND wnd, UINT hitTest, UINT message) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnCaptureChanged(HWND newCapture) override;

    const CRuntimeClass* m_pDynamicViewClass = nullptr;
    int m_cxSplitter = 7;    // width of a split-box strip
    int m_cySplitter = 7;
    int m_cxSplitterGap = 7; // space between two columns
    int m_cySplitterGap = 7;
    int m_cxBorder = 2;      // border around each pane
    int m_cyBorder = 2;
    int m_htTrack = noHit;   // what is being dragged

private:
    struct CRowColInfo {
        int nMinSize = 0;
        int nIdealSize = 0;
        int nCurSize = 0;
        int nStart = 0;
    };

    BOOL CreateSplitterWindow(CWnd* parent, DWORD style, UINT id);
    bool HasColumnBox() const;
    bool HasRowBox() const;
    CRect ColumnBoxStrip() const;
    CRect RowBoxStrip() const;
    CRect ColumnBoxRect() const;
    CRect RowBoxRect() const;
    // The bar right of column col and the bar below row row.
    CRect ColumnBarRect(int col) const;
    CRect RowBarRect(int row) const;
    void DrawParts(CDC* dc);
    void MovePanes();
    void MoveTrackers(CPoint point);
    void InvertTrackers();
    void RenumberPane(int row, int col, int newRow, int newCol);
    // Splitting and deleting work alike on columns and rows: a line is a
    // column (columns) or a row. PaneAt is the pane at place `along` of a
    // line, as x = column and y = row.
    static CPoint PaneAt(bool columns, int line, int along);
    BOOL SplitLine(bool columns, int before);
    void TrackLineSize(bool columns, int position, int line);
    void DeleteAt(bool columns, int line);
    void DeleteLine(bool columns, int line);
    void SetCursorFor(int hit) const;
    CCreateContext ContextBeside(int row, int col) const;

    std::vector<CRowColInfo> m_rowInfo;
    std::vector<CRowColInfo> m_colInfo;
    int m_nRows = 0;
    int m_nCols = 0;
    int m_nMaxRows = 0;
    int m_nMaxCols = 0;
    bool m_bDynamic = false;
    CSize m_minPane;

    bool m_bTracking = false;
    bool m_bTrackX = false; // a vertical tracker moves across
    bool m_bTrackY = false; // a horizontal tracker moves up and down
    CRect m_rectTrackX;
    CRect m_rectTrackY;
    CPoint m_ptTrackOffset;
    HWND m_hWndPrevFocus = nullptr;
};

// CNimSplitterWnd: the pane splitter of the application's multi-pane
// windows. It can be locked against dragging, paints its parts flat in the
// system colours, tells a chosen window when the user has resized the panes
// (RWM_ORV_SPLITTER_RESIZED), passes the mouse wheel on only while the
// pointer is over it, and can remember the class of a view it removes so
// that splitting again brings that kind of view back.
#pragma once

#include "OrvApi.h"
#include "framework/win/SplitterWnd.h"

class ORV_API CNimSplitterWnd : public CSplitterWnd {
public:
    // The notify window gets the resize notification; null sends none.
    explicit CNimSplitterWnd(CWnd* notifyWnd = nullptr);
    ~CNimSplitterWnd() override = default;

    void SetLock(BOOL lock) noexcept { m_bLocked = lock != FALSE; }
    BOOL GetLock() const noexcept { return m_bLocked ? TRUE : FALSE; }
    // The class the splitter uses for the views of new panes.
    void SetDynamicViewClass(const CRuntimeClass* viewClass) noexcept { m_pDynamicViewClass = viewClass; }
    const CRuntimeClass* GetDynamicViewClass() const noexcept { return m_pDynamicViewClass; }

    using CSplitterWnd::DeleteView;
    // With remember set, the deleted view's class becomes the dynamic view
    // class first.
    void DeleteView(int row, int col, BOOL remember);

    // The room left for panes: the inside rectangle less one gap per extra
    // column and row, never below 0.
    CSize GetAvailableClientSize() const;

    COLORREF GetFaceColor() const noexcept { return m_crFace; }

protected:
    void OnDrawSplitter(CDC* dc, ESplitType type, const CRect& rect) override;
    void StopTracking(BOOL accept) override;
    LRESULT OnMouseWheel(UINT flags, short delta, CPoint screenPoint) override;
    BOOL OnSetCursor(HWND wnd, UINT hitTest, UINT message) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnSysColorChange() override;

private:
    void ReadColors();

    CWnd* m_pNotifyWnd;
    COLORREF m_crFace = 0;
    COLORREF m_crHighlight = 0;
    COLORREF m_crFrame = 0;
    COLORREF m_crShadow = 0;
    bool m_bLocked = false;
};

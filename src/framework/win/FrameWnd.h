// CFrameWnd: a window that holds control bars along its top and bottom and
// one client pane (a view or a splitter, id AFX_IDW_PANE_FIRST) in the
// rest, and routes commands to its active view before its own handlers.
#pragma once

#include "OrvApi.h"
#include "framework/win/DocView.h"

class ORV_API CFrameWnd : public CWnd {
    ORV_DECLARE_DYNCREATE(CFrameWnd)

public:
    CFrameWnd() = default;

    // Makes the frame; with a context whose view class is set, the client
    // pane is a view of that class (see OnCreateClient).
    BOOL Create(const char* title, DWORD style, const RECT& rect, HWND parent = nullptr,
                CCreateContext* context = nullptr);

    // Places the visible control bars and the client pane.
    virtual void RecalcLayout();

    CView* GetActiveView() const noexcept { return m_pActiveView; }
    // Makes the view the one that gets commands and the focus first.
    void SetActiveView(CView* view, BOOL takeFocus = TRUE);
    CDocument* GetActiveDocument() const;

    // Gives the views their initial update (OnInitialUpdate), makes the
    // first view active when none is, and shows the frame when asked.
    void InitialUpdateFrame(CDocument* document, BOOL makeVisible);

    // The active view first, then the frame's own handlers.
    BOOL OnCmdMsg(UINT id, int code, CCmdUI* cmdUI) override;

    // Deleted with its window, as frames made by templates are.
    BOOL m_bAutoDelete = TRUE;

protected:
    // Makes the client pane from the context; the default makes one view of
    // the context's view class. FALSE fails the frame's creation.
    virtual BOOL OnCreateClient(CREATESTRUCTA* cs, CCreateContext* context);

    int OnCreate(CREATESTRUCTA* cs) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnSetFocus(HWND oldFocus) override;
    void OnSysColorChange() override;
    void PostNcDestroy() override;

private:
    friend class CView;
    void ViewGone(CView* view);

    CView* m_pActiveView = nullptr;
    CCreateContext* m_pPendingContext = nullptr;
};

// The nearest window above this one that is a frame, or null.
ORV_API CFrameWnd* FindParentFrame(HWND wnd);

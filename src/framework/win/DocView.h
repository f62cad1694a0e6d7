// The document and its views: CDocument (the data a window shows), CView (a
// child window that shows one document) and CCreateContext (what a frame or
// splitter needs to make a view: its class and document).
//
// Views are made by class name (see RuntimeClass.h) and delete themselves
// when their window goes. A document lists its views; with m_bAutoDelete it
// deletes itself when its last view goes.
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"
#include "framework/Object.h"
#include "framework/String.h"
#include "framework/win/RuntimeClass.h"
#include "framework/win/Wnd.h"

class CDocTemplate;
class CDocument;
class CFrameWnd;
class CView;

// First pane (and only view) of a frame; a splitter's pane at (row, column)
// is this plus row * 16 + column.
constexpr UINT AFX_IDW_PANE_FIRST = 0xE900;

struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
    CFrameWnd* m_pCurrentFrame = nullptr;
};

class ORV_API CDocument : public CObject {
public:
    CDocument() = default;
    ~CDocument() override;

    const CString& GetTitle() const noexcept { return m_strTitle; }
    virtual void SetTitle(const char* title);
    CDocTemplate* GetDocTemplate() const noexcept { return m_pDocTemplate; }
    void SetDocTemplate(CDocTemplate* docTemplate) noexcept { m_pDocTemplate = docTemplate; }

    // Called by the template for a new document; FALSE fails the opening.
    virtual BOOL OnNewDocument();

    void AddView(CView* view);
    // Removes the view; the last view's removal deletes an auto-deleting
    // document.
    void RemoveView(CView* view);
    int GetViewCount() const noexcept { return m_views.GetSize(); }
    CView* GetView(int index) const { return m_views[index]; }
    // Tells every view but the sender about a change (CView::OnUpdate).
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);

    BOOL m_bAutoDelete = TRUE;

protected:
    CString m_strTitle;

private:
    CArray<CView*> m_views;
    CDocTemplate* m_pDocTemplate = nullptr;
};

class ORV_API CView : public CWnd {
public:
    CView() = default;
    ~CView() override;

    CDocument* GetDocument() const noexcept { return m_pDocument; }
    // The frame above the view, or null.
    CFrameWnd* GetParentFrame() const;

    // Called once the frame and its views exist; the default calls
    // OnUpdate(nullptr, 0, nullptr).
    virtual void OnInitialUpdate();
    // The document changed; the default repaints the view.
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject);

    // Makes a view of the class (which must derive from CView) as a child
    // of the parent, for the context's document. Null when the class is not
    // a view or the window could not be made; nothing is left behind then.
    static CView* CreateFromClass(const CRuntimeClass* viewClass, HWND parent, UINT id, const RECT& rect,
                                  CCreateContext* context, DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER);

protected:
    // Draws the view's content; the default draws nothing.
    virtual void OnDraw(CDC* dc);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    void OnDestroy() override;
    void PostNcDestroy() override;

private:
    friend class CDocument;
    void LeaveDocument();

    CDocument* m_pDocument = nullptr;
    // Off while the view is being made, so that a failed creation leaves
    // the object to its maker.
    bool m_bDeleteOnDestroy = true;
};

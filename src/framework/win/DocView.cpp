#include "framework/win/DocView.h"

#include "framework/win/DC.h"
#include "framework/win/FrameWnd.h"

#include <memory>

// -------------------------------------------------------------- document

CDocument::~CDocument()
{
    for (int i = 0; i < m_views.GetSize(); ++i)
        m_views[i]->m_pDocument = nullptr;
}

void CDocument::SetTitle(const char* title)
{
    m_strTitle = title != nullptr ? title : "";
}

BOOL CDocument::OnNewDocument()
{
    return TRUE;
}

void CDocument::AddView(CView* view)
{
    if (view == nullptr)
        return;
    for (int i = 0; i < m_views.GetSize(); ++i) {
        if (m_views[i] == view)
            return;
    }
    m_views.Add(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view)
{
    for (int i = 0; i < m_views.GetSize(); ++i) {
        if (m_views[i] != view)
            continue;
        m_views.RemoveAt(i);
        view->m_pDocument = nullptr;
        if (m_views.GetSize() == 0 && m_bAutoDelete)
            delete this;
        return;
    }
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject)
{
    for (int i = 0; i < m_views.GetSize(); ++i) {
        if (m_views[i] != sender)
            m_views[i]->OnUpdate(sender, hint, hintObject);
    }
}

// ------------------------------------------------------------------ view

CView::~CView()
{
    LeaveDocument();
}

void CView::LeaveDocument()
{
    if (m_pDocument != nullptr)
        m_pDocument->RemoveView(this); // may delete the document
    m_pDocument = nullptr;
}

CFrameWnd* CView::GetParentFrame() const
{
    return FindParentFrame(m_hWnd);
}

void CView::OnInitialUpdate()
{
    OnUpdate(nullptr, 0, nullptr);
}

void CView::OnUpdate(CView*, LPARAM, CObject*)
{
    Invalidate();
}

void CView::OnDraw(CDC*)
{
}

CView* CView::CreateFromClass(const CRuntimeClass* viewClass, HWND parent, UINT id, const RECT& rect,
                              CCreateContext* context, DWORD style)
{
    // Owned here until the view stands: a failure or an exception deletes it.
    std::unique_ptr<CWnd> object(viewClass != nullptr ? viewClass->CreateObject() : nullptr);
    auto* view = dynamic_cast<CView*>(object.get());
    if (view == nullptr)
        return nullptr;
    view->m_bDeleteOnDestroy = false;
    if (!view->CreateEx(0, nullptr, nullptr, style | WS_CHILD, rect, parent, id))
        return nullptr;
    if (context != nullptr && context->m_pCurrentDoc != nullptr)
        context->m_pCurrentDoc->AddView(view);
    view->m_bDeleteOnDestroy = true;
    object.release();
    return view;
}

LRESULT CView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // A click in the view makes it the frame's active view.
    if (message == WM_MOUSEACTIVATE) {
        const LRESULT result = CWnd::WindowProc(message, wParam, lParam);
        if (CFrameWnd* frame = GetParentFrame(); frame != nullptr && result != MA_NOACTIVATEANDEAT &&
                                                 result != MA_NOACTIVATE)
            frame->SetActiveView(this);
        return result;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CView::OnPaint()
{
    CPaintDC dc(m_hWnd);
    OnDraw(&dc);
}

void CView::OnDestroy()
{
    if (CFrameWnd* frame = GetParentFrame())
        frame->ViewGone(this);
    LeaveDocument();
    CWnd::OnDestroy();
}

void CView::PostNcDestroy()
{
    if (m_bDeleteOnDestroy)
        delete this;
}

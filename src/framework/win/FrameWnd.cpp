#include "framework/win/FrameWnd.h"

#include "framework/win/ControlBar.h"

#include <functional>

ORV_IMPLEMENT_DYNCREATE(CFrameWnd)

namespace {

// Every view below the window, depth first in child order.
void ForEachView(HWND parent, const std::function<void(CView*)>& visit)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (auto* view = dynamic_cast<CView*>(CWnd::FromHandlePermanent(child)))
            visit(view);
        ForEachView(child, visit);
    }
}

} // namespace

CFrameWnd* FindParentFrame(HWND wnd)
{
    for (HWND parent = wnd != nullptr ? ::GetParent(wnd) : nullptr; parent != nullptr; parent = ::GetParent(parent)) {
        if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandlePermanent(parent)))
            return frame;
    }
    return nullptr;
}

BOOL CFrameWnd::Create(const char* title, DWORD style, const RECT& rect, HWND parent, CCreateContext* context)
{
    const char* frameClass = RegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                              reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    m_pPendingContext = context;
    BOOL created = FALSE;
    try {
        created = CreateEx(0, frameClass, title, style | WS_CLIPCHILDREN, rect, parent, 0);
    } catch (...) {
        m_pPendingContext = nullptr;
        throw;
    }
    // The object may be gone when the creation failed.
    if (created)
        m_pPendingContext = nullptr;
    return created;
}

int CFrameWnd::OnCreate(CREATESTRUCTA* cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    CCreateContext* context = m_pPendingContext;
    m_pPendingContext = nullptr;
    if (context != nullptr) {
        context->m_pCurrentFrame = this;
        if (!OnCreateClient(cs, context))
            return -1;
    }
    RecalcLayout();
    return 0;
}

BOOL CFrameWnd::OnCreateClient(CREATESTRUCTA*, CCreateContext* context)
{
    if (context == nullptr || context->m_pNewViewClass == nullptr)
        return TRUE;
    return CView::CreateFromClass(context->m_pNewViewClass, m_hWnd, AFX_IDW_PANE_FIRST, CRect(0, 0, 0, 0),
                                  context) != nullptr;
}

void CFrameWnd::RecalcLayout()
{
    CRect rect = GetClientRect();
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        // The bar's own style: a frame still hidden lays out its bars too.
        auto* bar = dynamic_cast<CControlBar*>(FromHandlePermanent(child));
        if (bar == nullptr || (bar->GetStyle() & WS_VISIBLE) == 0)
            continue;
        const int height = bar->CalcFixedLayout(rect.Width()).cy;
        if (bar->IsAlignedBottom()) {
            bar->MoveWindow(CRect(rect.left, rect.bottom - height, rect.right, rect.bottom));
            rect.bottom -= height;
        } else {
            bar->MoveWindow(CRect(rect.left, rect.top, rect.right, rect.top + height));
            rect.top += height;
        }
    }
    if (rect.bottom < rect.top)
        rect.bottom = rect.top;
    if (HWND pane = GetDlgItem(AFX_IDW_PANE_FIRST))
        ::MoveWindow(pane, rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
}

void CFrameWnd::SetActiveView(CView* view, BOOL takeFocus)
{
    m_pActiveView = view;
    if (view != nullptr && takeFocus && ::GetFocus() != view->GetSafeHwnd())
        view->SetFocus();
}

CDocument* CFrameWnd::GetActiveDocument() const
{
    return m_pActiveView != nullptr ? m_pActiveView->GetDocument() : nullptr;
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL makeVisible)
{
    CView* first = nullptr;
    ForEachView(m_hWnd, [&first](CView* view) {
        if (first == nullptr)
            first = view;
        view->OnInitialUpdate();
    });
    if (m_pActiveView == nullptr && first != nullptr)
        SetActiveView(first, FALSE);
    RecalcLayout();
    if (makeVisible) {
        ShowWindow(SW_SHOW);
        UpdateWindow();
    }
}

BOOL CFrameWnd::OnCmdMsg(UINT id, int code, CCmdUI* cmdUI)
{
    if (m_pActiveView != nullptr && m_pActiveView->OnCmdMsg(id, code, cmdUI))
        return TRUE;
    return CWnd::OnCmdMsg(id, code, cmdUI);
}

void CFrameWnd::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    if (type != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(HWND oldFocus)
{
    if (m_pActiveView != nullptr)
        m_pActiveView->SetFocus();
    else
        CWnd::OnSetFocus(oldFocus);
}

void CFrameWnd::OnSysColorChange()
{
    // Child windows hear of the change only through their frame.
    CWnd::OnSysColorChange();
    SendMessageToDescendants(WM_SYSCOLORCHANGE);
}

void CFrameWnd::ViewGone(CView* view)
{
    if (m_pActiveView == view)
        m_pActiveView = nullptr;
}

void CFrameWnd::PostNcDestroy()
{
    if (m_bAutoDelete)
        delete this;
}

#include "framework/win/Wnd.h"

#include "framework/Map.h"
#include "framework/Section.h"
#include "framework/win/CmdUI.h"
#include "framework/win/DC.h"
#include "platform/ModuleState.h"
#include "framework/win/WndCreation.h"

#include <cstdio>
#include <exception>
#include <mutex>
#include <utility>

namespace {

// The objects of the windows that have one. A map in the process rather
// than a window property: the property costs a round trip to the window
// server on every message under Wine.
CSection& ObjectMapLock()
{
    static CSection section;
    return section;
}

CMap<HWND, HWND, CWnd*, CWnd*>& ObjectMap()
{
    static CMap<HWND, HWND, CWnd*, CWnd*> objects;
    return objects;
}

// The object waiting for the window that CreateEx is making on this thread.
thread_local CWnd* t_pendingWindow = nullptr;

// The innermost open handler error scope of this thread.
thread_local CHandlerErrorScope* t_errorScope = nullptr;

// What a message answers when its handler raised: the creation messages
// fail the creation, everything else reads as not handled.
LRESULT FailedResult(UINT message)
{
    switch (message) {
    case WM_NCCREATE:
        return FALSE;
    case WM_CREATE:
        return -1;
    default:
        return 0;
    }
}

// Signed client or screen coordinates packed in a message's lParam.
int XFrom(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
int YFrom(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

CPoint PointFrom(LPARAM lParam)
{
    return CPoint(XFrom(lParam), YFrom(lParam));
}

// The child window a parent notification comes from, or null when the
// message does not come from a child control.
HWND NotifyingChild(HWND parent, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return reinterpret_cast<HWND>(lParam);
    case WM_NOTIFY:
        return reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return item->CtlType == ODT_MENU ? nullptr : item->hwndItem;
    }
    case WM_MEASUREITEM: {
        const auto* item = reinterpret_cast<const MEASUREITEMSTRUCT*>(lParam);
        return item->CtlType == ODT_MENU ? nullptr : ::GetDlgItem(parent, static_cast<int>(wParam));
    }
    case WM_COMPAREITEM:
        return reinterpret_cast<const COMPAREITEMSTRUCT*>(lParam)->hwndItem;
    case WM_DELETEITEM:
        return reinterpret_cast<const DELETEITEMSTRUCT*>(lParam)->hwndItem;
    default:
        return nullptr;
    }
}

// Hooks the creation of the next window on this thread, so that its object
// is attached before the window's first message: WM_GETMINMAXINFO and
// WM_NCCREATE reach a top-level window before WM_CREATE, and a system
// control must be subclassed before it handles anything.
LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam);

} // namespace

CWndCreation::CWndCreation(CWnd* wnd)
    : m_wnd(wnd), m_hook(::SetWindowsHookExA(WH_CBT, CreationHook, nullptr, ::GetCurrentThreadId()))
{
    t_pendingWindow = wnd;
    // A window that fails while it is being made is destroyed inside the
    // creation call; its PostNcDestroy waits until the call has returned.
    ++wnd->m_dispatchDepth;
}

CWndCreation::~CWndCreation()
{
    --m_wnd->m_dispatchDepth;
    t_pendingWindow = nullptr;
    if (m_hook)
        ::UnhookWindowsHookEx(m_hook);
}

bool CWndCreation::Take(HWND hWnd)
{
    CWnd* wnd = t_pendingWindow;
    t_pendingWindow = nullptr;
    wnd->AttachObject(hWnd, true);
    try {
        wnd->PreSubclassWindow();
    } catch (...) {
        CHandlerErrorScope::Keep(std::current_exception());
        return false;
    }
    return true;
}

namespace {

LRESULT CALLBACK CreationHook(int code, WPARAM wParam, LPARAM lParam)
{
    // A non-zero answer makes the system abandon the window.
    if (code == HCBT_CREATEWND && t_pendingWindow != nullptr && !CWndCreation::Take(reinterpret_cast<HWND>(wParam)))
        return 1;
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

CHandlerErrorScope::CHandlerErrorScope() : m_outer(t_errorScope)
{
    t_errorScope = this;
}

CHandlerErrorScope::~CHandlerErrorScope()
{
    t_errorScope = m_outer;
}

bool CHandlerErrorScope::Keep(std::exception_ptr error)
{
    if (t_errorScope == nullptr)
        return false;
    if (t_errorScope->m_error == nullptr)
        t_errorScope->m_error = std::move(error);
    return true;
}

void CHandlerErrorScope::Rethrow()
{
    if (m_error != nullptr)
        std::rethrow_exception(std::exchange(m_error, nullptr));
}

// ------------------------------------------------------------ attachment

CWnd::~CWnd()
{
    // Handlers of a derived class are gone by now; the window's remaining
    // messages reach this class's handlers only.
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
        ::DestroyWindow(m_hWnd);
    if (m_hWnd != nullptr)
        DetachObject();
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (hWnd == nullptr)
        return nullptr;
    CSectionLock lock(ObjectMapLock());
    CWnd* wnd = nullptr;
    return ObjectMap().Lookup(hWnd, wnd) ? wnd : nullptr;
}

void CWnd::AttachObject(HWND hWnd, bool takeMessages)
{
    {
        CSectionLock lock(ObjectMapLock());
        ObjectMap().SetAt(hWnd, this);
    }
    m_hWnd = hWnd;
    if (!takeMessages)
        return;
    const auto current = reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC));
    if (current == StaticWindowProc) {
        // A window of our own class: its own processing is the default.
        m_pfnSuper = ::DefWindowProcA;
    } else {
        m_pfnSuper = current;
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StaticWindowProc));
    }
}

void CWnd::DetachObject()
{
    if (m_hWnd != nullptr) {
        CSectionLock lock(ObjectMapLock());
        CWnd* attached = nullptr;
        if (ObjectMap().Lookup(m_hWnd, attached) && attached == this)
            ObjectMap().RemoveKey(m_hWnd);
    }
    m_hWnd = nullptr;
    m_pfnSuper = nullptr;
}

BOOL CWnd::Attach(HWND hWnd)
{
    if (hWnd == nullptr || m_hWnd != nullptr || FromHandlePermanent(hWnd) != nullptr)
        return FALSE;
    AttachObject(hWnd, false);
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (m_pfnSuper != nullptr)
        return UnsubclassWindow();
    DetachObject();
    return hWnd;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (hWnd == nullptr || m_hWnd != nullptr || !::IsWindow(hWnd) || FromHandlePermanent(hWnd) != nullptr)
        return FALSE;
    AttachObject(hWnd, true);
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    if (parent == nullptr)
        return FALSE;
    return SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id)));
}

HWND CWnd::UnsubclassWindow()
{
    HWND hWnd = m_hWnd;
    if (hWnd == nullptr)
        return nullptr;
    // Put the previous procedure back only when nobody subclassed the window
    // after us; otherwise that later procedure still calls ours, which then
    // passes everything on (the object is gone from the window).
    if (m_pfnSuper != nullptr && m_pfnSuper != ::DefWindowProcA &&
        reinterpret_cast<WNDPROC>(::GetWindowLongPtrA(hWnd, GWLP_WNDPROC)) == StaticWindowProc)
        ::SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    DetachObject();
    return hWnd;
}

// -------------------------------------------------------------- creation

const char* CWnd::RegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    // One class per combination; the name encodes it, as the system keeps
    // the registration for the life of the process.
    static thread_local char name[96];
    std::snprintf(name, sizeof name, "Orv:%p:%x:%p:%p:%p", static_cast<void*>(AfxGetLibraryHandle()),
                  classStyle, static_cast<void*>(cursor), static_cast<void*>(background),
                  static_cast<void*>(icon));
    WNDCLASSA existing {};
    if (!::GetClassInfoA(AfxGetLibraryHandle(), name, &existing)) {
        WNDCLASSA wc {};
        // Global, so that windows made with the application's instance
        // handle find it too.
        wc.style = classStyle | CS_GLOBALCLASS;
        wc.lpfnWndProc = StaticWindowProc;
        wc.hInstance = AfxGetLibraryHandle();
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.hIcon = icon;
        wc.lpszClassName = name;
        if (!::RegisterClassA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            return nullptr;
    }
    return name;
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    const RECT& rect, HWND parent, UINT_PTR id)
{
    if (m_hWnd != nullptr)
        return FALSE;
    CString defaultClass;
    if (className == nullptr) {
        defaultClass = RegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                        reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        className = defaultClass;
    }
    CREATESTRUCTA cs {};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = windowName;
    cs.style = style;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = parent;
    cs.hMenu = reinterpret_cast<HMENU>(id);
    cs.hInstance = AfxGetInstanceHandle();
    if (!PreCreateWindow(cs))
        return FALSE;

    CHandlerErrorScope errors;
    HWND hWnd = nullptr;
    {
        CWndCreation creation(this);
        if (!creation.Hooked())
            return FALSE;
        hWnd = ::CreateWindowExA(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                                 cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    }
    // A handler that raised during creation made the creation fail; the
    // window is gone by now (this object may be too) and the caller gets
    // the exception.
    const BOOL created = FinishCreation(hWnd);
    errors.Rethrow();
    return created;
}

BOOL CWnd::FinishCreation(HWND created)
{
    if (created != nullptr)
        return TRUE;
    if (m_pendingNcDestroy) {
        // The window failed in WM_NCCREATE or WM_CREATE and is gone.
        m_pendingNcDestroy = false;
        PostNcDestroy(); // may delete this
        return FALSE;
    }
    if (m_hWnd != nullptr && !::IsWindow(m_hWnd))
        DetachObject();
    return FALSE;
}

BOOL CWnd::Create(const char* className, const char* windowName, DWORD style, const RECT& rect,
                  CWnd* parent, UINT id)
{
    return CreateEx(0, className, windowName, style | WS_CHILD, rect, parent ? parent->m_hWnd : nullptr, id);
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTA&)
{
    return TRUE;
}

void CWnd::PreSubclassWindow()
{
}

void CWnd::PostNcDestroy()
{
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

// -------------------------------------------------------------- dispatch

LRESULT CALLBACK CWnd::StaticWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandlePermanent(hWnd);
    if (wnd == nullptr)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    return wnd->Dispatch(message, wParam, lParam);
}

// Runs one message through the object. The object outlives the message even
// when a handler destroys the window: the window is detached on
// WM_NCDESTROY, but PostNcDestroy (which may delete the object) waits until
// the outermost message of this object has returned.
LRESULT CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam)
{
    const MSG saved = m_currentMsg;
    m_currentMsg = MSG {m_hWnd, message, wParam, lParam, 0, {0, 0}};
    ++m_dispatchDepth;

    LRESULT result = 0;
    bool failed = false;
    try {
        if (!ReflectToChild(message, wParam, lParam, result))
            result = WindowProc(message, wParam, lParam);
    } catch (...) {
        // An exception must not unwind through the system's frames: it is
        // kept for the caller of the creation or modal loop that led here,
        // and the message fails as the system expects.
        CHandlerErrorScope::Keep(std::current_exception());
        result = FailedResult(message);
        failed = true;
    }
    // A dialog cannot fail its initialisation by its answer; it is taken
    // down instead.
    if (failed && message == WM_INITDIALOG && m_hWnd != nullptr)
        ::DestroyWindow(m_hWnd);
    if (message == WM_NCDESTROY && m_hWnd != nullptr) {
        DetachObject();
        m_pendingNcDestroy = true;
    }

    m_currentMsg = saved;
    if (--m_dispatchDepth == 0 && m_pendingNcDestroy) {
        m_pendingNcDestroy = false;
        PostNcDestroy();
    }
    return result;
}

bool CWnd::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    if (message == WM_COMMAND && lParam == 0)
        return false; // a menu command or an accelerator
    HWND child = NotifyingChild(m_hWnd, message, wParam, lParam);
    if (child == nullptr || child == m_hWnd)
        return false;
    CWnd* childWnd = FromHandlePermanent(child);
    if (childWnd == nullptr)
        return false;
    LRESULT childResult = 0;
    if (!childWnd->OnChildNotify(message, wParam, lParam, &childResult))
        return false;
    result = childResult;
    return true;
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != nullptr)
        return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_currentMsg.message, m_currentMsg.wParam, m_currentMsg.lParam);
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam));
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_NCDESTROY:
        // The window's own processing always sees its last message, so that
        // a control frees what it allocated.
        OnNcDestroy();
        return Default();
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_NCPAINT:
        OnNcPaint();
        return 0;
    case WM_ERASEBKGND: {
        CDCHandle dc(reinterpret_cast<HDC>(wParam));
        return OnEraseBkgnd(&dc);
    }
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_MOVE:
        OnMove(XFrom(lParam), YFrom(lParam));
        return 0;
    case WM_TIMER:
        OnTimer(wParam);
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), PointFrom(lParam));
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), PointFrom(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), PointFrom(lParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(static_cast<UINT>(wParam), PointFrom(lParam));
        return 0;
    case WM_RBUTTONDOWN:
        OnRButtonDown(static_cast<UINT>(wParam), PointFrom(lParam));
        return 0;
    case WM_RBUTTONUP:
        OnRButtonUp(static_cast<UINT>(wParam), PointFrom(lParam));
        return 0;
    case WM_SETFOCUS:
        OnSetFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_KEYUP:
        OnKeyUp(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_CHAR:
        OnChar(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_GETDLGCODE:
        return OnGetDlgCode();
    case WM_ENABLE:
        OnEnable(static_cast<BOOL>(wParam));
        return 0;
    case WM_SHOWWINDOW:
        OnShowWindow(static_cast<BOOL>(wParam), static_cast<UINT>(lParam));
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(reinterpret_cast<HWND>(wParam), PointFrom(lParam));
        return 0;
    case WM_SETCURSOR:
        return OnSetCursor(reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam));
    case WM_NCHITTEST:
        return OnNcHitTest(PointFrom(lParam));
    case WM_CAPTURECHANGED:
        OnCaptureChanged(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_HSCROLL:
        OnHScroll(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_SYSCOLORCHANGE:
        OnSysColorChange();
        return 0;
    case WM_THEMECHANGED:
        return OnThemeChanged();
    case WM_COMMAND:
        if (OnCommand(wParam, lParam))
            return 0;
        // Menu items (code 0), accelerators (1) and button clicks (0) run
        // the command's registered handler.
        if (HIWORD(wParam) <= 1 && OnCmdMsg(LOWORD(wParam), CN_COMMAND, nullptr))
            return 0;
        return Default();
    case WM_NOTIFY: {
        LRESULT result = 0;
        return OnNotify(wParam, lParam, &result) ? result : Default();
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
        CDCHandle dc(reinterpret_cast<HDC>(wParam));
        return reinterpret_cast<LRESULT>(OnCtlColor(&dc, reinterpret_cast<HWND>(lParam), message - WM_CTLCOLORMSGBOX));
    }
    case WM_DRAWITEM:
        OnDrawItem(static_cast<int>(wParam), reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_MEASUREITEM:
        OnMeasureItem(static_cast<int>(wParam), reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
        return TRUE;
    default:
        return DefWindowProc(message, wParam, lParam);
    }
}

// ------------------------------------------------------ default handlers

int CWnd::OnCreate(CREATESTRUCTA*) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnNcDestroy() {}
void CWnd::OnClose() { Default(); }
void CWnd::OnPaint() { Default(); }
void CWnd::OnNcPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC*) { return static_cast<BOOL>(Default()); }
void CWnd::OnSize(UINT, int, int) { Default(); }
void CWnd::OnMove(int, int) { Default(); }
void CWnd::OnTimer(UINT_PTR) { Default(); }
void CWnd::OnMouseMove(UINT, CPoint) { Default(); }
void CWnd::OnMouseLeave() { Default(); }
void CWnd::OnLButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnLButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnLButtonDblClk(UINT, CPoint) { Default(); }
void CWnd::OnRButtonDown(UINT, CPoint) { Default(); }
void CWnd::OnRButtonUp(UINT, CPoint) { Default(); }
void CWnd::OnSetFocus(HWND) { Default(); }
void CWnd::OnKillFocus(HWND) { Default(); }
void CWnd::OnKeyDown(UINT, UINT, UINT) { Default(); }
void CWnd::OnKeyUp(UINT, UINT, UINT) { Default(); }
void CWnd::OnChar(UINT, UINT, UINT) { Default(); }
UINT CWnd::OnGetDlgCode() { return static_cast<UINT>(Default()); }
void CWnd::OnEnable(BOOL) { Default(); }
void CWnd::OnShowWindow(BOOL, UINT) { Default(); }
void CWnd::OnContextMenu(HWND, CPoint) { Default(); }
BOOL CWnd::OnSetCursor(HWND, UINT, UINT) { return static_cast<BOOL>(Default()); }
LRESULT CWnd::OnNcHitTest(CPoint) { return Default(); }
void CWnd::OnCaptureChanged(HWND) { Default(); }
void CWnd::OnHScroll(UINT, UINT, HWND) { Default(); }
void CWnd::OnVScroll(UINT, UINT, HWND) { Default(); }
void CWnd::OnSysColorChange() { Default(); }
LRESULT CWnd::OnThemeChanged() { return Default(); }
BOOL CWnd::OnCommand(WPARAM, LPARAM) { return FALSE; }
BOOL CWnd::OnNotify(WPARAM, LPARAM, LRESULT*) { return FALSE; }
HBRUSH CWnd::OnCtlColor(CDC*, HWND, UINT) { return reinterpret_cast<HBRUSH>(Default()); }
void CWnd::OnDrawItem(int, DRAWITEMSTRUCT*) { Default(); }
void CWnd::OnMeasureItem(int, MEASUREITEMSTRUCT*) { Default(); }

// ------------------------------------------------------ command routing

const CRuntimeClass* CWnd::GetRuntimeClass() const
{
    return nullptr;
}

void CWnd::SetCommandHandler(UINT id, std::function<void()> handler)
{
    if (!m_commands)
        m_commands = std::make_unique<CCommandHandlers>();
    m_commands->SetHandler(id, std::move(handler));
}

void CWnd::SetCommandUpdateHandler(UINT id, std::function<void(CCmdUI*)> handler)
{
    if (!m_commands)
        m_commands = std::make_unique<CCommandHandlers>();
    m_commands->SetUpdateHandler(id, std::move(handler));
}

BOOL CWnd::OnCmdMsg(UINT id, int code, CCmdUI* cmdUI)
{
    return m_commands ? m_commands->Route(id, code, cmdUI) : FALSE;
}

namespace {

void SendToChildren(HWND parent, UINT message, WPARAM wParam, LPARAM lParam)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        ::SendMessageA(child, message, wParam, lParam);
        // The handler may have destroyed it.
        if (::IsWindow(child))
            SendToChildren(child, message, wParam, lParam);
        else
            break;
    }
}

} // namespace

void CWnd::SendMessageToDescendants(UINT message, WPARAM wParam, LPARAM lParam) const
{
    if (m_hWnd != nullptr)
        SendToChildren(m_hWnd, message, wParam, lParam);
}

// ------------------------------------------------------------- forwards

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) const
{
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::IsWindow() const { return m_hWnd != nullptr && ::IsWindow(m_hWnd); }
HWND CWnd::GetParent() const { return ::GetParent(m_hWnd); }
HWND CWnd::GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLongPtrA(m_hWnd, GWL_EXSTYLE)); }

namespace {

BOOL ModifyLong(HWND hWnd, int index, DWORD remove, DWORD add, UINT flags)
{
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrA(hWnd, index));
    const DWORD changed = (style & ~remove) | add;
    if (changed == style)
        return FALSE;
    ::SetWindowLongPtrA(hWnd, index, static_cast<LONG_PTR>(changed));
    if (flags != 0)
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    return TRUE;
}

} // namespace

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) { return ModifyLong(m_hWnd, GWL_STYLE, remove, add, flags); }
BOOL CWnd::ModifyStyleEx(DWORD remove, DWORD add, UINT flags) { return ModifyLong(m_hWnd, GWL_EXSTYLE, remove, add, flags); }

void CWnd::SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }

CString CWnd::GetWindowText() const { return ReadWindowText(m_hWnd); }

int CWnd::GetWindowTextLength() const { return ::GetWindowTextLengthA(m_hWnd); }

CRect CWnd::GetClientRect() const
{
    CRect rect;
    ::GetClientRect(m_hWnd, &rect);
    return rect;
}

CRect CWnd::GetWindowRect() const
{
    CRect rect;
    ::GetWindowRect(m_hWnd, &rect);
    return rect;
}

void CWnd::ScreenToClient(POINT* point) const { ::ScreenToClient(m_hWnd, point); }
void CWnd::ScreenToClient(RECT* rect) const { ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(rect), 2); }
void CWnd::ClientToScreen(POINT* point) const { ::ClientToScreen(m_hWnd, point); }
void CWnd::ClientToScreen(RECT* rect) const { ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT*>(rect), 2); }

BOOL CWnd::MoveWindow(const RECT& rect, BOOL repaint)
{
    return ::MoveWindow(m_hWnd, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, repaint);
}

BOOL CWnd::SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags)
{
    return ::SetWindowPos(m_hWnd, insertAfter, x, y, cx, cy, flags);
}

BOOL CWnd::ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(const RECT* rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }
BOOL CWnd::RedrawWindow(const RECT* rect, HRGN region, UINT flags) { return ::RedrawWindow(m_hWnd, rect, region, flags); }
void CWnd::SetRedraw(BOOL redraw) { ::SendMessageA(m_hWnd, WM_SETREDRAW, redraw, 0); }
HWND CWnd::SetFocus() { return ::SetFocus(m_hWnd); }
UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse) { return ::SetTimer(m_hWnd, id, elapse, nullptr); }
BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
void CWnd::SetFont(HFONT font, BOOL redraw) { ::SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), redraw); }
HFONT CWnd::GetFont() const { return reinterpret_cast<HFONT>(::SendMessageA(m_hWnd, WM_GETFONT, 0, 0)); }
HMENU CWnd::GetMenu() const { return ::GetMenu(m_hWnd); }
HMENU CWnd::GetSystemMenu(BOOL revert) const { return ::GetSystemMenu(m_hWnd, revert); }
void CWnd::SetDlgItemText(int id, const char* text) { ::SetDlgItemTextA(m_hWnd, id, text); }

CString CWnd::GetDlgItemText(int id) const
{
    return ReadWindowText(::GetDlgItem(m_hWnd, id));
}

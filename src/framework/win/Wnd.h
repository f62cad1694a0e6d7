// CWnd: a window handle with the C++ object that handles its messages.
//
// A window gets its object in one of three ways: it is created through
// Create/CreateEx (the object is attached before the window receives its
// first message), an existing window is subclassed (SubclassWindow,
// SubclassDlgItem), or a handle is only attached without taking its messages
// (Attach). The object is found from the handle through a window property, so
// any window class, system controls included, can carry one.
//
// Messages reach WindowProc, whose switch calls the typed virtual handlers
// below. A derived class either overrides a typed handler or overrides
// WindowProc with its own switch and calls the base for everything else.
// Notifications that a child sends its parent (WM_COMMAND from a control,
// WM_NOTIFY, WM_DRAWITEM, WM_MEASUREITEM, WM_COMPAREITEM, WM_DELETEITEM,
// WM_CTLCOLOR*, scroll messages) are first offered to the child's own object
// through OnChildNotify; the parent sees them only when the child declines.
//
// A handler may destroy its own window: the object stays usable until the
// outermost of its running handlers returns, and only then PostNcDestroy
// runs. An object must not be deleted by other means while one of its
// handlers runs.
//
// An exception raised by a handler never unwinds through the system's
// frames. While a window is being created (CreateEx, a dialog's creation) or
// a modal dialog runs, it fails that call and is rethrown from it once the
// system call has returned; at other times it is dropped and the message
// answers as not handled.
#pragma once

#include "OrvApi.h"
#include "framework/Geometry.h"
#include "framework/String.h"
#include "base/Types.h"
#include "framework/win/CmdUI.h"
#include "platform/win32/WindowText.h"

#include <functional>
#include <memory>

class CDC;
class CRuntimeClass;

class ORV_API CWnd {
public:
    CWnd() = default;
    // Destroys the window when the object still has one.
    virtual ~CWnd();

    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const noexcept { return m_hWnd; }
    operator HWND() const noexcept { return m_hWnd; }

    // The object attached to a window, or null when it has none.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // A window class of this library with the given class style, cursor,
    // background and icon, registered on first use; returns its name.
    static const char* RegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr,
                                        HBRUSH background = nullptr, HICON icon = nullptr);

    // Creates the window and attaches this object before the window's first
    // message. For a child window id is the control identifier; for a
    // top-level window it is a menu handle or 0. A null class name uses the
    // library's plain window class. An exception raised by a handler during
    // the creation fails it (the window is destroyed) and is rethrown here
    // once the system call has returned.
    virtual BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                          const RECT& rect, HWND parent, UINT_PTR id);
    virtual BOOL Create(const char* className, const char* windowName, DWORD style, const RECT& rect,
                        CWnd* parent, UINT id);
    virtual BOOL DestroyWindow();

    // Attaches or detaches the handle without taking the window's messages.
    // Attach fails when the window already has an object.
    BOOL Attach(HWND hWnd);
    HWND Detach();
    // Takes the window's messages; fails when it already has an object.
    BOOL SubclassWindow(HWND hWnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    // Gives the messages back to the window's previous procedure.
    HWND UnsubclassWindow();

    // Called before the window is created; may change the creation data.
    // Returning FALSE cancels the creation.
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    // Called when the object takes a window's messages, after Create as
    // well as after SubclassWindow.
    virtual void PreSubclassWindow();
    // Called once the window is gone and no handler of this object is still
    // running. Self-deleting windows override it with `delete this`.
    virtual void PostNcDestroy();
    // Called for each message of the application's loop before it is
    // translated and dispatched; TRUE means the message was used.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // The message switch; see the file comment.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window's own processing of a message: the previous window
    // procedure of a subclassed window, else the system default.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // DefWindowProc for the message being handled right now.
    LRESULT Default();
    // A notification from this window to its parent, offered to this object
    // first. Return TRUE and set *result to keep it from the parent.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // The class this object was made from by name (see RuntimeClass.h), or
    // null for a class that is not dynamically creatable.
    virtual const CRuntimeClass* GetRuntimeClass() const;

    // Command routing (see CmdUI.h). A handler registered for a command id
    // runs when the window gets that command (a menu item, an accelerator or
    // a button click); an update handler sets the state of the items that
    // carry the id. An empty function removes the handler.
    void SetCommandHandler(UINT id, std::function<void()> handler);
    void SetCommandUpdateHandler(UINT id, std::function<void(CCmdUI*)> handler);
    // Runs (CN_COMMAND), updates (CN_UPDATE_COMMAND_UI) or only looks for
    // (CN_QUERY_COMMAND) the handler of the command; TRUE when there is one.
    // A window that passes commands on (a frame to its view) overrides it.
    virtual BOOL OnCmdMsg(UINT id, int code, CCmdUI* cmdUI);
    // Sends the message to every window below this one, children first in
    // their order, then their children.
    void SendMessageToDescendants(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    // Thin forwards to the system.
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    BOOL IsWindow() const;
    HWND GetParent() const;
    HWND GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    // Removes and adds style bits; with non-zero flags the frame is
    // refreshed with SetWindowPos. Returns FALSE when nothing changed.
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);
    void SetWindowText(const char* text);
    CString GetWindowText() const;
    int GetWindowTextLength() const;
    CRect GetClientRect() const;
    CRect GetWindowRect() const;
    void ScreenToClient(POINT* point) const;
    void ScreenToClient(RECT* rect) const;
    void ClientToScreen(POINT* point) const;
    void ClientToScreen(RECT* rect) const;
    BOOL MoveWindow(const RECT& rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    BOOL IsWindowEnabled() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE);
    void UpdateWindow();
    BOOL RedrawWindow(const RECT* rect = nullptr, HRGN region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    void SetRedraw(BOOL redraw = TRUE);
    HWND SetFocus();
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse);
    BOOL KillTimer(UINT_PTR id);
    void SetFont(HFONT font, BOOL redraw = TRUE);
    HFONT GetFont() const;
    HMENU GetMenu() const;
    HMENU GetSystemMenu(BOOL revert) const;
    void SetDlgItemText(int id, const char* text);
    CString GetDlgItemText(int id) const;

protected:
    // Typed handlers. Each default calls Default(), so an override that
    // wants the window's own behaviour as well calls the base.
    virtual int OnCreate(CREATESTRUCTA* cs);
    virtual void OnDestroy();
    // The last message of the window; the object is still attached.
    virtual void OnNcDestroy();
    virtual void OnClose();
    virtual void OnPaint();
    virtual void OnNcPaint();
    virtual BOOL OnEraseBkgnd(CDC* dc);
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnMove(int x, int y);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnMouseMove(UINT flags, CPoint point);
    virtual void OnMouseLeave();
    virtual void OnLButtonDown(UINT flags, CPoint point);
    virtual void OnLButtonUp(UINT flags, CPoint point);
    virtual void OnLButtonDblClk(UINT flags, CPoint point);
    virtual void OnRButtonDown(UINT flags, CPoint point);
    virtual void OnRButtonUp(UINT flags, CPoint point);
    virtual void OnSetFocus(HWND oldFocus);
    virtual void OnKillFocus(HWND newFocus);
    virtual void OnKeyDown(UINT key, UINT repeat, UINT flags);
    virtual void OnKeyUp(UINT key, UINT repeat, UINT flags);
    virtual void OnChar(UINT ch, UINT repeat, UINT flags);
    virtual UINT OnGetDlgCode();
    virtual void OnEnable(BOOL enable);
    virtual void OnShowWindow(BOOL show, UINT status);
    virtual void OnContextMenu(HWND wnd, CPoint screenPoint);
    virtual BOOL OnSetCursor(HWND wnd, UINT hitTest, UINT message);
    virtual LRESULT OnNcHitTest(CPoint screenPoint);
    virtual void OnCaptureChanged(HWND newCapture);
    virtual void OnHScroll(UINT code, UINT pos, HWND scrollBar);
    virtual void OnVScroll(UINT code, UINT pos, HWND scrollBar);
    virtual void OnSysColorChange();
    virtual LRESULT OnThemeChanged();
    // Return TRUE when the command was handled; the default is FALSE, which
    // passes a menu, accelerator or click command to OnCmdMsg and anything
    // else to the window's own processing.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual HBRUSH OnCtlColor(CDC* dc, HWND wnd, UINT ctlType);
    virtual void OnDrawItem(int id, DRAWITEMSTRUCT* item);
    virtual void OnMeasureItem(int id, MEASUREITEMSTRUCT* item);

    // Completes CreateEx or a dialog's creation once the creation call has
    // returned. When the window failed while being made, runs PostNcDestroy
    // (which may delete the object) and returns FALSE.
    BOOL FinishCreation(HWND created);

    HWND m_hWnd = nullptr;

private:
    friend class CWndCreation;
    static LRESULT CALLBACK StaticWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void AttachObject(HWND hWnd, bool takeMessages);
    void DetachObject();
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

    WNDPROC m_pfnSuper = nullptr;
    std::unique_ptr<CCommandHandlers> m_commands;
    MSG m_currentMsg {};
    int m_dispatchDepth = 0;
    bool m_pendingNcDestroy = false;
};

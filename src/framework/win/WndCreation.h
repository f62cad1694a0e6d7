// CWndCreation: attaches an object to the next window made on this thread,
// before that window's first message. Internal to the window layer.
#pragma once

#include "base/Types.h"

class CWnd;

// Hooks window creation on this thread for the lifetime of the object. The
// first window created meanwhile is subclassed by the given object, which
// then gets PreSubclassWindow.
class CWndCreation {
public:
    explicit CWndCreation(CWnd* wnd);
    ~CWndCreation();
    CWndCreation(const CWndCreation&) = delete;
    CWndCreation& operator=(const CWndCreation&) = delete;

    bool Hooked() const { return m_hook != nullptr; }
    static void Take(HWND hWnd);

private:
    CWnd* m_wnd;
    HHOOK m_hook;
};

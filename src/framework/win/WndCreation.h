// CWndCreation: attaches an object to the next window made on this thread,
// before that window's first message; CHandlerErrorScope: keeps an exception
// raised by a message handler until the system call that led to the handler
// has returned. Internal to the window layer.
#pragma once

#include "base/Types.h"

#include <exception>

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
    // Attaches the pending object; false when its PreSubclassWindow raised.
    static bool Take(HWND hWnd);

private:
    CWnd* m_wnd;
    HHOOK m_hook;
};

// An exception must not unwind through the system's frames, so the
// dispatcher catches it and hands it to the innermost scope open on this
// thread. The scope's owner (window creation, a modal loop) rethrows it once
// the system call it made has returned. The first exception is kept; later
// ones, raised while the failing window is being taken down, are dropped.
class CHandlerErrorScope {
public:
    CHandlerErrorScope();
    ~CHandlerErrorScope();
    CHandlerErrorScope(const CHandlerErrorScope&) = delete;
    CHandlerErrorScope& operator=(const CHandlerErrorScope&) = delete;

    // Keeps the exception in the innermost open scope; false when no scope
    // is open on this thread.
    static bool Keep(std::exception_ptr error);
    bool Failed() const noexcept { return m_error != nullptr; }
    // Rethrows the kept exception, if any.
    void Rethrow();

private:
    CHandlerErrorScope* m_outer;
    std::exception_ptr m_error;
};

// Values read from a window once, for the rest of a function: CClientRect,
// CWindowRect, CWindowText, CWindowClass; and CWindowRedraw, which suspends a
// window's painting for a scope.
#pragma once

#include "OrvApi.h"
#include "framework/Geometry.h"
#include "framework/String.h"
#include "base/Types.h"

// The window's client rectangle; four zeros when it cannot be read.
class ORV_API CClientRect : public CRect {
public:
    explicit CClientRect(HWND wnd);
};

// The window's rectangle in screen coordinates; four zeros when it cannot be
// read.
class ORV_API CWindowRect : public CRect {
public:
    explicit CWindowRect(HWND wnd);
    // The same in the client coordinates of relativeTo (a parent, say).
    CWindowRect(HWND wnd, HWND relativeTo);
    CWindowRect& operator=(const RECT& rect);
};

// The window's text, in a zero-terminated buffer of its own.
class ORV_API CWindowText {
public:
    explicit CWindowText(HWND wnd);
    explicit CWindowText(const char* text);
    ~CWindowText();

    CWindowText(const CWindowText&) = delete;
    CWindowText& operator=(const CWindowText&) = delete;

    // The length up to the first zero.
    int GetLength() const;
    operator const char*() const noexcept { return m_pText; }

private:
    char* m_pText;
};

// The window's class name (at most 255 characters); empty when it cannot be
// read.
class ORV_API CWindowClass {
public:
    explicit CWindowClass(HWND wnd);
    CWindowClass(const CWindowClass& other) = default;
    CWindowClass& operator=(const CWindowClass& other) = default;

    int GetLength() const noexcept { return m_text.GetLength(); }
    operator const char*() const noexcept { return m_text.GetString(); }

private:
    CString m_text;
};

// Turns the window's redrawing off; the destructor turns it on again and
// invalidates the whole window with erasing, so that it repaints once.
class ORV_API CWindowRedraw {
public:
    explicit CWindowRedraw(HWND wnd);
    ~CWindowRedraw();

    CWindowRedraw(const CWindowRedraw&) = delete;
    CWindowRedraw& operator=(const CWindowRedraw&) = delete;

private:
    HWND m_hWnd;
};

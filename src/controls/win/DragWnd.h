// Feedback windows shown while something is dragged across a window, such as
// a grid's column: CDividerWnd, the pair of arrows around the place where the
// dragged item would land, and CDragWnd, the half-transparent box with the
// dragged item's caption that follows the mouse.
//
// Both are disabled tool windows that never take the focus. Both must be made
// with `new`: destroying the window deletes the object.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "framework/win/Gdi.h"
#include "framework/win/Wnd.h"

class ORV_API CDividerWnd : public CWnd {
public:
    enum { kWidth = 12, kArrowSpace = 20 };

    // Makes the marker's brush and registers the window class
    // "CDividerWndClass" when it is not registered yet; a failed
    // registration raises CResourceException.
    explicit CDividerWnd(COLORREF color, BOOL topmost = FALSE);
    ~CDividerWnd() override;

    // A hidden pop-up 12 pixels wide and height + 20 high, shaped as an arrow
    // pointing down at its top and one pointing up at its bottom; nothing
    // between them is shown. FALSE, with nothing made, for a negative height
    // or when the window cannot be created.
    BOOL Create(int height);

    using CWnd::SetWindowPos;
    // Shows the marker with its centre line at x and its middle at y,
    // without activating it, and paints it at once.
    BOOL SetWindowPos(int x, int y);

    int GetHeight() const { return m_nHeight; }

protected:
    BOOL OnEraseBkgnd(CDC* dc) override;
    void PostNcDestroy() override;

private:
    CBrush m_brush;
    // Owned only until the window takes it: once SetWindowRgn succeeds the
    // system deletes the region with the window.
    CRgn m_rgnShape;
    int m_nHeight { 0 };
    BOOL m_bTopmost;
};

class ORV_API CDragWnd : public CWnd {
public:
    // Registers the window class "CDragWndClass" when it is not registered
    // yet; a failed registration raises CResourceException.
    CDragWnd();
    ~CDragWnd() override;

    // A hidden, always-on-top pop-up at the rectangle, showing the caption in
    // the font (not owned; the device context's default font when null),
    // half transparent where the system offers layered windows. 1 on
    // success, 0 when the window cannot be created.
    BOOL Create(const RECT& rect, CFont* font, const char* caption);
    BOOL Create(const RECT& rect, HFONT font, const char* caption);

    using CWnd::SetWindowPos;
    // Moves the top-left corner to x, y above all non-topmost windows
    // without activating it, shows or hides it, and paints it at once.
    BOOL SetWindowPos(int x, int y, BOOL show);

    const CString& GetCaption() const { return m_strCaption; }

protected:
    BOOL OnEraseBkgnd(CDC* dc) override;
    void OnPaint() override;
    void PostNcDestroy() override;

private:
    CString m_strCaption;
    HFONT m_hFont { nullptr };
};

// Device contexts: CDC and its scope objects CPaintDC (a paint cycle),
// CClientDC and CWindowDC (a window's client area or whole window), CMemDC
// (draws off-screen and copies the result to its target when it goes) with
// CDrawBuffer (an off-screen bitmap kept between paints),
// CDCHandle (a DC borrowed from a message) and CSelectScope (an object
// selected into a DC for a scope).
#pragma once

#include "OrvApi.h"
#include "framework/Geometry.h"
#include "framework/String.h"
#include "framework/win/Gdi.h"
#include "base/Types.h"

#include <optional>

class ORV_API CDC {
public:
    CDC() = default;
    // Deletes a DC this object made (CreateCompatibleDC); an attached DC is
    // only let go.
    virtual ~CDC();

    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    HDC GetSafeHdc() const noexcept { return m_hDC; }
    operator HDC() const noexcept { return m_hDC; }
    // Borrows a DC owned elsewhere.
    BOOL Attach(HDC dc);
    HDC Detach();
    BOOL CreateCompatibleDC(HDC dc);
    BOOL DeleteDC();

    int SaveDC();
    BOOL RestoreDC(int saved);
    // Selection returns the handle it replaced, to select back later.
    HGDIOBJ SelectObject(HGDIOBJ object);
    HPEN SelectObject(const CPen& pen);
    HBRUSH SelectObject(const CBrush& brush);
    HFONT SelectObject(const CFont& font);
    HBITMAP SelectObject(const CBitmap& bitmap);
    HGDIOBJ SelectStockObject(int index);

    COLORREF SetTextColor(COLORREF color);
    COLORREF SetBkColor(COLORREF color);
    int SetBkMode(int mode);
    COLORREF GetPixel(int x, int y) const;
    COLORREF SetPixel(int x, int y, COLORREF color);

    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y);
    BOOL Rectangle(const RECT& rect);
    BOOL Ellipse(const RECT& rect);
    BOOL Polygon(const POINT* points, int count);
    BOOL Polyline(const POINT* points, int count);
    void FillSolidRect(const RECT& rect, COLORREF color);
    void FillRect(const RECT& rect, HBRUSH brush);
    void FrameRect(const RECT& rect, HBRUSH brush);
    // A frame of one pixel, top and left in one colour, bottom and right in
    // the other.
    void Draw3dRect(const RECT& rect, COLORREF topLeft, COLORREF bottomRight);
    BOOL DrawEdge(RECT* rect, UINT edge, UINT flags);
    BOOL DrawFrameControl(RECT* rect, UINT type, UINT state);
    void DrawFocusRect(const RECT& rect);
    BOOL FillRgn(HRGN region, HBRUSH brush);
    BOOL FrameRgn(HRGN region, HBRUSH brush, int width, int height);
    BOOL DrawIcon(int x, int y, HICON icon);

    int DrawText(const char* text, int count, RECT* rect, UINT format);
    int DrawText(const CString& text, RECT* rect, UINT format);
    BOOL TextOut(int x, int y, const char* text, int count);
    CSize GetTextExtent(const char* text, int count) const;
    BOOL GetTextMetrics(TEXTMETRICA* metrics) const;

    BOOL BitBlt(int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop);
    BOOL StretchBlt(int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                    int sourceWidth, int sourceHeight, DWORD rop);
    BOOL PatBlt(int x, int y, int width, int height, DWORD rop);

    int SelectClipRgn(HRGN region);
    int IntersectClipRect(const RECT& rect);
    int ExcludeClipRect(const RECT& rect);
    int GetClipBox(RECT* rect) const;
    int GetDeviceCaps(int index) const;

protected:
    HDC m_hDC = nullptr;
    bool m_bOwned = false;
};

// A DC owned elsewhere, such as the one a paint, erase or owner-draw message
// carries: it is drawn on and never deleted or released.
class CDCHandle : public CDC {
public:
    explicit CDCHandle(HDC dc) noexcept { m_hDC = dc; }
};

// Selects the object into the DC and selects back the object it replaced
// when the scope ends, on every path out of it. A null DC or object selects
// nothing.
class CSelectScope {
public:
    CSelectScope(HDC dc, HGDIOBJ object) noexcept
        : m_hDC(dc), m_hOld(dc != nullptr && object != nullptr ? ::SelectObject(dc, object) : nullptr)
    {
    }
    ~CSelectScope()
    {
        if (m_hOld != nullptr)
            ::SelectObject(m_hDC, m_hOld);
    }
    CSelectScope(const CSelectScope&) = delete;
    CSelectScope& operator=(const CSelectScope&) = delete;

    // Whether the object was selected.
    bool Selected() const noexcept { return m_hOld != nullptr; }

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};

// BeginPaint in the constructor, EndPaint in the destructor.
class ORV_API CPaintDC : public CDC {
public:
    explicit CPaintDC(HWND wnd);
    ~CPaintDC() override;

    const PAINTSTRUCT& GetPaintStruct() const noexcept { return m_ps; }

private:
    HWND m_hWnd;
    PAINTSTRUCT m_ps {};
};

class ORV_API CClientDC : public CDC {
public:
    explicit CClientDC(HWND wnd);
    ~CClientDC() override;

private:
    HWND m_hWnd;
};

class ORV_API CWindowDC : public CDC {
public:
    explicit CWindowDC(HWND wnd);
    ~CWindowDC() override;

private:
    HWND m_hWnd;
};

// A memory DC with a bitmap kept between paints, for a control that draws
// many small parts (rows, cells) off-screen: making a bitmap for each part
// costs more than drawing it. The bitmap is made compatible with the first
// target and grows to the largest part asked for.
class ORV_API CDrawBuffer {
public:
    CDrawBuffer() = default;
    CDrawBuffer(const CDrawBuffer&) = delete;
    CDrawBuffer& operator=(const CDrawBuffer&) = delete;

    // The memory DC, holding a bitmap of at least width x height; null when
    // the system cannot make them.
    HDC Prepare(HDC target, int width, int height);

private:
    CDC m_dc;
    CBitmap m_bitmap;
    CSize m_size;
    // Declared last, so that the bitmap is selected out before it goes.
    std::optional<CSelectScope> m_selection;
};

// Draws into a bitmap of the target rectangle's size, with the same logical
// coordinates as the target, and copies the bitmap to the target in the
// destructor. The bitmap is made for this paint, or borrowed from a
// CDrawBuffer kept by the caller. When no bitmap can be had it draws on the
// target itself.
class ORV_API CMemDC : public CDC {
public:
    CMemDC(CDC& target, const RECT& rect);
    CMemDC(CDC& target, const RECT& rect, CDrawBuffer& buffer);
    ~CMemDC() override;

private:
    HDC m_hTarget;
    CRect m_rect;
    bool m_bBuffered = false;
    CBitmap m_bitmap;
    // Declared after the bitmap, so that the bitmap is selected out before
    // it is deleted.
    std::optional<CSelectScope> m_bitmapSelection;
};

// GDI objects that own their handle: CGdiObject and its kinds CPen, CBrush,
// CFont, CRgn, CBitmap; and their borrowing counterparts CGdiObjectHandle,
// CPenHandle, CBrushHandle, CFontHandle, CBitmapHandle.
//
// An owning object deletes the handle it holds when it is destroyed or given
// another one. Attach takes ownership of a handle made elsewhere; Detach
// gives it up. A handle borrowed from the system (a stock object, a
// control's font) goes in a handle type, which never deletes it.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

class ORV_API CGdiObject {
public:
    CGdiObject() = default;
    virtual ~CGdiObject();

    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ GetSafeHandle() const noexcept { return m_hObject; }
    bool IsNull() const noexcept { return m_hObject == nullptr; }
    // Deletes the handle held before, then holds this one. FALSE for null.
    BOOL Attach(HGDIOBJ object);
    HGDIOBJ Detach();
    // Deletes the handle now; the object becomes empty.
    BOOL DeleteObject();
    int GetObject(int size, void* buffer) const;

protected:
    // Holds a newly made handle; FALSE when making it failed.
    BOOL Take(HGDIOBJ object);

    HGDIOBJ m_hObject = nullptr;
};

// A GDI handle owned elsewhere: the object names it and never deletes it.
template <class THandle>
class CGdiHandleT {
public:
    CGdiHandleT() = default;
    explicit CGdiHandleT(THandle handle) noexcept : m_handle(handle) {}

    THandle GetSafeHandle() const noexcept { return m_handle; }
    operator THandle() const noexcept { return m_handle; }
    bool IsNull() const noexcept { return m_handle == nullptr; }
    void Attach(THandle handle) noexcept { m_handle = handle; }
    THandle Detach() noexcept
    {
        THandle handle = m_handle;
        m_handle = nullptr;
        return handle;
    }

private:
    THandle m_handle = nullptr;
};

using CGdiObjectHandle = CGdiHandleT<HGDIOBJ>;
using CPenHandle = CGdiHandleT<HPEN>;
using CBrushHandle = CGdiHandleT<HBRUSH>;
using CFontHandle = CGdiHandleT<HFONT>;
using CBitmapHandle = CGdiHandleT<HBITMAP>;

// One of the system's stock objects (GetStockObject), borrowed.
inline CGdiObjectHandle StockObject(int index)
{
    return CGdiObjectHandle(::GetStockObject(index));
}

class ORV_API CPen : public CGdiObject {
public:
    CPen() = default;
    // A pen of the style, width and colour; check IsNull for failure.
    CPen(int style, int width, COLORREF color);

    operator HPEN() const noexcept { return static_cast<HPEN>(m_hObject); }
    BOOL CreatePen(int style, int width, COLORREF color);
};

class ORV_API CBrush : public CGdiObject {
public:
    CBrush() = default;
    explicit CBrush(COLORREF color);

    operator HBRUSH() const noexcept { return static_cast<HBRUSH>(m_hObject); }
    BOOL CreateSolidBrush(COLORREF color);
    BOOL CreateHatchBrush(int hatch, COLORREF color);
    BOOL CreatePatternBrush(HBITMAP bitmap);
};

class ORV_API CFont : public CGdiObject {
public:
    operator HFONT() const noexcept { return static_cast<HFONT>(m_hObject); }
    BOOL CreateFontIndirect(const LOGFONTA& logFont);
    // A font of the face and size in tenths of a point, for the screen.
    BOOL CreatePointFont(int pointSizeTenths, const char* faceName, HDC dc = nullptr);
    BOOL GetLogFont(LOGFONTA* logFont) const;
};

class ORV_API CRgn : public CGdiObject {
public:
    operator HRGN() const noexcept { return static_cast<HRGN>(m_hObject); }
    BOOL CreateRectRgn(int left, int top, int right, int bottom);
    BOOL CreateRectRgnIndirect(const RECT& rect);
    BOOL CreateRoundRectRgn(int left, int top, int right, int bottom, int widthEllipse, int heightEllipse);
    BOOL CreateEllipticRgn(int left, int top, int right, int bottom);
    BOOL CreatePolygonRgn(const POINT* points, int count, int fillMode);
    // Combines two regions into this one, which must already exist.
    // Returns the kind of the result (NULLREGION, SIMPLEREGION,
    // COMPLEXREGION) or ERROR.
    int CombineRgn(const CRgn* first, const CRgn* second, int mode);
    BOOL PtInRegion(int x, int y) const;
    int GetRgnBox(RECT* rect) const;
    int OffsetRgn(int dx, int dy);
};

class ORV_API CBitmap : public CGdiObject {
public:
    operator HBITMAP() const noexcept { return static_cast<HBITMAP>(m_hObject); }
    // Loads a bitmap from the module that holds it (see ModuleState.h).
    BOOL LoadBitmap(UINT id);
    BOOL LoadBitmap(const char* name);
    BOOL CreateCompatibleBitmap(HDC dc, int width, int height);
    BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
    BOOL GetBitmap(BITMAP* info) const;
};

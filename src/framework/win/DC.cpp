#include "framework/win/DC.h"

#include <algorithm>

CDC::~CDC()
{
    if (m_bOwned)
        DeleteDC();
}

BOOL CDC::Attach(HDC dc)
{
    if (dc == nullptr || m_hDC != nullptr)
        return FALSE;
    m_hDC = dc;
    m_bOwned = false;
    return TRUE;
}

HDC CDC::Detach()
{
    HDC dc = m_hDC;
    m_hDC = nullptr;
    m_bOwned = false;
    return dc;
}

BOOL CDC::CreateCompatibleDC(HDC dc)
{
    if (m_hDC != nullptr)
        return FALSE;
    m_hDC = ::CreateCompatibleDC(dc);
    m_bOwned = m_hDC != nullptr;
    return m_bOwned;
}

BOOL CDC::DeleteDC()
{
    if (m_hDC == nullptr || !m_bOwned)
        return FALSE;
    const BOOL deleted = ::DeleteDC(m_hDC);
    m_hDC = nullptr;
    m_bOwned = false;
    return deleted;
}

int CDC::SaveDC() { return ::SaveDC(m_hDC); }
BOOL CDC::RestoreDC(int saved) { return ::RestoreDC(m_hDC, saved); }
HGDIOBJ CDC::SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
HPEN CDC::SelectObject(const CPen& pen) { return static_cast<HPEN>(::SelectObject(m_hDC, pen)); }
HBRUSH CDC::SelectObject(const CBrush& brush) { return static_cast<HBRUSH>(::SelectObject(m_hDC, brush)); }
HFONT CDC::SelectObject(const CFont& font) { return static_cast<HFONT>(::SelectObject(m_hDC, font)); }
HBITMAP CDC::SelectObject(const CBitmap& bitmap) { return static_cast<HBITMAP>(::SelectObject(m_hDC, bitmap)); }
HGDIOBJ CDC::SelectStockObject(int index) { return ::SelectObject(m_hDC, ::GetStockObject(index)); }

COLORREF CDC::SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
COLORREF CDC::SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
int CDC::SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }
COLORREF CDC::GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }
COLORREF CDC::SetPixel(int x, int y, COLORREF color) { return ::SetPixel(m_hDC, x, y, color); }

CPoint CDC::MoveTo(int x, int y)
{
    POINT old {};
    ::MoveToEx(m_hDC, x, y, &old);
    return old;
}

BOOL CDC::LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }
BOOL CDC::Rectangle(const RECT& r) { return ::Rectangle(m_hDC, r.left, r.top, r.right, r.bottom); }
BOOL CDC::Ellipse(const RECT& r) { return ::Ellipse(m_hDC, r.left, r.top, r.right, r.bottom); }
BOOL CDC::Polygon(const POINT* points, int count) { return ::Polygon(m_hDC, points, count); }
BOOL CDC::Polyline(const POINT* points, int count) { return ::Polyline(m_hDC, points, count); }

void CDC::FillSolidRect(const RECT& rect, COLORREF color)
{
    // ExtTextOut with an opaque rectangle fills without a brush.
    const COLORREF old = ::SetBkColor(m_hDC, color);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::FillRect(const RECT& rect, HBRUSH brush) { ::FillRect(m_hDC, &rect, brush); }
void CDC::FrameRect(const RECT& rect, HBRUSH brush) { ::FrameRect(m_hDC, &rect, brush); }

void CDC::Draw3dRect(const RECT& r, COLORREF topLeft, COLORREF bottomRight)
{
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    FillSolidRect(RECT {r.left, r.top, r.left + width - 1, r.top + 1}, topLeft);
    FillSolidRect(RECT {r.left, r.top, r.left + 1, r.top + height - 1}, topLeft);
    FillSolidRect(RECT {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    FillSolidRect(RECT {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
}

BOOL CDC::DrawEdge(RECT* rect, UINT edge, UINT flags) { return ::DrawEdge(m_hDC, rect, edge, flags); }
BOOL CDC::DrawFrameControl(RECT* rect, UINT type, UINT state) { return ::DrawFrameControl(m_hDC, rect, type, state); }
void CDC::DrawFocusRect(const RECT& rect) { ::DrawFocusRect(m_hDC, &rect); }
BOOL CDC::FillRgn(HRGN region, HBRUSH brush) { return ::FillRgn(m_hDC, region, brush); }
BOOL CDC::FrameRgn(HRGN region, HBRUSH brush, int width, int height) { return ::FrameRgn(m_hDC, region, brush, width, height); }
BOOL CDC::DrawIcon(int x, int y, HICON icon) { return ::DrawIcon(m_hDC, x, y, icon); }

int CDC::DrawText(const char* text, int count, RECT* rect, UINT format)
{
    return ::DrawTextA(m_hDC, text, count, rect, format);
}

int CDC::DrawText(const CString& text, RECT* rect, UINT format)
{
    return ::DrawTextA(m_hDC, text.GetString(), text.GetLength(), rect, format);
}

BOOL CDC::TextOut(int x, int y, const char* text, int count) { return ::TextOutA(m_hDC, x, y, text, count); }

CSize CDC::GetTextExtent(const char* text, int count) const
{
    SIZE size {0, 0};
    ::GetTextExtentPoint32A(m_hDC, text, count, &size);
    return size;
}

BOOL CDC::GetTextMetrics(TEXTMETRICA* metrics) const { return ::GetTextMetricsA(m_hDC, metrics); }

BOOL CDC::BitBlt(int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop)
{
    return ::BitBlt(m_hDC, x, y, width, height, source, sourceX, sourceY, rop);
}

BOOL CDC::StretchBlt(int x, int y, int width, int height, HDC source, int sourceX, int sourceY, int sourceWidth,
                     int sourceHeight, DWORD rop)
{
    return ::StretchBlt(m_hDC, x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, rop);
}

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop) { return ::PatBlt(m_hDC, x, y, width, height, rop); }
int CDC::SelectClipRgn(HRGN region) { return ::SelectClipRgn(m_hDC, region); }
int CDC::IntersectClipRect(const RECT& r) { return ::IntersectClipRect(m_hDC, r.left, r.top, r.right, r.bottom); }
int CDC::ExcludeClipRect(const RECT& r) { return ::ExcludeClipRect(m_hDC, r.left, r.top, r.right, r.bottom); }
int CDC::GetClipBox(RECT* rect) const { return ::GetClipBox(m_hDC, rect); }
int CDC::GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }

CPaintDC::CPaintDC(HWND wnd) : m_hWnd(wnd)
{
    m_hDC = ::BeginPaint(wnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    if (m_hDC != nullptr)
        ::EndPaint(m_hWnd, &m_ps);
    m_hDC = nullptr;
}

CClientDC::CClientDC(HWND wnd) : m_hWnd(wnd)
{
    m_hDC = ::GetDC(wnd);
}

CClientDC::~CClientDC()
{
    if (m_hDC != nullptr)
        ::ReleaseDC(m_hWnd, m_hDC);
    m_hDC = nullptr;
}

CWindowDC::CWindowDC(HWND wnd) : m_hWnd(wnd)
{
    m_hDC = ::GetWindowDC(wnd);
}

CWindowDC::~CWindowDC()
{
    if (m_hDC != nullptr)
        ::ReleaseDC(m_hWnd, m_hDC);
    m_hDC = nullptr;
}

CMemDC::CMemDC(CDC& target, const RECT& rect) : m_hTarget(target), m_rect(rect)
{
    if (CreateCompatibleDC(target) && m_bitmap.CreateCompatibleBitmap(target, m_rect.Width(), m_rect.Height())) {
        m_bitmapSelection.emplace(m_hDC, m_bitmap);
        // Same logical coordinates as the target: the bitmap's origin is
        // the rectangle's top-left corner.
        ::SetWindowOrgEx(m_hDC, m_rect.left, m_rect.top, nullptr);
        return;
    }
    // Drawing goes straight to the target, which stays its owner's.
    DeleteDC();
    m_hDC = m_hTarget;
}

CMemDC::CMemDC(CDC& target, const RECT& rect, CDrawBuffer& buffer) : m_hTarget(target), m_rect(rect)
{
    if (HDC memory = buffer.Prepare(target, m_rect.Width(), m_rect.Height())) {
        Attach(memory);
        m_bBuffered = true;
        ::SetWindowOrgEx(m_hDC, m_rect.left, m_rect.top, nullptr);
        return;
    }
    Attach(m_hTarget);
}

CMemDC::~CMemDC()
{
    if (!m_bitmapSelection && !m_bBuffered)
        return;
    ::BitBlt(m_hTarget, m_rect.left, m_rect.top, m_rect.Width(), m_rect.Height(), m_hDC, m_rect.left, m_rect.top,
             SRCCOPY);
    // The buffer's DC goes back to its owner as it came.
    if (m_bBuffered)
        ::SetWindowOrgEx(m_hDC, 0, 0, nullptr);
}

HDC CDrawBuffer::Prepare(HDC target, int width, int height)
{
    if (width <= 0 || height <= 0)
        return nullptr;
    if (m_dc.GetSafeHdc() == nullptr && !m_dc.CreateCompatibleDC(target))
        return nullptr;
    if (width > m_size.cx || height > m_size.cy) {
        const CSize size(std::max<int>(width, m_size.cx), std::max<int>(height, m_size.cy));
        m_selection.reset();
        m_bitmap.DeleteObject();
        if (!m_bitmap.CreateCompatibleBitmap(target, size.cx, size.cy)) {
            m_size = CSize();
            return nullptr;
        }
        m_selection.emplace(m_dc, m_bitmap);
        m_size = size;
    }
    return m_dc;
}

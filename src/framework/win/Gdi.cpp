#include "framework/win/Gdi.h"

#include "platform/ModuleState.h"
#include "framework/win/DC.h"

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ object)
{
    if (object == nullptr)
        return FALSE;
    DeleteObject();
    m_hObject = object;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ object = m_hObject;
    m_hObject = nullptr;
    return object;
}

BOOL CGdiObject::DeleteObject()
{
    if (m_hObject == nullptr)
        return FALSE;
    const BOOL deleted = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return deleted;
}

int CGdiObject::GetObject(int size, void* buffer) const
{
    return m_hObject != nullptr ? ::GetObjectA(m_hObject, size, buffer) : 0;
}

BOOL CGdiObject::Take(HGDIOBJ object)
{
    DeleteObject();
    m_hObject = object;
    return object != nullptr;
}

CPen::CPen(int style, int width, COLORREF color)
{
    CreatePen(style, width, color);
}

BOOL CPen::CreatePen(int style, int width, COLORREF color)
{
    return Take(::CreatePen(style, width, color));
}

CBrush::CBrush(COLORREF color)
{
    CreateSolidBrush(color);
}

BOOL CBrush::CreateSolidBrush(COLORREF color) { return Take(::CreateSolidBrush(color)); }
BOOL CBrush::CreateHatchBrush(int hatch, COLORREF color) { return Take(::CreateHatchBrush(hatch, color)); }
BOOL CBrush::CreatePatternBrush(HBITMAP bitmap) { return Take(::CreatePatternBrush(bitmap)); }

BOOL CFont::CreateFontIndirect(const LOGFONTA& logFont)
{
    return Take(::CreateFontIndirectA(&logFont));
}

BOOL CFont::CreatePointFont(int pointSizeTenths, const char* faceName, HDC dc)
{
    LOGFONTA logFont {};
    // Tenths of a point to device pixels: points are 1/72 inch.
    const int pixelsPerInch = dc != nullptr ? ::GetDeviceCaps(dc, LOGPIXELSY)
                                            : CClientDC(nullptr).GetDeviceCaps(LOGPIXELSY);
    logFont.lfHeight = -::MulDiv(pointSizeTenths, pixelsPerInch, 720);
    logFont.lfCharSet = DEFAULT_CHARSET;
    if (faceName != nullptr)
        ::lstrcpynA(logFont.lfFaceName, faceName, LF_FACESIZE);
    return CreateFontIndirect(logFont);
}

BOOL CFont::GetLogFont(LOGFONTA* logFont) const
{
    return GetObject(sizeof(LOGFONTA), logFont) == sizeof(LOGFONTA);
}

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom) { return Take(::CreateRectRgn(left, top, right, bottom)); }
BOOL CRgn::CreateRectRgnIndirect(const RECT& rect) { return Take(::CreateRectRgnIndirect(&rect)); }

BOOL CRgn::CreateRoundRectRgn(int left, int top, int right, int bottom, int widthEllipse, int heightEllipse)
{
    return Take(::CreateRoundRectRgn(left, top, right, bottom, widthEllipse, heightEllipse));
}

BOOL CRgn::CreateEllipticRgn(int left, int top, int right, int bottom) { return Take(::CreateEllipticRgn(left, top, right, bottom)); }

BOOL CRgn::CreatePolygonRgn(const POINT* points, int count, int fillMode)
{
    return Take(::CreatePolygonRgn(points, count, fillMode));
}

int CRgn::CombineRgn(const CRgn* first, const CRgn* second, int mode)
{
    if (m_hObject == nullptr || first == nullptr)
        return ERROR;
    return ::CombineRgn(*this, *first, second != nullptr ? static_cast<HRGN>(*second) : nullptr, mode);
}

BOOL CRgn::PtInRegion(int x, int y) const { return m_hObject != nullptr && ::PtInRegion(*this, x, y); }
int CRgn::GetRgnBox(RECT* rect) const { return m_hObject != nullptr ? ::GetRgnBox(*this, rect) : ERROR; }
int CRgn::OffsetRgn(int dx, int dy) { return m_hObject != nullptr ? ::OffsetRgn(*this, dx, dy) : ERROR; }

BOOL CBitmap::LoadBitmap(UINT id)
{
    return LoadBitmap(MAKEINTRESOURCEA(id));
}

BOOL CBitmap::LoadBitmap(const char* name)
{
    HINSTANCE module = AfxFindResourceHandle(name, MAKEINTRESOURCEA(2) /* RT_BITMAP */);
    if (module == nullptr) {
        DeleteObject();
        return FALSE;
    }
    return Take(::LoadBitmapA(module, name));
}

BOOL CBitmap::CreateCompatibleBitmap(HDC dc, int width, int height)
{
    return Take(::CreateCompatibleBitmap(dc, width, height));
}

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
    return Take(::CreateBitmap(width, height, planes, bitsPerPixel, bits));
}

BOOL CBitmap::GetBitmap(BITMAP* info) const
{
    return GetObject(sizeof(BITMAP), info) == sizeof(BITMAP);
}

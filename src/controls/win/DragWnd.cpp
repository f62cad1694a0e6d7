#include "controls/win/DragWnd.h"

#include "controls/win/SysColors.h"
#include "controls/win/WindowWrappers.h"
#include "framework/Exceptions.h"
#include "framework/win/DC.h"
#include "platform/ModuleState.h"

namespace {

const char kDividerClass[] = "CDividerWndClass";
const char kDragClass[] = "CDragWndClass";
const BYTE kDragAlpha = 126;

// Registers a class with the platform's default procedure in the
// executable's instance, where window creation looks for it, unless it is
// there already.
void RegisterFeedbackClass(const char* name, HBRUSH background)
{
    WNDCLASSA existing {};
    if (::GetClassInfoA(AfxGetInstanceHandle(), name, &existing))
        return;
    WNDCLASSA wc {};
    wc.style = CS_SAVEBITS;
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    wc.lpszClassName = name;
    if (!::RegisterClassA(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        throw CResourceException();
}

using SetLayeredWindowAttributesFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);

SetLayeredWindowAttributesFn LookUpLayeredAttributes()
{
    HMODULE user = ::GetModuleHandleA("USER32.DLL");
    if (user == nullptr)
        return nullptr;
    return reinterpret_cast<SetLayeredWindowAttributesFn>(
        reinterpret_cast<void*>(::GetProcAddress(user, "SetLayeredWindowAttributes")));
}

} // namespace

// ------------------------------------------------------------ CDividerWnd

// The class draws no background of its own: every erase is answered with
// the marker's brush, and a class brush would be deleted by the system when
// the class goes, while the brush belongs to the object.
CDividerWnd::CDividerWnd(COLORREF color, BOOL topmost) : m_brush(color), m_bTopmost(topmost)
{
    RegisterFeedbackClass(kDividerClass, nullptr);
}

CDividerWnd::~CDividerWnd() = default;

BOOL CDividerWnd::Create(int height)
{
    if (height < 0)
        return FALSE;
    const int h = height + kArrowSpace;
    if (!CreateEx(WS_EX_TOOLWINDOW, kDividerClass, nullptr, WS_POPUP | WS_DISABLED, CRect(0, 0, kWidth, h), nullptr,
                  0))
        return FALSE;
    m_nHeight = h;
    const POINT down[] = {{8, 0}, {8, 4}, {11, 4}, {6, 9}, {1, 4}, {4, 4}, {4, 0}};
    const POINT up[] = {{4, h}, {4, h - 4}, {0, h - 4}, {6, h - 10}, {12, h - 4}, {8, h - 4}, {8, h}};
    CRgn top;
    CRgn bottom;
    top.CreatePolygonRgn(down, 7, ALTERNATE);
    bottom.CreatePolygonRgn(up, 7, ALTERNATE);
    if (m_rgnShape.CreateRectRgn(0, 0, 0, 0) && m_rgnShape.CombineRgn(&top, &bottom, RGN_OR) != ERROR &&
        ::SetWindowRgn(m_hWnd, static_cast<HRGN>(m_rgnShape.GetSafeHandle()), FALSE))
        m_rgnShape.Detach();
    return TRUE;
}

BOOL CDividerWnd::SetWindowPos(int x, int y)
{
    const BOOL placed = CWnd::SetWindowPos(m_bTopmost ? HWND_TOPMOST : HWND_TOP, x - kWidth / 2, y - m_nHeight / 2,
                                           0, 0, SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow();
    return placed;
}

BOOL CDividerWnd::OnEraseBkgnd(CDC* dc)
{
    dc->FillRect(CRect(0, 0, kWidth, m_nHeight), m_brush);
    return TRUE;
}

void CDividerWnd::PostNcDestroy()
{
    m_rgnShape.DeleteObject(); // only when the window never took it
    CWnd::PostNcDestroy();
    delete this;
}

// --------------------------------------------------------------- CDragWnd

CDragWnd::CDragWnd()
{
    RegisterFeedbackClass(kDragClass, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
}

CDragWnd::~CDragWnd() = default;

BOOL CDragWnd::Create(const RECT& rect, CFont* font, const char* caption)
{
    return Create(rect, font != nullptr ? static_cast<HFONT>(*font) : nullptr, caption);
}

BOOL CDragWnd::Create(const RECT& rect, HFONT font, const char* caption)
{
    m_strCaption = caption != nullptr ? caption : "";
    if (!CreateEx(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kDragClass, nullptr, WS_POPUP | WS_DISABLED | WS_CLIPSIBLINGS,
                  rect, nullptr, 0))
        return 0;
    m_hFont = font;
    if (SetLayeredWindowAttributesFn setAttributes = LookUpLayeredAttributes()) {
        ModifyStyleEx(0, WS_EX_LAYERED, SWP_FRAMECHANGED);
        setAttributes(m_hWnd, 0, kDragAlpha, LWA_ALPHA);
    }
    return 1;
}

BOOL CDragWnd::SetWindowPos(int x, int y, BOOL show)
{
    const BOOL placed = CWnd::SetWindowPos(HWND_TOPMOST, x, y, 0, 0,
                                           SWP_NOSIZE | SWP_NOACTIVATE | (show ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    UpdateWindow();
    return placed;
}

BOOL CDragWnd::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

// The box is drawn in the button colours and then inverted as a whole.
void CDragWnd::OnPaint()
{
    CPaintDC dc(m_hWnd);
    const CClientRect rect(m_hWnd);
    const int saved = dc.SaveDC();
    CRgn whole;
    whole.CreateRectRgnIndirect(rect);
    dc.FillSolidRect(rect, CSysColors::sm_crBtnFace);
    dc.Draw3dRect(rect, CSysColors::sm_cr3DHilite, CSysColors::sm_cr3DShadow);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(CSysColors::sm_crText);
    CRect text = rect;
    text.left += 4;
    if (m_hFont != nullptr)
        dc.SelectObject(m_hFont);
    dc.DrawText(m_strCaption, &text, DT_SINGLELINE | DT_VCENTER);
    ::InvertRgn(dc, whole);
    dc.RestoreDC(saved);
}

void CDragWnd::PostNcDestroy()
{
    CWnd::PostNcDestroy();
    delete this;
}

#include "controls/win/BalloonHelp.h"

#include "framework/WinApp.h"
#include "framework/win/DC.h"
#include "platform/ModuleState.h"
#include "services/Branding.h"

#include <shellapi.h>

#include <atomic>
#include <functional>

int CBalloonHelp::nTIP_TAIL = 20;
int CBalloonHelp::nTIP_MARGIN = 8;
int CBalloonHelp::nTIP_ELIPSE_WIDTH = 12;

namespace {

CBalloonHelp::AnimateWindowFn LookUpAnimateWindow()
{
    HMODULE user = ::GetModuleHandleA("user32.dll");
    return user != nullptr ? reinterpret_cast<CBalloonHelp::AnimateWindowFn>(
                                 reinterpret_cast<void*>(::GetProcAddress(user, "AnimateWindow")))
                           : nullptr;
}

// Looked up on first use: the library's load-time objects are all built in
// one place, in a fixed order.
std::atomic<CBalloonHelp::AnimateWindowFn>& AnimateWindowSlot() noexcept
{
    static std::atomic<CBalloonHelp::AnimateWindowFn> animate {LookUpAnimateWindow()};
    return animate;
}

const char kClassName[] = "BalloonHelpClass";
const char kShadowClassName[] = "BalloonHelpClassDS";

// Registers both window classes once for the process, with the framework's
// window procedure; answers which of them exist.
struct BalloonClasses {
    bool plain = false;
    bool shadow = false;
};

bool RegisterBalloonClass(const char* name, UINT style, WNDPROC procedure)
{
    WNDCLASSA wc {};
    wc.style = style | CS_GLOBALCLASS;
    wc.lpfnWndProc = procedure;
    wc.hInstance = AfxGetLibraryHandle();
    wc.hCursor = ::LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = name;
    return ::RegisterClassA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

const BalloonClasses& RegisteredClasses()
{
    static const BalloonClasses classes = [] {
        BalloonClasses made;
        // The framework's procedure, read from a class of its own.
        WNDCLASSA framework {};
        const char* frameworkClass = CWnd::RegisterWndClass(CS_DBLCLKS);
        if (frameworkClass == nullptr || !::GetClassInfoA(AfxGetLibraryHandle(), frameworkClass, &framework))
            return made;
        made.plain = RegisterBalloonClass(kClassName, CS_DBLCLKS | CS_SAVEBITS, framework.lpfnWndProc);
        made.shadow = RegisterBalloonClass(kShadowClassName, CS_DBLCLKS | CS_SAVEBITS | CS_DROPSHADOW,
                                           framework.lpfnWndProc);
        return made;
    }();
    return classes;
}

// The top-level window that owns a balloon for the parent: the parent's
// top-level ancestor, else the application's main window.
HWND SafeOwner(CWnd* parent)
{
    HWND wnd = parent != nullptr ? parent->GetSafeHwnd() : nullptr;
    if (wnd == nullptr && AfxGetApp() != nullptr && AfxGetApp()->GetMainWnd() != nullptr)
        wnd = AfxGetApp()->GetMainWnd()->GetSafeHwnd();
    HWND root = wnd != nullptr ? ::GetAncestor(wnd, GA_ROOT) : nullptr;
    return root != nullptr ? root : wnd;
}

bool SystemFadesMenus()
{
    BOOL animation = FALSE, fade = FALSE;
    ::SystemParametersInfoA(SPI_GETMENUANIMATION, 0, &animation, 0);
    ::SystemParametersInfoA(SPI_GETMENUFADE, 0, &fade, 0);
    return animation && fade;
}

// An icon resource at the small-icon size: from the current resource module
// or the library, else one of the system's icons. The caller destroys it.
HICON LoadSmallIcon(const char* name)
{
    if (name == nullptr)
        return nullptr;
    const int cx = ::GetSystemMetrics(SM_CXSMICON), cy = ::GetSystemMetrics(SM_CYSMICON);
    HICON icon = nullptr;
    if (HINSTANCE module = AfxFindResourceHandle(name, RT_GROUP_ICON))
        icon = static_cast<HICON>(::LoadImageA(module, name, IMAGE_ICON, cx, cy, 0));
    if (icon == nullptr)
        icon = static_cast<HICON>(::LoadImageA(nullptr, name, IMAGE_ICON, cx, cy, 0));
    return icon;
}

CSize BitmapSize(HBITMAP bitmap)
{
    BITMAP info {};
    return bitmap != nullptr && ::GetObjectA(bitmap, sizeof info, &info) ? CSize(info.bmWidth, info.bmHeight)
                                                                          : CSize();
}

// An image list of the size holding the one image `add` puts in; null when
// the size is empty or either step fails.
HIMAGELIST OneImageList(CSize size, const std::function<int(HIMAGELIST)>& add)
{
    HIMAGELIST list = size.cx > 0 && size.cy > 0
        ? ::ImageList_Create(size.cx, size.cy, ILC_COLOR32 | ILC_MASK, 1, 0)
        : nullptr;
    if (list != nullptr && add(list) < 0) {
        ::ImageList_Destroy(list);
        list = nullptr;
    }
    return list;
}

} // namespace

CBalloonHelp::AnimateWindowFn CBalloonHelp::SetAnimateWindowForTesting(AnimateWindowFn animate)
{
    return AnimateWindowSlot().exchange(animate);
}

CBalloonHelp::CBalloonHelp()
    : m_fnAnimateWindow(AnimateWindowSlot().load()),
      m_crBackground(::GetSysColor(COLOR_INFOBK)),
      m_crForeground(::GetSysColor(COLOR_INFOTEXT))
{
    UINT hoverWidth = 0;
    if (::SystemParametersInfoA(SPI_GETMOUSEHOVERWIDTH, 0, &hoverWidth, 0) && hoverWidth > 0)
        m_nMouseMoveTolerance = static_cast<int>(hoverWidth);
}

CBalloonHelp::~CBalloonHelp()
{
    // The window goes while this class's handlers still run; it must not
    // delete the object that is being destroyed.
    m_unOptions &= ~unDELETE_THIS_ON_CLOSE;
    if (HasWindow())
        ::DestroyWindow(m_hWnd);
    RemoveHooks();
    ReleaseThunk();
}

// ------------------------------------------------------------- creating

BOOL CBalloonHelp::Create(const CString& title, const CString& content, const CPoint& anchor,
                          unsigned int options, CWnd* parent, const CString& url, unsigned int timeout,
                          HICON icon)
{
    if (m_hWnd != nullptr)
        return FALSE;
    m_strTitle = title;
    m_strContent = content;
    m_ptAnchor = anchor;
    m_hwndAnchor = parent != nullptr ? parent->GetSafeHwnd() : nullptr;
    if (icon != nullptr)
        SetIcon(icon);
    m_unOptions = options;
    m_strURL = url;
    m_unTimeout = timeout;
    MakeDefaultFonts();
    if (m_fnAnimateWindow == nullptr || !SystemFadesMenus())
        m_unOptions |= unDISABLE_FADE;

    const BalloonClasses& classes = RegisteredClasses();
    if (!classes.plain && !classes.shadow)
        return FALSE;
    const bool shadow = classes.shadow && (!(m_unOptions & unDISABLE_XP_SHADOW) || !classes.plain);
    if (!InitThunk())
        return FALSE;
    const DWORD exStyle = WS_EX_TOOLWINDOW | (m_unOptions & unSHOW_TOPMOST ? WS_EX_TOPMOST : 0);
    if (!CreateEx(exStyle, shadow ? kShadowClassName : kClassName, "", WS_POPUP, CRect(0, 0, 10, 10),
                  SafeOwner(parent), 0)) {
        ReleaseThunk();
        return FALSE;
    }
    m_bCreated = true;

    PositionWindow();
    if (m_unOptions & unCLOSE_ON_ANYTHING_MOUSE) {
        ::GetCursorPos(&m_ptMouseOrig);
        InstallHook(MouseHook);
    }
    if ((m_unOptions & (unCLOSE_ON_LBUTTON_UP | unCLOSE_ON_MBUTTON_UP | unCLOSE_ON_RBUTTON_UP))
        && ::GetCapture() == nullptr)
        ::SetCapture(m_hWnd);
    if (m_unOptions & unCLOSE_ON_KEYPRESS)
        InstallHook(KeyboardHook);
    if (m_hwndAnchor != nullptr)
        InstallHook(CallWndRetHook);
    ShowBalloon();
    if (!(m_unOptions & unDELAY_CLOSE))
        StartTimeout();
    return TRUE;
}

CBalloonHelp* CBalloonHelp::LaunchBalloon(const CString& title, const CString& content, const CPoint& anchor,
                                          const char* iconName, unsigned int options, CWnd* parent,
                                          const CString& url, unsigned int timeout)
{
    CString brandedTitle, brandedContent;
    {
        CBrandedResources branding;
        brandedTitle = ReplaceAllBrandedTokens(title);
        brandedContent = ReplaceAllBrandedTokens(content);
    }
    auto* balloon = new CBalloonHelp;
    HICON icon = LoadSmallIcon(iconName);
    const BOOL created = balloon->Create(brandedTitle, brandedContent, anchor, options | unDELETE_THIS_ON_CLOSE,
                                         parent, url, timeout, icon);
    // The balloon keeps a copy of the icon.
    if (icon != nullptr)
        ::DestroyIcon(icon);
    if (!created) {
        delete balloon;
        return nullptr;
    }
    return balloon;
}

CBalloonHelp* CBalloonHelp::LaunchExclamationError(const CString& content, const CPoint& anchor, CWnd* parent)
{
    return LaunchBalloon("Error:", content, anchor, IDI_EXCLAMATION,
                         unCLOSE_ON_KEYPRESS | unCLOSE_ON_MOUSE_MOVE | unDISABLE_FADEOUT, parent, CString(), 3000);
}

void CBalloonHelp::MakeDefaultFonts()
{
    if (m_hContentFont.IsNull())
        m_hContentFont.Attach(static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)));
    LOGFONTA logFont {};
    ::GetObjectA(m_hContentFont, sizeof logFont, &logFont);
    if (m_hTitleFont.IsNull() || m_hTitleFont == static_cast<HFONT>(m_ownedTitleFont)) {
        LOGFONTA bold = logFont;
        bold.lfWeight = FW_BOLD;
        m_ownedTitleFont.CreateFontIndirect(bold);
        m_hTitleFont.Attach(m_ownedTitleFont);
    }
    // A balloon with a link underlines its content.
    logFont.lfUnderline = TRUE;
    m_linkFont.CreateFontIndirect(logFont);
}

// ------------------------------------------------------ showing, hiding

void CBalloonHelp::ShowBalloon()
{
    if (!(m_unOptions & unDISABLE_FADEIN) && m_fnAnimateWindow != nullptr)
        m_fnAnimateWindow(m_hWnd, nFADE_TIME, AW_BLEND);
    else
        ShowWindow(SW_SHOWNOACTIVATE);
}

void CBalloonHelp::StartTimeout()
{
    if (m_unTimerClose != 0)
        KillTimer(m_unTimerClose);
    m_unTimerClose = m_unTimeout != 0 ? SetTimer(nTIMER_CLOSE, m_unTimeout) : 0;
}

void CBalloonHelp::HideBalloon()
{
    if (m_unOptions & unDELAY_CLOSE) {
        // The first request only starts the time-out; no user action closes
        // the balloon after it.
        m_unOptions &= ~(unDELAY_CLOSE | unCLOSE_ON_ANYTHING);
        if (::GetCapture() == m_hWnd && !m_bClosePressed)
            ::ReleaseCapture();
        StartTimeout();
        return;
    }
    if (m_unTimerClose != 0)
        KillTimer(m_unTimerClose);
    m_unTimerClose = 0;
    if (!(m_unOptions & unDISABLE_FADEOUT) && m_fnAnimateWindow != nullptr)
        m_fnAnimateWindow(m_hWnd, nFADE_TIME, AW_HIDE | AW_BLEND);
    else
        ShowWindow(SW_HIDE);
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    DestroyWindow();
}

void CBalloonHelp::OnTimer(UINT_PTR id)
{
    if (id != nTIMER_CLOSE) {
        CWnd::OnTimer(id);
        return;
    }
    KillTimer(nTIMER_CLOSE);
    m_unTimerClose = 0;
    HideBalloon();
}

void CBalloonHelp::OnClose()
{
    m_bClosePosted = false;
    HideBalloon();
}

void CBalloonHelp::OnDestroy()
{
    if (m_unTimerClose != 0)
        KillTimer(m_unTimerClose);
    m_unTimerClose = 0;
    RemoveHooks();
    ReleaseThunk();
    CWnd::OnDestroy();
}

void CBalloonHelp::PostNcDestroy()
{
    if ((m_unOptions & unDELETE_THIS_ON_CLOSE) && m_bCreated)
        delete this;
}

// ---------------------------------------------------------------- input

LRESULT CBalloonHelp::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE; // the window the user works in keeps the focus
    case WM_PRINTCLIENT: {
        CDCHandle dc(reinterpret_cast<HDC>(wParam));
        Draw(dc);
        return 0;
    }
    default:
        return CWnd::WindowProc(message, wParam, lParam);
    }
}

void CBalloonHelp::OnLButtonDown(UINT flags, CPoint point)
{
    if (!GetCloseRect().PtInRect(point)) {
        CWnd::OnLButtonDown(flags, point);
        return;
    }
    m_bClosePressed = m_bCloseHot = true;
    m_bCaptureForClose = ::GetCapture() != m_hWnd;
    if (m_bCaptureForClose)
        ::SetCapture(m_hWnd);
    const CRect close = GetCloseRect();
    InvalidateRect(&close, FALSE);
}

// A second quick click on the close button is a press like the first.
void CBalloonHelp::OnLButtonDblClk(UINT flags, CPoint point)
{
    OnLButtonDown(flags, point);
}

void CBalloonHelp::OnMouseMove(UINT flags, CPoint point)
{
    const CRect close = GetCloseRect();
    if (m_bClosePressed && m_bCloseHot != static_cast<bool>(close.PtInRect(point))) {
        m_bCloseHot = !m_bCloseHot;
        InvalidateRect(&close, FALSE);
    }
    CWnd::OnMouseMove(flags, point);
}

void CBalloonHelp::OnLButtonUp(UINT flags, CPoint point)
{
    const CRect close = GetCloseRect();
    if (m_bClosePressed) {
        m_bClosePressed = m_bCloseHot = false;
        if (m_bCaptureForClose && ::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        m_bCaptureForClose = false;
        if (close.PtInRect(point))
            HideBalloon();
        else
            InvalidateRect(&close, FALSE);
        return;
    }
    if (!m_strURL.IsEmpty() && m_placement.inner.PtInRect(point)) {
        ::ShellExecuteA(nullptr, "open", m_strURL, nullptr, nullptr, SW_SHOWNORMAL);
        HideBalloon();
        return;
    }
    CWnd::OnLButtonUp(flags, point);
}

void CBalloonHelp::OnCaptureChanged(HWND newCapture)
{
    if (m_bClosePressed && newCapture != m_hWnd) {
        m_bClosePressed = m_bCloseHot = false;
        m_bCaptureForClose = false;
        const CRect close = GetCloseRect();
        InvalidateRect(&close, FALSE);
    }
    CWnd::OnCaptureChanged(newCapture);
}

BOOL CBalloonHelp::OnSetCursor(HWND wnd, UINT hitTest, UINT message)
{
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    if (hitTest == HTCLIENT && !m_strURL.IsEmpty() && m_placement.inner.PtInRect(point)
        && !GetCloseRect().PtInRect(point)) {
        ::SetCursor(::LoadCursor(nullptr, IDC_HAND));
        return TRUE;
    }
    return CWnd::OnSetCursor(wnd, hitTest, message);
}

// -------------------------------------------------------------- setters

void CBalloonHelp::SetTitle(const CString& title)
{
    if (title == m_strTitle)
        return;
    m_strTitle = title;
    PositionWindow();
}

void CBalloonHelp::SetContent(const CString& content)
{
    if (content == m_strContent)
        return;
    m_strContent = content;
    PositionWindow();
}

void CBalloonHelp::SetTitleFont(HFONT font)
{
    if (font == nullptr || font == m_hTitleFont)
        return;
    m_hTitleFont.Attach(font);
    m_ownedTitleFont.DeleteObject();
    PositionWindow();
}

void CBalloonHelp::SetContentFont(HFONT font)
{
    if (font == nullptr || font == m_hContentFont)
        return;
    m_hContentFont.Attach(font);
    MakeDefaultFonts();
    PositionWindow();
}

void CBalloonHelp::SetIconList(HIMAGELIST list)
{
    if (list == nullptr)
        return;
    m_ilIcon.reset(list);
    PositionWindow();
}

void CBalloonHelp::SetIcon(HICON icon)
{
    ICONINFO info {};
    if (icon == nullptr || !::GetIconInfo(icon, &info))
        return;
    // GetIconInfo hands over copies of both bitmaps.
    CBitmap color, mask;
    color.Attach(info.hbmColor);
    mask.Attach(info.hbmMask);
    const CSize size = BitmapSize(info.hbmMask);
    // A monochrome icon keeps its image and mask one above the other.
    SetIconScaled(icon, size.cx, info.hbmColor != nullptr ? size.cy : size.cy / 2);
}

void CBalloonHelp::SetIconScaled(HICON icon, int width, int height)
{
    if (icon != nullptr)
        SetIconList(OneImageList(CSize(width, height), [icon](HIMAGELIST list) {
            return ::ImageList_ReplaceIcon(list, -1, icon);
        }));
}

void CBalloonHelp::SetIcon(HBITMAP bitmap, COLORREF transparent)
{
    SetIconList(OneImageList(BitmapSize(bitmap), [&](HIMAGELIST list) {
        return ::ImageList_AddMasked(list, bitmap, transparent);
    }));
}

void CBalloonHelp::SetIcon(HBITMAP bitmap, HBITMAP mask)
{
    SetIconList(OneImageList(BitmapSize(bitmap), [&](HIMAGELIST list) {
        return ::ImageList_Add(list, bitmap, mask);
    }));
}

void CBalloonHelp::SetIcon(HIMAGELIST imageList, int index)
{
    int cx = 0, cy = 0;
    HICON icon = imageList != nullptr ? ::ImageList_GetIcon(imageList, index, ILD_NORMAL) : nullptr;
    if (icon == nullptr)
        return;
    if (::ImageList_GetIconSize(imageList, &cx, &cy))
        SetIconScaled(icon, cx, cy);
    ::DestroyIcon(icon);
}

void CBalloonHelp::SetURL(const CString& url)
{
    if (url == m_strURL)
        return;
    m_strURL = url;
    PositionWindow();
}

void CBalloonHelp::SetAnchorPoint(const CPoint& anchor, CWnd* anchorWnd)
{
    m_ptAnchor = anchor;
    m_hwndAnchor = anchorWnd != nullptr ? anchorWnd->GetSafeHwnd() : nullptr;
    if (!HasWindow())
        return;
    if (m_hwndAnchor != nullptr)
        InstallHook(CallWndRetHook);
    PositionWindow();
}

void CBalloonHelp::SetTimeout(unsigned int timeout)
{
    m_unTimeout = timeout;
    if (HasWindow() && !(m_unOptions & unDELAY_CLOSE))
        StartTimeout();
}

void CBalloonHelp::SetMouseMoveTolerance(int tolerance)
{
    m_nMouseMoveTolerance = tolerance;
}

void CBalloonHelp::SetForegroundColor(COLORREF color)
{
    if (color == m_crForeground)
        return;
    m_crForeground = color;
    if (HasWindow())
        Invalidate(FALSE);
}

void CBalloonHelp::SetBackgroundColor(COLORREF color)
{
    if (color == m_crBackground)
        return;
    m_crBackground = color;
    if (HasWindow())
        Invalidate(FALSE);
}

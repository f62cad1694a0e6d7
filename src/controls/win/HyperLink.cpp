#include "controls/win/HyperLink.h"
#include "controls/win/WindowWrappers.h"

#include "framework/WinApp.h"
#include "framework/win/DC.h"
#include "platform/Process.h"
#include "platform/Shell.h"
#include "services/Registry.h"

#include <shellapi.h>

namespace {

const UINT_PTR kToolId = 1;
// The system help program's hand cursor.
const WORD kHelpHandCursor = 106;
// The registered command is read into a buffer of this many characters,
// its terminating NUL included.
const int kCommandBuffer = 260;

// The default value of a key among the registered file classes. Windows
// shows the user's own classes (HKEY_CURRENT_USER\Software\Classes) over the
// machine's in HKEY_CLASSES_ROOT; the user's are read first so that the same
// lookup holds where the two are not merged.
bool ReadClassDefault(const CString& subKey, CString& value)
{
    value.Empty();
    CRegistry user(HKEY_CURRENT_USER);
    if (user.Open(HKEY_CURRENT_USER, "Software\\Classes\\" + subKey, KEY_READ) && user.ReadString("", value) &&
        !value.IsEmpty())
        return true;
    CRegistry machine(HKEY_CLASSES_ROOT);
    return machine.Open(HKEY_CLASSES_ROOT, subKey, KEY_READ) && machine.ReadString("", value) && !value.IsEmpty();
}

enum class Lookup { Found, Missing, TooLong };

// The command that opens ".htm" files: the class named by the ".htm" key,
// then that class's open command.
Lookup HtmOpenCommand(CString& command)
{
    CString fileClass;
    if (!ReadClassDefault(".htm", fileClass) || !ReadClassDefault(fileClass + "\\shell\\open\\command", command))
        return Lookup::Missing;
    return command.GetLength() >= kCommandBuffer ? Lookup::TooLong : Lookup::Found;
}

// The command up to its argument placeholder: a quoted "%1" is cut from its
// opening mark, else a bare %1; without either the command stays whole.
CString CommandBeforeArgument(const CString& command)
{
    int cut = command.Find("\"%1\"");
    if (cut < 0)
        cut = command.Find("%1");
    return cut < 0 ? command : command.Left(cut);
}

// The address as one argument of a command line. Backslashes that end it
// are doubled so that they do not escape the closing mark.
CString QuotedArgument(const CString& address)
{
    CString quoted = "\"" + address;
    for (int i = address.GetLength() - 1; i >= 0 && address[i] == '\\'; --i)
        quoted += '\\';
    return quoted + "\"";
}

const char* ResultExplanation(INT_PTR code)
{
    switch (code) {
    case 0: return "The operating system is out\nof memory or resources.";
    case SE_ERR_FNF: return "The specified file was not found.";
    case SE_ERR_PNF: return "The specified path was not found.";
    case SE_ERR_ACCESSDENIED: return "The operating system denied\naccess to the specified file.";
    case SE_ERR_OOM: return "There was not enough memory to complete the operation.";
    case ERROR_BAD_FORMAT: return "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).";
    case SE_ERR_SHARE: return "A sharing violation occurred. ";
    case SE_ERR_ASSOCINCOMPLETE: return "The filename association is\nincomplete or invalid.";
    case SE_ERR_DDETIMEOUT: return "The DDE transaction could not\nbe completed because the request timed out.";
    case SE_ERR_DDEFAIL: return "The DDE transaction failed.";
    case SE_ERR_DDEBUSY:
        return "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
    case SE_ERR_NOASSOC: return "There is no application associated\nwith the given filename extension.";
    case SE_ERR_DLLNOTFOUND: return "The specified dynamic-link library was not found.";
    default: return nullptr;
    }
}

} // namespace

CHyperLink::CHyperLink() : m_crHoverColour(::GetSysColor(COLOR_HIGHLIGHT)) {}

CHyperLink::~CHyperLink()
{
    // The window goes first, while this object's handlers still run.
    if (IsWindow())
        DestroyWindow();
    ReleaseOwnCursor();
}

// ------------------------------------------------------------- properties

void CHyperLink::SetURL(const char* url)
{
    m_strURL = url != nullptr ? url : "";
    if (!IsWindow())
        return;
    PositionWindow();
    if (m_toolTip.IsWindow())
        m_toolTip.UpdateTipText(m_strURL, this, kToolId);
}

void CHyperLink::SetColours(COLORREF link, COLORREF visited, COLORREF hover)
{
    m_crLinkColour = link;
    m_crVisitedColour = visited;
    m_crHoverColour = hover == kSystemHighlight ? ::GetSysColor(COLOR_HIGHLIGHT) : hover;
    Redraw();
}

void CHyperLink::SetVisited(BOOL visited)
{
    if (m_bVisited == (visited != FALSE))
        return;
    m_bVisited = visited != FALSE;
    Redraw();
}

void CHyperLink::SetLinkCursor(HCURSOR cursor)
{
    if (cursor != m_hOwnCursor)
        ReleaseOwnCursor();
    m_hLinkCursor = cursor;
}

void CHyperLink::SetUnderline(BOOL underline)
{
    if (m_bUnderline == (underline != FALSE))
        return;
    m_bUnderline = underline != FALSE;
    if (!IsWindow())
        return;
    MakeFont();
    PositionWindow();
}

void CHyperLink::SetAutoSize(BOOL autoSize)
{
    m_bAdjustToFit = autoSize != FALSE;
    PositionWindow();
}

// ------------------------------------------------------------ attaching

BOOL CHyperLink::PreCreateWindow(CREATESTRUCTA& cs)
{
    m_bCreating = true;
    return CStatic::PreCreateWindow(cs);
}

// A window made elsewhere (a dialog's) is set up when it is attached; one
// made here on its creation message, once it holds its text.
void CHyperLink::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    if (!m_bCreating)
        SetUp();
}

int CHyperLink::OnCreate(CREATESTRUCTA* cs)
{
    const int result = CStatic::OnCreate(cs);
    m_bCreating = false;
    if (result != -1)
        SetUp();
    return result;
}

void CHyperLink::SetUp()
{
    ModifyStyle(0, SS_NOTIFY);
    const CString text = GetWindowText();
    if (m_strURL.IsEmpty())
        m_strURL = text;
    if (text.IsEmpty())
        SetWindowText(m_strURL);
    MakeFont();
    PositionWindow();
    LoadDefaultCursor();
    CreateToolTip();
}

// A copy of the control's font (the default GUI font when it has none),
// underlined or not, becomes its font.
void CHyperLink::MakeFont()
{
    HFONT current = GetFont();
    if (current == nullptr)
        current = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA logFont {};
    if (::GetObjectA(current, sizeof(logFont), &logFont) == 0)
        return;
    logFont.lfUnderline = m_bUnderline ? TRUE : FALSE;
    CFont made;
    if (!made.CreateFontIndirect(logFont))
        return;
    m_bMakingFont = true;
    SetFont(static_cast<HFONT>(made.GetSafeHandle()));
    m_bMakingFont = false;
    // The font in use until now is released only after the control has let
    // go of it.
    m_font.Attach(made.Detach());
}

// The help program's hand cursor, copied so that it outlives the program's
// module; the system's hand where the program or its cursor is missing.
void CHyperLink::LoadDefaultCursor()
{
    if (m_hLinkCursor != nullptr)
        return;
    char folder[MAX_PATH] {};
    const UINT length = ::GetWindowsDirectoryA(folder, MAX_PATH);
    if (length > 0 && length < MAX_PATH) {
        const CString program = CString(folder) + "\\winhlp32.exe";
        if (HMODULE module = ::LoadLibraryExA(program, nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
            if (HCURSOR hand = ::LoadCursorA(module, MAKEINTRESOURCEA(kHelpHandCursor)))
                m_hOwnCursor = static_cast<HCURSOR>(::CopyImage(hand, IMAGE_CURSOR, 0, 0, 0));
            ::FreeLibrary(module);
        }
    }
    m_hLinkCursor = m_hOwnCursor != nullptr ? m_hOwnCursor : ::LoadCursorA(nullptr, MAKEINTRESOURCEA(32649));
}

void CHyperLink::ReleaseOwnCursor()
{
    if (m_hOwnCursor == nullptr)
        return;
    if (m_hLinkCursor == m_hOwnCursor)
        m_hLinkCursor = nullptr;
    ::DestroyCursor(m_hOwnCursor);
    m_hOwnCursor = nullptr;
}

// One tool over the client area shows the address. The tool is not
// subclassed: the link relays its mouse messages itself.
void CHyperLink::CreateToolTip()
{
    if (m_toolTip.IsWindow())
        m_toolTip.DestroyWindow();
    if (!m_toolTip.Create(this))
        return;
    const CRect client = GetClientRect();
    m_toolTip.AddTool(this, m_strURL, &client, kToolId);
}

// Auto size: the window rectangle, in the parent's coordinates, is fitted
// to the extent of the text in the link font. Vertically, a centre-image
// control shrinks equally at top and bottom, any other keeps its top.
// Horizontally, a centred control shrinks equally on both sides, a
// right-aligned one keeps its right edge and any other its left edge.
void CHyperLink::PositionWindow()
{
    if (!IsWindow() || !m_bAdjustToFit)
        return;
    CRect rect = CWindowRect(m_hWnd, GetParent());
    CSize extent;
    {
        CClientDC dc(m_hWnd);
        CSelectScope font(dc, m_font.GetSafeHandle());
        const CString text = GetWindowText();
        extent = dc.GetTextExtent(text, text.GetLength());
    }
    const DWORD style = GetStyle();
    if (style & SS_CENTERIMAGE)
        rect.top += (rect.Height() - extent.cy) / 2;
    rect.bottom = rect.top + extent.cy;
    const DWORD align = style & SS_TYPEMASK;
    if (align == SS_CENTER) {
        rect.left += (rect.Width() - extent.cx) / 2;
        rect.right = rect.left + extent.cx;
    } else if (align == SS_RIGHT) {
        rect.left = rect.right - extent.cx;
    } else {
        rect.right = rect.left + extent.cx;
    }
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    if (m_toolTip.IsWindow())
        m_toolTip.SetToolRect(this, kToolId, GetClientRect());
}

// ------------------------------------------------------------ messages

LRESULT CHyperLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The tool tip watches the mouse through the messages relayed to it.
    if (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST && m_toolTip.IsWindow()) {
        const DWORD position = ::GetMessagePos();
        MSG msg {m_hWnd, message, wParam, lParam, static_cast<DWORD>(::GetMessageTime()),
                 {static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))}};
        m_toolTip.RelayEvent(&msg);
    }
    // A font set from outside becomes the face of the link's own copy, with
    // the underline as chosen.
    if (message == WM_SETFONT && !m_bMakingFont) {
        const LRESULT result = CStatic::WindowProc(message, wParam, lParam);
        MakeFont();
        PositionWindow();
        return result;
    }
    return CStatic::WindowProc(message, wParam, lParam);
}

BOOL CHyperLink::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_CTLCOLORSTATIC) {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, IsOver() ? m_crHoverColour : m_bVisited ? m_crVisitedColour : m_crLinkColour);
        ::SetBkMode(dc, TRANSPARENT);
        *result = reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH));
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
        OnClicked();
        *result = 0;
        return TRUE;
    }
    return CStatic::OnChildNotify(message, wParam, lParam, result);
}

void CHyperLink::OnMouseMove(UINT flags, CPoint point)
{
    if (m_hover.OnMouseMove(m_hWnd))
        Redraw();
    CStatic::OnMouseMove(flags, point);
}

void CHyperLink::OnMouseLeave()
{
    m_hover.OnMouseLeave();
    Redraw();
    CStatic::OnMouseLeave();
}

BOOL CHyperLink::OnSetCursor(HWND wnd, UINT hitTest, UINT message)
{
    if (m_hLinkCursor == nullptr)
        return CStatic::OnSetCursor(wnd, hitTest, message);
    ::SetCursor(m_hLinkCursor);
    return TRUE;
}

// The text is drawn over the parent's own background: the parent erases
// the link's area as if the link were not there.
BOOL CHyperLink::OnEraseBkgnd(CDC* dc)
{
    const HWND parent = GetParent();
    if (parent == nullptr || dc == nullptr)
        return CStatic::OnEraseBkgnd(dc);
    POINT origin {0, 0};
    ::MapWindowPoints(m_hWnd, parent, &origin, 1);
    POINT previous {};
    ::OffsetWindowOrgEx(*dc, origin.x, origin.y, &previous);
    ::SendMessageA(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc->GetSafeHdc()), 0);
    ::SetWindowOrgEx(*dc, previous.x, previous.y, nullptr);
    return TRUE;
}

void CHyperLink::OnDestroy()
{
    if (m_toolTip.IsWindow())
        m_toolTip.DestroyWindow();
    m_hover.OnMouseLeave();
    CStatic::OnDestroy();
}

void CHyperLink::Redraw()
{
    if (IsWindow())
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

// ------------------------------------------------------------ opening

void CHyperLink::OnClicked()
{
    const INT_PTR result = GotoURL(m_strURL, SW_SHOW);
    if (result > HINSTANCE_ERROR) {
        SetVisited(TRUE);
        return;
    }
    ::MessageBeep(MB_ICONEXCLAMATION);
    ReportError(result);
}

INT_PTR CHyperLink::GotoURL(const char* url, int showCommand)
{
    const CString address(url != nullptr ? url : "");
    const INT_PTR opened = platform::ShellOpen(address, showCommand);
    if (opened > HINSTANCE_ERROR || address.IsEmpty() || address.Find('"') >= 0)
        return opened;
    CString command;
    switch (HtmOpenCommand(command)) {
    case Lookup::Missing:
        return opened;
    case Lookup::TooLong:
        return SE_ERR_ASSOCINCOMPLETE;
    case Lookup::Found:
        break;
    }
    const CString commandLine = CommandBeforeArgument(command) + " " + QuotedArgument(address);
    return static_cast<INT_PTR>(platform::RunCommandLine(commandLine, showCommand));
}

CString CHyperLink::ErrorReportText(INT_PTR code)
{
    CString explanation;
    if (const char* text = ResultExplanation(code))
        explanation = text;
    else
        explanation.Format("Unknown Error (%d) occurred.", static_cast<int>(code));
    return "Unable to open hyperlink:\n\n" + explanation;
}

void CHyperLink::ReportError(INT_PTR code)
{
    const CWinApp* app = AfxGetApp();
    const HWND owner = IsWindow() ? ::GetAncestor(m_hWnd, GA_ROOT) : nullptr;
    ::MessageBoxA(owner, ErrorReportText(code), app != nullptr ? app->m_pszAppName : nullptr,
                  MB_OK | MB_ICONEXCLAMATION);
}

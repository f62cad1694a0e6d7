#include "controls/win/HookedMsgBox.h"

#include "controls/win/BalloonHelp.h"
#include "controls/win/HookedMsgBoxIdle.h"
#include "controls/win/HoverButton.h"
#include "controls/win/WindowUtils.h"
#include "controls/win/WindowWrappers.h"
#include "framework/WinApp.h"
#include "framework/win/DC.h"
#include "platform/Module.h"
#include "platform/ModuleState.h"
#include "services/Branding.h"

#include <algorithm>
#include <memory>

using namespace hooked_msgbox;

namespace {

constexpr int kSeparatorId = 444;
constexpr int kCheckboxId = 555;
constexpr int kBandItem = 0xCAFE;
constexpr int kTextItem = 0xFFFF;
constexpr int kMargin = 7;
constexpr UINT kHelpPromptAddr = 0x376;
constexpr UINT kIconMask = 0xF0;

// A message box is open on this thread.
thread_local bool t_inHere = false;
// The answers could not be saved when they last changed.
bool s_answersUnsaved = false;

bool IsClass(HWND wnd, const char* name)
{
    char buffer[64] = {};
    ::GetClassNameA(wnd, buffer, sizeof buffer);
    return ::lstrcmpiA(buffer, name) == 0;
}

// Shown by its own style; the box itself may not be visible yet.
bool IsShown(HWND wnd)
{
    return wnd != nullptr && (::GetWindowLongA(wnd, GWL_STYLE) & WS_VISIBLE) != 0;
}

// Check boxes and radio buttons; push buttons and group boxes keep their
// own painting.
bool IsCheckOrRadio(LONG style)
{
    switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
    case BS_AUTORADIOBUTTON:
        return true;
    default:
        return false;
    }
}

std::vector<HWND> Children(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

// The owner for a modal box, and the top-level window that must be disabled
// meanwhile because the system disables only the owner.
HWND SafeOwner(CWinApp* app, HWND& topToEnable)
{
    topToEnable = nullptr;
    HWND owner = app != nullptr && app->GetMainWnd() != nullptr ? app->GetMainWnd()->GetSafeHwnd()
                                                                : ::GetActiveWindow();
    if (owner == nullptr)
        return nullptr;
    HWND top = owner;
    while ((::GetWindowLongA(top, GWL_STYLE) & WS_CHILD) != 0 && ::GetParent(top) != nullptr)
        top = ::GetParent(top);
    HWND popup = ::GetLastActivePopup(top);
    if (popup != nullptr)
        owner = popup;
    if (top != owner && ::IsWindowEnabled(top)) {
        ::EnableWindow(top, FALSE);
        topToEnable = top;
    }
    return owner;
}

// OK, OK/Cancel, Yes/No/Cancel and Yes/No boxes without an icon get the
// exclamation mark.
UINT WithDefaultIcon(UINT type)
{
    const UINT buttons = type & MB_TYPEMASK;
    const bool plain = buttons == MB_OK || buttons == MB_OKCANCEL || buttons == MB_YESNOCANCEL || buttons == MB_YESNO;
    return (type & kIconMask) == 0 && plain ? type | MB_ICONEXCLAMATION : type;
}

CString LabelText(const char* label)
{
    if (label == nullptr)
        return "Do not show this message in the future";
    if (IS_INTRESOURCE(label)) {
        CString text;
        LoadResourceString(static_cast<UINT>(reinterpret_cast<UINT_PTR>(label)), text);
        return text;
    }
    return label;
}

// The help context of the top-level window, else the application's.
DWORD* HelpPrompt(CWinApp* app, HWND top)
{
    DWORD* prompt = top != nullptr ? reinterpret_cast<DWORD*>(::SendMessageA(top, kHelpPromptAddr, 0, 0)) : nullptr;
    if (prompt == nullptr && app != nullptr)
        prompt = &app->m_dwPromptContext;
    return prompt;
}

} // namespace

// ------------------------------------------------------------ entry points

int CHookedMsgBox::AfxMessageBox(const char* text, UINT type, UINT helpId, int doNotAgainId, const char* label)
{
    return DoMessageBox(AfxGetApp(), text, type, helpId, doNotAgainId, label, nullptr);
}

int CHookedMsgBox::AfxMessageBox(UINT textId, UINT type, UINT helpId, int doNotAgainId, const char* label)
{
    CString text;
    LoadResourceString(textId, text);
    if (helpId == static_cast<UINT>(-1))
        helpId = textId;
    return DoMessageBox(AfxGetApp(), text, type, helpId, doNotAgainId, label, nullptr);
}

int CHookedMsgBox::AfxMessageBox(const char* text, UINT type, UINT helpId, CWnd* childDlg)
{
    return DoMessageBox(AfxGetApp(), text, type, helpId, 0, nullptr, childDlg);
}

int CHookedMsgBox::AfxMessageBox(UINT textId, UINT type, UINT helpId, CWnd* childDlg)
{
    CString text;
    LoadResourceString(textId, text);
    if (helpId == static_cast<UINT>(-1))
        helpId = textId;
    return DoMessageBox(AfxGetApp(), text, type, helpId, 0, nullptr, childDlg);
}

int CHookedMsgBox::DoMessageBox(CWinApp* app, const char* text, UINT type, UINT helpId, int doNotAgainId,
                                const char* label, CWnd* childDlg)
{
    if (t_inHere) {
        POINT cursor {};
        ::GetCursorPos(&cursor);
        CBalloonHelp::LaunchBalloon("Action failed:", "Please dismiss prior message and try again", cursor,
                                    IDI_EXCLAMATION,
                                    CBalloonHelp::unCLOSE_ON_KEYPRESS | CBalloonHelp::unCLOSE_ON_MOUSE_MOVE
                                        | CBalloonHelp::unDISABLE_FADEOUT,
                                    nullptr, CString(), 3000);
        return RefusedSecondBox;
    }
    t_inHere = true;
    if (app != nullptr)
        app->EnableModeless(FALSE);
    HWND top = nullptr;
    HWND owner = SafeOwner(app, top);

    CString message = text != nullptr ? text : "";
    if (message.Find('$') >= 0)
        message = ReplaceAllBrandedTokens(message);
    DWORD* prompt = HelpPrompt(app, top != nullptr ? top : owner);
    const DWORD oldPrompt = prompt != nullptr ? *prompt : 0;
    if (prompt != nullptr && helpId != 0)
        *prompt = 0x30000 + helpId;
    type = WithDefaultIcon(type);

    int result = 0;
    DWORD lastError = 0;
    if (app != nullptr && app->m_pszAppName == nullptr) {
        result = ::MessageBoxA(owner, message, nullptr, type);
        lastError = ::GetLastError();
    } else if (doNotAgainId > 0 && IsIgnoredDoNotAgainMessage(doNotAgainId)) {
        result = SuppressedByAnswer;
    } else {
        const CString caption = app != nullptr ? CString(app->m_pszAppName)
                                               : CString(platform::ModuleFileName(nullptr).c_str());
        try {
            auto box = std::make_unique<CHookedMsgBox>();
            result = box->MessageBoxA(owner, message, caption, type, doNotAgainId, label, childDlg);
            lastError = ::GetLastError();
        } catch (...) {
            // A handler failed; the box is gone and the caller sees a failure.
            result = 0;
            lastError = ERROR_CANCELLED;
        }
    }

    if (prompt != nullptr)
        *prompt = oldPrompt;
    if (top != nullptr)
        ::EnableWindow(top, TRUE);
    if (app != nullptr)
        app->EnableModeless(TRUE);
    t_inHere = false;
    if (result == 0)
        ::SetLastError(lastError);
    return result;
}

BOOL CHookedMsgBox::IsIgnoredDoNotAgainMessage(int messageId)
{
    CSectionLock lock(sm_sect);
    int status = 0;
    return sm_mapDoNotAgain.Lookup(messageId, status) && status != 0;
}

void CHookedMsgBox::SetDoNotAgainMessageStatus(int messageId, BOOL show)
{
    CSectionLock lock(sm_sect);
    if (show)
        sm_mapDoNotAgain.RemoveKey(messageId);
    else
        sm_mapDoNotAgain.SetAt(messageId, 1);
    SaveAnswersLocked();
}

// Answers are saved as soon as they change, so that a crash loses none; an
// unload saves again only when that failed.
void CHookedMsgBox::SaveAnswersLocked()
{
    s_answersUnsaved = !sm_mapDoNotAgain.SaveToRegistry();
}

CHookedMsgBox::_init::_init()
{
    CSectionLock lock(sm_sect);
    sm_mapDoNotAgain.LoadFromRegistry();
}

CHookedMsgBox::_init::~_init()
{
    CSectionLock lock(sm_sect);
    if (s_answersUnsaved)
        SaveAnswersLocked();
}

bool CHookedMsgBox::CompareButtonPositions(const CWnd* first, const CWnd* second)
{
    return first->GetWindowRect().left < second->GetWindowRect().left;
}

// ------------------------------------------------------------ the box

CHookedMsgBox::CHookedMsgBox() = default;

CHookedMsgBox::~CHookedMsgBox()
{
    for (CNimHoverButton* button : m_buttons)
        delete button;
}

int CHookedMsgBox::MessageBoxA(HWND owner, const char* text, const char* caption, UINT type, int doNotAgainId,
                               const char* label, CWnd* childDlg)
{
    m_strCaption = caption != nullptr ? caption : "";
    m_strText = text != nullptr ? text : "";
    const LeadingMarkup markup = ParseLeadingMarkup(m_strText);
    m_extraButtons = markup.buttons;
    if (markup.hasBorderColor) {
        m_border.color = markup.borderColor;
        m_border.pen.DeleteObject();
        m_border.brush.DeleteObject();
    }
    if (markup.orderBkgndColor != kNoColor)
        m_crOrderBkgnd = markup.orderBkgndColor;
    const CString shown = RemoveListMarkers(markup.rest);

    m_nDoNotAgainId = doNotAgainId;
    m_pChildDlg = childDlg;
    if (m_pChildDlg != nullptr && m_crOrderBkgnd != kNoColor)
        TakeOverChildDialogCheckboxes();
    if (m_nDoNotAgainId > 0)
        m_strLabel = LabelText(label);

    CString adoptedCaption;
    adoptedCaption.Format("CHookedMsgBox:%x", static_cast<unsigned>(reinterpret_cast<UINT_PTR>(this)));
    const INT_PTR result = RunAdopted(
        [&] { return static_cast<INT_PTR>(::MessageBoxA(owner, shown, adoptedCaption, type)); });
    return m_nExtraResult != 0 ? static_cast<int>(m_nExtraResult) : static_cast<int>(result);
}

void CHookedMsgBox::TakeOverChildDialogCheckboxes()
{
    for (HWND child : Children(m_pChildDlg->GetSafeHwnd())) {
        if (!IsClass(child, "button") || !IsCheckOrRadio(::GetWindowLongA(child, GWL_STYLE)))
            continue;
        auto* checkbox = new CHookedMsgBoxCheckbox(true);
        if (!checkbox->SubclassWindow(child))
            delete checkbox;
    }
}

int CHookedMsgBox::OnCreate(CREATESTRUCTA* cs)
{
    const int created = CDialog::OnCreate(cs);
    if (created == -1)
        return created;
    StopAdopting();
    m_bIdleStarted = hooked_msgbox::StartIdlePulse();
    return created;
}

BOOL CHookedMsgBox::OnInitDialog()
{
    const BOOL focus = CDialog::OnInitDialog();
    if (m_crOrderBkgnd != kNoColor && ::GetDlgItem(m_hWnd, kBandItem) != nullptr)
        ::ShowWindow(::GetDlgItem(m_hWnd, kBandItem), SW_HIDE);
    m_nWidthAtInit = GetWindowRect().Width();

    SetWindowText(m_strCaption);
    HWND text = FindTextControl();
    int listGrowth = 0;
    if (text != nullptr && m_static.SubclassWindow(text)) {
        const int before = GetWindowRect().Width();
        const int grow = m_static.Layout(ParseLeadingMarkup(m_strText).rest);
        listGrowth = GetWindowRect().Width() - before;
        if (grow > 0)
            Grow(grow, 0);
    }

    const int oldClientHeight = GetClientRect().Height();
    if (m_nDoNotAgainId > 0)
        AddCheckbox(oldClientHeight);
    else if (m_pChildDlg != nullptr)
        EmbedChildDialog(oldClientHeight);

    // The list block moved the buttons already for its own growth.
    TakeOverButtons((GetWindowRect().Width() - m_nWidthAtInit - listGrowth) / 2);
    CreateExtraButtons();
    if (m_pChildDlg != nullptr)
        ModifyStyle(0, WS_CLIPCHILDREN);
    RedrawWindow();
    ComputeBandTop();
    return focus;
}

// The native text: item 0xFFFF where the system uses it, else the first
// static that is not the icon.
HWND CHookedMsgBox::FindTextControl() const
{
    HWND item = ::GetDlgItem(m_hWnd, kTextItem);
    if (item != nullptr && IsClass(item, "Static"))
        return item;
    for (HWND child : Children(m_hWnd)) {
        const LONG type = ::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK;
        if (IsClass(child, "Static") && type != SS_ICON && ::GetDlgCtrlID(child) != kBandItem)
            return child;
    }
    return nullptr;
}

// The native push buttons the user can see, in creation order.
std::vector<HWND> CHookedMsgBox::NativeButtons() const
{
    std::vector<HWND> buttons;
    for (HWND child : Children(m_hWnd)) {
        if (IsClass(child, "Button") && child != m_checkbox.GetSafeHwnd() && IsShown(child)
            && CWnd::FromHandlePermanent(child) == nullptr)
            buttons.push_back(child);
    }
    return buttons;
}

void CHookedMsgBox::Grow(int dx, int dy)
{
    CRect rect = GetWindowRect();
    rect.left -= dx / 2;
    rect.right += dx - dx / 2;
    rect.top -= dy / 2;
    rect.bottom += dy - dy / 2;
    SetWindowPos(nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CHookedMsgBox::CenterOnParent()
{
    CRect area;
    HWND owner = ::GetWindow(m_hWnd, GW_OWNER);
    if (owner != nullptr && ::IsWindowVisible(owner))
        ::GetWindowRect(owner, &area);
    else
        ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    const CRect rect = GetWindowRect();
    SetWindowPos(nullptr, area.left + (area.Width() - rect.Width()) / 2, area.top + (area.Height() - rect.Height()) / 2,
                 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CHookedMsgBox::AddCheckbox(int oldClientHeight)
{
    CClientDC dc(m_static.GetSafeHwnd() != nullptr ? m_static.GetSafeHwnd() : m_hWnd);
    const HFONT font = m_static.GetSafeHwnd() != nullptr ? m_static.GetFont() : GetFont();
    CSelectScope select(dc, font);
    const CSize label = dc.GetTextExtent(m_strLabel, m_strLabel.GetLength());
    const int width = label.cx + ::GetSystemMetrics(SM_CXMENUCHECK) + ::GetSystemMetrics(SM_CXEDGE);
    const int height = std::max<int>(label.cy, ::GetSystemMetrics(SM_CYMENUCHECK));
    if (GetClientRect().Width() < width + 2 * kMargin)
        Grow(width + 2 * kMargin - GetClientRect().Width(), 0);
    const CRect client = GetClientRect();
    m_separator.Create("", WS_CHILD | WS_VISIBLE | SS_BLACKFRAME | SS_SUNKEN,
                       CRect(kMargin, oldClientHeight, client.right - kMargin, oldClientHeight + 2), this, kSeparatorId);
    m_checkbox.Create(m_strLabel, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                      CRect(kMargin, oldClientHeight + 9, client.right - kMargin, oldClientHeight + 9 + height), this,
                      kCheckboxId);
    m_checkbox.SetFont(font);
    Grow(0, height + 16);
    CenterOnParent();
}

void CHookedMsgBox::EmbedChildDialog(int oldClientHeight)
{
    const int margin = kMargin + (m_border.color != kNoColor ? m_border.width : 0);
    const CRect child = m_pChildDlg->GetWindowRect();
    if (GetClientRect().Width() < child.Width() + 2 * margin)
        Grow(child.Width() + 2 * margin - GetClientRect().Width(), 0);
    const CRect client = GetClientRect();
    m_separator.Create("", WS_CHILD | WS_VISIBLE | SS_BLACKFRAME | SS_SUNKEN,
                       CRect(margin, oldClientHeight, client.right - margin, oldClientHeight + 2), this, kSeparatorId);
    m_pChildDlg->ModifyStyle(WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | DS_MODALFRAME, WS_CHILD);
    m_pChildDlg->ModifyStyleEx(WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE, 0);
    ::SetParent(m_pChildDlg->GetSafeHwnd(), m_hWnd);
    m_pChildDlg->SetWindowPos(nullptr, margin, oldClientHeight + margin + 2, child.Width(), child.Height(),
                              SWP_NOZORDER | SWP_SHOWWINDOW | SWP_FRAMECHANGED);
    // The embedded dialog asks itself for its colours; the box answers.
    ::SetWindowSubclass(m_pChildDlg->GetSafeHwnd(), ChildDialogColors, 0, reinterpret_cast<DWORD_PTR>(this));
    Grow(0, margin + 2 + child.Height() + margin);
    CenterOnParent();
}

void CHookedMsgBox::TakeOverButtons(int halfGrowth)
{
    for (HWND native : NativeButtons()) {
        auto* button = new CNimHoverButton;
        if (!button->SubclassWindow(native)) {
            delete button;
            continue;
        }
        m_buttons.push_back(button);
        const CRect rect = CWindowRect(native, m_hWnd);
        button->SetWindowPos(nullptr, rect.left + halfGrowth, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    m_nNativeButtons = m_buttons.size();
}

void CHookedMsgBox::CreateExtraButtons()
{
    if (m_extraButtons.empty() || m_nNativeButtons == 0)
        return;
    std::vector<CNimHoverButton*> sorted(m_buttons.begin(), m_buttons.begin() + static_cast<long>(m_nNativeButtons));
    std::sort(sorted.begin(), sorted.end(), CompareButtonPositions);

    ExtraButtonInput in;
    for (CNimHoverButton* button : sorted)
        in.native.push_back(CWindowRect(*button, m_hWnd));
    CClientDC dc(m_hWnd);
    CSelectScope select(dc, GetFont());
    for (const ExtraButton& extra : m_extraButtons) {
        const CString wide = "M" + extra.caption + "M";
        in.captionWidth.push_back(dc.GetTextExtent(wide, wide.GetLength()).cx);
    }
    in.clientWidth = GetClientRect().Width();
    in.borderWidth = m_border.color != kNoColor ? m_border.width : 0;
    const ExtraButtonPlan plan = PlanExtraButtons(in);

    const DWORD style = (sorted.front()->GetStyle() & ~(BS_TYPEMASK | BS_DEFPUSHBUTTON)) | BS_PUSHBUTTON | WS_VISIBLE;
    for (size_t i = 0; i < m_extraButtons.size(); ++i) {
        auto* button = new CNimHoverButton;
        if (!button->Create(m_extraButtons[i].caption, style, plan.extras[i], this, m_extraButtons[i].id)) {
            delete button;
            continue;
        }
        button->SetFont(GetFont());
        m_buttons.push_back(button);
    }
    for (size_t i = 0; i < m_nNativeButtons; ++i) {
        const CRect rect = CWindowRect(*m_buttons[i], m_hWnd);
        m_buttons[i]->SetWindowPos(nullptr, rect.left + plan.shift, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    if (plan.widen <= 0)
        return;
    CRect rect = GetWindowRect();
    SetWindowPos(nullptr, 0, 0, rect.Width() + plan.widen, rect.Height(), SWP_NOMOVE | SWP_NOZORDER);
    for (CWnd* wider : {static_cast<CWnd*>(&m_static), static_cast<CWnd*>(&m_separator), m_pChildDlg}) {
        if (wider == nullptr || wider->GetSafeHwnd() == nullptr)
            continue;
        const CRect part = wider->GetWindowRect();
        wider->SetWindowPos(nullptr, 0, 0, part.Width() + plan.widen, part.Height(),
                            SWP_NOMOVE | SWP_NOZORDER);
    }
    CenterOnParent();
}

// Moves every button of the box; the shift right is cut where the rightmost
// button would pass rightLimit (none when rightLimit is 0).
void CHookedMsgBox::ShiftButtons(int dx, int dy, int rightLimit)
{
    std::vector<HWND> buttons;
    int rightmost = 0;
    for (HWND child : Children(m_hWnd)) {
        if (IsClass(child, "button") && IsShown(child)) {
            buttons.push_back(child);
            rightmost = std::max<int>(rightmost, CWindowRect(child, m_hWnd).right);
        }
    }
    if (rightLimit > 0)
        dx -= std::max(0, rightmost + dx - rightLimit);
    for (HWND button : buttons) {
        const CRect rect = CWindowRect(button, m_hWnd);
        ::SetWindowPos(button, nullptr, rect.left + dx, rect.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
}

bool CHookedMsgBox::IsOwnControl(HWND wnd) const
{
    if (wnd == m_checkbox.GetSafeHwnd())
        return true;
    HWND child = m_pChildDlg != nullptr ? m_pChildDlg->GetSafeHwnd() : nullptr;
    return child != nullptr && (wnd == child || ::IsChild(child, wnd));
}

BOOL CHookedMsgBox::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT id = LOWORD(wParam);
    if (HIWORD(wParam) == BN_CLICKED && id >= FirstExtraId && id <= LastExtraId
        && std::any_of(m_extraButtons.begin(), m_extraButtons.end(),
                       [id](const ExtraButton& extra) { return extra.id == id; })) {
        OnExtraBtn(id);
        return TRUE;
    }
    if (HIWORD(wParam) == BN_CLICKED && id == IDCANCEL) {
        OnCancel();
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CHookedMsgBox::OnExtraBtn(UINT id)
{
    m_nExtraResult = id;
    if (m_nNativeButtons == 0)
        return;
    CNimHoverButton* last = m_buttons[m_nNativeButtons - 1];
    PostMessage(WM_COMMAND, MAKEWPARAM(last->GetDlgCtrlID(), BN_CLICKED), reinterpret_cast<LPARAM>(last->GetSafeHwnd()));
}

// Escape or the close box on a Yes/No box answers No. Some native boxes end
// with Cancel on their own there, so the native handling is left out then.
void CHookedMsgBox::OnCancel()
{
    HWND no = ::GetDlgItem(m_hWnd, IDNO);
    HWND cancel = ::GetDlgItem(m_hWnd, IDCANCEL);
    if (m_nExtraResult == 0 && IsShown(no) && !IsShown(cancel)) {
        PostMessage(WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), reinterpret_cast<LPARAM>(no));
        return;
    }
    CDialog::OnCancel();
}

void CHookedMsgBox::OnDestroy()
{
    if (m_nDoNotAgainId > 0 && m_checkbox.GetSafeHwnd() != nullptr && m_checkbox.GetCheck() == BST_CHECKED) {
        CSectionLock lock(sm_sect);
        sm_mapDoNotAgain.SetAt(m_nDoNotAgainId, 1);
        SaveAnswersLocked();
    }
    // The buttons' windows go with the box; their objects let go of them.
    for (CNimHoverButton* button : m_buttons) {
        button->UnsubclassWindow();
        delete button;
    }
    m_buttons.clear();
    if (m_pChildDlg != nullptr && m_pChildDlg->GetSafeHwnd() != nullptr)
        ::RemoveWindowSubclass(m_pChildDlg->GetSafeHwnd(), ChildDialogColors, 0);
    if (m_bIdleStarted)
        hooked_msgbox::StopIdlePulse();
    m_bIdleStarted = false;
    CDialog::OnDestroy();
}

LRESULT CHookedMsgBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_WINDOWPOSCHANGED)
        return Default();
    return CDialog::WindowProc(message, wParam, lParam);
}

void CHookedMsgBox::OnSize(UINT type, int cx, int cy)
{
    CDialog::OnSize(type, cx, cy);
    ComputeBandTop();
}

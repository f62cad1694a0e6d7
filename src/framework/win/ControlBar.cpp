#include "framework/win/ControlBar.h"

#include "framework/win/FrameWnd.h"
#include "framework/win/Gdi.h"

#include <vector>

// ------------------------------------------------------------ control bar

CSize CControlBar::CalcFixedLayout(int width)
{
    return CSize(width, GetWindowRect().Height());
}

void CControlBar::OnUpdateCmdUI(CWnd*, BOOL)
{
}

LRESULT CControlBar::OnIdleUpdateCmdUI(WPARAM wParam, LPARAM)
{
    if (!IsWindowVisible())
        return 0;
    if (CFrameWnd* frame = FindParentFrame(m_hWnd))
        OnUpdateCmdUI(frame, static_cast<BOOL>(wParam));
    return 0;
}

LRESULT CControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_IDLEUPDATECMDUI)
        return OnIdleUpdateCmdUI(wParam, lParam);
    return CWnd::WindowProc(message, wParam, lParam);
}

// --------------------------------------------------------------- toolbar

BOOL CToolBar::Create(HWND parent, DWORD style, DWORD barStyle, UINT id)
{
    m_dwBarStyle = barStyle;
    // The frame or the rebar places the bar; it must not place itself.
    const DWORD own = TBSTYLE_FLAT | CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (!CreateEx(0, TOOLBARCLASSNAMEA, nullptr, style | WS_CHILD | own, CRect(0, 0, 0, 0), parent, id))
        return FALSE;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    return TRUE;
}

BOOL CToolBar::LoadBitmap(UINT bitmapId, CSize imageSize)
{
    CBitmap bitmap;
    if (!bitmap.LoadBitmap(bitmapId))
        return FALSE;
    CImageList images;
    if (!images.Create(imageSize.cx, imageSize.cy, ILC_COLOR24 | ILC_MASK, 8, 4) ||
        images.AddMasked(bitmap, RGB(255, 0, 255)) < 0)
        return FALSE;
    // The toolbar keeps using the list it was given: the old one goes only
    // once the new one is in.
    SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(images.GetSafeHandle()));
    m_images.Attach(images.Detach());
    SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(imageSize.cx, imageSize.cy));
    return TRUE;
}

BOOL CToolBar::SetButtons(const UINT* ids, int count)
{
    if (count < 0 || (ids == nullptr && count > 0))
        return FALSE;
    while (GetCount() > 0)
        SendMessage(TB_DELETEBUTTON, 0);
    std::vector<TBBUTTON> buttons(static_cast<size_t>(count));
    int image = 0;
    for (int i = 0; i < count; ++i) {
        TBBUTTON& button = buttons[static_cast<size_t>(i)];
        button.idCommand = static_cast<int>(ids[i]);
        if (ids[i] == ID_SEPARATOR) {
            button.fsStyle = BTNS_SEP;
        } else {
            button.iBitmap = image++;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
        }
    }
    if (count > 0 && !SendMessage(TB_ADDBUTTONSA, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(buttons.data())))
        return FALSE;
    return TRUE;
}

int CToolBar::GetCount() const
{
    return static_cast<int>(SendMessage(TB_BUTTONCOUNT));
}

UINT CToolBar::GetItemID(int index) const
{
    TBBUTTON button {};
    if (!SendMessage(TB_GETBUTTON, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&button)))
        return ID_SEPARATOR;
    return (button.fsStyle & BTNS_SEP) != 0 ? ID_SEPARATOR : static_cast<UINT>(button.idCommand);
}

int CToolBar::CommandToIndex(UINT id) const
{
    return static_cast<int>(SendMessage(TB_COMMANDTOINDEX, id));
}

BOOL CToolBar::IsButtonEnabled(UINT id) const
{
    return SendMessage(TB_ISBUTTONENABLED, id) != 0;
}

BOOL CToolBar::IsButtonChecked(UINT id) const
{
    return SendMessage(TB_ISBUTTONCHECKED, id) != 0;
}

BOOL CToolBar::SetButtonText(UINT id, const char* text)
{
    if (CommandToIndex(id) < 0)
        return FALSE;
    // Buttons without a text keep showing their image alone.
    ModifyStyle(0, TBSTYLE_LIST);
    SendMessage(TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_MIXEDBUTTONS);
    TBBUTTONINFOA info {};
    info.cbSize = sizeof info;
    info.dwMask = TBIF_TEXT | TBIF_STYLE;
    info.fsStyle = BTNS_BUTTON | BTNS_AUTOSIZE | BTNS_SHOWTEXT;
    info.pszText = const_cast<char*>(text != nullptr ? text : "");
    const BOOL set = static_cast<BOOL>(SendMessage(TB_SETBUTTONINFOA, id, reinterpret_cast<LPARAM>(&info)));
    SendMessage(TB_AUTOSIZE);
    return set;
}

BOOL CToolBar::SetButtonImage(UINT id, int image)
{
    return CommandToIndex(id) >= 0 && SendMessage(TB_CHANGEBITMAP, id, MAKELPARAM(image, 0)) != 0;
}

CSize CToolBar::CalcFixedLayout(int width)
{
    // The buttons' height and the toolbar's margins above and below them.
    const DWORD size = static_cast<DWORD>(SendMessage(TB_GETBUTTONSIZE));
    return CSize(width, HIWORD(size) + 4);
}

void CToolBar::OnUpdateCmdUI(CWnd* target, BOOL disableIfNoHandler)
{
    CToolCmdUI state;
    state.m_pOther = this;
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        state.m_nID = GetItemID(i);
        state.m_nIndex = static_cast<UINT>(i);
        if (state.m_nID != ID_SEPARATOR)
            state.DoUpdate(target, disableIfNoHandler);
    }
}

void CToolCmdUI::Enable(BOOL on)
{
    m_bEnableChanged = TRUE;
    // Only a change repaints the button.
    const bool enabled = m_pOther->SendMessage(TB_ISBUTTONENABLED, m_nID) != 0;
    if (enabled != (on != FALSE))
        m_pOther->SendMessage(TB_ENABLEBUTTON, m_nID, MAKELPARAM(on ? TRUE : FALSE, 0));
}

void CToolCmdUI::SetCheck(int check)
{
    const bool checked = m_pOther->SendMessage(TB_ISBUTTONCHECKED, m_nID) != 0;
    if (checked != (check == 1))
        m_pOther->SendMessage(TB_CHECKBUTTON, m_nID, MAKELPARAM(check == 1, 0));
    const bool indeterminate = m_pOther->SendMessage(TB_ISBUTTONINDETERMINATE, m_nID) != 0;
    if (indeterminate != (check == 2))
        m_pOther->SendMessage(TB_INDETERMINATE, m_nID, MAKELPARAM(check == 2, 0));
}

// ----------------------------------------------------------------- rebar

BOOL CReBar::Create(HWND parent, DWORD style, DWORD barStyle, UINT id)
{
    m_dwBarStyle = barStyle;
    const DWORD own = WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT | RBS_BANDBORDERS | CCS_NODIVIDER |
                      CCS_NOPARENTALIGN | CCS_NORESIZE;
    return CreateEx(0, REBARCLASSNAMEA, nullptr, style | WS_CHILD | own, CRect(0, 0, 0, 0), parent, id);
}

BOOL CReBar::AddBar(CWnd* bar, const char* text)
{
    if (bar == nullptr || bar->GetSafeHwnd() == nullptr)
        return FALSE;
    auto* controlBar = dynamic_cast<CControlBar*>(bar);
    const int height = controlBar != nullptr ? controlBar->CalcFixedLayout(0).cy : bar->GetWindowRect().Height();
    REBARBANDINFOA band {};
    band.cbSize = sizeof band;
    band.fMask = RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_STYLE | (text != nullptr ? RBBIM_TEXT : 0);
    band.fStyle = RBBS_CHILDEDGE | RBBS_GRIPPERALWAYS;
    band.hwndChild = bar->GetSafeHwnd();
    band.cyMinChild = static_cast<UINT>(height);
    band.lpText = const_cast<char*>(text);
    return SendMessage(RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band)) != 0;
}

int CReBar::GetBandCount() const
{
    return static_cast<int>(SendMessage(RB_GETBANDCOUNT));
}

CSize CReBar::CalcFixedLayout(int width)
{
    return CSize(width, static_cast<int>(SendMessage(RB_GETBARHEIGHT)));
}

// ------------------------------------------------------------ status bar

BOOL CStatusBar::Create(HWND parent, DWORD style, DWORD barStyle, UINT id)
{
    m_dwBarStyle = barStyle;
    // The bar takes its own height from its font when it is made.
    if (!CreateEx(0, STATUSCLASSNAMEA, nullptr, style | WS_CHILD | CCS_NOPARENTALIGN, CRect(0, 0, 0, 0), parent, id))
        return FALSE;
    m_nHeight = GetWindowRect().Height();
    return TRUE;
}

BOOL CStatusBar::SetParts(const int* rightEdges, int count)
{
    if (count <= 0 || count > 255 || rightEdges == nullptr)
        return FALSE;
    return SendMessage(SB_SETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(rightEdges)) != 0;
}

BOOL CStatusBar::SetPaneText(int index, const char* text)
{
    return SendMessage(SB_SETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text != nullptr ? text : "")) != 0;
}

CString CStatusBar::GetPaneText(int index) const
{
    const int length = LOWORD(SendMessage(SB_GETTEXTLENGTHA, static_cast<WPARAM>(index)));
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    SendMessage(SB_GETTEXTA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    return CString(text.data());
}

CSize CStatusBar::CalcFixedLayout(int width)
{
    return CSize(width, m_nHeight);
}

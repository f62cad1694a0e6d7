#include "controls/win/MenuButton.h"

#include "controls/win/HoverLook.h"
#include "controls/win/SysColors.h"
#include "controls/win/WindowUtils.h"
#include "framework/win/DC.h"
#include "framework/win/Gdi.h"
#include "framework/win/Menu.h"

#include <vsstyle.h>

#include <algorithm>

namespace {

// System metric 10 is the width of a scroll bar's arrow and thumb, 45 the
// width of a 3-D edge.
int ArrowWidthFromMetrics()
{
    return std::max(::GetSystemMetrics(10), 5 * ::GetSystemMetrics(45)) + 1;
}

SIZE SmallIconSize()
{
    return SIZE {::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON)};
}

int ThemeState(bool hot, bool pressed, bool disabled)
{
    if (disabled)
        return CBXS_DISABLED;
    if (pressed)
        return CBXS_PRESSED;
    return hot ? CBXS_HOT : CBXS_NORMAL;
}

} // namespace

CNimMenuButton::CNimMenuButton() : m_nArrowWidth(ArrowWidthFromMetrics())
{
    // Fast clicks each open the menu.
    SetIgnoreDoubleClicks(TRUE);
}

CNimMenuButton::~CNimMenuButton() = default;

// ------------------------------------------------------------------ items

int CNimMenuButton::AddItem(const char* text, HICON icon)
{
    Item item {text != nullptr ? CString(text) : CString(), CIcon(), -1};
    if (icon != nullptr) {
        if (!item.icon.CopyFrom(icon))
            return -1;
        const SIZE size = SmallIconSize();
        if (m_images.IsNull())
            m_images.Create(size.cx, size.cy, ILC_COLOR32 | ILC_MASK, 4, 4);
        item.image = m_images.Add(item.icon);
    }
    m_items.push_back(std::move(item));
    return GetItemCount() - 1;
}

CString CNimMenuButton::GetItemText(int index) const
{
    return index >= 0 && index < GetItemCount() ? m_items[static_cast<size_t>(index)].text : CString();
}

BOOL CNimMenuButton::SetSel(int index)
{
    if (index < -1 || index >= GetItemCount())
        return FALSE;
    m_nCurSel = index;
    if (!IsWindow())
        return TRUE;
    HWND self = m_hWnd;
    if (index >= 0) {
        const Item& item = m_items[static_cast<size_t>(index)];
        NMMENUBUTTON notify {};
        notify.hdr.hwndFrom = m_hWnd;
        notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
        notify.hdr.code = MBN_SELCHANGE;
        notify.iItem = index;
        notify.pszText = item.text;
        notify.hIcon = item.icon;
        ::SendMessageA(GetParent(), WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
    }
    if (::IsWindow(self) && m_hWnd == self)
        Invalidate(FALSE);
    return TRUE;
}

BOOL CNimMenuButton::SetSel(const char* text)
{
    if (text == nullptr)
        return FALSE;
    const auto found = std::find_if(m_items.begin(), m_items.end(),
                                    [text](const Item& item) { return item.text.Compare(text) == 0; });
    return found != m_items.end() && SetSel(static_cast<int>(found - m_items.begin()));
}

void CNimMenuButton::SetBackColor(COLORREF color)
{
    m_crBack = color;
    if (IsWindow())
        Invalidate(FALSE);
}

// ------------------------------------------------------------ messages

void CNimMenuButton::PreSubclassWindow()
{
    CNimHoverButton::PreSubclassWindow();
    m_theme.OpenThemeData(m_hWnd, L"COMBOBOX");
}

void CNimMenuButton::OnDestroy()
{
    m_theme.CloseThemeData();
    CNimHoverButton::OnDestroy();
}

LRESULT CNimMenuButton::OnThemeChanged()
{
    const LRESULT result = CNimHoverButton::OnThemeChanged();
    m_theme.OpenThemeData(m_hWnd, L"COMBOBOX");
    return result;
}

bool CNimMenuButton::UseThemedLook() const
{
    return IsThemed() && HasComboThemeData();
}

BOOL CNimMenuButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        if (m_bSkipNextClick)
            m_bSkipNextClick = false;
        else
            ShowMenu();
        *result = 0;
        return TRUE;
    }
    return CNimHoverButton::OnChildNotify(message, wParam, lParam, result);
}

void CNimMenuButton::OnSetFocus(HWND oldFocus)
{
    CNimHoverButton::OnSetFocus(oldFocus);
    Invalidate(FALSE);
}

void CNimMenuButton::OnKillFocus(HWND newFocus)
{
    CNimHoverButton::OnKillFocus(newFocus);
    Invalidate(FALSE);
}

// ---------------------------------------------------------------- menu

void CNimMenuButton::ShowMenu()
{
    if (m_items.empty())
        return; // an empty popup would hold the input with nothing to choose
    // The copies outlive the menu that draws them.
    std::vector<CIcon> iconCopies;
    CMenu menu;
    BuildMenu(menu, iconCopies);
    const CRect window = GetWindowRect();
    HWND self = m_hWnd;
    m_pOpenMenu = &menu;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    const UINT command = static_cast<UINT>(menu.TrackPopupMenu(
        TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD, window.left, window.bottom, m_hWnd));
    m_pOpenMenu = nullptr;
    if (!::IsWindow(self) || m_hWnd != self)
        return;
    if (command >= kFirstCommand && command < kFirstCommand + static_cast<UINT>(GetItemCount())) {
        SetSel(static_cast<int>(command - kFirstCommand));
        if (!::IsWindow(self) || m_hWnd != self)
            return; // the parent destroyed the button
    }
    SkipClickThatClosedMenu();
    Invalidate(FALSE);
}

// One item per entry with its text and, drawn through the owner, a copy of
// its icon; the current item is the default, which shows it in bold.
void CNimMenuButton::BuildMenu(CMenu& menu, std::vector<CIcon>& iconCopies) const
{
    menu.CreatePopupMenu();
    iconCopies.reserve(m_items.size());
    for (size_t index = 0; index < m_items.size(); ++index) {
        const Item& item = m_items[index];
        MENUITEMINFOA info {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STRING;
        info.wID = kFirstCommand + static_cast<UINT>(index);
        info.dwTypeData = const_cast<char*>(static_cast<const char*>(item.text));
        CIcon copy;
        if (!item.icon.IsNull() && copy.CopyFrom(item.icon)) {
            info.fMask |= MIIM_BITMAP | MIIM_DATA;
            info.hbmpItem = HBMMENU_CALLBACK;
            info.dwItemData = reinterpret_cast<ULONG_PTR>(copy.GetSafeHandle());
            iconCopies.push_back(std::move(copy));
        }
        menu.InsertMenuItem(static_cast<UINT>(index), &info, TRUE);
    }
    if (m_nCurSel >= 0)
        menu.SetDefaultItem(static_cast<UINT>(m_nCurSel), TRUE);
}

// A click on the button closes the open menu, and the system then passes
// that click on to the button, which would open the menu again at once. The
// click is known by the cursor over the button and any state the system
// reports for the left button (down now, or pressed since last asked).
void CNimMenuButton::SkipClickThatClosedMenu()
{
    CPoint cursor;
    ::GetCursorPos(&cursor);
    if (GetWindowRect().PtInRect(cursor) && ::GetAsyncKeyState(VK_LBUTTON) != 0)
        m_bSkipNextClick = true;
}

void CNimMenuButton::OnMeasureItem(int id, MEASUREITEMSTRUCT* item)
{
    if (item->CtlType != ODT_MENU || m_pOpenMenu == nullptr) {
        CNimHoverButton::OnMeasureItem(id, item);
        return;
    }
    // A small gap between the icon and the text.
    const SIZE size = SmallIconSize();
    item->itemWidth = static_cast<UINT>(size.cx + 3);
    item->itemHeight = static_cast<UINT>(size.cy);
}

void CNimMenuButton::OnDrawItem(int id, DRAWITEMSTRUCT* item)
{
    if (item->CtlType != ODT_MENU || m_pOpenMenu == nullptr ||
        reinterpret_cast<HMENU>(item->hwndItem) != m_pOpenMenu->GetSafeHmenu()) {
        CNimHoverButton::OnDrawItem(id, item);
        return;
    }
    const SIZE size = SmallIconSize();
    const CRect rect(item->rcItem);
    ::DrawIconEx(item->hDC, rect.left, rect.top + (rect.Height() - size.cy) / 2,
                 reinterpret_cast<HICON>(item->itemData), size.cx, size.cy, 0, nullptr, DI_NORMAL);
}

// ------------------------------------------------------------ painting

void CNimMenuButton::DrawItem(DRAWITEMSTRUCT* item)
{
    CDCHandle target(item->hDC);
    const CRect rect(item->rcItem);
    CMemDC dc(target, rect);
    const CFontHandle font(GetFont());
    const CSelectScope fontSelection(dc, font.IsNull() ? StockObject(DEFAULT_GUI_FONT).GetSafeHandle()
                                                       : font.GetSafeHandle());
    const bool disabled = (item->itemState & ODS_DISABLED) != 0;
    const bool pressed = m_pOpenMenu != nullptr || (item->itemState & ODS_SELECTED) != 0;
    const bool hot = IsTracking() && !disabled;
    FillFace(dc, rect);

    CRect arrow = rect;
    arrow.DeflateRect(1, 1);
    arrow.left = std::max(arrow.left, arrow.right - m_nArrowWidth);
    DrawArrowPart(dc, arrow, hot, pressed, disabled);

    CRect face = rect;
    face.right = arrow.left;
    DrawCurrentItem(dc, face, disabled);
    if ((item->itemState & ODS_FOCUS) && !(item->itemState & ODS_NOFOCUSRECT)) {
        face.DeflateRect(2, 2);
        dc.SetTextColor(RGB(0, 0, 0));
        dc.SetBkColor(RGB(255, 255, 255));
        dc.DrawFocusRect(face);
    }
}

// The transparent back colour takes the brush the parent paints its statics
// with; a parent that gives none leaves the button face colour.
void CNimMenuButton::FillFace(CDC& dc, const CRect& rect)
{
    if (m_crBack != kTransparent) {
        dc.SetBkMode(OPAQUE);
        dc.SetBkColor(m_crBack);
        dc.FillSolidRect(rect, m_crBack);
        return;
    }
    dc.SetBkMode(TRANSPARENT);
    const auto brush = reinterpret_cast<HBRUSH>(
        ::SendMessageA(GetParent(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.GetSafeHdc()),
                       reinterpret_cast<LPARAM>(m_hWnd)));
    if (brush != nullptr)
        dc.FillRect(rect, brush);
    else
        dc.FillSolidRect(rect, CSysColors::sm_crBtnFace);
}

void CNimMenuButton::DrawArrowPart(CDC& dc, const CRect& arrow, bool hot, bool pressed, bool disabled)
{
    if (UseThemedLook()) {
        m_theme.DrawThemeBackground(dc, CP_DROPDOWNBUTTON, ThemeState(hot, pressed, disabled), &arrow, nullptr);
        return;
    }
    CRect glyph = arrow;
    if (hot || pressed) {
        dc.FillSolidRect(arrow, CSysColors::sm_crBtnFace);
        CRect edge = arrow;
        dc.DrawEdge(&edge, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
        if (pressed)
            glyph.OffsetRect(1, 1);
    } else {
        dc.FillSolidRect(CRect(arrow.left, arrow.top, arrow.left + 1, arrow.bottom), CSysColors::sm_cr3DDkShadow);
        dc.FillSolidRect(CRect(arrow.left, arrow.top, arrow.right, arrow.top + 1), CSysColors::sm_cr3DDkShadow);
    }
    DrawDropArrow(dc, glyph, TranslateColor(disabled ? GetDisabledTextColor() : GetTextColor()));
}

void CNimMenuButton::DrawCurrentItem(CDC& dc, CRect face, bool disabled)
{
    if (m_nCurSel < 0)
        return;
    const Item& item = m_items[static_cast<size_t>(m_nCurSel)];
    face.DeflateRect(3, 1);
    if (item.image >= 0) {
        const SIZE size = SmallIconSize();
        const POINT at {face.left, face.top + (face.Height() - size.cy) / 2};
        m_images.Draw(dc, item.image, at, disabled ? ILD_BLEND50 : ILD_NORMAL);
        face.left += size.cx + 3;
    }
    dc.SetTextColor(TranslateColor(disabled ? GetDisabledTextColor() : GetTextColor()));
    dc.DrawText(item.text, &face, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

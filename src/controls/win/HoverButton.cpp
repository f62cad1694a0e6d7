#include "controls/win/HoverButton.h"

#include "controls/win/HoverLook.h"
#include "controls/win/SysColors.h"
#include "controls/win/WindowUtils.h"
#include "framework/win/DC.h"
#include "framework/win/Gdi.h"
#include "framework/win/RegisteredMessages.h"

#include <vsstyle.h>

namespace {

// The split-button drop-down code and its notification record; older
// headers define them only for newer system versions.
const UINT kDropDownCode = static_cast<UINT>(-1248);

struct DropDownNotify {
    NMHDR hdr;
    RECT rcButton;
};

// Width of the drop-down part at the right end of a split button.
const int kSplitWidth = 16;

const UINT kButtonTypeMask = 0x0F;

} // namespace

// ------------------------------------------------------------ set-up

void CNimHoverButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    MakeOwnerDrawn();
    m_theme.OpenThemeData(m_hWnd, L"BUTTON");
    LayoutSplit();
}

// The button paints itself: a plain or default push button becomes
// owner-drawn, and a default push button keeps its default look as a flag.
void CNimHoverButton::MakeOwnerDrawn()
{
    const UINT type = GetStyle() & kButtonTypeMask;
    if (type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON)
        return;
    if (type == BS_DEFPUSHBUTTON)
        m_bDefault = true;
    ModifyStyle(kButtonTypeMask, BS_OWNERDRAW, SWP_FRAMECHANGED);
}

void CNimHoverButton::OnDestroy()
{
    m_theme.CloseThemeData();
    CButton::OnDestroy();
}

LRESULT CNimHoverButton::OnThemeChanged()
{
    m_hover.OnThemeChanged();
    m_theme.OpenThemeData(m_hWnd, L"BUTTON");
    const LRESULT result = CButton::OnThemeChanged();
    Invalidate();
    return result;
}

void CNimHoverButton::OnSize(UINT type, int cx, int cy)
{
    CButton::OnSize(type, cx, cy);
    LayoutSplit();
}

void CNimHoverButton::LayoutSplit()
{
    if (!m_bSplitButton || m_hWnd == nullptr) {
        m_rcSplit.SetRectEmpty();
        m_rcArrow.SetRectEmpty();
        return;
    }
    const CRect client = GetClientRect();
    m_rcSplit = client;
    m_rcSplit.left = client.right - kSplitWidth < client.left ? client.left : client.right - kSplitWidth;
    m_rcArrow = m_rcSplit;
    m_rcArrow.DeflateRect(1, 2);
}

// -------------------------------------------------------------- state

void CNimHoverButton::SetColor(OLE_COLOR& member, OLE_COLOR color)
{
    if (member == color)
        return;
    member = color;
    if (IsWindow())
        Invalidate(FALSE);
}

void CNimHoverButton::SetFlag(bool& member, BOOL value)
{
    const bool flag = value != FALSE;
    if (member == flag)
        return;
    member = flag;
    if (&member == &m_bSplitButton)
        LayoutSplit();
    if (IsWindow())
        Invalidate(FALSE);
}

void CNimHoverButton::SetBuddy(HWND buddy, BOOL reposition)
{
    m_hBuddy = buddy;
    if (!reposition || buddy == nullptr || !IsWindow())
        return;
    HWND parent = GetParent();
    CRect buddyRect;
    ::GetWindowRect(buddy, &buddyRect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&buddyRect), 2);
    int left = buddyRect.right;
    HWND ownBuddy = RWM_ORV_GETBUDDY != 0
                        ? reinterpret_cast<HWND>(::SendMessageA(buddy, RWM_ORV_GETBUDDY, 0, 0))
                        : nullptr;
    if (ownBuddy != nullptr && ::IsWindow(ownBuddy)) {
        CRect ownRect;
        ::GetWindowRect(ownBuddy, &ownRect);
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&ownRect), 2);
        left = ownRect.right - 1;
    }
    SetWindowPos(nullptr, left, buddyRect.top, GetWindowRect().Width(), buddyRect.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate(FALSE);
    ::InvalidateRect(buddy, nullptr, FALSE);
}

void CNimHoverButton::RepaintBuddy()
{
    if (m_hBuddy != nullptr && ::IsWindow(m_hBuddy))
        ::RedrawWindow(m_hBuddy, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_NOERASE);
}

void CNimHoverButton::UpdateSplitState(CPoint point)
{
    m_bSplitHot = false;
    m_bSplitPressed = false;
    if (!m_bSplitButton || !m_rcSplit.PtInRect(point))
        return;
    m_bSplitHot = true;
    m_bSplitPressed = (::GetKeyState(VK_LBUTTON) & 0x8000) != 0;
}

// ------------------------------------------------------------ messages

LRESULT CNimHoverButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // The dialog manager changes the default look through the style; the
    // owner-drawn style must stay.
    if (message == BM_SETSTYLE)
        return 0;
    if (message != 0 && message == RWM_ORV_AREYOUTRACKING)
        return m_hover.IsTracking() ? 1 : 0;
    return CButton::WindowProc(message, wParam, lParam);
}

BOOL CNimHoverButton::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_DRAWITEM) {
        DrawItem(reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
        *result = TRUE;
        return TRUE;
    }
    // A click releases a selected button; the parent still hears of it.
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED && m_bSelected)
        SetSelected(FALSE);
    return CButton::OnChildNotify(message, wParam, lParam, result);
}

void CNimHoverButton::OnMouseMove(UINT flags, CPoint point)
{
    if (m_hover.OnMouseMove(m_hWnd))
        RepaintBuddy();
    UpdateSplitState(point);
    CButton::OnMouseMove(flags, point);
    Invalidate(FALSE);
}

void CNimHoverButton::OnMouseLeave()
{
    m_hover.OnMouseLeave();
    CPoint cursor;
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    UpdateSplitState(cursor);
    Invalidate(FALSE);
    RepaintBuddy();
    CButton::OnMouseLeave();
}

void CNimHoverButton::OnLButtonDown(UINT flags, CPoint point)
{
    CButton::OnLButtonDown(flags, point);
    UpdateSplitState(point);
    Invalidate(FALSE);
}

void CNimHoverButton::OnLButtonUp(UINT flags, CPoint point)
{
    if (m_bSplitButton && m_rcSplit.PtInRect(point)) {
        // Releasing the capture ends the press without a click.
        ::ReleaseCapture();
        if (!NotifyDropDown())
            return; // the parent destroyed the button
    } else {
        HWND self = m_hWnd;
        CButton::OnLButtonUp(flags, point);
        if (!::IsWindow(self) || m_hWnd != self)
            return; // a listener destroyed the button
        CPoint cursor;
        ::GetCursorPos(&cursor);
        if (m_hBuddy != nullptr && GetWindowRect().PtInRect(cursor)) {
            ::SendMessageA(GetParent(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                           reinterpret_cast<LPARAM>(m_hWnd));
            if (!::IsWindow(self) || m_hWnd != self)
                return;
        }
    }
    UpdateSplitState(point);
    Invalidate(FALSE);
}

void CNimHoverButton::OnLButtonDblClk(UINT flags, CPoint point)
{
    if (m_bIgnoreDoubleClicks) {
        SendMessage(WM_LBUTTONDOWN, flags, MAKELPARAM(point.x, point.y));
        return;
    }
    CButton::OnLButtonDblClk(flags, point);
}

void CNimHoverButton::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_SPACE && m_bEatSpaceClicks)
        return;
    if (key == VK_DOWN && m_bSplitButton && !NotifyDropDown())
        return;
    CButton::OnKeyDown(key, repeat, flags);
}

void CNimHoverButton::OnKeyUp(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_SPACE && m_bEatSpaceClicks)
        return;
    CButton::OnKeyUp(key, repeat, flags);
}

UINT CNimHoverButton::OnGetDlgCode()
{
    UINT code = CButton::OnGetDlgCode();
    if (m_bDefault)
        code |= DLGC_DEFPUSHBUTTON;
    if (m_bSplitButton)
        code |= DLGC_WANTARROWS;
    return code;
}

// The parent typically shows a menu under the split part while the
// notification is being sent; the part is drawn pressed meanwhile.
bool CNimHoverButton::NotifyDropDown()
{
    HWND self = m_hWnd;
    m_bDroppingDown = true;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    DropDownNotify notify {};
    notify.hdr.hwndFrom = m_hWnd;
    notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    notify.hdr.code = kDropDownCode;
    notify.rcButton = m_rcSplit;
    ::SendMessageA(GetParent(), WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
    if (!::IsWindow(self) || m_hWnd != self)
        return false;
    m_bDroppingDown = false;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return true;
}

// ------------------------------------------------------------ painting

void CNimHoverButton::DrawItem(DRAWITEMSTRUCT* item)
{
    CDCHandle target(item->hDC);
    const CRect rect(item->rcItem);
    CMemDC dc(target, rect);
    const CFontHandle font(GetFont());
    const CSelectScope fontSelection(dc, font.IsNull() ? StockObject(DEFAULT_GUI_FONT).GetSafeHandle() : font.GetSafeHandle());
    const bool themed = UseThemedLook();
    DrawFace(dc, rect, item->itemState, themed);
    CRect caption = rect;
    if (m_bSplitButton) {
        caption.right = m_rcSplit.left;
        DrawSplitPart(dc, item->itemState, themed);
    }
    DrawCaption(dc, caption, item->itemState);
}

bool CNimHoverButton::UseThemedLook() const
{
    return m_hover.IsThemed() && HasThemeData();
}

namespace {

int ThemeState(UINT state, bool pressed, bool hot, bool isDefault)
{
    if (state & ODS_DISABLED)
        return PBS_DISABLED;
    if (pressed)
        return PBS_PRESSED;
    if (hot)
        return PBS_HOT;
    return isDefault ? PBS_DEFAULTED : PBS_NORMAL;
}

} // namespace

void CNimHoverButton::DrawFace(CDC& dc, const CRect& rect, UINT state, bool themed)
{
    const bool disabled = (state & ODS_DISABLED) != 0;
    const bool pushed = ((state & ODS_SELECTED) != 0 && !m_bSplitPressed) || m_bSelected;
    const bool hot = m_hover.IsTracking() && !disabled;
    const COLORREF face = TranslateColor(m_bSelected ? m_crSelBkgnd : m_crBtnFace);
    const COLORREF hilite = TranslateColor(m_crHilite);
    const COLORREF shadow = TranslateColor(m_crShadow);

    if (themed) {
        m_theme.DrawThemeParentBackground(m_hWnd, dc, &rect);
        m_theme.DrawThemeBackground(dc, BP_PUSHBUTTON, ThemeState(state, pushed, hot, m_bDefault), &rect, nullptr);
        if (m_bSelected) {
            CRect inner = rect;
            inner.DeflateRect(3, 3);
            dc.FillSolidRect(inner, face);
        }
    } else {
        CRect edge = rect;
        dc.FillSolidRect(edge, face);
        if (m_bDefault) {
            dc.Draw3dRect(edge, CSysColors::sm_cr3DDkShadow, CSysColors::sm_cr3DDkShadow);
            edge.DeflateRect(1, 1);
        }
        if (pushed)
            dc.Draw3dRect(edge, shadow, hilite);
        else if (hot) {
            // Raised: a two-pixel shadow at the bottom-right reads as lit.
            dc.Draw3dRect(edge, hilite, shadow);
            edge.DeflateRect(1, 1);
            dc.Draw3dRect(edge, face, shadow);
        }
        else
            dc.Draw3dRect(edge, shadow, shadow);
    }
    if ((state & ODS_FOCUS) && !(state & ODS_NOFOCUSRECT)) {
        CRect focus = rect;
        focus.DeflateRect(3, 3);
        if (m_bSplitButton)
            focus.right = m_rcSplit.left - 1;
        dc.SetTextColor(RGB(0, 0, 0));
        dc.SetBkColor(RGB(255, 255, 255));
        dc.DrawFocusRect(focus);
    }
}

void CNimHoverButton::DrawSplitPart(CDC& dc, UINT state, bool themed)
{
    const bool disabled = (state & ODS_DISABLED) != 0;
    const bool pressed = (m_bSplitPressed || m_bDroppingDown) && !disabled;
    const COLORREF hilite = TranslateColor(m_crHilite);
    const COLORREF shadow = TranslateColor(m_crShadow);
    CRect split = m_rcSplit;
    if (pressed) {
        if (themed) {
            m_theme.DrawThemeBackground(dc, BP_PUSHBUTTON, PBS_PRESSED, &split, nullptr);
        } else {
            dc.FillSolidRect(split, TranslateColor(m_bSelected ? m_crSelBkgnd : m_crBtnFace));
            dc.Draw3dRect(split, shadow, hilite);
        }
    }
    // The separator between the main part and the drop-down part.
    dc.FillSolidRect(CRect(split.left, split.top + 3, split.left + 1, split.bottom - 3), shadow);
    if (!themed)
        dc.FillSolidRect(CRect(split.left + 1, split.top + 3, split.left + 2, split.bottom - 3), hilite);
    CRect arrow = m_rcArrow;
    if (pressed)
        arrow.OffsetRect(1, 1);
    DrawDropArrow(dc, arrow, TranslateColor(disabled ? m_crDisabledText : m_crText));
}

void CNimHoverButton::DrawCaption(CDC& dc, CRect rect, UINT state)
{
    const bool disabled = (state & ODS_DISABLED) != 0;
    OLE_COLOR color = m_bSelected ? m_crSelText : m_crText;
    if (disabled)
        color = m_crDisabledText;
    if ((state & ODS_SELECTED) && !m_bSplitPressed)
        rect.OffsetRect(1, 1);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(TranslateColor(color));
    rect.DeflateRect(4, 2);
    UINT format = DT_CENTER | DT_VCENTER | DT_END_ELLIPSIS;
    format |= (GetStyle() & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    dc.DrawText(GetWindowText(), &rect, format);
}

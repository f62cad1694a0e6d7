#include "controls/win/HoverCombo.h"

#include "controls/win/SysColors.h"
#include "framework/win/DC.h"
#include "framework/win/Dialog.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

// The combo box's edit field: its mouse and deleting keys matter to the
// control's hover look and completion, everything else goes to the edit.
class CNimHoverCombo::CEditHook : public CWnd {
public:
    explicit CEditHook(CNimHoverCombo& owner) : m_owner(owner) {}

protected:
    void OnMouseMove(UINT flags, CPoint point) override
    {
        m_owner.TrackMouse(m_hWnd);
        CWnd::OnMouseMove(flags, point);
    }
    void OnMouseLeave() override
    {
        m_owner.EndMouseTracking();
        CWnd::OnMouseLeave();
    }
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override
    {
        m_owner.m_bDeleting = key == VK_BACK || key == VK_DELETE;
        CWnd::OnKeyDown(key, repeat, flags);
    }
    void OnChar(UINT ch, UINT repeat, UINT flags) override
    {
        m_owner.m_bDeleting = ch == '\b';
        CWnd::OnChar(ch, repeat, flags);
    }

private:
    CNimHoverCombo& m_owner;
};

// The button's width is system metric 10, a horizontal scroll bar's thumb
// width, which matches the width of a vertical scroll bar.
CNimHoverCombo::CNimHoverCombo() : m_nButtonWidth(::GetSystemMetrics(SM_CXHTHUMB)) {}

// The window goes first, so that the edit field's object is let go by its
// window before it is deleted.
CNimHoverCombo::~CNimHoverCombo()
{
    if (m_hWnd != nullptr)
        DestroyWindow();
}

// ----------------------------------------------------------- items and data

int CNimHoverCombo::AddString(const char* text, DWORD data)
{
    const int index = CComboBox::AddString(text);
    if (index >= 0)
        SetItemData(index, data);
    return index;
}

int CNimHoverCombo::InsertString(int index, const char* text, DWORD data)
{
    const int inserted = CComboBox::InsertString(index, text);
    if (inserted >= 0)
        SetItemData(inserted, data);
    return inserted;
}

int CNimHoverCombo::SetItems(const CStringArray& items)
{
    const CString text = GetWindowText();
    m_bCompleting = true;
    ResetContent();
    int result = 0;
    for (int i = 0; i < items.GetSize() && result >= 0; ++i) {
        const int index = CComboBox::AddString(items[i]);
        result = index < 0 ? index : GetCount();
    }
    SetWindowText(text);
    m_bCompleting = false;
    return result;
}

DWORD CNimHoverCombo::GetCurSelData() const
{
    const int index = GetCurSel();
    return index == CB_ERR ? 0 : static_cast<DWORD>(GetItemData(index));
}

int CNimHoverCombo::FindItemData(DWORD data) const
{
    const int count = GetCount();
    for (int i = 0; i < count; ++i) {
        if (static_cast<DWORD>(GetItemData(i)) == data)
            return i;
    }
    return CB_ERR;
}

int CNimHoverCombo::SelectItemData(DWORD data)
{
    const int index = FindItemData(data);
    if (index != CB_ERR)
        SetCurSel(index);
    return index;
}

int CNimHoverCombo::GetCurSelText(CString& text) const
{
    const int index = GetCurSel();
    if (index != CB_ERR)
        GetLBText(index, text);
    return index;
}

// ------------------------------------------------------------- edit field

void CNimHoverCombo::PreSubclassWindow()
{
    CComboBox::PreSubclassWindow();
    AdoptEdit(); // a control of a dialog has its edit field already
}

int CNimHoverCombo::OnCreate(CREATESTRUCTA* cs)
{
    const int result = CComboBox::OnCreate(cs);
    if (result != -1)
        AdoptEdit();
    return result;
}

void CNimHoverCombo::AdoptEdit()
{
    if ((GetStyle() & 3) == CBS_DROPDOWNLIST)
        return;
    COMBOBOXINFO info {};
    info.cbSize = sizeof info;
    if (!::GetComboBoxInfo(m_hWnd, &info) || info.hwndItem == nullptr || info.hwndItem == m_hWnd ||
        CWnd::FromHandlePermanent(info.hwndItem) != nullptr)
        return;
    m_pEdit = std::make_unique<CEditHook>(*this);
    if (!m_pEdit->SubclassWindow(info.hwndItem))
        m_pEdit.reset();
}

BOOL CNimHoverCombo::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND) {
        switch (HIWORD(wParam)) {
        case CBN_EDITCHANGE:
            if (!m_bCompleting)
                OnEditChange();
            break;
        case CBN_DROPDOWN:
            OnDropDown();
            break;
        case CBN_CLOSEUP:
        case CBN_SETFOCUS:
        case CBN_KILLFOCUS:
            RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE);
            break;
        default:
            break;
        }
    }
    // The parent hears of every change as well.
    return CComboBox::OnChildNotify(message, wParam, lParam, result);
}

// Deleting keys and an emptied field are not completed, so that the
// completed remainder can be taken away and the field cleared.
void CNimHoverCombo::OnEditChange()
{
    const CString typed = GetWindowText();
    if (!m_bAutoComplete || m_bDeleting || typed.IsEmpty())
        return;
    const int typedLength = typed.GetLength();
    DWORD start = 0;
    DWORD end = 0;
    const bool validSel =
        SendMessage(CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end)) != CB_ERR;

    m_bCompleting = true;
    if (SelectString(-1, typed) == CB_ERR) {
        SetWindowText(typed);
        if (validSel)
            SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(start, end));
    }
    // The completed remainder is selected, so the next key replaces it.
    if (!validSel || static_cast<int>(end) >= typedLength)
        SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(typedLength, -1));
    else
        SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(start, end));
    m_bCompleting = false;
}

// ------------------------------------------------------------ drop-down

// The height of the whole control with its list open: n items (2 at least)
// and two more, cut to what fits above or below the control when it fits
// the screen.
int CNimHoverCombo::DropDownHeight() const
{
    const int shown = std::max(m_nMaxShow > 0 ? m_nMaxShow : GetCount(), 2);
    const int itemHeight = static_cast<int>(SendMessage(CB_GETITEMHEIGHT, 0));
    int height = (shown + 2) * itemHeight;
    if (m_nMaxShow != -1)
        return height;
    const CRect rect = GetWindowRect();
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    if (rect.top - height < 0 || rect.bottom + height > screenHeight) {
        const int step = itemHeight == 0 ? 1 : itemHeight;
        const int fit = std::max(rect.top / step, (screenHeight - rect.bottom) / step);
        height = std::min(height, fit * itemHeight);
    }
    return height;
}

void CNimHoverCombo::OnDropDown()
{
    SetWindowPos(nullptr, 0, 0, GetWindowRect().Width(), DropDownHeight(), SWP_NOMOVE | SWP_NOZORDER);
}

// ----------------------------------------------------------------- hover

BOOL CNimHoverCombo::IsHot() const
{
    const HWND focus = ::GetFocus();
    return m_hover.IsTracking() || (focus != nullptr && (focus == m_hWnd || ::IsChild(m_hWnd, focus)));
}

void CNimHoverCombo::OnMouseMove(UINT flags, CPoint point)
{
    TrackMouse(m_hWnd);
    CComboBox::OnMouseMove(flags, point);
}

void CNimHoverCombo::OnMouseLeave()
{
    EndMouseTracking();
    CComboBox::OnMouseLeave();
}

void CNimHoverCombo::TrackMouse(HWND from)
{
    bool repaint = m_hover.OnMouseMove(from);
    const bool overButton = IsOverButton();
    repaint = repaint || overButton != m_bOverButton;
    m_bOverButton = overButton;
    if (repaint && !m_hover.IsThemed())
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE);
}

// Moving between the control and its edit field leaves one window for the
// other: tracking then moves on to the window under the mouse, unseen.
void CNimHoverCombo::EndMouseTracking()
{
    m_hover.OnMouseLeave();
    POINT cursor {};
    ::GetCursorPos(&cursor);
    const HWND under = ::WindowFromPoint(cursor);
    if (under != nullptr && (under == m_hWnd || (m_pEdit && under == m_pEdit->GetSafeHwnd()))) {
        m_hover.OnMouseMove(under);
        return;
    }
    m_bOverButton = false;
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE);
}

LRESULT CNimHoverCombo::OnThemeChanged()
{
    m_hover.OnThemeChanged();
    const LRESULT result = CComboBox::OnThemeChanged();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
    return result;
}

// -------------------------------------------------------------- painting

CRect CNimHoverCombo::ButtonRect() const
{
    CRect rect = GetClientRect();
    rect.DeflateRect(2, 2);
    rect.left = rect.right - m_nButtonWidth;
    return rect;
}

bool CNimHoverCombo::IsOverButton() const
{
    POINT cursor {};
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    return ButtonRect().PtInRect(cursor) != FALSE;
}

// The platform paints into a bitmap and the rings go over its image before
// it reaches the screen. The edit field paints itself and is kept out.
void CNimHoverCombo::OnPaint()
{
    if (m_hover.IsThemed()) {
        CComboBox::OnPaint();
        return;
    }
    CPaintDC paint(m_hWnd);
    if (m_pEdit && m_pEdit->IsWindow()) {
        CRect edit = m_pEdit->GetWindowRect();
        ScreenToClient(&edit);
        paint.ExcludeClipRect(edit);
    }
    const CRect client = GetClientRect();
    CMemDC dc(paint, client);
    dc.FillSolidRect(client, ::GetSysColor(COLOR_WINDOW));
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    DrawClassicLook(dc);
}

void CNimHoverCombo::DrawClassicLook(CDC& dc)
{
    CRect rect = GetClientRect();
    if (!IsHot()) {
        dc.Draw3dRect(rect, CSysColors::sm_cr3DShadow, CSysColors::sm_cr3DHilite);
        rect.DeflateRect(1, 1);
        dc.Draw3dRect(rect, CSysColors::sm_crBtnFace, CSysColors::sm_crBtnFace);
    }
    CRect button = ButtonRect();
    dc.Draw3dRect(button, CSysColors::sm_cr3DHilite, CSysColors::sm_cr3DShadow);
    button.DeflateRect(1, 1);
    dc.Draw3dRect(button, CSysColors::sm_crBtnFace, CSysColors::sm_crBtnFace);
    if (IsOverButton() && ::GetKeyState(VK_LBUTTON) >= 0)
        dc.Draw3dRect(ButtonRect(), CSysColors::sm_cr3DShadow, CSysColors::sm_cr3DHilite);
}

// -------------------------------------------------------- data exchange

void DDX_nimCBLong(CDataExchange* dx, int id, long& value)
{
    const HWND combo = dx->PrepareCtrl(id);
    if (combo == nullptr) {
        dx->Fail();
        return;
    }
    if (dx->m_bSaveAndValidate) {
        value = std::strtol(ReadWindowText(combo), nullptr, 10);
        return;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    const LRESULT index = ::SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(text));
    if (index != CB_ERR)
        ::SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    else
        ::SetWindowTextA(combo, text);
}

void DDX_nimCBItemData(CDataExchange* dx, int id, DWORD& value)
{
    const HWND combo = dx->PrepareCtrl(id);
    if (combo == nullptr) {
        dx->Fail();
        return;
    }
    const int count = static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
    if (dx->m_bSaveAndValidate) {
        const LRESULT index = ::SendMessageA(combo, CB_GETCURSEL, 0, 0);
        value = index == CB_ERR ? 0xFFFFFFFFu
                                : static_cast<DWORD>(::SendMessageA(combo, CB_GETITEMDATA, index, 0));
        return;
    }
    for (int i = 0; i < count; ++i) {
        if (static_cast<DWORD>(::SendMessageA(combo, CB_GETITEMDATA, i, 0)) == value) {
            ::SendMessageA(combo, CB_SETCURSEL, i, 0);
            return;
        }
    }
}

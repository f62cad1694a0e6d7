#include "controls/win/GridHelper.h"

#include "controls/ApostrophePrice.h"
#include "controls/win/WindowWrappers.h"
#include "framework/win/DC.h"
#include "market/MapFidToCaption.h"
#include "text/Locale.h"

#include <commctrl.h>

using namespace orv::controls;

namespace {

const int kActionField = 1001;
const int kOrderTypeField = 1007;
const int kSymbolField = 1003;
const unsigned long kNoData = static_cast<unsigned long>(-1);

NumberSeparators UserSeparators()
{
    return {CLocale::DecimalSeparator, CLocale::ThousandsSeparator};
}

int SpinWidth()
{
    return ::GetSystemMetrics(SM_CXVSCROLL);
}

} // namespace

CGridHelper::CGridHelper(CWnd* owner, unsigned int id) : m_pOwner(owner), m_nId(id)
{
}

CGridHelper::~CGridHelper()
{
    m_bFocusDone = true; // no notification from a closing object
    if (m_hWnd != nullptr)
        DestroyWindow();
}

// ------------------------------------------------------------- editing

int CGridHelper::EditItem(const char* text, int item, int col, unsigned long itemData, CRect rect, double minimum,
                          double maximum, double increment, int displayFormat)
{
    const GHStyles style = GridEditorStyle(col);
    if (style == GHS_NONE || m_pOwner == nullptr || !m_pOwner->IsWindow())
        return 0;
    ++m_nEditSerial;
    m_bFocusDone = true; // the previous editor goes without a notification
    if (m_hWnd != nullptr)
        DestroyWindow();
    if (m_spin.GetSafeHwnd() != nullptr)
        m_spin.ShowWindow(SW_HIDE);

    m_style = style;
    m_nextCell = GHD_EDITING;
    m_bEscaped = FALSE;
    m_bModified = FALSE;
    m_strText = text != nullptr ? text : "";
    m_nItem = item;
    m_nCol = col;
    m_dwItemData = itemData;
    m_nDisplayFormat = displayFormat;
    m_dIncrement = IsNumeric() ? increment : 0;
    m_value = m_startValue = InitialValue();

    rect.left -= 2;
    if (style == GHS_PICKLIST) {
        rect.top -= 1;
        rect.bottom += kDropDownHeight;
    }
    if (!CreateEditor(rect)) {
        m_style = GHS_NONE;
        m_nextCell = GHD_NONE;
        return 0;
    }
    SetMinMax(minimum, maximum);
    m_bFocusDone = false;
    ShowEditor();
    return 1;
}

double CGridHelper::InitialValue() const
{
    switch (m_style) {
    case GHS_INTEGER:
        return ReadGridInteger(m_strText, UserSeparators());
    case GHS_DECIMAL:
        return ReadGridValue(m_strText, m_nDisplayFormat, 0, UserSeparators());
    case GHS_CHECK:
        return ReadGridDecimal(m_strText, UserSeparators());
    default:
        return 0;
    }
}

bool CGridHelper::CreateEditor(const CRect& cell)
{
    CRect editor = cell;
    if (IsNumeric())
        editor.right -= SpinWidth();
    DWORD style = WS_CHILD;
    DWORD exStyle = 0;
    const char* className = "EDIT";
    if (m_style == GHS_PICKLIST) {
        className = "COMBOBOX";
        style |= WS_VSCROLL | CBS_DROPDOWNLIST;
    } else if (m_style == GHS_CHECK) {
        className = "BUTTON";
        style |= BS_OWNERDRAW;
    } else {
        exStyle = WS_EX_CLIENTEDGE;
        style |= ES_UPPERCASE | ES_AUTOHSCROLL | (m_style == GHS_TEXT ? ES_LEFT : ES_RIGHT);
    }
    const char* caption = m_style == GHS_PICKLIST ? nullptr : m_strText.GetString();
    if (!CreateEx(exStyle, className, caption, style, editor, m_pOwner->GetSafeHwnd(), m_nId))
        return false;
    if (m_style == GHS_PICKLIST)
        FillPickList(cell);
    if (IsNumeric() && m_spin.GetSafeHwnd() == nullptr) {
        const CRect spin(editor.right, cell.top, cell.right, cell.bottom);
        if (!m_spin.Create(0, spin, m_pOwner, m_nId + 1)) {
            DestroyWindow();
            return false;
        }
    }
    return true;
}

LRESULT CGridHelper::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PASTE && IsNumeric())
        return 0;
    return CWnd::WindowProc(message, wParam, lParam);
}

int CGridHelper::OnCreate(CREATESTRUCTA* cs)
{
    const int result = CWnd::OnCreate(cs);
    if (result != -1)
        SetFont(m_pOwner->GetFont(), FALSE);
    return result;
}

void CGridHelper::FillPickList(const CRect& cell)
{
    SendMessage(CB_SETDROPPEDWIDTH, static_cast<WPARAM>(cell.Width()));
    if (const CWordArray* ids = PickList(m_nCol)) {
        const CMapFidToCaption& captions = CMapFidToCaption::GetStaticMap();
        for (int i = 0; i < ids->GetSize(); ++i) {
            const WORD id = ids->GetAt(i);
            const LRESULT index = SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(captions[id].GetString()));
            if (index >= 0)
                SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), id);
        }
    }
    SendMessage(CB_SETCURSEL, static_cast<WPARAM>(FindItemData(m_dwItemData)));
    // Wider by a scroll bar, so that the entries are not cut by the list's.
    SetWindowPos(nullptr, 0, 0, cell.Width() + SpinWidth(), cell.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CGridHelper::ShowEditor()
{
    if (m_nCol == kSymbolField)
        SendMessage(EM_LIMITTEXT, kSymbolLimit);
    else if (IsNumeric())
        SendMessage(EM_LIMITTEXT, kNumberLimit);
    SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    if (IsNumeric()) {
        const CRect editor = CWindowRect(m_hWnd, m_pOwner->GetSafeHwnd());
        m_spin.SetBuddy(m_hWnd);
        m_spin.SetWindowPos(HWND_TOP, editor.right, editor.top, SpinWidth(), editor.Height(),
                         SWP_SHOWWINDOW | SWP_NOACTIVATE);
    }
    SetFocus();
    if (m_style == GHS_TEXT || IsNumeric())
        SendMessage(EM_SETSEL, 0, -1);
}

int CGridHelper::SetMinMax(const double& minimum, const double& maximum)
{
    if (m_bInSetMinMax)
        return 0;
    m_bInSetMinMax = true;
    m_dMin = minimum;
    m_dMax = maximum;
    if (m_spin.GetSafeHwnd() != nullptr)
        m_spin.SetRange(0, 0);
    m_bInSetMinMax = false;
    return 1;
}

int CGridHelper::SetPickList(int col, int count, const unsigned short* ids)
{
    CWordArray* list = PickList(col);
    if (list == nullptr || count < 0 || (count > 0 && ids == nullptr))
        return 0;
    list->RemoveAll();
    for (int i = 0; i < count; ++i)
        list->Add(ids[i]);
    return 1;
}

const CWordArray* CGridHelper::PickList(int col) const
{
    if (col == kActionField)
        return &m_arrActions;
    if (col == kOrderTypeField)
        return &m_arrOrderTypes;
    return nullptr;
}

CWordArray* CGridHelper::PickList(int col)
{
    return const_cast<CWordArray*>(static_cast<const CGridHelper*>(this)->PickList(col));
}

// ------------------------------------------------------------- ending

void CGridHelper::Hide()
{
    if (m_spin.GetSafeHwnd() != nullptr)
        m_spin.ShowWindow(SW_HIDE);
    if (m_hWnd == nullptr)
        return;
    if (m_style == GHS_PICKLIST && SendMessage(CB_GETDROPPEDSTATE))
        SendMessage(CB_SHOWDROPDOWN, FALSE);
    const bool hadFocus = ::GetFocus() == m_hWnd;
    const unsigned serial = m_nEditSerial;
    // Hiding the focused editor gives the focus to the owner, and the focus
    // loss ends the edit; the owner may start the next edit from there.
    ShowWindow(SW_HIDE);
    if (serial == m_nEditSerial && hadFocus && ::GetFocus() == m_hWnd)
        m_pOwner->SetFocus();
}

void CGridHelper::SetEscape()
{
    m_nextCell = GHD_ESCAPE;
    m_bEscaped = TRUE;
    m_strText.Empty();
    Hide();
}

void CGridHelper::EndEditing(GHDirections direction)
{
    m_nextCell = direction;
    Hide();
}

void CGridHelper::OnKillFocus(HWND newFocus)
{
    CWnd::OnKillFocus(newFocus);
    if (m_bFocusDone || (newFocus != nullptr && newFocus == m_spin.GetSafeHwnd()))
        return;
    m_bFocusDone = true;
    if (m_style == GHS_CHECK) {
        m_bModified = !m_bEscaped && m_value != m_startValue;
    } else {
        CString now = GetWindowText();
        now.Trim();
        m_bModified = !m_bEscaped && now != m_strText;
        if (m_bModified)
            m_strText = now;
    }
    Hide();
    NotifyOwner(); // last: the owner may start another edit from here
}

void CGridHelper::NotifyOwner()
{
    m_notify.hwndFrom = m_hWnd;
    m_notify.idFrom = m_nId;
    m_notify.code = static_cast<UINT>(kNotifyCode);
    ::SendMessageA(m_pOwner->GetSafeHwnd(), WM_NOTIFY, m_nId, reinterpret_cast<LPARAM>(&m_notify));
}

// ------------------------------------------------------------- keys

UINT CGridHelper::OnGetDlgCode()
{
    return CWnd::OnGetDlgCode() | DLGC_WANTALLKEYS;
}

void CGridHelper::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    // An open drop-down keeps the keys that move in it and choose from it.
    const bool dropped = m_style == GHS_PICKLIST && SendMessage(CB_GETDROPPEDSTATE) != 0;
    switch (key) {
    case VK_TAB:
        EndEditing(::GetKeyState(VK_SHIFT) < 0 ? GHD_PREVIOUS : GHD_NEXT);
        return;
    case VK_RETURN:
        if (!dropped) {
            EndEditing(m_bEnterMovesDown ? GHD_DOWN : GHD_NONE);
            return;
        }
        break;
    case VK_UP:
    case VK_DOWN:
        if (!dropped) {
            EndEditing(key == VK_UP ? GHD_UP : GHD_DOWN);
            return;
        }
        break;
    case VK_ESCAPE:
        SetEscape();
        return;
    case VK_SPACE:
        if (m_style == GHS_CHECK) {
            ToggleCheck();
            return;
        }
        break;
    default:
        break;
    }
    CWnd::OnKeyDown(key, repeat, flags);
}

void CGridHelper::OnKeyUp(UINT key, UINT repeat, UINT flags)
{
    if (m_style == GHS_CHECK && key == VK_SPACE)
        return; // the button would click
    CWnd::OnKeyUp(key, repeat, flags);
}

void CGridHelper::OnChar(UINT ch, UINT repeat, UINT flags)
{
    // The ending keys were handled as keys; the controls would beep at them.
    if (ch == '\t' || ch == '\r' || ch == '\n' || ch == 27 || m_style == GHS_CHECK)
        return;
    if (IsNumeric()) {
        DWORD start = 0;
        DWORD end = 0;
        SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        const CString text = GetWindowText();
        if (!AcceptsGridChar(m_style, ch, text, int(start), int(end), m_dMin, m_nDisplayFormat,
                             CLocale::DecimalSeparator))
            return;
    }
    CWnd::OnChar(ch, repeat, flags);
}

// ------------------------------------------------------------- spin

BOOL CGridHelper::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code == UDN_DELTAPOS && header->hwndFrom == m_spin.GetSafeHwnd()) {
        OnSpinStep(*reinterpret_cast<const NMUPDOWN*>(lParam));
        *result = 0;
        return TRUE;
    }
    return CWnd::OnNotify(wParam, lParam, result);
}

// The step starts from what the editor shows, so that a typed number is
// stepped rather than the one the edit began with.
void CGridHelper::OnSpinStep(const NMUPDOWN& change)
{
    if (!IsNumeric())
        return;
    const CString shown = GetWindowText();
    const double current = m_style == GHS_INTEGER ? ReadGridInteger(shown, UserSeparators())
                                                  : ReadGridValue(shown, m_nDisplayFormat, 0, UserSeparators());
    double next = 0;
    if (!StepGridValue(current, change.iDelta, m_dIncrement, m_dMin, m_dMax, next))
        return;
    m_value = next;
    SetWindowText(FormatGridValue(m_style, m_value, m_nDisplayFormat));
    SendMessage(EM_SETSEL, 0, -1);
    m_bModified = TRUE;
    NotifyOwner();
}

// ------------------------------------------------------------- check

void CGridHelper::ToggleCheck()
{
    m_value = m_value != 0 ? 0 : 1;
    Invalidate(FALSE);
    UpdateWindow();
}

void CGridHelper::OnLButtonDown(UINT flags, CPoint point)
{
    if (m_style != GHS_CHECK) {
        CWnd::OnLButtonDown(flags, point);
        return;
    }
    SetFocus();
    ToggleCheck();
}

void CGridHelper::OnLButtonDblClk(UINT flags, CPoint point)
{
    if (m_style == GHS_CHECK)
        OnLButtonDown(flags, point);
    else
        CWnd::OnLButtonDblClk(flags, point);
}

void CGridHelper::OnPaint()
{
    if (m_style != GHS_CHECK) {
        CWnd::OnPaint();
        return;
    }
    CPaintDC dc(m_hWnd);
    DrawCheck(dc);
}

BOOL CGridHelper::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_DRAWITEM && m_style == GHS_CHECK) {
        DrawCheck(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hDC);
        *result = TRUE;
        return TRUE;
    }
    return CWnd::OnChildNotify(message, wParam, lParam, result);
}

// A standard check box, 3 pixels in from either side of the cell.
void CGridHelper::DrawCheck(HDC dc) const
{
    CDCHandle target(dc);
    const CRect client = GetClientRect();
    target.FillSolidRect(client, ::GetSysColor(COLOR_WINDOW));
    CRect box = client;
    box.left += 3;
    box.right -= 3;
    target.DrawFrameControl(&box, DFC_BUTTON, DFCS_BUTTONCHECK | (m_value != 0 ? DFCS_CHECKED : 0));
}

// ------------------------------------------------------------- values

BOOL CGridHelper::IsActive() const
{
    return m_hWnd != nullptr && IsWindowVisible();
}

BOOL CGridHelper::IsApostropheDecimalFormat() const
{
    return orv::controls::IsApostropheDecimalFormat(m_nDisplayFormat);
}

CString CGridHelper::GetValue() const
{
    if (!IsActive() || m_style == GHS_CHECK)
        return m_strText;
    CString shown = GetWindowText();
    shown.Trim();
    return shown;
}

long CGridHelper::GetValue(long defaultValue) const
{
    if (m_style == GHS_CHECK)
        return long(m_value);
    const CString text = GetValue();
    return text.IsEmpty() ? defaultValue : ReadGridInteger(text, UserSeparators());
}

double CGridHelper::GetValue(double defaultValue) const
{
    if (m_style == GHS_CHECK)
        return m_value;
    return ReadGridValue(GetValue(), m_nDisplayFormat, defaultValue, UserSeparators());
}

unsigned long CGridHelper::GetDWordData() const
{
    if (m_style != GHS_PICKLIST || m_hWnd == nullptr)
        return kNoData;
    const LRESULT selected = SendMessage(CB_GETCURSEL);
    if (selected < 0)
        return kNoData;
    return static_cast<unsigned long>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(selected)));
}

int CGridHelper::FindItemData(unsigned long data) const
{
    if (m_style != GHS_PICKLIST || m_hWnd == nullptr)
        return -1;
    const int count = static_cast<int>(SendMessage(CB_GETCOUNT));
    for (int i = 0; i < count; ++i) {
        if (static_cast<unsigned long>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(i))) == data)
            return i;
    }
    return -1;
}

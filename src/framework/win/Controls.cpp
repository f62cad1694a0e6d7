#include "framework/win/Controls.h"

#include "platform/ModuleState.h"
#include "platform/Network.h"

#include <commctrl.h>

namespace {

CString ItemText(HWND wnd, UINT lengthMessage, UINT textMessage, int index, int error)
{
    const LRESULT length = ::SendMessageA(wnd, lengthMessage, static_cast<WPARAM>(index), 0);
    CString text;
    if (length == error || length <= 0)
        return text;
    char* buffer = text.GetBuffer(static_cast<int>(length) + 1);
    buffer[0] = '\0';
    const LRESULT copied = ::SendMessageA(wnd, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
    text.ReleaseBuffer(copied > 0 && copied <= length ? static_cast<int>(copied) : 0);
    return text;
}

int ToInt(LRESULT value) { return static_cast<int>(value); }

} // namespace

// ------------------------------------------------------------------ CEdit

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("EDIT", nullptr, style, rect, parent, id);
}

void CEdit::GetSel(int& start, int& end) const
{
    DWORD first = 0;
    DWORD last = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&first), reinterpret_cast<LPARAM>(&last));
    start = static_cast<int>(first);
    end = static_cast<int>(last);
}

void CEdit::SetSel(int start, int end, BOOL noScroll)
{
    SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
    if (!noScroll)
        SendMessage(EM_SCROLLCARET);
}

void CEdit::ReplaceSel(const char* text, BOOL canUndo) { SendMessage(EM_REPLACESEL, canUndo, reinterpret_cast<LPARAM>(text)); }
void CEdit::LimitText(int maxChars) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(maxChars)); }
BOOL CEdit::SetReadOnly(BOOL readOnly) { return static_cast<BOOL>(SendMessage(EM_SETREADONLY, readOnly)); }
BOOL CEdit::CanUndo() const { return static_cast<BOOL>(SendMessage(EM_CANUNDO)); }
BOOL CEdit::Undo() { return static_cast<BOOL>(SendMessage(EM_UNDO)); }
void CEdit::EmptyUndoBuffer() { SendMessage(EM_EMPTYUNDOBUFFER); }
int CEdit::GetLineCount() const { return ToInt(SendMessage(EM_GETLINECOUNT)); }
BOOL CEdit::GetModify() const { return static_cast<BOOL>(SendMessage(EM_GETMODIFY)); }
void CEdit::SetModify(BOOL modified) { SendMessage(EM_SETMODIFY, modified); }

// ---------------------------------------------------------------- CButton

BOOL CButton::Create(const char* caption, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("BUTTON", caption, style, rect, parent, id);
}

int CButton::GetCheck() const { return ToInt(SendMessage(BM_GETCHECK)); }
void CButton::SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }
UINT CButton::GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
void CButton::SetState(BOOL highlight) { SendMessage(BM_SETSTATE, highlight); }
UINT CButton::GetButtonStyle() const { return GetStyle() & 0xFFFF; }
void CButton::SetButtonStyle(UINT style, BOOL redraw) { SendMessage(BM_SETSTYLE, style, redraw); }
void CButton::Click() { SendMessage(BM_CLICK); }

// ---------------------------------------------------------------- CStatic

BOOL CStatic::Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("STATIC", text, style, rect, parent, id);
}

HICON CStatic::SetIcon(HICON icon)
{
    return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
}

HBITMAP CStatic::SetBitmap(HBITMAP bitmap)
{
    return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
}

// -------------------------------------------------------------- CComboBox

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("COMBOBOX", nullptr, style, rect, parent, id);
}

int CComboBox::AddString(const char* text) { return ToInt(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }

int CComboBox::InsertString(int index, const char* text)
{
    return ToInt(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
}

int CComboBox::DeleteString(int index) { return ToInt(SendMessage(CB_DELETESTRING, static_cast<WPARAM>(index))); }
void CComboBox::ResetContent() { SendMessage(CB_RESETCONTENT); }
int CComboBox::GetCount() const { return ToInt(SendMessage(CB_GETCOUNT)); }
int CComboBox::GetCurSel() const { return ToInt(SendMessage(CB_GETCURSEL)); }
int CComboBox::SetCurSel(int index) { return ToInt(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
int CComboBox::GetLBTextLen(int index) const { return ToInt(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index))); }

int CComboBox::GetLBText(int index, CString& text) const
{
    if (index < 0 || index >= GetCount()) {
        text.Empty();
        return CB_ERR;
    }
    text = ItemText(m_hWnd, CB_GETLBTEXTLEN, CB_GETLBTEXT, index, CB_ERR);
    return text.GetLength();
}

int CComboBox::FindStringExact(int startAfter, const char* text) const
{
    return ToInt(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
}

int CComboBox::SelectString(int startAfter, const char* text)
{
    return ToInt(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
}

DWORD_PTR CComboBox::GetItemData(int index) const
{
    return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index)));
}

int CComboBox::SetItemData(int index, DWORD_PTR data)
{
    return ToInt(SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
}

void CComboBox::ShowDropDown(BOOL show) { SendMessage(CB_SHOWDROPDOWN, show); }
BOOL CComboBox::GetDroppedState() const { return static_cast<BOOL>(SendMessage(CB_GETDROPPEDSTATE)); }
BOOL CComboBox::LimitText(int maxChars) { return static_cast<BOOL>(SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(maxChars))); }

// --------------------------------------------------------------- CListBox

BOOL CListBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create("LISTBOX", nullptr, style, rect, parent, id);
}

int CListBox::AddString(const char* text) { return ToInt(SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }

int CListBox::InsertString(int index, const char* text)
{
    return ToInt(SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text)));
}

int CListBox::DeleteString(int index) { return ToInt(SendMessage(LB_DELETESTRING, static_cast<WPARAM>(index))); }
void CListBox::ResetContent() { SendMessage(LB_RESETCONTENT); }
int CListBox::GetCount() const { return ToInt(SendMessage(LB_GETCOUNT)); }
int CListBox::GetCurSel() const { return ToInt(SendMessage(LB_GETCURSEL)); }
int CListBox::SetCurSel(int index) { return ToInt(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index))); }
int CListBox::GetTextLen(int index) const { return ToInt(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index))); }

int CListBox::GetText(int index, CString& text) const
{
    if (index < 0 || index >= GetCount()) {
        text.Empty();
        return LB_ERR;
    }
    text = ItemText(m_hWnd, LB_GETTEXTLEN, LB_GETTEXT, index, LB_ERR);
    return text.GetLength();
}

int CListBox::FindStringExact(int startAfter, const char* text) const
{
    return ToInt(SendMessage(LB_FINDSTRINGEXACT, static_cast<WPARAM>(startAfter), reinterpret_cast<LPARAM>(text)));
}

DWORD_PTR CListBox::GetItemData(int index) const
{
    return static_cast<DWORD_PTR>(SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(index)));
}

int CListBox::SetItemData(int index, DWORD_PTR data)
{
    return ToInt(SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data)));
}

int CListBox::GetTopIndex() const { return ToInt(SendMessage(LB_GETTOPINDEX)); }
int CListBox::SetTopIndex(int index) { return ToInt(SendMessage(LB_SETTOPINDEX, static_cast<WPARAM>(index))); }
int CListBox::GetSel(int index) const { return ToInt(SendMessage(LB_GETSEL, static_cast<WPARAM>(index))); }

int CListBox::SetSel(int index, BOOL select)
{
    return ToInt(SendMessage(LB_SETSEL, static_cast<WPARAM>(select), static_cast<LPARAM>(index)));
}

int CListBox::GetSelCount() const { return ToInt(SendMessage(LB_GETSELCOUNT)); }

CArray<int, int> CListBox::GetSelItems() const
{
    CArray<int, int> items;
    const int count = GetSelCount();
    if (count > 0) {
        items.SetSize(count);
        const int filled =
            ToInt(SendMessage(LB_GETSELITEMS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(items.GetData())));
        items.SetSize(filled > 0 ? filled : 0);
    }
    return items;
}

// -------------------------------------------------------- CSpinButtonCtrl

BOOL CSpinButtonCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(UPDOWN_CLASSA, nullptr, style, rect, parent, id);
}

void CSpinButtonCtrl::SetRange(int lower, int upper) { SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(lower), upper); }

void CSpinButtonCtrl::GetRange(int& lower, int& upper) const
{
    SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), reinterpret_cast<LPARAM>(&upper));
}

int CSpinButtonCtrl::SetPos(int pos) { return ToInt(SendMessage(UDM_SETPOS32, 0, pos)); }
int CSpinButtonCtrl::GetPos() const { return ToInt(SendMessage(UDM_GETPOS32)); }

HWND CSpinButtonCtrl::SetBuddy(HWND buddy)
{
    return reinterpret_cast<HWND>(SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy)));
}

HWND CSpinButtonCtrl::GetBuddy() const { return reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY)); }

BOOL CSpinButtonCtrl::SetAccel(int count, const UDACCEL* accel)
{
    return static_cast<BOOL>(SendMessage(UDM_SETACCEL, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(accel)));
}

UINT CSpinButtonCtrl::GetBase() const { return static_cast<UINT>(SendMessage(UDM_GETBASE)); }

// ----------------------------------------------------------- CToolTipCtrl

namespace {

TOOLINFOA ToolInfo(HWND owner, CWnd* wnd, UINT_PTR id)
{
    TOOLINFOA info {};
    info.cbSize = sizeof(TOOLINFOA);
    info.hwnd = owner;
    if (id == 0 && wnd != nullptr) {
        info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        info.uId = reinterpret_cast<UINT_PTR>(wnd->GetSafeHwnd());
    } else {
        info.uId = id;
    }
    return info;
}

} // namespace

BOOL CToolTipCtrl::Create(CWnd* parent, DWORD style)
{
    return CreateEx(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | style, RECT {0, 0, 0, 0},
                    parent ? parent->GetSafeHwnd() : nullptr, 0);
}

BOOL CToolTipCtrl::AddTool(CWnd* wnd, const char* text, const RECT* rect, UINT_PTR id)
{
    if (wnd == nullptr)
        return FALSE;
    HWND owner = id == 0 ? wnd->GetParent() : wnd->GetSafeHwnd();
    TOOLINFOA info = ToolInfo(owner != nullptr ? owner : wnd->GetSafeHwnd(), wnd, id);
    if (rect != nullptr)
        info.rect = *rect;
    else if (id != 0)
        info.rect = wnd->GetClientRect();
    info.hinst = AfxGetResourceHandle();
    info.lpszText = const_cast<char*>(text != nullptr ? text : LPSTR_TEXTCALLBACKA);
    return static_cast<BOOL>(SendMessage(TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)));
}

void CToolTipCtrl::DelTool(CWnd* wnd, UINT_PTR id)
{
    if (wnd == nullptr)
        return;
    HWND owner = id == 0 ? wnd->GetParent() : wnd->GetSafeHwnd();
    TOOLINFOA info = ToolInfo(owner != nullptr ? owner : wnd->GetSafeHwnd(), wnd, id);
    SendMessage(TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::UpdateTipText(const char* text, CWnd* wnd, UINT_PTR id)
{
    if (wnd == nullptr)
        return;
    HWND owner = id == 0 ? wnd->GetParent() : wnd->GetSafeHwnd();
    TOOLINFOA info = ToolInfo(owner != nullptr ? owner : wnd->GetSafeHwnd(), wnd, id);
    info.hinst = AfxGetResourceHandle();
    info.lpszText = const_cast<char*>(text);
    SendMessage(TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&info));
}

void CToolTipCtrl::SetToolRect(CWnd* wnd, UINT_PTR id, const RECT& rect)
{
    if (wnd == nullptr)
        return;
    TOOLINFOA info = ToolInfo(wnd->GetSafeHwnd(), wnd, id);
    info.rect = rect;
    SendMessage(TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&info));
}

int CToolTipCtrl::GetToolCount() const { return ToInt(SendMessage(TTM_GETTOOLCOUNT)); }
void CToolTipCtrl::Activate(BOOL activate) { SendMessage(TTM_ACTIVATE, activate); }
void CToolTipCtrl::RelayEvent(MSG* msg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(msg)); }
void CToolTipCtrl::SetDelayTime(DWORD duration, int time) { SendMessage(TTM_SETDELAYTIME, duration, MAKELPARAM(time, 0)); }
int CToolTipCtrl::SetMaxTipWidth(int width) { return ToInt(SendMessage(TTM_SETMAXTIPWIDTH, 0, width)); }

// ------------------------------------------------------------ CHotKeyCtrl

BOOL CHotKeyCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    INITCOMMONCONTROLSEX init {sizeof init, ICC_HOTKEY_CLASS};
    ::InitCommonControlsEx(&init);
    return CWnd::Create(HOTKEY_CLASSA, nullptr, style, rect, parent, id);
}

void CHotKeyCtrl::SetHotKey(WORD virtualKey, WORD modifiers)
{
    SendMessage(HKM_SETHOTKEY, MAKEWORD(static_cast<BYTE>(virtualKey), static_cast<BYTE>(modifiers)));
}

DWORD CHotKeyCtrl::GetHotKey() const { return static_cast<DWORD>(SendMessage(HKM_GETHOTKEY)); }

void CHotKeyCtrl::GetHotKey(WORD& virtualKey, WORD& modifiers) const
{
    const DWORD hotKey = GetHotKey();
    virtualKey = LOBYTE(LOWORD(hotKey));
    modifiers = HIBYTE(LOWORD(hotKey));
}

void CHotKeyCtrl::SetRules(WORD invalidCombinations, WORD modifiers)
{
    SendMessage(HKM_SETRULES, invalidCombinations, MAKELPARAM(modifiers, 0));
}

// ---------------------------------------------------------- CProgressCtrl

BOOL CProgressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    return CWnd::Create(PROGRESS_CLASSA, nullptr, style, rect, parent, id);
}

void CProgressCtrl::SetRange32(int lower, int upper) { SendMessage(PBM_SETRANGE32, static_cast<WPARAM>(lower), upper); }

void CProgressCtrl::GetRange(int& lower, int& upper) const
{
    PBRANGE range {};
    SendMessage(PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    lower = range.iLow;
    upper = range.iHigh;
}

int CProgressCtrl::SetPos(int pos) { return ToInt(SendMessage(PBM_SETPOS, static_cast<WPARAM>(pos))); }
int CProgressCtrl::GetPos() const { return ToInt(SendMessage(PBM_GETPOS)); }

BOOL CProgressCtrl::SetMarquee(BOOL on, UINT intervalMs)
{
    // The style comes first: the control animates only with PBS_MARQUEE.
    if (on) {
        ModifyStyle(0, PBS_MARQUEE);
    }
    const BOOL result = static_cast<BOOL>(SendMessage(PBM_SETMARQUEE, on, static_cast<LPARAM>(intervalMs)));
    if (!on) {
        ModifyStyle(PBS_MARQUEE, 0);
    }
    return result;
}

// --------------------------------------------------------- CIPAddressCtrl

BOOL CIPAddressCtrl::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id)
{
    INITCOMMONCONTROLSEX init {sizeof init, ICC_INTERNET_CLASSES};
    ::InitCommonControlsEx(&init);
    return CWnd::Create(WC_IPADDRESSA, nullptr, style, rect, parent, id);
}

void CIPAddressCtrl::SetAddress(DWORD address) { SendMessage(IPM_SETADDRESS, 0, static_cast<LPARAM>(address)); }

void CIPAddressCtrl::SetAddress(BYTE first, BYTE second, BYTE third, BYTE fourth)
{
    SetAddress(MAKEIPADDRESS(first, second, third, fourth));
}

int CIPAddressCtrl::GetAddress(DWORD& address) const
{
    address = 0;
    return ToInt(SendMessage(IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address)));
}

BOOL CIPAddressCtrl::IsBlank() const { return static_cast<BOOL>(SendMessage(IPM_ISBLANK)); }
void CIPAddressCtrl::ClearAddress() { SendMessage(IPM_CLEARADDRESS); }

CString CIPAddressCtrl::GetAddressText() const
{
    DWORD address = 0;
    GetAddress(address);
    CString text;
    if (address != 0) {
        text.Format("%d.%d.%d.%d", FIRST_IPADDRESS(address), SECOND_IPADDRESS(address), THIRD_IPADDRESS(address),
                    FOURTH_IPADDRESS(address));
    }
    return text;
}

BOOL CIPAddressCtrl::SetAddressText(const char* text)
{
    unsigned char parts[4] = {};
    if (!platform::ParseDottedQuad(text, parts)) {
        ClearAddress();
        return FALSE;
    }
    SetAddress(MAKEIPADDRESS(parts[0], parts[1], parts[2], parts[3]));
    return TRUE;
}

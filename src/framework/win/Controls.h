// Wrappers of the system's controls: CEdit, CButton, CStatic, CComboBox,
// CListBox, CSpinButtonCtrl, CToolTipCtrl, CHotKeyCtrl, CProgressCtrl,
// CIPAddressCtrl. Each holds the control's window and
// forwards to the control's messages; failures are the control's answers.
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"
#include "framework/String.h"
#include "framework/win/Wnd.h"

#include <commctrl.h>

class ORV_API CEdit : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void GetSel(int& start, int& end) const;
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void ReplaceSel(const char* text, BOOL canUndo = FALSE);
    void LimitText(int maxChars = 0);
    BOOL SetReadOnly(BOOL readOnly = TRUE);
    BOOL CanUndo() const;
    BOOL Undo();
    void EmptyUndoBuffer();
    int GetLineCount() const;
    BOOL GetModify() const;
    void SetModify(BOOL modified = TRUE);
};

class ORV_API CButton : public CWnd {
public:
    BOOL Create(const char* caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int GetCheck() const;
    void SetCheck(int check);
    UINT GetState() const;
    void SetState(BOOL highlight);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);
    // Presses the button as a mouse click would.
    void Click();
};

class ORV_API CStatic : public CWnd {
public:
    BOOL Create(const char* text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);
    HICON SetIcon(HICON icon);
    HBITMAP SetBitmap(HBITMAP bitmap);
};

class ORV_API CComboBox : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Index of the new item, or CB_ERR / CB_ERRSPACE.
    int AddString(const char* text);
    int InsertString(int index, const char* text);
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    int GetLBTextLen(int index) const;
    // Empties text and returns CB_ERR for an index out of range.
    int GetLBText(int index, CString& text) const;
    int FindStringExact(int startAfter, const char* text) const;
    int SelectString(int startAfter, const char* text);
    DWORD_PTR GetItemData(int index) const;
    int SetItemData(int index, DWORD_PTR data);
    void ShowDropDown(BOOL show = TRUE);
    BOOL GetDroppedState() const;
    BOOL LimitText(int maxChars);
};

class ORV_API CListBox : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    int AddString(const char* text);
    int InsertString(int index, const char* text);
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    int GetTextLen(int index) const;
    int GetText(int index, CString& text) const;
    int FindStringExact(int startAfter, const char* text) const;
    DWORD_PTR GetItemData(int index) const;
    int SetItemData(int index, DWORD_PTR data);
    int GetTopIndex() const;
    int SetTopIndex(int index);
    // Multiple and extended selection lists: whether an item is selected,
    // selecting one (index -1: every item), and the selected indexes in
    // ascending order.
    int GetSel(int index) const;
    int SetSel(int index, BOOL select = TRUE);
    int GetSelCount() const;
    CArray<int, int> GetSelItems() const;
};

class ORV_API CSpinButtonCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetRange(int lower, int upper);
    void GetRange(int& lower, int& upper) const;
    int SetPos(int pos);
    int GetPos() const;
    HWND SetBuddy(HWND buddy);
    HWND GetBuddy() const;
    // Pairs of seconds and steps, as the control's acceleration table.
    BOOL SetAccel(int count, const UDACCEL* accel);
    UINT GetBase() const;
};

class ORV_API CToolTipCtrl : public CWnd {
public:
    // A tool-tip window owned by the parent.
    BOOL Create(CWnd* parent, DWORD style = 0);
    // Adds a tool for a rectangle of the window (or the whole window when
    // rect is null and id is 0). The text may be a string resource id in
    // MAKEINTRESOURCE form, loaded from the current resource module.
    BOOL AddTool(CWnd* wnd, const char* text, const RECT* rect = nullptr, UINT_PTR id = 0);
    void DelTool(CWnd* wnd, UINT_PTR id = 0);
    void UpdateTipText(const char* text, CWnd* wnd, UINT_PTR id = 0);
    // Moves the rectangle of a tool that covers a rectangle of wnd.
    void SetToolRect(CWnd* wnd, UINT_PTR id, const RECT& rect);
    int GetToolCount() const;
    void Activate(BOOL activate);
    void RelayEvent(MSG* msg);
    void SetDelayTime(DWORD duration, int time);
    int SetMaxTipWidth(int width);
};

class ORV_API CHotKeyCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // The key is a virtual-key code; the modifiers are HOTKEYF_ flags.
    void SetHotKey(WORD virtualKey, WORD modifiers);
    // The key in the low byte and the modifiers in the next; 0 when empty.
    DWORD GetHotKey() const;
    void GetHotKey(WORD& virtualKey, WORD& modifiers) const;
    // Combinations (HKCOMB_ flags) the control refuses, and the modifiers it
    // puts in their place.
    void SetRules(WORD invalidCombinations, WORD modifiers);
};

class ORV_API CProgressCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetRange32(int lower, int upper);
    void GetRange(int& lower, int& upper) const;
    // The previous position.
    int SetPos(int pos);
    int GetPos() const;
    // Marquee mode (PBS_MARQUEE) animated every intervalMs, or off again.
    BOOL SetMarquee(BOOL on, UINT intervalMs = 30);
};

// The four-field address control. The address is a host-order DWORD whose
// high byte is the first field (MAKEIPADDRESS).
class ORV_API CIPAddressCtrl : public CWnd {
public:
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
    void SetAddress(DWORD address);
    void SetAddress(BYTE first, BYTE second, BYTE third, BYTE fourth);
    // The number of fields that are not blank; a blank field reads as 0.
    int GetAddress(DWORD& address) const;
    BOOL IsBlank() const;
    void ClearAddress();
    // Dotted text of the address, or empty when every field is 0 or blank.
    CString GetAddressText() const;
    // Takes "a.b.c.d" with four numbers of 0 to 255; anything else clears
    // the control and answers FALSE.
    BOOL SetAddressText(const char* text);
};

// CGridHelper: the in-place editor a grid places over a cell to edit one
// value. One object serves every cell: for each edit its window becomes the
// kind of control the cell's field needs (an edit box for text and numbers,
// a drop-down list for the action and order type, an owner-drawn check
// button for flags), with a CGridSpin beside numeric editors.
//
// The owner is any list-like window; the editor and the spin are its
// children, placed over the cell rectangle the owner gives. When editing
// ends (a key or the focus leaving) the owner receives WM_NOTIFY from the
// editor with the control identifier and the code kNotifyCode (-106), also
// after each spin step, and reads NextCell(), IsModified() and the value.
// NextCell() stays GHD_EDITING while the editor is still open. The spin's
// steps reach it through the owner's reflected notifications, so the owner's
// messages must pass through its CWnd object.
#pragma once

#include "OrvApi.h"
#include "controls/GridEditText.h"
#include "controls/win/GridSpin.h"
#include "framework/Array.h"
#include "framework/String.h"
#include "framework/win/Wnd.h"

class ORV_API CGridHelper : public CWnd {
public:
    enum {
        kNotifyCode = -106,
        kSymbolLimit = 9,
        kNumberLimit = 10,
        kDropDownHeight = 200,
    };

    // Notifications go to the owner with control identifier `id`; the spin
    // gets `id` + 1.
    CGridHelper(CWnd* owner, unsigned int id);
    ~CGridHelper() override;

    // Starts editing field `col` of row `item` over the cell rectangle (in
    // the owner's client coordinates), closing any edit still open first.
    // 0, with nothing made, when the field is not editable or the owner has
    // no window; 1 once the editor is shown with the focus.
    int EditItem(const char* text, int item, int col, unsigned long itemData, CRect rect, double minimum,
                 double maximum, double increment, int displayFormat);
    // Replaces the pick list of the action (1001) or order-type (1007) field
    // with `count` field identifiers; 0 for any other field, a negative count
    // or missing identifiers.
    int SetPickList(int col, int count, const unsigned short* ids);
    // The bounds of the value; 0 when called while a call is running.
    int SetMinMax(const double& minimum, const double& maximum);

    // The text: the editor's while it is open, trimmed of blanks, else the
    // edited result.
    CString GetValue() const;
    // The text as a whole number; `defaultValue` for the empty text. The
    // check editor gives its value truncated.
    long GetValue(long defaultValue) const;
    // The text as a number (ReadGridValue); `defaultValue` for the empty
    // text. The check editor gives its value.
    double GetValue(double defaultValue) const;
    // The item data of the selected pick-list entry; -1 when this is not a
    // pick list or nothing is selected.
    unsigned long GetDWordData() const;
    // The pick-list entry with the item data, or -1.
    int FindItemData(unsigned long data) const;

    GHStyles GetGHStyle() const { return m_style; }
    GHDirections NextCell() const { return m_nextCell; }
    int GetItem() const { return m_nItem; }
    int GetCol() const { return m_nCol; }
    unsigned long GetItemData() const { return m_dwItemData; }
    BOOL IsEsc() const { return m_bEscaped; }
    BOOL IsModified() const { return m_bModified; }
    // Whether an editor is open (its window shown).
    BOOL IsActive() const;
    // True for the display formats 17 to 24 and 32 to 34.
    BOOL IsApostropheDecimalFormat() const;

    // Enter ends with GHD_DOWN when set, else GHD_NONE. Off at construction.
    void SetEnterMovesDown(BOOL on) { m_bEnterMovesDown = on; }
    BOOL GetEnterMovesDown() const { return m_bEnterMovesDown; }

    // End editing: the spin and an open drop-down close and the editor
    // hides; when it had the focus the focus goes back to the owner, which
    // is then notified. SetEscape first sets GHD_ESCAPE, the escaped flag
    // and an empty text, so the edit counts as unmodified.
    void Hide();
    void SetEscape();

    const CGridSpin& GetSpin() const { return m_spin; }

protected:
    // Numeric editors take typed characters only: a paste is refused.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnKeyUp(UINT key, UINT repeat, UINT flags) override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    UINT OnGetDlgCode() override;
    void OnKillFocus(HWND newFocus) override;
    void OnPaint() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    bool IsNumeric() const { return m_style == GHS_INTEGER || m_style == GHS_DECIMAL; }
    double InitialValue() const;
    bool CreateEditor(const CRect& cell);
    void FillPickList(const CRect& cell);
    void ShowSpin(const CRect& cell);
    void ShowEditor();
    // Ends editing with the direction, from a key.
    void EndEditing(GHDirections direction);
    void OnSpinStep(const NMUPDOWN& change);
    void ToggleCheck();
    void DrawCheck(HDC dc) const;
    void NotifyOwner();
    const CWordArray* PickList(int col) const;
    CWordArray* PickList(int col);

    CWnd* m_pOwner;
    unsigned int m_nId;
    NMHDR m_notify {};
    CGridSpin m_spin;

    GHStyles m_style { GHS_NONE };
    GHDirections m_nextCell { GHD_NONE };
    CString m_strText;
    double m_value { 0 };
    double m_startValue { 0 };
    double m_dMin { 0 };
    double m_dMax { 0 };
    double m_dIncrement { 0 };
    int m_nDisplayFormat { 0 };
    int m_nItem { -1 };
    int m_nCol { 0 };
    unsigned long m_dwItemData { 0 };
    BOOL m_bModified { FALSE };
    BOOL m_bEscaped { FALSE };
    BOOL m_bEnterMovesDown { FALSE };
    CWordArray m_arrActions;
    CWordArray m_arrOrderTypes;

    // Counts the edits, so that a key handler sees when the owner started a
    // new edit from the notification it sent.
    unsigned m_nEditSerial { 0 };
    // The focus loss of this edit has been handled (or must be ignored).
    bool m_bFocusDone { true };
    bool m_bInSetMinMax { false };
};

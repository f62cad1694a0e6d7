// CNimHoverCombo, the drop-down combo box of the application's dialogs and
// toolbars, and its dialog-data-exchange functions DDX_nimCBLong and
// DDX_nimCBItemData.
//
// In the classic look its border is flat until the mouse is over it or it has
// the focus; with visual styles the system draws it. Typed text is completed
// from the items, the open list is sized to the screen, and each item can
// carry a 32-bit data value.
//
// Filling it from a list of strings (a recent-symbols list, say): call
// SetItems with the strings in the order the list should show them, on a
// combo box made without CBS_SORT; the text in the edit field stays. Typing
// then completes from those strings. In a dialog, DDX_Control(dx, id, combo)
// first takes over the template's CBS_DROPDOWN combo box. The control learns of typed text from
// the notifications it sends its parent, so the parent must be a window of
// this library (a CDialog or another CWnd), which offers them back to it.
#pragma once

#include "OrvApi.h"
#include "controls/win/HoverTracker.h"
#include "framework/Array.h"
#include "framework/win/Controls.h"

#include <memory>

class CDataExchange;

class ORV_API CNimHoverCombo : public CComboBox {
public:
    CNimHoverCombo();
    ~CNimHoverCombo() override;

    using CComboBox::AddString;
    using CComboBox::InsertString;
    // Adds the item and, unless the platform refused it, sets its data.
    // Returns the item's index, or CB_ERR (-1) / CB_ERRSPACE (-2).
    int AddString(const char* text, DWORD data);
    int InsertString(int index, const char* text, DWORD data);
    // Replaces the items by the strings, in their order. Returns the number
    // of items, or the platform's failure code for the first string it
    // refused (the strings before it stay in the list).
    int SetItems(const CStringArray& items);

    // The data of the selected item, or 0 when nothing is selected.
    DWORD GetCurSelData() const;
    // The index of the first item with the data, or -1.
    int FindItemData(DWORD data) const;
    // Selects the first item with the data and returns its index; -1 and the
    // selection unchanged when no item has it.
    int SelectItemData(DWORD data);
    // The selected item's index (-1 when none) and, when there is one, its
    // text in `text`.
    int GetCurSelText(CString& text) const;

    // Items the open list shows: -1 as many as fit on the screen, 0 all of
    // them, a positive number that many (2 at least).
    void SetMaxShow(int count) { m_nMaxShow = count; }
    int GetMaxShow() const { return m_nMaxShow; }
    void EnableAutoCompletion(BOOL enable) { m_bAutoComplete = enable != FALSE; }
    BOOL IsAutoCompletionEnabled() const { return m_bAutoComplete; }

    BOOL IsTracking() const { return m_hover.IsTracking(); }
    BOOL IsThemed() const { return m_hover.IsThemed(); }

protected:
    void PreSubclassWindow() override;
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnPaint() override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnMouseLeave() override;
    LRESULT OnThemeChanged() override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Completes the edit text from the items (on each edit-text change).
    virtual void OnEditChange();
    // Sizes the list before it opens.
    virtual void OnDropDown();
    // Draws the classic border and button rings over the platform's image.
    virtual void DrawClassicLook(CDC& dc);
    // The mouse is over the control or its edit field, or it has the focus.
    BOOL IsHot() const;

    int m_nButtonWidth;
    CHoverTracker m_hover;
    BOOL m_bAutoComplete { TRUE };
    int m_nMaxShow { -1 };

private:
    class CEditHook;
    friend class CEditHook;

    // Takes the mouse messages of the combo box's edit field, when it has
    // one, so that hovering the text counts as hovering the control.
    void AdoptEdit();
    // Hover tracking for the control or its edit field (`from`).
    void TrackMouse(HWND from);
    void EndMouseTracking();
    bool IsOverButton() const;
    CRect ButtonRect() const;
    int DropDownHeight() const;

    std::unique_ptr<CEditHook> m_pEdit;
    bool m_bOverButton { false };
    bool m_bCompleting { false };
    // The last key in the edit field deleted text (Backspace or Delete).
    bool m_bDeleting { false };
};

// Loading: selects the item whose text is the value written with "%d", or
// else puts that text in the edit field. Saving: the value is the decimal
// reading of the text (leading blanks allowed; 0 without digits). Fails the
// exchange when the dialog has no control with the identifier.
ORV_API void DDX_nimCBLong(CDataExchange* dx, int id, long& value);
// Loading: selects the first item whose data is the value (no change without
// one). Saving: the value is the selected item's data, or 0xFFFFFFFF when
// nothing is selected.
ORV_API void DDX_nimCBItemData(CDataExchange* dx, int id, DWORD& value);

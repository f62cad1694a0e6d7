// CTreeGridItemInfo: the content of one node of the tree grid: its label,
// the texts of the other columns, check state, image, colours and, per
// column, the editing control with its list of choices.
#pragma once

#include "OrvApi.h"
#include "framework/Array.h"
#include "framework/String.h"
#include "base/Types.h"

#include <map>

#if !defined(_WIN32)
using COLORREF = DWORD; // 0x00BBGGRR, as on Windows
#endif

class ORV_API CTreeGridItemInfo {
public:
    // The editing control of a cell. A cell without one is a plain edit; a
    // drop-down cell shows an arrow button and offers its list of choices.
    enum CONTROLTYPE : int { edit = 0, combobox = 1 };
    // No colour given: the control's own colour is used.
    static constexpr COLORREF kDefaultColor = static_cast<COLORREF>(-1);

    CTreeGridItemInfo() = default;
    virtual ~CTreeGridItemInfo();

    CTreeGridItemInfo(const CTreeGridItemInfo&) = delete;
    CTreeGridItemInfo& operator=(const CTreeGridItemInfo&) = delete;

    // The label of the first column, optionally with its text colour.
    void SetItemText(const CString& text) { m_strItemName = text; }
    void SetItemText(const CString& text, COLORREF color);
    const CString& GetItemText() const { return m_strItemName; }
    COLORREF GetItemClr() const { return m_clf; }

    // Cell texts of columns 1 onward: index 0 is column 1.
    void AddSubItemText(const CString& text) { m_subItems.Add(text); }
    // Sets the cell text of index `subItem`, growing the array with empty
    // texts as needed; a negative index is refused (FALSE).
    BOOL SetSubItemText(int subItem, const CString& text);
    // The cell text of index `subItem`; empty when there is none.
    CString GetSubItem(int subItem) const;
    int GetItemCount() const { return m_subItems.GetSize(); }

    void SetCheck(BOOL check) { m_bCheck = check; }
    BOOL GetCheck() const { return m_bCheck; }
    void SetImage(int image) { m_iImage = image; }
    int GetImage() const { return m_iImage; }
    DWORD GetUserValue() const { return m_dwUserValue; }
    void SetUserValue(DWORD value) { m_dwUserValue = value; }

    // Editing control of a column; GetControlType answers FALSE and edit
    // when the column has none.
    void SetControlType(CONTROLTYPE type, int column);
    BOOL GetControlType(int column, CONTROLTYPE& type) const;
    // The choices of a drop-down column (copied in); null when it has none.
    void SetListData(int column, const CStringArray& list);
    const CStringArray* GetListData(int column) const;
    // Cell background of a column; kDefaultColor when none is set.
    void SetBkColor(int column, COLORREF color) { m_colors[column] = color; }
    COLORREF GetBkColor(int column) const;

    // Copy the texts, check and image; the control types with their lists;
    // and the background colours of another info.
    void CopyObjects(const CTreeGridItemInfo& other);
    void CopyControls(const CTreeGridItemInfo& other);
    void CopyColors(const CTreeGridItemInfo& other);

private:
    DWORD m_dwUserValue { 0 };
    std::map<int, CONTROLTYPE> m_controlTypes;
    std::map<int, COLORREF> m_colors;
    std::map<int, CStringArray> m_listData;
    CString m_strItemName;
    CStringArray m_subItems;
    BOOL m_bCheck { FALSE };
    int m_iImage { -1 };
    COLORREF m_clf { kDefaultColor };
};

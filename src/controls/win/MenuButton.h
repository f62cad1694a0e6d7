// CNimMenuButton: a compact chooser drawn like a drop-down list. It shows the
// current item (an optional icon and a text) with a drop-down arrow; a click
// opens a popup menu of all items, and choosing one makes it current and
// tells the parent with the MBN_SELCHANGE notification.
#pragma once

#include "OrvApi.h"
#include "controls/win/HoverButton.h"
#include "controls/win/ThemeUtil.h"
#include "framework/String.h"
#include "framework/win/ImageList.h"

#include <vector>

class CMenu;

// The notification code sent (WM_NOTIFY) when an item is made current.
const UINT MBN_SELCHANGE = 1;

// The record of MBN_SELCHANGE. The text and icon belong to the button.
struct NMMENUBUTTON {
    NMHDR hdr;
    int iItem;
    const char* pszText;
    HICON hIcon;
};

class ORV_API CNimMenuButton : public CNimHoverButton {
public:
    // The back colour that paints with the parent's static-control brush.
    static const COLORREF kTransparent = 1;
    // Command identifier of the first item in the popup menu.
    static const UINT kFirstCommand = 30000;

    CNimMenuButton();
    ~CNimMenuButton() override;

    // Appends an item. The button keeps a copy of the icon (which may be
    // null); the caller keeps its own. Returns the item's index, or -1 with
    // nothing added when the icon cannot be copied.
    int AddItem(const char* text, HICON icon = nullptr);
    int GetItemCount() const { return static_cast<int>(m_items.size()); }
    // The item's text, or "" for an index out of range.
    CString GetItemText(int index) const;

    // Makes the item current and repaints. An index below -1 or not below
    // the item count is refused with FALSE. For an item (not -1) the parent
    // is sent MBN_SELCHANGE, even when it was current already.
    BOOL SetSel(int index);
    // The same for the first item whose text is exactly the text; FALSE
    // when there is none.
    BOOL SetSel(const char* text);
    int GetCurSel() const { return m_nCurSel; }

    // kTransparent, or an RGB colour for the face.
    void SetBackColor(COLORREF color);
    COLORREF GetBackColor() const { return m_crBack; }
    int GetArrowWidth() const { return m_nArrowWidth; }
    // Whether the popup menu is showing.
    BOOL IsMenuOpen() const { return m_pOpenMenu != nullptr; }

protected:
    void PreSubclassWindow() override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnSetFocus(HWND oldFocus) override;
    void OnKillFocus(HWND newFocus) override;
    LRESULT OnThemeChanged() override;
    void OnDestroy() override;
    // The icons of the popup menu's items, drawn from their copies.
    void OnMeasureItem(int id, MEASUREITEMSTRUCT* item) override;
    void OnDrawItem(int id, DRAWITEMSTRUCT* item) override;
    void DrawItem(DRAWITEMSTRUCT* item) override;
    bool UseThemedLook() const override;

    // Shows the popup menu and makes the chosen item current; nothing
    // without items.
    virtual void ShowMenu();
    // Whether the visual-style data of the drop-down button is open.
    bool HasComboThemeData() const { return m_theme.GetThemeHandle() != nullptr; }

private:
    struct Item {
        CString text;
        CIcon icon;
        int image; // in m_images, or -1
    };

    void BuildMenu(CMenu& menu, std::vector<CIcon>& iconCopies) const;
    void SkipClickThatClosedMenu();
    void FillFace(CDC& dc, const CRect& rect);
    void DrawArrowPart(CDC& dc, const CRect& arrow, bool hot, bool pressed, bool disabled);
    void DrawCurrentItem(CDC& dc, CRect face, bool disabled);

    std::vector<Item> m_items;
    CImageList m_images;
    int m_nArrowWidth;
    int m_nCurSel { -1 };
    CMenu* m_pOpenMenu { nullptr };
    COLORREF m_crBack { kTransparent };
    bool m_bSkipNextClick { false };
    CThemeUtil m_theme;
};

// CNimHoverButton: the owner-drawn push button of the application's windows.
// It lights up under the mouse, can stay selected like a toggle, can carry a
// split drop-down part, and can sit as a buddy beside another control.
#pragma once

#include "OrvApi.h"
#include "controls/win/HoverTracker.h"
#include "controls/win/ThemeUtil.h"
#include "framework/win/Controls.h"

#include <ocidl.h>

class CDC;

class ORV_API CNimHoverButton : public CButton {
public:
    CNimHoverButton() = default;

    // Colours are OLE colours: 0x80000000 | index names a system colour,
    // anything else is RGB. A setter repaints only when the value changes.
    void SetSelTextColor(OLE_COLOR color) { SetColor(m_crSelText, color); }
    OLE_COLOR GetSelTextColor() const { return m_crSelText; }
    void SetTextColor(OLE_COLOR color) { SetColor(m_crText, color); }
    OLE_COLOR GetTextColor() const { return m_crText; }
    void SetDisabledTextColor(OLE_COLOR color) { SetColor(m_crDisabledText, color); }
    OLE_COLOR GetDisabledTextColor() const { return m_crDisabledText; }
    void SetHiliteColor(OLE_COLOR color) { SetColor(m_crHilite, color); }
    OLE_COLOR GetHiliteColor() const { return m_crHilite; }
    void SetBtnFaceColor(OLE_COLOR color) { SetColor(m_crBtnFace, color); }
    OLE_COLOR GetBtnFaceColor() const { return m_crBtnFace; }
    void SetShadowColor(OLE_COLOR color) { SetColor(m_crShadow, color); }
    OLE_COLOR GetShadowColor() const { return m_crShadow; }
    void SetSelBkgndColor(OLE_COLOR color) { SetColor(m_crSelBkgnd, color); }
    OLE_COLOR GetSelBkgndColor() const { return m_crSelBkgnd; }

    // Toggle state; the next click on a selected button releases it.
    void SetSelected(BOOL selected) { SetFlag(m_bSelected, selected); }
    BOOL GetSelected() const { return m_bSelected; }
    void SetDefault(BOOL isDefault) { SetFlag(m_bDefault, isDefault); }
    BOOL GetDefault() const { return m_bDefault; }
    void SetSplitButton(BOOL split) { SetFlag(m_bSplitButton, split); }
    BOOL GetToggleLine() const { return m_bSplitButton; }
    void SetEatSpaceClicks(BOOL eat) { m_bEatSpaceClicks = eat != FALSE; }
    BOOL GetEatSpaceClicks() const { return m_bEatSpaceClicks; }
    void SetIgnoreDoubleClicks(BOOL ignore) { m_bIgnoreDoubleClicks = ignore != FALSE; }
    BOOL GetIgnoreDoubleClicks() const { return m_bIgnoreDoubleClicks; }

    // Remembers the control this button belongs to. With reposition the
    // button moves to the buddy's right end (after the buddy's own spin when
    // it has one), takes the buddy's top and height and keeps its width.
    void SetBuddy(HWND buddy, BOOL reposition = TRUE);
    HWND GetBuddy() const { return m_hBuddy; }

    BOOL IsTracking() const { return m_hover.IsTracking(); }
    // Whether visual styles are in use, as last tested.
    BOOL IsThemed() const { return m_hover.IsThemed(); }
    BOOL IsSplitHot() const { return m_bSplitHot; }
    BOOL IsSplitPressed() const { return m_bSplitPressed; }
    BOOL IsDroppingDown() const { return m_bDroppingDown; }
    // The drop-down part and its arrow, in client coordinates; empty unless
    // the button is a split button.
    CRect GetSplitRect() const { return m_rcSplit; }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnMouseLeave() override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnLButtonDblClk(UINT flags, CPoint point) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnKeyUp(UINT key, UINT repeat, UINT flags) override;
    UINT OnGetDlgCode() override;
    void OnSize(UINT type, int cx, int cy) override;
    LRESULT OnThemeChanged() override;
    void OnDestroy() override;

    // Paints the button for the owner-draw request.
    virtual void DrawItem(DRAWITEMSTRUCT* item);
    // Sends the drop-down notification (BCN_DROPDOWN) to the parent.
    // Returns false when the parent destroyed the button meanwhile.
    virtual bool NotifyDropDown();
    // Whether to paint with the visual style: visual styles are in use and
    // the button's theme data is open.
    virtual bool UseThemedLook() const;
    bool HasThemeData() const { return m_theme.GetThemeHandle() != nullptr; }

private:
    void SetColor(OLE_COLOR& member, OLE_COLOR color);
    void SetFlag(bool& member, BOOL value);
    void MakeOwnerDrawn();
    void LayoutSplit();
    void UpdateSplitState(CPoint point);
    void RepaintBuddy();
    void DrawFace(CDC& dc, const CRect& rect, UINT state, bool themed);
    void DrawSplitPart(CDC& dc, UINT state, bool themed);
    void DrawCaption(CDC& dc, CRect rect, UINT state);

    OLE_COLOR m_crSelText { 0x80000012 };
    OLE_COLOR m_crText { 0x80000012 };
    OLE_COLOR m_crDisabledText { 0x80000011 };
    OLE_COLOR m_crHilite { 0x80000014 };
    OLE_COLOR m_crBtnFace { 0x8000000F };
    OLE_COLOR m_crShadow { 0x80000010 };
    OLE_COLOR m_crSelBkgnd { 0x80000014 };

    // The button lights up under the mouse in either look.
    CHoverTracker m_hover { CHoverTracker::Track::Always };
    bool m_bSelected { false };
    bool m_bDefault { false };
    bool m_bIgnoreDoubleClicks { false };
    bool m_bSplitButton { false };
    HWND m_hBuddy { nullptr };
    CThemeUtil m_theme;
    bool m_bEatSpaceClicks { false };
    CRect m_rcSplit;
    CRect m_rcArrow;
    bool m_bSplitPressed { false };
    bool m_bSplitHot { false };
    bool m_bDroppingDown { false };
};

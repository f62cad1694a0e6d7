// CNimHoverEdit: the edit under every entry field of the application. In the
// classic look its border lights up under the mouse and while it has the
// focus; with visual styles it leaves its drawing to the system.
#pragma once

#include "OrvApi.h"
#include "controls/win/HoverTracker.h"
#include "framework/win/Controls.h"

class ORV_API CNimHoverEdit : public CEdit {
public:
    CNimHoverEdit() = default;

    // Gaining the focus selects the whole text (after the click that gave it).
    void SetSelectAllOnFocus(BOOL selectAll) { m_bSelectAllOnFocus = selectAll != FALSE; }
    BOOL GetSelectAllOnFocus() const { return m_bSelectAllOnFocus; }
    // A right-click menu request goes to the parent instead of the edit's
    // own menu.
    void SetForwardContextMenu(BOOL forward) { m_bForwardContextMenu = forward != FALSE; }
    BOOL GetForwardContextMenu() const { return m_bForwardContextMenu; }
    // Selects the whole text and scrolls the caret into view.
    void SelectAll();

    BOOL IsTracking() const { return m_hover.IsTracking(); }
    BOOL IsThemed() const { return m_hover.IsThemed(); }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnPaint() override;
    void OnNcPaint() override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnMouseLeave() override;
    void OnSetFocus(HWND oldFocus) override;
    void OnKillFocus(HWND newFocus) override;
    void OnContextMenu(HWND wnd, CPoint screenPoint) override;
    LRESULT OnThemeChanged() override;

    // Whether the border is drawn lit: focused or under the mouse.
    virtual BOOL IsHot() const;
    // Draws the classic border after the system has painted (nothing when
    // visual styles are in use).
    virtual void DrawBorder();
    // Repaints the client area and the border.
    void RedrawAll();

    CHoverTracker m_hover;
    bool m_bForwardContextMenu { false };
    bool m_bSelectAllOnFocus { false };

private:
    LRESULT OnUndo(UINT message, WPARAM wParam, LPARAM lParam);
};

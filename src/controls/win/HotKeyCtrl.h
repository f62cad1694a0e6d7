// CNimHotKeyCtrl: the system's hot-key entry control with the flat look of
// the library's other entry fields. In the classic look its sunken border is
// drawn flat until the mouse is over it or it has the focus; with visual
// styles it adds nothing to the system's drawing.
#pragma once

#include "OrvApi.h"
#include "controls/win/HoverTracker.h"
#include "framework/win/Controls.h"

class ORV_API CNimHotKeyCtrl : public CHotKeyCtrl {
public:
    CNimHotKeyCtrl();

    // Tests again whether visual styles are in use; returns the answer.
    virtual BOOL UpdateTheme();

    BOOL IsTracking() const { return m_hover.IsTracking(); }
    BOOL IsThemed() const { return m_hover.IsThemed(); }

protected:
    void PreSubclassWindow() override;
    int OnCreate(CREATESTRUCTA* cs) override;
    LRESULT OnThemeChanged() override;
    void OnSetFocus(HWND oldFocus) override;
    void OnKillFocus(HWND newFocus) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnMouseLeave() override;
    void OnNcPaint() override;

    CHoverTracker m_hover;

private:
    // Sends the control WM_NCPAINT for its whole frame.
    void RepaintFrame();
};

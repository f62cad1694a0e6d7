// Toolbars for dialogs: CDlgToolBar, whose buttons follow the command
// handlers of the dialog that holds it (directly or in a rebar), and
// CNoActiveAccessibilityToolbar, a plain toolbar. Neither serves
// accessibility clients itself.
#pragma once

#include "OrvApi.h"
#include "framework/win/ControlBar.h"

class ORV_API CDlgToolBar : public CToolBar {
public:
    CDlgToolBar();
    ~CDlgToolBar() override;

    // The bar's own idle handling, then, while visible, its buttons from
    // the handlers of its parent, or of the rebar's parent when the parent
    // is a rebar; wParam non-zero disables buttons without a handler.
    // Returns 0.
    LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam) override;
};

class ORV_API CNoActiveAccessibilityToolbar : public CToolBar {
public:
    CNoActiveAccessibilityToolbar();
    ~CNoActiveAccessibilityToolbar() override;
};

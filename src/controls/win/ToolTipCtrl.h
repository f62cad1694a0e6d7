// CNimToolTipCtrl: the system's tool-tip control with two short ways of
// registering a tool, a whole child window or a rectangle of the owner
// window. Both let the control watch the mouse itself (TTF_SUBCLASS), so the
// owner does not relay mouse messages.
#pragma once

#include "OrvApi.h"
#include "framework/win/Controls.h"

class ORV_API CNimToolTipCtrl : public CToolTipCtrl {
public:
    CNimToolTipCtrl() = default;
    ~CNimToolTipCtrl() override = default;

    // Registers the whole window as a tool (its handle is the identifier; a
    // null window registers identifier 0). The text is a string or a string
    // resource identifier in MAKEINTRESOURCE form. Returns the control's
    // answer to TTM_ADDTOOLA: nonzero when the tool was added.
    int AddWindowTool(CWnd* wnd, const char* text);
    // Registers a rectangle of the owner window under the identifier. The
    // window argument is not used: the tool belongs to the owner window.
    int AddRectTool(CWnd* wnd, const char* text, const RECT* rect, UINT_PTR id);

private:
    int AddToolRecord(UINT flags, UINT_PTR id, const RECT* rect, const char* text);
};

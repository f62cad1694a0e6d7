// CSysColors: the process-wide cache of the system colours the controls
// paint with, and a one-pixel solid pen of each.
#pragma once

#include "OrvApi.h"
#include "framework/win/Gdi.h"
#include "base/Types.h"

class ORV_API CSysColors {
public:
    // Reads the colours from the system and remakes the pens, at most once
    // per second of the tick count; calls within the same second do nothing.
    // The library calls it once when it loads.
    static void Update();

    static COLORREF sm_crText;
    static COLORREF sm_crBtnFace;
    static COLORREF sm_cr3DHilite;
    static COLORREF sm_cr3DShadow;
    static COLORREF sm_cr3DDkShadow;
    static COLORREF sm_crWindow;
    static COLORREF sm_crGrayText;
    static COLORREF sm_crBtnText;
    static COLORREF sm_crAppWorkspace;

    static CPen sm_penText;
    static CPen sm_penBtnFace;
    static CPen sm_pen3DHilite;
    static CPen sm_pen3DShadow;
    static CPen sm_pen3DDkShadow;
    static CPen sm_penWindow;
    static CPen sm_penGrayText;
    static CPen sm_penBtnText;
    static CPen sm_penAppWorkspace;

private:
    struct _init {
        _init();
    };
    static _init sm_init;
};

// The tool tip this thread shows and the text it shows.
#pragma once

#include "UiHarness.h"

#include <commctrl.h>

namespace orv::ui {

inline HWND FindToolTip()
{
    return FindThreadWindow(TOOLTIPS_CLASSA);
}

// The text of the tool that the visible tool tip shows; empty when none is shown.
inline CString ShownToolTipText()
{
    char text[1024] {};
    TOOLINFOA info {};
    info.cbSize = sizeof(info);
    info.lpszText = text;
    const HWND tip = FindToolTip();
    if (tip == nullptr || !::SendMessageA(tip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&info)))
        return CString();
    return CString(text);
}

} // namespace orv::ui

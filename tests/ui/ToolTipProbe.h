// The tool tip this thread shows and the text it shows.
#pragma once

#include "framework/String.h"
#include "base/Types.h"

#include <commctrl.h>

namespace orv::ui {

// The visible tool-tip window of this thread, or null.
inline HWND FindToolTip()
{
    HWND found = nullptr;
    auto visibleTip = [](HWND wnd, LPARAM param) -> BOOL {
        char name[64] {};
        ::GetClassNameA(wnd, name, sizeof(name));
        if (lstrcmpiA(name, TOOLTIPS_CLASSA) != 0 || !::IsWindowVisible(wnd))
            return TRUE;
        *reinterpret_cast<HWND*>(param) = wnd;
        return FALSE;
    };
    ::EnumThreadWindows(::GetCurrentThreadId(), visibleTip, reinterpret_cast<LPARAM>(&found));
    return found;
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

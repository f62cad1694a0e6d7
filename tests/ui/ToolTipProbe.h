// Finds the tool tip that this thread is showing and the text it shows.
#pragma once

#include "framework/String.h"
#include "base/Types.h"

#include <commctrl.h>

namespace orv::ui {

// A tool-tip window of this thread: a visible one, or (shown false) one
// owned by the given top-level window; null when there is none.
inline HWND FindToolTip(bool shown = true, HWND owner = nullptr)
{
    struct Search {
        bool shown;
        HWND owner;
        HWND found;
    } search {shown, owner, nullptr};
    ::EnumThreadWindows(
        ::GetCurrentThreadId(),
        [](HWND wnd, LPARAM param) -> BOOL {
            auto* search = reinterpret_cast<Search*>(param);
            char name[64] {};
            ::GetClassNameA(wnd, name, sizeof(name));
            if (lstrcmpiA(name, TOOLTIPS_CLASSA) != 0)
                return TRUE;
            if (search->shown ? !::IsWindowVisible(wnd) : ::GetWindow(wnd, GW_OWNER) != search->owner)
                return TRUE;
            search->found = wnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The text of the tool the tool tip shows now; empty when it shows none.
inline CString ShownToolTipText(HWND tip)
{
    char text[1024] {};
    TOOLINFOA info {};
    info.cbSize = sizeof(info);
    info.lpszText = text;
    if (tip == nullptr || !::SendMessageA(tip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&info)))
        return CString();
    if (text[0] == '\0') {
        info.lpszText = text;
        ::SendMessageA(tip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&info));
    }
    return CString(text);
}

// The text registered for a tool of the tool tip.
inline CString ToolText(HWND tip, HWND owner, UINT_PTR id)
{
    char text[1024] {};
    TOOLINFOA info {};
    info.cbSize = sizeof(info);
    info.hwnd = owner;
    info.uId = id;
    info.lpszText = text;
    ::SendMessageA(tip, TTM_GETTEXTA, sizeof(text), reinterpret_cast<LPARAM>(&info));
    return CString(text);
}

} // namespace orv::ui

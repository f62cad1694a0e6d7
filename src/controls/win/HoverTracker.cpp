#include "controls/win/HoverTracker.h"

#include "controls/win/HoverLook.h"
#include "controls/win/ThemeUtil.h"

CHoverTracker::CHoverTracker(Track track) : m_track(track), m_bThemed(IsThemeInUse() != FALSE) {}

bool CHoverTracker::OnMouseMove(HWND wnd, bool allowed)
{
    if (m_bTracking || !allowed || (m_bThemed && m_track == Track::ClassicOnly))
        return false;
    m_bTracking = RequestMouseLeave(wnd) != FALSE;
    return true;
}

bool CHoverTracker::OnThemeChanged()
{
    m_bThemed = IsThemeInUse() != FALSE;
    return m_bThemed;
}

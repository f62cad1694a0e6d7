// CHoverTracker: the hover state a hover control keeps, as one member. It
// arms the mouse-leave notification on the first mouse move, clears on the
// leave, and keeps the themed flag (whether visual styles are in use) with
// its refresh on a theme change. A control forwards its mouse-move,
// mouse-leave and theme-change handlers to it and repaints when it says so.
#pragma once

#include "OrvApi.h"
#include "base/Types.h"

class ORV_API CHoverTracker {
public:
    // Whether hover is tracked while visual styles are in use: a control
    // that leaves its drawing to the styles tracks only in the classic look.
    enum class Track { ClassicOnly, Always };

    // The themed flag starts from the visual-style test.
    explicit CHoverTracker(Track track = Track::ClassicOnly);

    // On a mouse move: asks for the leave notification unless it is armed
    // already, the look is themed (ClassicOnly) or the control does not
    // allow it now. Returns true when tracking has just started, so the
    // control repaints; the request's result becomes the tracking flag.
    bool OnMouseMove(HWND wnd, bool allowed = true);
    // On the mouse-leave notification: tracking ends.
    void OnMouseLeave() noexcept { m_bTracking = false; }
    // On a theme change: reads the visual-style test again. Returns the new
    // themed flag.
    bool OnThemeChanged();

    bool IsTracking() const noexcept { return m_bTracking; }
    bool IsThemed() const noexcept { return m_bThemed; }
    // Takes the themed look whatever the test says, for a host that draws
    // with the styles itself.
    void SetThemed(bool themed) noexcept { m_bThemed = themed; }

private:
    Track m_track;
    bool m_bTracking { false };
    bool m_bThemed;
};

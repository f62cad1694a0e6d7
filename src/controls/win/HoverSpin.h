// CNimHoverSpin, the up-down button beside an entry field, and
// INimSpinBuddy, what it asks of the edit it serves.
//
// The spin holds no value: its own position rests in the middle of a fixed
// range, and every step goes to the buddy, which owns the value, its limits
// and its step size.
#pragma once

#include "OrvApi.h"
#include "controls/win/HoverTracker.h"
#include "framework/win/Controls.h"

// The operations the spin calls on its buddy, in this slot order.
class ORV_API INimSpinBuddy {
public:
    virtual ~INimSpinBuddy() = default;
    // Steps the value: +1 per step up, -1 per step down, more when the
    // button accelerates.
    virtual void ChangeAmount(int steps) = 0;
    virtual BOOL CanIncrement() = 0;
    virtual BOOL CanDecrement() = 0;
};

class ORV_API CNimHoverSpin : public CSpinButtonCtrl {
public:
    enum { kRangeMin = 0, kRangeMax = 1000, kRestingPos = 500 };

    CNimHoverSpin() = default;

    // Both ignore their arguments: the range is always 0 to 1000 and the
    // position 500, so that the spin never runs into an end.
    void SetRange(double minimum, double maximum);
    void SetPos(double value);
    // Attaches the buddy (null detaches), evens out the spin's size and,
    // with a buddy, shows or hides the spin as the buddy is shown or hidden.
    void SetBuddy(CWnd* buddy);
    // The attached edit when it serves as a spin buddy, else null.
    INimSpinBuddy* GetBuddy() const;
    HWND GetBuddyHwnd() const;

    BOOL IsTracking() const { return m_hover.IsTracking(); }
    BOOL IsThemed() const { return m_hover.IsThemed(); }

protected:
    void PreSubclassWindow() override;
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnPaint() override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnMouseLeave() override;
    void OnKillFocus(HWND newFocus) override;
    LRESULT OnNcHitTest(CPoint screenPoint) override;
    LRESULT OnThemeChanged() override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // One step of the platform (UDN_DELTAPOS): recentres the position near
    // either end and hands the step to the buddy.
    virtual void OnDeltaPos(NMUPDOWN* change);

    CHoverTracker m_hover;

private:
    void Centre();
    void EvenOutSize();
    void RepaintWithBuddy();
};

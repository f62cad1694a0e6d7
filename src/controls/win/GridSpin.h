// CGridSpin: the up-down button beside the grid editor's numeric cell.
//
// The spin holds no value: its position rests in the middle of a fixed range
// and every step goes on to its buddy, the editor, which owns the value, its
// bounds and its increment. The steps reach the spin as notifications its
// parent reflects back to it, so the parent's messages must pass through its
// object (a window created or subclassed through CWnd).
#pragma once

#include "OrvApi.h"
#include "framework/win/Controls.h"

class ORV_API CGridSpin : public CSpinButtonCtrl {
public:
    enum { kRangeMin = 0, kRangeMax = 1000, kRestingPos = 500 };

    CGridSpin() = default;
    ~CGridSpin() override;

    // Ignores its arguments: the range is always 0 to 1000.
    void SetRange(int lower, int upper);
    // The client rectangle less 2 pixels at the top, right and bottom, split
    // at bottom - height / 2: the upper part is the up button.
    void GetUpDownRects(CRect& up, CRect& down) const;

protected:
    void PreSubclassWindow() override;
    int OnCreate(CREATESTRUCTA* cs) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // One step (UDN_DELTAPOS): near either end the position goes back to the
    // middle, then the notification goes on to the buddy with this spin's
    // control identifier, and the step is allowed.
    virtual void OnDeltaPos(NMUPDOWN* change);

private:
    void Centre();

    // Set while the step is with the buddy, whose own window would offer
    // the same notification back to this object.
    bool m_bForwarding { false };
};

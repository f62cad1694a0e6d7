// CFlatTabCtrl: a tab control that, in the classic look, leaves its right
// and bottom border lines unpainted, so that it sits flat against the window
// below it.
#pragma once

#include "OrvApi.h"
#include "framework/win/TabCtrl.h"

class ORV_API CFlatTabCtrl : public CTabCtrl {
public:
    CFlatTabCtrl() = default;
    ~CFlatTabCtrl() override;

protected:
    // With visual styles the platform paints alone; otherwise the platform's
    // drawing is clipped to all but the last column and row of pixels.
    void OnPaint() override;
};

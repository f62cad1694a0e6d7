// CListHeaderCtrl: a list view's column header that is always made 2 pixels
// wider than the width it is given, so that its last divider lies past the
// list's edge.
#pragma once

#include "OrvApi.h"
#include "framework/win/HeaderCtrl.h"

class ORV_API CListHeaderCtrl : public CHeaderCtrl {
public:
    CListHeaderCtrl() = default;
    ~CListHeaderCtrl() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Every placement, also one that keeps the size, gets 2 more pixels of
    // width before the header's own handling.
    virtual void OnWindowPosChanging(WINDOWPOS* placement);
};

#include "controls/win/ListHeaderCtrl.h"

CListHeaderCtrl::~CListHeaderCtrl() = default;

LRESULT CListHeaderCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_WINDOWPOSCHANGING) {
        OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(lParam));
        return 0;
    }
    return CHeaderCtrl::WindowProc(message, wParam, lParam);
}

void CListHeaderCtrl::OnWindowPosChanging(WINDOWPOS* placement)
{
    placement->cx += 2;
    Default();
}

#include "controls/win/FlatTabCtrl.h"

#include "controls/win/ThemeUtil.h"
#include "framework/win/DC.h"
#include "framework/win/Gdi.h"

CFlatTabCtrl::~CFlatTabCtrl() = default;

void CFlatTabCtrl::OnPaint()
{
    if (IsThemeInUse()) {
        Default();
        return;
    }
    CPaintDC dc(m_hWnd);
    CRect clip = GetClientRect();
    clip.right -= 1;
    clip.bottom -= 1;
    CRgn region;
    region.CreateRectRgnIndirect(clip);
    dc.SelectClipRgn(region);
    // The tab control paints into the device context it is handed.
    DefWindowProc(WM_PAINT, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
}

#include "FrameTestWindows.h"

#include "framework/win/DC.h"

namespace orv::ui {

int CTestDoc::sm_live = 0;
int CPaneView::sm_live = 0;

void CPaneView::OnDraw(CDC* dc)
{
    const CRect client = GetClientRect();
    dc->FillSolidRect(client, RGB(255, 255, 255));
    const CString name = GetRuntimeClass() != nullptr ? GetRuntimeClass()->ClassName() : "";
    CRect text = client;
    dc->DrawText(name, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

ORV_IMPLEMENT_DYNCREATE(CPaneView)
ORV_IMPLEMENT_DYNCREATE(COtherView)

} // namespace orv::ui

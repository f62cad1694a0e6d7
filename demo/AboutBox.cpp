#include "AboutBox.h"

#include "DemoResources.h"

#include "controls/win/HookedMsgBox.h"
#include "controls/win/HyperLink.h"
#include "framework/win/Dialog.h"

void ShowAboutBox()
{
    // Made hidden and without an owner; the box takes it in under its text.
    CDialog linkPanel;
    CHyperLink link;
    if (!linkPanel.Create(IDD_ABOUT_LINK, nullptr) || !link.SubclassDlgItem(IDC_ABOUT_LINK, &linkPanel)) {
        CHookedMsgBox::AfxMessageBox("OrvDemo, the trading window of the OrvCommon library.", MB_OK | MB_ICONINFORMATION);
        return;
    }
    link.SetURL("https://www.example.com/orvcommon/controls.htm");
    CHookedMsgBox::AfxMessageBox("<b>OrvDemo</b>, the trading window of the OrvCommon library.\n\n"
                                 "Hover controls, value statics, balloons and this message box,\n"
                                 "drawn by the library in the system colours.",
                                 MB_OK | MB_ICONINFORMATION, 0, &linkPanel);
    linkPanel.DestroyWindow();
}

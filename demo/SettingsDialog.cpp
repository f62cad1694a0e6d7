#include "SettingsDialog.h"

#include "DemoResources.h"

CSettingsDialog::CSettingsDialog(CWnd* parent, WORD sendKey)
    : CDialog(IDD_SETTINGS, parent), m_sendKey(sendKey)
{
}

void CSettingsDialog::DoDataExchange(CDataExchange* dx)
{
    DDX_Control(dx, IDC_SEND_HOTKEY, m_hotKey);
}

BOOL CSettingsDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_hotKey.SetHotKey(LOBYTE(m_sendKey), HIBYTE(m_sendKey));
    return TRUE;
}

void CSettingsDialog::OnOK()
{
    m_sendKey = LOWORD(m_hotKey.GetHotKey());
    CDialog::OnOK();
}

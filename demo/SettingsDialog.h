// The demo's settings: the hot key that sends the ticket's order, chosen in
// a hover hot-key edit.
#pragma once

#include "controls/win/HotKeyCtrl.h"
#include "framework/win/Dialog.h"

class CSettingsDialog : public CDialog {
public:
    // The hot key as the control gives it: the virtual key in the low byte,
    // the HOTKEYF_ modifiers in the next.
    CSettingsDialog(CWnd* parent, WORD sendKey);

    WORD GetSendKey() const { return m_sendKey; }

protected:
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    CNimHotKeyCtrl m_hotKey;
    WORD m_sendKey;
};

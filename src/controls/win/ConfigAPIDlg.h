// CConfigAPIDlg: the "Configure API" dialog (template 12026) that edits the
// REST API settings, with the allowed clients as a list of IP addresses and
// DNS names, and the component set-up run when OK is pressed with the API
// enabled.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "framework/win/Controls.h"
#include "framework/win/Dialog.h"
#include "framework/win/Gdi.h"

class ORV_API CConfigAPIDlg : public CDialog {
public:
    explicit CConfigAPIDlg(CWnd* parent = nullptr);
    ~CConfigAPIDlg() override;

    // The values shown on opening and, after OK, the values chosen. The
    // network interface is a dotted address or empty (every interface); the
    // allowed list holds entries separated by ",".
    BOOL m_enabled = FALSE;
    CString m_networkInterface;
    int m_port = 8000;
    CString m_serviceName = "DesktopService";
    CString m_allowedIpList;

protected:
    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // Reads every control first; a bad port or service name is shown at its
    // field and keeps the dialog open. With the API enabled the component
    // set-up runs; when it fails the box is unticked and the dialog stays.
    void OnOK() override;

private:
    // Adds the text of the field to the list, or shows why not ("IP" or
    // "DNS name" as the kind).
    void AddEntry(int fieldId, const char* kind);
    void RemoveSelected();
    // An exclamation balloon under the field, which takes the focus.
    void ShowError(int fieldId, const CString& text);
    // The entries of the allowed list, joined by ",".
    CString JoinedClients() const;

    CFont m_boldFont;
    CIPAddressCtrl m_interface;
    CIPAddressCtrl m_clientAddress;
    CListBox m_clients;
};

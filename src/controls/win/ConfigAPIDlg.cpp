#include "controls/win/ConfigAPIDlg.h"

#include "controls/win/BalloonHelp.h"
#include "controls/win/RestAPIMgr.h"
#include "resources/resource.h"
#include "text/TokenEx.h"

#include <commctrl.h>

#include <cstdlib>

namespace {

constexpr int kMaxPort = 65535;

} // namespace

CConfigAPIDlg::CConfigAPIDlg(CWnd* parent) : CDialog(IDD_CONFIG_API, parent)
{
    INITCOMMONCONTROLSEX init {sizeof init, ICC_INTERNET_CLASSES};
    ::InitCommonControlsEx(&init);
}

CConfigAPIDlg::~CConfigAPIDlg() = default;

BOOL CConfigAPIDlg::OnInitDialog()
{
    LOGFONTA font {};
    HFONT dialogFont = GetFont();
    if (dialogFont != nullptr && ::GetObjectA(dialogFont, sizeof font, &font) == sizeof font) {
        font.lfWeight = FW_BOLD;
        if (m_boldFont.CreateFontIndirect(font)) {
            ::SendDlgItemMessageA(m_hWnd, IDC_CONFIGAPI_DEFAULTS, WM_SETFONT,
                                  reinterpret_cast<WPARAM>(static_cast<HFONT>(m_boldFont)), TRUE);
        }
    }

    m_interface.SubclassDlgItem(IDC_CONFIGAPI_INTERFACE, this);
    m_clientAddress.SubclassDlgItem(IDC_CONFIGAPI_CLIENT_IP, this);
    m_clients.SubclassDlgItem(IDC_CONFIGAPI_CLIENTS, this);

    ::CheckDlgButton(m_hWnd, IDC_CONFIGAPI_ENABLE, m_enabled ? BST_CHECKED : BST_UNCHECKED);
    ::SetDlgItemInt(m_hWnd, IDC_CONFIGAPI_PORT, static_cast<UINT>(m_port), FALSE);
    ::SetDlgItemTextA(m_hWnd, IDC_CONFIGAPI_SERVICE, m_serviceName.GetString());
    // Every interface shows as the all-zero address.
    if (!m_interface.SetAddressText(m_networkInterface.GetString())) {
        m_interface.SetAddress(0);
    }

    CStringArray entries;
    CTokenEx().Split(m_allowedIpList, ",", entries);
    for (int i = 0; i < entries.GetSize(); ++i) {
        m_clients.AddString(entries.GetAt(i).GetString());
    }
    return TRUE;
}

BOOL CConfigAPIDlg::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDC_CONFIGAPI_ADD_IP:
            AddEntry(IDC_CONFIGAPI_CLIENT_IP, "IP");
            return TRUE;
        case IDC_CONFIGAPI_ADD_DNS:
            AddEntry(IDC_CONFIGAPI_CLIENT_DNS, "DNS name");
            return TRUE;
        case IDC_CONFIGAPI_REMOVE:
            RemoveSelected();
            return TRUE;
        default:
            break;
        }
    }
    return CDialog::OnCommand(wParam, lParam);
}


CString CConfigAPIDlg::JoinedClients() const
{
    CString joined;
    CString entry;
    for (int i = 0; i < m_clients.GetCount(); ++i) {
        m_clients.GetText(i, entry);
        joined += entry;
        joined += ",";
    }
    joined.TrimRight(',');
    return joined;
}

void CConfigAPIDlg::ShowError(int fieldId, const CString& text)
{
    HWND field = GetDlgItem(fieldId);
    RECT rect {};
    ::GetWindowRect(field, &rect);
    POINT anchor {rect.left + 10, rect.bottom};
    ::ScreenToClient(m_hWnd, &anchor);
    ::SetFocus(field);
    CBalloonHelp::LaunchExclamationError(text, CPoint(anchor.x, anchor.y), this);
}

void CConfigAPIDlg::AddEntry(int fieldId, const char* kind)
{
    // The address field reads "0.0.0.0" when blank, so both cases are the
    // same invalid entry.
    const CString entry =
        fieldId == IDC_CONFIGAPI_CLIENT_IP ? m_clientAddress.GetAddressText() : GetDlgItemText(fieldId);
    CString error;
    if (entry.IsEmpty() || entry == "0.0.0.0") {
        error.Format("Please enter a valid %s", kind);
    } else {
        // The list box's exact search ignores case, as the duplicate rule does.
        if (m_clients.FindStringExact(-1, entry.GetString()) != LB_ERR) {
            error.Format("Duplicate %s", kind);
        }
    }
    if (!error.IsEmpty()) {
        ShowError(fieldId, error);
        return;
    }
    m_clients.AddString(entry.GetString());
}

void CConfigAPIDlg::RemoveSelected()
{
    // From the last selected entry down, so no index moves before its turn.
    const CArray<int, int> selected = m_clients.GetSelItems();
    for (int i = selected.GetSize() - 1; i >= 0; --i) {
        m_clients.DeleteString(selected[i]);
    }
}

void CConfigAPIDlg::OnOK()
{
    // Every value is read and checked before the set-up, which receives
    // them all.
    const BOOL enabled = ::IsDlgButtonChecked(m_hWnd, IDC_CONFIGAPI_ENABLE) == BST_CHECKED;
    const CString portText = GetDlgItemText(IDC_CONFIGAPI_PORT);
    char* end = nullptr;
    const long port = std::strtol(portText.GetString(), &end, 10);
    if (portText.IsEmpty() || *end != '\0' || port < 0 || port > kMaxPort) {
        ShowError(IDC_CONFIGAPI_PORT, "Please enter a valid port");
        return;
    }
    const CString serviceName = GetDlgItemText(IDC_CONFIGAPI_SERVICE);
    if (!IsUsableRestAPIServiceName(serviceName.GetString())) {
        ShowError(IDC_CONFIGAPI_SERVICE, "Please enter a valid service name (no blanks or quotes)");
        return;
    }
    const CString networkInterface = m_interface.GetAddressText();

    if (enabled && !RunRestAPIComponentSetup(m_hWnd, networkInterface.GetString(), static_cast<int>(port),
                                             serviceName.GetString())) {
        ::CheckDlgButton(m_hWnd, IDC_CONFIGAPI_ENABLE, BST_UNCHECKED);
        ShowWindow(SW_SHOW);
        return;
    }

    m_enabled = enabled;
    m_port = static_cast<int>(port);
    m_serviceName = serviceName;
    m_networkInterface = networkInterface;
    m_allowedIpList = JoinedClients();
    EndDialog(IDOK);
}

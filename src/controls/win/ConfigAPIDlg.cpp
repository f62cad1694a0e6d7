#include "controls/win/ConfigAPIDlg.h"

#include "controls/win/BalloonHelp.h"
#include "controls/win/RestAPIMgr.h"
#include "resources/resource.h"
#include "text/TokenEx.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kEntryCapacity = 1024;
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

    ::CheckDlgButton(m_hWnd, IDC_CONFIGAPI_ENABLE, m_enabled ? BST_CHECKED : BST_UNCHECKED);
    ::SetDlgItemInt(m_hWnd, IDC_CONFIGAPI_PORT, static_cast<UINT>(m_port), FALSE);
    ::SetDlgItemTextA(m_hWnd, IDC_CONFIGAPI_SERVICE, m_serviceName.GetString());
    int parts[4] = {};
    if (!m_networkInterface.IsEmpty() && IsUsableRestAPINetworkInterface(m_networkInterface.GetString()) &&
        std::sscanf(m_networkInterface.GetString(), "%d.%d.%d.%d", &parts[0], &parts[1], &parts[2], &parts[3]) ==
            4) {
        ::SendDlgItemMessageA(m_hWnd, IDC_CONFIGAPI_INTERFACE, IPM_SETADDRESS, 0,
                              MAKEIPADDRESS(parts[0], parts[1], parts[2], parts[3]));
    } else {
        ::SendDlgItemMessageA(m_hWnd, IDC_CONFIGAPI_INTERFACE, IPM_SETADDRESS, 0, 0);
    }

    CStringArray entries;
    CTokenEx().Split(m_allowedIpList, ",", entries);
    for (int i = 0; i < entries.GetSize(); ++i) {
        ::SendDlgItemMessageA(m_hWnd, IDC_CONFIGAPI_CLIENTS, LB_ADDSTRING, 0,
                              reinterpret_cast<LPARAM>(entries.GetAt(i).GetString()));
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

CString CConfigAPIDlg::FieldText(int fieldId) const
{
    char text[kEntryCapacity] = "";
    ::GetDlgItemTextA(m_hWnd, fieldId, text, sizeof text);
    return text;
}

CString CConfigAPIDlg::AddressText(int fieldId) const
{
    DWORD address = 0;
    ::SendDlgItemMessageA(m_hWnd, fieldId, IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
    CString text;
    if (address != 0) {
        text.Format("%d.%d.%d.%d", FIRST_IPADDRESS(address), SECOND_IPADDRESS(address), THIRD_IPADDRESS(address),
                    FOURTH_IPADDRESS(address));
    }
    return text;
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
    const CString entry = fieldId == IDC_CONFIGAPI_CLIENT_IP ? AddressText(fieldId) : FieldText(fieldId);
    CString error;
    if (entry.IsEmpty() || entry == "0.0.0.0") {
        error.Format("Please enter a valid %s", kind);
    } else {
        const int count = static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_CONFIGAPI_CLIENTS, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count && error.IsEmpty(); ++i) {
            char text[kEntryCapacity] = "";
            const LRESULT length = ::SendDlgItemMessageA(m_hWnd, IDC_CONFIGAPI_CLIENTS, LB_GETTEXTLEN, i, 0);
            if (length >= 0 && length < kEntryCapacity) {
                ::SendDlgItemMessageA(m_hWnd, IDC_CONFIGAPI_CLIENTS, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
                if (entry.CompareNoCase(text) == 0) {
                    error.Format("Duplicate %s", kind);
                }
            }
        }
    }
    if (!error.IsEmpty()) {
        ShowError(fieldId, error);
        return;
    }
    ::SendDlgItemMessageA(m_hWnd, IDC_CONFIGAPI_CLIENTS, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.GetString()));
}

void CConfigAPIDlg::RemoveSelected()
{
    const int count = static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_CONFIGAPI_CLIENTS, LB_GETCOUNT, 0, 0));
    for (int i = count - 1; i >= 0; --i) {
        if (::SendDlgItemMessageA(m_hWnd, IDC_CONFIGAPI_CLIENTS, LB_GETSEL, i, 0) > 0) {
            ::SendDlgItemMessageA(m_hWnd, IDC_CONFIGAPI_CLIENTS, LB_DELETESTRING, i, 0);
        }
    }
}

void CConfigAPIDlg::OnOK()
{
    // Every value is read and checked before the set-up, which receives
    // them all.
    const BOOL enabled = ::IsDlgButtonChecked(m_hWnd, IDC_CONFIGAPI_ENABLE) == BST_CHECKED;
    const CString portText = FieldText(IDC_CONFIGAPI_PORT);
    char* end = nullptr;
    const long port = std::strtol(portText.GetString(), &end, 10);
    if (portText.IsEmpty() || *end != '\0' || port < 0 || port > kMaxPort) {
        ShowError(IDC_CONFIGAPI_PORT, "Please enter a valid port");
        return;
    }
    const CString serviceName = FieldText(IDC_CONFIGAPI_SERVICE);
    if (!IsUsableRestAPIServiceName(serviceName.GetString())) {
        ShowError(IDC_CONFIGAPI_SERVICE, "Please enter a valid service name (no blanks or quotes)");
        return;
    }
    const CString networkInterface = AddressText(IDC_CONFIGAPI_INTERFACE);

    if (enabled && !RunRestAPIComponentSetup(m_hWnd, networkInterface.GetString(), static_cast<int>(port),
                                             serviceName.GetString())) {
        ::CheckDlgButton(m_hWnd, IDC_CONFIGAPI_ENABLE, BST_UNCHECKED);
        ShowWindow(SW_SHOW);
        return;
    }

    CString allowed;
    const int count = static_cast<int>(::SendDlgItemMessageA(m_hWnd, IDC_CONFIGAPI_CLIENTS, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char text[kEntryCapacity] = "";
        const LRESULT length = ::SendDlgItemMessageA(m_hWnd, IDC_CONFIGAPI_CLIENTS, LB_GETTEXTLEN, i, 0);
        if (length >= 0 && length < kEntryCapacity) {
            ::SendDlgItemMessageA(m_hWnd, IDC_CONFIGAPI_CLIENTS, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            allowed += text;
            allowed += ",";
        }
    }
    allowed.TrimRight(',');

    m_enabled = enabled;
    m_port = static_cast<int>(port);
    m_serviceName = serviceName;
    m_networkInterface = networkInterface;
    m_allowedIpList = allowed;
    EndDialog(IDOK);
}

// The order ticket's commands: choosing the side and the order type,
// checking, confirming and sending the order, the settings and the About box.
#include "OrderTicket.h"

#include "resources/resource.h"

#include "AboutBox.h"
#include "DemoResources.h"
#include "DemoSettings.h"
#include "OrderConfirmation.h"
#include "SettingsDialog.h"

#include "controls/win/BalloonHelp.h"
#include "framework/win/Menu.h"
#include "resources/resource.h"
#include "services/Registry.h"

#include <cstdlib>

namespace {

// The split part of a hover button reports a click with this notification.
const UINT kDropDown = static_cast<UINT>(-1248);
const char* const kSendKeyValue = "Send Hot Key";
const WORD kDefaultSendKey = VK_F9;

} // namespace

void COrderTicket::Status(const char* text)
{
    m_status.SetWindowText(text);
}

bool COrderTicket::CheckOrder()
{
    CString symbol = m_symbol.GetWindowText();
    symbol.Trim();
    if (symbol.IsEmpty())
        return RefuseField(m_symbol, "Enter the symbol to trade.");
    double quantity = 0;
    m_quantity.GetValue(quantity);
    if (quantity <= 0)
        return RefuseField(m_quantity, "The quantity must be above 0.");
    if (m_type == Bracket) {
        double limit = 0, stop = 0;
        m_limit.GetValue(limit);
        m_stop.GetValue(stop);
        if (m_buySide ? stop >= limit : stop <= limit)
            return RefuseField(m_stop, m_buySide ? "A buy bracket's stop loss must lie below its limit."
                                                 : "A sell bracket's stop loss must lie above its limit.");
    }
    return true;
}

// The balloon's tail points at the middle of the field's lower edge.
bool COrderTicket::RefuseField(CWnd& field, const char* text)
{
    const CRect client = field.GetClientRect();
    CBalloonHelp::LaunchExclamationError(text, CPoint(client.Width() / 2, client.bottom), &field);
    field.SetFocus();
    Status(text);
    return false;
}

void COrderTicket::ChooseSide(bool buy)
{
    m_buySide = buy;
    m_buy.SetSelected(buy);
    m_sell.SetSelected(!buy);
}

void COrderTicket::SendOrder(const char* duration)
{
    if (!CheckOrder())
        return;
    OrderSummary order;
    order.buy = m_buySide;
    order.quantity = m_quantity.GetWindowText();
    order.symbol = m_symbol.GetWindowText();
    order.symbol.Trim();
    order.type = m_orderType.GetItemText(m_type);
    order.duration = duration;
    // "Buy 100 MSFT", and the same quantity's way out of the position.
    CString side, exitSide;
    side.Format("%s %s %s", m_buySide ? "Buy" : "Sell", order.quantity.GetString(), order.symbol.GetString());
    exitSide.Format("%s %s %s", m_buySide ? "Sell" : "Buy", order.quantity.GetString(), order.symbol.GetString());
    const CString limit = m_limit.GetWindowText();
    const CString stop = m_stop.GetWindowText();
    CString leg;
    switch (m_type) {
    case Market:
        leg.Format("Entry: %s at the market", side.GetString());
        break;
    case Limit:
        leg.Format("Entry: %s, limit %s", side.GetString(), limit.GetString());
        break;
    case Stop:
        leg.Format("Entry: %s, stop %s", side.GetString(), stop.GetString());
        break;
    default:
        leg.Format("Entry: %s, stop %s, limit %s", side.GetString(), stop.GetString(), limit.GetString());
        break;
    }
    if (m_type == Bracket) {
        // The target lies as far beyond the entry as twice the risk.
        double entry = 0, loss = 0;
        m_limit.GetValue(entry);
        m_stop.GetValue(loss);
        leg.Format("Entry: %s, limit %s", side.GetString(), limit.GetString());
        order.legs.push_back(leg);
        leg.Format("Stop loss: %s, stop %s", exitSide.GetString(), stop.GetString());
        order.legs.push_back(leg);
        leg.Format("Take profit: %s, limit %.*f", exitSide.GetString(), m_limit.GetNumDecimalPlaces(),
                   entry + 2 * (entry - loss));
    }
    order.legs.push_back(leg);

    const OrderAnswer answer = ConfirmOrder(order);
    if (answer == OrderAnswer::Cancel) {
        Status("Not sent");
        return;
    }
    CString text;
    text.Format("Sent: %s, %s, %s", side.GetString(), order.type.GetString(), duration);
    Status(text);
    m_led.Ping(400);
    RememberSymbol(order.symbol);
    if (answer == OrderAnswer::Send)
        m_quantity.SetValue(m_forex ? 100000.0 : 100.0);
}

void COrderTicket::AddToolBar()
{
    const UINT buttons[] = {ID_TICKET_RESET, ID_TICKET_FLIP};
    if (!m_tools.Create(m_hWnd) || !m_tools.LoadBitmap(IDB_ORV_TOOLBAR) || !m_tools.SetButtons(buttons, 2))
        return;
    m_tools.SetButtonImage(ID_TICKET_RESET, 3);
    m_tools.SetButtonImage(ID_TICKET_FLIP, 1);
    m_tools.SetButtonText(ID_TICKET_RESET, "Reset");
    m_tools.SetButtonText(ID_TICKET_FLIP, "Flip side");
    m_tools.MoveWindow(CRect(16, 229, 220, 255));
    // The buttons follow these handlers at idle time.
    SetCommandHandler(ID_TICKET_RESET, [this] {
        ApplySymbol(m_symbol.GetWindowText());
        Status("Quantity and prices reset");
    });
    SetCommandUpdateHandler(ID_TICKET_RESET, [this](CCmdUI* item) {
        double quantity = 0;
        m_quantity.GetValue(quantity);
        item->Enable(quantity != (m_forex ? 100000.0 : 100.0));
    });
    SetCommandHandler(ID_TICKET_FLIP, [this] { ChooseSide(!m_buySide); });
    SetCommandUpdateHandler(ID_TICKET_FLIP, [this](CCmdUI* item) {
        item->Enable(TRUE);
        item->SetCheck(m_buySide ? 0 : 1);
    });
}

void COrderTicket::ConfigureApi()
{
    if (m_restApi.Configure(this))
        ShowApiState();
}

void COrderTicket::ShowApiState()
{
    CString text;
    if (m_restApi.HasComponent())
        text.Format("REST API: service %s on port %d", m_restApi.GetServiceName().GetString(), m_restApi.GetPort());
    else
        text = m_restApi.GetEnabled() ? "REST API: switched on, not running (see the log)" : "REST API: off";
    Status(text);
}

void COrderTicket::CheckForUpdates()
{
    if (m_updateManager == nullptr) {
        m_updateManager = new CAutoUpdateMgr;
        m_updateManager->AddRef();
        if (const char* url = std::getenv("ORV_DEMO_UPDATE_URL"))
            m_updateManager->SetUpdateManifestBaseURL(url);
    }
    Status("Checking for updates...");
    m_updateManager->CheckForUpdates(false, true, m_hWnd);
}

void COrderTicket::LoadSendKey()
{
    CRegistry registry;
    DWORD key = kDefaultSendKey;
    if (registry.Open(HKEY_CURRENT_USER, kDemoSettingsKey, KEY_READ))
        registry.Read(kSendKeyValue, key);
    m_sendKey = LOWORD(key);
}

void COrderTicket::ShowSettings()
{
    CSettingsDialog settings(this, m_sendKey);
    if (settings.DoModal() != IDOK)
        return;
    m_sendKey = settings.GetSendKey();
    CRegistry registry;
    const DWORD key = m_sendKey;
    if (registry.CreateKey(HKEY_CURRENT_USER, kDemoSettingsKey) && registry.Write(kSendKeyValue, key))
        Status(m_sendKey != 0 ? "The send key is set" : "No send key");
    else
        Status("The settings could not be saved");
}

// The send key sends from any field of the ticket.
BOOL COrderTicket::PreTranslateMessage(MSG* msg)
{
    if ((msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) && m_sendKey != 0
        && msg->wParam == LOBYTE(m_sendKey)) {
        const WORD pressed = (::GetKeyState(VK_SHIFT) < 0 ? HOTKEYF_SHIFT : 0)
                             | (::GetKeyState(VK_CONTROL) < 0 ? HOTKEYF_CONTROL : 0)
                             | (::GetKeyState(VK_MENU) < 0 ? HOTKEYF_ALT : 0);
        if (pressed == (HIBYTE(m_sendKey) & (HOTKEYF_SHIFT | HOTKEYF_CONTROL | HOTKEYF_ALT))) {
            SendOrder("day order");
            return TRUE;
        }
    }
    return CWnd::PreTranslateMessage(msg);
}

BOOL COrderTicket::OnCommand(WPARAM wParam, LPARAM)
{
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (id == IDC_SYMBOL) {
        // A picked item is not in the edit field yet when this arrives.
        CString symbol;
        if (code == CBN_SELCHANGE)
            m_symbol.GetCurSelText(symbol);
        else if (code == CBN_EDITCHANGE)
            symbol = m_symbol.GetWindowText();
        else
            return FALSE;
        ApplySymbol(symbol);
        return TRUE;
    }
    if (code != BN_CLICKED)
        return FALSE;
    switch (id) {
    case IDC_BUY:
    case IDC_SELL:
        ChooseSide(id == IDC_BUY);
        Status(id == IDC_BUY ? "A buy order" : "A sell order");
        return TRUE;
    case IDC_SEND:
    case ID_SEND_DAY:
        SendOrder("day order");
        return TRUE;
    case ID_SEND_GTC:
        SendOrder("good till cancelled");
        return TRUE;
    case ID_SEND_IOC:
        SendOrder("immediate or cancel");
        return TRUE;
    case IDC_AON:
        // A click releases a selected button by itself; selecting it is ours.
        m_allOrNoneOn = !m_allOrNoneOn;
        m_allOrNone.SetSelected(m_allOrNoneOn);
        Status(m_allOrNoneOn ? "All or none: on" : "All or none: off");
        return TRUE;
    case IDC_SETTINGS:
        ShowSettings();
        return TRUE;
    case IDC_UPDATES:
        CheckForUpdates();
        return TRUE;
    case IDC_API:
        ConfigureApi();
        return TRUE;
    case IDC_ABOUT:
        ShowAboutBox();
        return TRUE;
    default:
        return FALSE;
    }
}

BOOL COrderTicket::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom == IDC_ORDER_TYPE && header->code == MBN_SELCHANGE) {
        ApplyOrderType(reinterpret_cast<const NMMENUBUTTON*>(lParam)->iItem);
        *result = 0;
        return TRUE;
    }
    // The split part of "Send" offers the order's duration.
    if (header->code != kDropDown || header->idFrom != IDC_SEND)
        return FALSE;
    RECT split = *reinterpret_cast<const RECT*>(header + 1);
    ::MapWindowPoints(header->hwndFrom, nullptr, reinterpret_cast<POINT*>(&split), 2);
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, ID_SEND_DAY, "&Day");
    menu.AppendMenu(MF_STRING, ID_SEND_GTC, "&Good till cancelled");
    menu.AppendMenu(MF_STRING, ID_SEND_IOC, "&Immediate or cancel");
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN, split.left, split.bottom, m_hWnd);
    *result = 0;
    return TRUE;
}


#include "OrderTicket.h"

#include "DemoResources.h"
#include "DemoSettings.h"

#include "OrvInject2.h"

#include "controls/win/SymbolDragDrop.h"
#include "framework/win/RegisteredMessages.h"
#include "market/SecurityType.h"
#include "text/Locale.h"

#include <algorithm>
#include <iterator>

namespace {

const int kEditLeft = 90;
const int kEditHeight = 21;
// The symbols a first run offers.
const char* const kFirstSymbols[] = {"MSFT", "EUR/USD", "AAPL", "/ZBH7", "IBM"};

} // namespace

// -------------------------------------------------------- COrderTicket

BOOL COrderTicket::Create(CWnd& parent, UINT id)
{
    const char* windowClass = RegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                               reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateEx(WS_EX_CONTROLPARENT, windowClass, "Order ticket", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                    CRect(0, 0, kWidth, kHeight), parent, id);
}

void COrderTicket::AddLabel(const char* text, int y)
{
    CStatic& label = m_labels[m_labelCount++];
    label.Create(text, WS_VISIBLE | SS_LEFT, CRect(16, y + 3, kEditLeft - 6, y + 19), this);
    label.SetFont(m_font);
}

// The edit makes its spin (the id after its own) at its right side.
void COrderTicket::AddNumber(CNimNumEdit& edit, UINT id, int y)
{
    edit.CreateEx(WS_EX_CLIENTEDGE, WS_VISIBLE | WS_TABSTOP | ES_RIGHT | ES_AUTOHSCROLL,
                  CRect(kEditLeft, y, kEditLeft + 117, y + kEditHeight), this, id);
    edit.SetFont(m_font);
    edit.SetSelectAllOnFocus(TRUE);
}

// The order lasts until the close, 16:00 in the display zone, 30 days on;
// the edit shows and takes market time in that zone.
void COrderTicket::AddGoodTill(int y)
{
    m_goodTill.CreateEx(WS_EX_CLIENTEDGE, WS_VISIBLE | WS_TABSTOP, CRect(kEditLeft, y, kEditLeft + 117, y + kEditHeight),
                        this, IDC_GOOD_TILL);
    m_goodTill.SetFont(m_font);
    m_goodTill.SetMask("MM/DD/YYYY hh:mm");
    m_goodTill.SetTimeZoneSuffix(COrvDateTime::GetDisplayTimeZone());
    const COleDateTime today =
        static_cast<const COleDateTime&>(COrvDateTime::GetTickCount())
        - COleDateTimeSpan(0, 0, COrvDateTime::GetDisplayToUTCMinutes(), 0) + COleDateTimeSpan(30, 0, 0, 0);
    m_goodTill.SetDateTime(COleDateTime(today.GetYear(), today.GetMonth(), today.GetDay(), 16, 0, 0));
    m_goodTill.SelectField('D');
}

void COrderTicket::LoadRecentSymbols()
{
    m_recentSymbols.ReadListEx(HKEY_CURRENT_USER, kDemoSettingsKey);
    if (m_recentSymbols.GetSize() > 0 && m_recentSymbols[0].IsEmpty()) {
        // Added oldest first, so the first of the list ends up on top.
        for (int i = int(std::size(kFirstSymbols)) - 1; i >= 0; --i)
            m_recentSymbols.Add(kFirstSymbols[i]);
    }
    ShowRecentSymbols();
}

void COrderTicket::RememberSymbol(const CString& symbol)
{
    if (symbol.IsEmpty())
        return;
    m_recentSymbols.Add(symbol);
    m_recentSymbols.WriteListEx(HKEY_CURRENT_USER, kDemoSettingsKey);
    ShowRecentSymbols();
}

void COrderTicket::ShowRecentSymbols()
{
    CStringArray items;
    for (int i = 0; i < m_recentSymbols.GetSize(); ++i) {
        if (!m_recentSymbols[i].IsEmpty())
            items.Add(m_recentSymbols[i]);
    }
    m_symbol.SetItems(items);
}

void COrderTicket::AddToolTips()
{
    m_tips.Create(this);
    const struct {
        CWnd& control;
        const char* text;
    } tips[] = {
        {m_symbol, "The symbol to trade: type to complete from the recent symbols"},
        {m_quantity, "Shares, or units shown in lots for a forex pair"},
        {m_limit, "The highest price to buy at, or the lowest to sell at"},
        {m_stop, "The price that turns the order into a market order"},
        {m_goodTill, "When the order expires, in market time"},
        {m_orderType, "The order type: market, limit, stop, stop limit or a bracket"},
        {m_buy, "Make it a buy order"},
        {m_sell, "Make it a sell order"},
        {m_send, "Check, confirm and send the order; the arrow chooses how long it lasts"},
        {m_allOrNone, "Fill the whole quantity or nothing"},
    };
    for (const auto& tip : tips)
        m_tips.AddWindowTool(&tip.control, tip.text);
}

void COrderTicket::ApplySymbol(const CString& symbol)
{
    const bool forex = symbol.Find('/') > 0;
    if (forex)
        m_led.SetLed(CLed::LedBlue, CLed::LedOn, CLed::LedRound);
    else
        m_led.SetLed(CLed::LedGreen, symbol.IsEmpty() ? CLed::LedDisabled : CLed::LedOn, CLed::LedRound);
    // The edits change only with the kind of symbol, not on every key.
    if (m_applied && forex == m_forex)
        return;
    m_applied = true;
    m_forex = forex;
    if (m_forex) {
        // Sizes in units shown as lots of g_lForexLotSize; prices to a
        // tenth of a pip, the pips underlined.
        m_quantity.SetFormat(orv::controls::NumberForexLots);
        m_quantity.SetMinMax(1000.0, 100000000.0);
        m_quantity.SetDelta(double(g_lForexLotSize));
        m_quantity.SetValue(100000.0);
        for (CNimNumEdit* price : {&m_limit, &m_stop}) {
            price->SetNumDecimalPlaces(5, 5);
            price->SetDelta(0.00001);
            price->SetForexPipsMode(TRUE);
            price->SetMinMax(0.00001, 1000.0);
        }
        m_limit.SetValue(1.08425);
        m_stop.SetValue(1.08310);
    } else {
        m_quantity.SetFormat(orv::controls::NumberWhole);
        m_quantity.SetMinMax(1.0, 1000000.0);
        m_quantity.SetDelta(100.0);
        m_quantity.SetValue(100.0);
        for (CNimNumEdit* price : {&m_limit, &m_stop}) {
            price->SetNumDecimalPlaces(2, 2);
            price->SetDelta(0.01);
            price->SetForexPipsMode(FALSE);
            price->SetMinMax(0.01, 100000.0);
        }
        m_limit.SetValue(412.35);
        m_stop.SetValue(405.00);
    }
}

int COrderTicket::OnCreate(CREATESTRUCTA* cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    NONCLIENTMETRICSA metrics {};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    m_font.CreateFontIndirect(metrics.lfMessageFont);

    AddLabel("Symbol", 16);
    // The height is the open list's; the box itself takes the font's.
    m_symbol.Create(WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                    CRect(kEditLeft, 16, kEditLeft + 117, 16 + 200), this, IDC_SYMBOL);
    m_symbol.SetFont(m_font);
    LoadRecentSymbols();
    m_symbol.SetCurSel(0);

    AddLabel("Quantity", 50);
    AddNumber(m_quantity, IDC_QUANTITY, 50);
    AddLabel("Limit", 84);
    AddNumber(m_limit, IDC_LIMIT, 84);
    AddLabel("Stop", 118);
    AddNumber(m_stop, IDC_STOP, 118);
    AddLabel("Good till", 152);
    AddGoodTill(152);

    struct ButtonSpec {
        CNimHoverButton& button;
        const char* text;
        DWORD style;
        CRect rect;
        UINT id;
    } buttons[] = {
        {m_buy, "Buy", BS_PUSHBUTTON, CRect(16, 200, 96, 226), IDC_BUY},
        {m_sell, "Sell", BS_PUSHBUTTON, CRect(104, 200, 184, 226), IDC_SELL},
        {m_send, "Send", BS_DEFPUSHBUTTON, CRect(192, 200, 292, 226), IDC_SEND},
        {m_allOrNone, "AON", BS_PUSHBUTTON, CRect(300, 200, 376, 226), IDC_AON},
        {m_about, "About...", BS_PUSHBUTTON, CRect(296, 16, 376, 42), IDC_ABOUT},
    };
    for (ButtonSpec& spec : buttons) {
        spec.button.Create(spec.text, WS_VISIBLE | WS_TABSTOP | spec.style, spec.rect, this, spec.id);
        spec.button.SetFont(m_font);
    }
    m_buy.SetTextColor(RGB(0, 96, 0));
    m_sell.SetTextColor(RGB(160, 0, 0));
    m_send.SetSplitButton(TRUE);
    m_allOrNone.SetSelected(m_allOrNoneOn);
    ChooseSide(true);

    // The lamp: green for an equity, blue for a forex pair, grey without a
    // symbol; it flashes when an order goes.
    m_led.Create("", WS_VISIBLE, CRect(16, 260, 36, 280), this, IDC_LED);
    m_status.Create("Ready", WS_VISIBLE | SS_LEFT | SS_SUNKEN, CRect(42, 260, 376, 280), this, IDC_STATUS);
    m_status.SetFont(m_font);

    AddRightColumn();
    AddToolBar();
    LoadSendKey();
    AddToolTips();
    m_dropTarget.Register(this);
    // A REST service switched on in an earlier run starts again.
    m_restApi.Init();
    ApplySymbol(m_symbol.GetWindowText());
    return 0;
}

// The right column: the order type, the settings and the help link.
void COrderTicket::AddRightColumn()
{
    m_orderType.Create("", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(236, 50, 376, 72), this, IDC_ORDER_TYPE);
    m_orderType.SetFont(m_font);
    m_orderType.SetBackColor(::GetSysColor(COLOR_WINDOW));
    m_orderType.ModifyStyleEx(0, WS_EX_STATICEDGE, SWP_FRAMECHANGED);
    for (const char* name : {"Market", "Limit", "Stop", "Stop limit", "Bracket"})
        m_orderType.AddItem(name);
    m_orderType.SetSel(m_type);
    m_settings.Create("Settings...", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(296, 84, 376, 110), this,
                      IDC_SETTINGS);
    m_settings.SetFont(m_font);
    m_updates.Create("Updates...", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(296, 150, 376, 176), this,
                     IDC_UPDATES);
    m_updates.SetFont(m_font);
    m_api.Create("API...", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(236, 150, 288, 176), this, IDC_API);
    m_api.SetFont(m_font);
    m_help.Create("Help", WS_VISIBLE, CRect(296, 122, 376, 138), this, IDC_HELP_LINK);
    m_help.SetURL("https://www.example.com/orvdemo/order-ticket.htm");
    m_help.SetFont(m_font);
}

void COrderTicket::ApplyOrderType(int type)
{
    m_type = type;
    m_limit.EnableWindow(type != Market && type != Stop);
    m_stop.EnableWindow(type == Stop || type == StopLimit || type == Bracket);
}

void COrderTicket::TakeSymbol(const CString& symbol, const char* from)
{
    m_symbol.SetWindowText(symbol);
    ApplySymbol(symbol);
    CString text;
    text.Format("%s %s", symbol.GetString(), from);
    Status(text);
}

void COrderTicket::AcceptSymbolsFromOtherPrograms()
{
    ::SetPropA(m_hWnd, ORVINJECT_TARGET_PROP, reinterpret_cast<HANDLE>(1));
}

// The companion library hands a symbol dragged in another program over as
// WM_COPYDATA: the text with its terminator.
LRESULT COrderTicket::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (data->dwData != ORVINJECT_COPYDATA_SYMBOL || data->cbData < 2 || data->cbData > 64)
            return FALSE;
        const CString symbol(static_cast<const char*>(data->lpData), int(data->cbData - 1));
        TakeSymbol(symbol, "received from another program");
        return TRUE;
    }
    if (message == RWM_ORV_AUTOUPDATE_NOTIFY) {
        CString text;
        text.Format("Update check: %s", CAutoUpdateMgr::UpdateStatusToString(int(wParam)));
        Status(text);
        return 0;
    }
    if (message == WM_DESTROY) {
        ::RemovePropA(m_hWnd, ORVINJECT_TARGET_PROP);
        m_restApi.Term();
        if (m_updateManager != nullptr)
            m_updateManager->Release();
        m_updateManager = nullptr;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// -------------------------------------------------------- CTicketDropTarget

namespace {

// Every kind of symbol the ticket can trade.
const ULONG kTradable = SYMTYPE_EQUITY | SYMTYPE_OPTION | SYMTYPE_FUTURES | SYMTYPE_INDEX | SYMTYPE_FOREX;

} // namespace

DROPEFFECT CTicketDropTarget::OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point)
{
    return OnDragOver(wnd, data, keyState, point);
}

DROPEFFECT CTicketDropTarget::OnDragOver(CWnd*, COleDataObject* data, DWORD, CPoint)
{
    return GetDragDropSymbol(data, kTradable, nullptr, 0) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

BOOL CTicketDropTarget::OnDrop(CWnd*, COleDataObject* data, DROPEFFECT, CPoint)
{
    CString symbol;
    if (!GetDragDropSymbol(symbol, data, kTradable))
        return FALSE;
    m_ticket.TakeSymbol(symbol);
    return TRUE;
}

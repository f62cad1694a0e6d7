#include "OrderTicket.h"

#include "DemoResources.h"

#include "controls/win/BalloonHelp.h"
#include "framework/win/Dialog.h"
#include "framework/win/Menu.h"
#include "framework/win/RegisteredMessages.h"
#include "text/Locale.h"

#include <algorithm>
#include <iterator>

namespace {

const UINT kDropDown = static_cast<UINT>(-1248);
const int kEditLeft = 90;
const int kEditHeight = 21;
// Where the demo keeps its settings, under HKEY_CURRENT_USER.
const char* const kSettingsKey = "Software\\Velkor\\OrvDemo";
// The symbols a first run offers.
const char* const kFirstSymbols[] = {"MSFT", "EUR/USD", "AAPL", "/ZBH7", "IBM"};

} // namespace

// -------------------------------------------------------- COrderTicket

BOOL COrderTicket::Create()
{
    const char* windowClass = RegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                               reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    RECT frame {0, 0, 392, 296};
    ::AdjustWindowRectEx(&frame, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE, 0);
    return CreateEx(0, windowClass, "OrvDemo - Order ticket",
                    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                    CRect(60, 60, 60 + frame.right - frame.left, 60 + frame.bottom - frame.top), nullptr, 0);
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
    m_recentSymbols.ReadListEx(HKEY_CURRENT_USER, kSettingsKey);
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
    m_recentSymbols.WriteListEx(HKEY_CURRENT_USER, kSettingsKey);
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
        {m_buy, "Buy at the limit price"},
        {m_sell, "Sell at the limit price"},
        {m_send, "Send the order; the arrow chooses how long it lasts"},
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
        {m_buy, "Buy", BS_DEFPUSHBUTTON, CRect(16, 200, 96, 226), IDC_BUY},
        {m_sell, "Sell", BS_PUSHBUTTON, CRect(104, 200, 184, 226), IDC_SELL},
        {m_send, "Send", BS_PUSHBUTTON, CRect(192, 200, 292, 226), IDC_SEND},
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

    // The lamp: green for an equity, blue for a forex pair, grey without a
    // symbol; it flashes when an order goes.
    m_led.Create("", WS_VISIBLE, CRect(16, 260, 36, 280), this, IDC_LED);
    m_status.Create("Ready", WS_VISIBLE | SS_LEFT | SS_SUNKEN, CRect(42, 260, 376, 280), this, IDC_STATUS);
    m_status.SetFont(m_font);

    m_help.Create("Help", WS_VISIBLE, CRect(340, 50, 376, 66), this, IDC_HELP_LINK);
    m_help.SetURL("https://www.example.com/orvdemo/order-ticket.htm");
    m_help.SetFont(m_font);
    AddToolTips();
    ApplySymbol(m_symbol.GetWindowText());
    return 0;
}

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
    double limit = 0;
    m_limit.GetValue(limit);
    if (limit <= 0)
        return RefuseField(m_limit, "The limit price must be above 0.");
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

BOOL COrderTicket::OnCommand(WPARAM wParam, LPARAM)
{
    switch (LOWORD(wParam)) {
    case IDC_SYMBOL: {
        // A picked item is not in the edit field yet when this arrives.
        CString symbol;
        if (HIWORD(wParam) == CBN_SELCHANGE)
            m_symbol.GetCurSelText(symbol);
        else if (HIWORD(wParam) == CBN_EDITCHANGE)
            symbol = m_symbol.GetWindowText();
        else
            return FALSE;
        ApplySymbol(symbol);
        return TRUE;
    }
    case IDC_BUY:
    case IDC_SELL: {
        if (HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        if (!CheckOrder())
            return TRUE;
        CString text;
        text.Format("%s %s %s @ %s till %s %s", LOWORD(wParam) == IDC_BUY ? "Buy" : "Sell",
                    m_quantity.GetWindowText().GetString(), m_symbol.GetWindowText().GetString(),
                    m_limit.GetWindowText().GetString(), m_goodTill.GetWindowText().GetString(),
                    m_goodTill.GetTimeZoneSuffix().GetString());
        Status(text);
        m_led.Ping(400);
        RememberSymbol(m_symbol.GetWindowText());
        return TRUE;
    }
    case IDC_SEND:
        Status("Sent as a day order");
        return TRUE;
    case IDC_AON:
        // A click releases a selected button by itself; selecting it is ours.
        m_allOrNoneOn = !m_allOrNoneOn;
        m_allOrNone.SetSelected(m_allOrNoneOn);
        Status(m_allOrNoneOn ? "All or none: on" : "All or none: off");
        return TRUE;
    case IDC_ABOUT: {
        CDialog about(IDD_ABOUT, this);
        about.DoModal();
        return TRUE;
    }
    case ID_SEND_DAY:
        Status("Sent as a day order");
        return TRUE;
    case ID_SEND_GTC:
        Status("Sent good till cancelled");
        return TRUE;
    case ID_SEND_IOC:
        Status("Sent immediate or cancel");
        return TRUE;
    default:
        return FALSE;
    }
}

// The split part of "Send" offers the order's duration.
BOOL COrderTicket::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
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

void COrderTicket::OnDestroy()
{
    CWnd::OnDestroy();
    ::PostQuitMessage(0);
}

#include "QuotePanel.h"

#include "controls/win/SymbolDragDrop.h"
#include "controls/win/WindowWrappers.h"

#include "market/SymbolData.h"
#include "text/Locale.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

namespace {

const COLORREF kUp = RGB(0, 128, 0);
const COLORREF kDown = RGB(200, 0, 0);
const int kRowTop = 30, kRowHeight = 24;
const UINT kQuoteListId = 100;
// Left edges and widths of the columns: symbol, last, bid, ask, change,
// tick, volume.
const int kColumnLeft[] = {8, 70, 140, 210, 280, 404, 424};
const int kColumnWidth[] = {60, 66, 66, 66, 120, 18, 92};
const char* const kHeaders[] = {"Symbol", "Last", "Bid", "Ask", "Change", "", "Volume"};

// The demo's own symbol data: the bond future's root is priced in 32nds and
// halves of a 32nd, the pair has four pip places (a fifth sub-pip digit).
const char kDemoSymbolData[] = "<SymbolData>\r\n"
                               "  <Forex><P Symbol=\"EUR/USD\" pipDecimal=\"0.0001\"/></Forex>\r\n"
                               "  <Futures><R Symbol=\"/ZB\" displayFormat=\"32\"/></Futures>\r\n"
                               "</SymbolData>\r\n";

} // namespace

BOOL CQuotePanel::Create(CWnd& parent, CPoint at)
{
    // The demo's symbol data, under a user of its own so that no trader's
    // file is touched.
    CSymbolData& data = CSymbolData::GetStaticInstance();
    data.SetUserName("OrvDemo");
    data.WriteXML(kDemoSymbolData);
    data.LoadXML();

    const char* windowClass = RegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW),
                                               reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateEx(0, windowClass, "Quotes", WS_CHILD | WS_VISIBLE, CRect(at, CSize(kWidth, kHeight + 40)), parent, 0);
}

int CQuotePanel::OnCreate(CREATESTRUCTA* cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    m_font.CreatePointFont(100, "Tahoma");
    for (int column = 0; column < 7; ++column) {
        CStatic& header = m_headers[column];
        const DWORD align = column == 0 ? SS_LEFT : SS_RIGHT;
        header.Create(kHeaders[column], WS_VISIBLE | align,
                      CRect(kColumnLeft[column], 8, kColumnLeft[column] + kColumnWidth[column], 24), this);
        header.SetFont(m_font);
    }
    m_rows[0].symbol = "MSFT";
    m_rows[0].price = 415.25;
    m_rows[0].step = 0.01;
    m_rows[0].spread = 2;
    m_rows[0].volume = 1250000;
    m_rows[1].symbol = "/ZBH7";
    m_rows[1].price = 117.5;
    m_rows[1].step = 1.0 / 64;
    m_rows[1].spread = 1;
    m_rows[1].volume = 84200;
    m_rows[2].symbol = "EUR/USD";
    m_rows[2].price = 1.08425;
    m_rows[2].step = 0.00001;
    m_rows[2].spread = 12;
    m_rows[2].volume = 3500000;
    for (int i = 0; i < kSymbols; ++i)
        AddRow(m_rows[i], kRowTop + i * kRowHeight);

    const int lampTop = kRowTop + kSymbols * kRowHeight + 10;
    m_led.Create("", WS_VISIBLE, CRect(8, lampTop, 28, lampTop + 20), this);
    m_led.SetLed(CLed::LedGreen, CLed::LedOff, CLed::LedRound);
    m_feedText.Create("Feed stopped", WS_VISIBLE | SS_LEFT, CRect(32, lampTop + 3, 300, lampTop + 19), this);
    m_feedText.SetFont(m_font);
    m_listHint.Create("Right-click the quotes to pick a symbol from a list", WS_VISIBLE | SS_LEFT,
                      CRect(32, lampTop + 24, 400, lampTop + 40), this);
    m_listHint.SetFont(m_font);
    // The quote list stays out of sight: only its list shows, at the pointer.
    m_quoteList.Create(WS_VSCROLL | CBS_DROPDOWNLIST, CRect(330, lampTop, 530, lampTop + 120), this, kQuoteListId);
    m_quoteList.SetFont(m_font);
    m_quoteList.SendMessage(CB_SETDROPPEDWIDTH, 250);
    FeedTick();
    RunFeed(true);
    return 0;
}

void CQuotePanel::AddRow(Row& row, int y)
{
    auto place = [&](CStatic& control, int column, DWORD align) {
        control.Create("", WS_VISIBLE | align,
                       CRect(kColumnLeft[column], y, kColumnLeft[column] + kColumnWidth[column], y + 20), this);
        control.SetFont(m_font);
    };
    place(row.name, 0, SS_LEFT);
    row.name.SetWindowText(row.symbol);
    place(row.last, 1, SS_RIGHT);
    place(row.bid, 2, SS_RIGHT);
    place(row.ask, 3, SS_RIGHT);
    place(row.change, 4, SS_RIGHT);
    place(row.tick, 5, SS_CENTER);
    place(row.size, 6, SS_RIGHT);
    row.change.SetAutoColor(true);
    row.change.SetTextColors(kUp, kDown, orv::controls::kSysColorWindowText);
    row.tick.SetTextColors(kUp, kDown);
}

uint32_t CQuotePanel::Next()
{
    // A linear congruential generator: the same seed gives the same walk.
    m_seed = m_seed * 1103515245u + 12345u;
    return (m_seed >> 1) & 0x7FFFFFFFu;
}

void CQuotePanel::FeedTick()
{
    for (Row& row : m_rows) {
        const int move = int(Next() % 7) - 3;
        row.price = std::max(row.step, row.price + move * row.step);
        const bool traded = move != 0 || Next() % 3 == 0;
        if (traded)
            row.volume += LONG(Next() % 20 + 1) * 100;
        QUOTERECORD record {};
        std::wstring symbol(row.symbol, row.symbol + std::strlen(row.symbol));
        record.bstrSymbol = ::SysAllocString(symbol.c_str());
        record.dLast = row.price;
        record.dBid = row.price - std::floor(row.spread / 2) * row.step;
        record.dAsk = record.dBid + row.spread * row.step;
        record.dPrevClose = row.symbol[0] == 'M' ? 412.80 : row.symbol[0] == '/' ? 117.75 : 1.08310;
        record.dHigh = std::max(row.price, record.dPrevClose);
        record.dLow = std::min(row.price, record.dPrevClose);
        record.lVolume = row.volume;
        record.lBidSize = LONG(Next() % 50 + 1) * 100;
        record.lAskSize = LONG(Next() % 50 + 1) * 100;
        record.lTick = move > 0 ? 0 : 1;
        row.quote.Update(&record);
        ::SysFreeString(record.bstrSymbol);
        ShowQuote(row);
    }
    if (m_led.IsWindow())
        m_led.Ping(150);
    if (m_onBurst)
        m_onBurst();
}

const CCachedQuote* CQuotePanel::FindQuote(const char* symbol) const
{
    for (const Row& row : m_rows) {
        if (std::strcmp(row.symbol, symbol) == 0)
            return &row.quote;
    }
    return nullptr;
}

void CQuotePanel::ShowQuote(Row& row)
{
    const QUOTERECORD& quote = row.quote.GetQuoteRecord();
    const int decimals = row.quote.GetDecimals();
    const bool forex = row.symbol[3] == '/';
    for (CMoneyStatic* price : {&row.last, &row.bid, &row.ask}) {
        price->SetMinNumDecimalPlaces(decimals);
        price->SetSubPipsMode(forex);
    }
    row.last.SetValue(quote.dLast);
    row.bid.SetValue(quote.dBid);
    row.ask.SetValue(quote.dAsk);
    row.change.SetMinNumDecimalPlaces(decimals);
    const double change = quote.dLast - quote.dPrevClose;
    row.change.SetValue(change, quote.dPrevClose != 0 ? change / quote.dPrevClose * 100 : 0);
    const TRENDTICK direction = row.quote.GetLastDirection();
    if (direction != TRENDTICK_NONE)
        row.tick.SetTick(direction == TRENDTICK_UP || direction == TRENDTICK_UNCHANGED_UP ? 1 : 0);
    row.size.SetForexLotsMode(forex && g_bForexUseLots != 0);
    row.size.SetValue(quote.lVolume);
}

void CQuotePanel::RunFeed(bool run)
{
    if (!IsWindow())
        return;
    if (run && !m_pacer.IsRunning())
        m_pacer.Start(m_hWnd, WM_FEED_BURST, 400);
    else if (!run)
        m_pacer.Stop();
    const bool running = m_pacer.IsRunning();
    m_led.SetLed(CLed::LedGreen, running ? CLed::LedOff : CLed::LedDisabled, CLed::LedRound);
    m_feedText.SetWindowText(running ? "Feed running: a burst every 0.4 s" : "Feed stopped");
}

LRESULT CQuotePanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_FEED_BURST)
        return CWnd::WindowProc(message, wParam, lParam);
    FeedTick();
    return 0;
}

// The names are plain statics, which leave the mouse to the panel: a press
// on one starts a drag of its symbol.
void CQuotePanel::OnLButtonDown(UINT flags, CPoint point)
{
    for (Row& row : m_rows) {
        if (!row.name.IsWindow())
            continue;
        if (CWindowRect(row.name, m_hWnd).PtInRect(point)) {
            DoDragDrop(row.symbol, nullptr);
            return;
        }
    }
    CWnd::OnLButtonDown(flags, point);
}

void CQuotePanel::OnContextMenu(HWND, CPoint)
{
    ShowQuoteList();
}

void CQuotePanel::ShowQuoteList()
{
    if (!m_quoteList.IsWindow())
        return;
    const int picked = m_quoteList.GetCurSel();
    m_quoteList.ResetContent();
    for (const Row& row : m_rows) {
        const CString item = CString(row.symbol) + "\t" + row.last.GetWindowText() + "\t" + row.change.GetWindowText();
        m_quoteList.AddString(item);
    }
    m_quoteList.SetCurSel(picked);
    m_quoteList.ShowComboAtCursor();
}

BOOL CQuotePanel::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) != kQuoteListId || HIWORD(wParam) != CBN_SELENDOK)
        return CWnd::OnCommand(wParam, lParam);
    const int picked = m_quoteList.GetCurSel();
    if (picked >= 0 && picked < kSymbols && m_onPick)
        m_onPick(m_rows[picked].symbol);
    return TRUE;
}

void CQuotePanel::OnDestroy()
{
    m_pacer.Stop();
    CWnd::OnDestroy();
}

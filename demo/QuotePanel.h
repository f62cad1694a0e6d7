// The demo's quote panel: a row per symbol (an equity, a bond future priced
// in 32nds, a forex pair with sub-pips) showing last, bid, ask, the change
// with its percentage, a tick arrow and the volume, fed by a simulated quote
// feed. The feed builds quote records from a seeded random walk, so every run
// shows the same prices, and pushes them through each symbol's CCachedQuote;
// the statics show the quote's field texts. A periodic waitable timer paces
// the bursts (CFeedPacer), and a lamp shows the feed's state and flashes with
// each burst. A symbol's name can be dragged onto the order ticket (or onto
// a window of another program that takes symbol drops). A right-click on
// the panel opens the quote list at the pointer (CNimIntelliCombo: symbol,
// last and change in tab-aligned columns); picking a symbol hands it to the
// pick listener.
#pragma once

#include "FeedPacer.h"

#include "controls/win/IntelliCombo.h"
#include "controls/win/Led.h"
#include "controls/win/MarketStatics.h"
#include "framework/win/Controls.h"
#include "framework/win/Gdi.h"
#include "framework/win/Wnd.h"
#include "market/CachedQuote.h"

#include <cstdint>
#include <functional>

class CQuotePanel : public CWnd {
public:
    // The message the pacer posts for each burst.
    enum : UINT { WM_FEED_BURST = WM_APP + 1 };
    enum : int { kSymbols = 3, kWidth = 540, kHeight = 150 };

    // Makes the panel as a child of the parent at the point; the demo's
    // symbol data is written and loaded first.
    BOOL Create(CWnd& parent, CPoint at);
    // One burst of the feed: a new record for every symbol; then the
    // listener, if any, is told.
    void FeedTick();
    void SetBurstListener(std::function<void()> listener) { m_onBurst = std::move(listener); }
    // Told the symbol picked from the quote list.
    void SetPickListener(std::function<void(const char*)> listener) { m_onPick = std::move(listener); }
    // Fills the quote list with the current quotes and opens it at the
    // mouse pointer.
    void ShowQuoteList();
    // The symbol's cached quote, or null for a symbol the feed does not
    // carry.
    const CCachedQuote* FindQuote(const char* symbol) const;
    // Starts or stops the feed's pacer; the lamp shows which.
    void RunFeed(bool run);

protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnLButtonDown(UINT flags, CPoint point) override;
    void OnContextMenu(HWND wnd, CPoint screenPoint) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnDestroy() override;

private:
    struct Row {
        const char* symbol;
        double price;     // of the walk
        double step;      // the walk's smallest move
        double spread;    // ask - bid, in steps
        LONG volume;
        CStatic name;
        CMoneyStatic last, bid, ask;
        CChangeWithPctStatic change;
        CTickStatic tick;
        CVolumeStatic size;
        CCachedQuote quote;
    };
    void AddRow(Row& row, int y);
    // Shows the quote's texts in the row's statics.
    void ShowQuote(Row& row);
    // The next number of the seeded generator, 0 to 2^31 - 1.
    uint32_t Next();

    CFont m_font;
    CStatic m_headers[7];
    Row m_rows[kSymbols];
    CNimLed m_led;
    CStatic m_feedText;
    CStatic m_listHint;
    CNimIntelliCombo m_quoteList;
    uint32_t m_seed = 20240607;
    CFeedPacer m_pacer;
    std::function<void()> m_onBurst;
    std::function<void(const char*)> m_onPick;
};

// The demo's main window: a frame with a toolbar (Buy, Sell, Cancel all,
// Lock layout) whose buttons follow the frame's command handlers at idle
// time, a status bar, and a splitter of panes: the order ticket and the
// market (quotes and the price alert) side by side over the positions
// blotter. "Lock layout" locks both splitters; a drag of a bar tells the
// frame, which shows the new pane sizes in the status bar. The window comes
// back where it was last closed, unless no monitor shows that place any more
// (a monitor unplugged, the resolution lowered): then it opens in the middle
// of the work area of the monitor nearest to it.
#pragma once

#include "BlotterPane.h"
#include "MarketPane.h"
#include "OrderTicket.h"

#include "controls/win/NimSplitterWnd.h"
#include "framework/win/ControlBar.h"
#include "framework/win/FrameWnd.h"

class CDemoFrame : public CFrameWnd {
public:
    enum : UINT { ID_DEMO_BUY = 0x8000, ID_DEMO_SELL, ID_DEMO_CANCEL_ALL, ID_DEMO_LOCK };

    CDemoFrame();
    // A peer is a second demo window, placed under the first.
    BOOL Create(bool peer);
    COrderTicket& Ticket() { return m_ticket; }
    CQuotePanel& Quotes() { return m_market.Quotes(); }
    // Moves the window to where it was last closed, and keeps its place
    // when it closes.
    void RestorePlacement();

protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Closing the window ends the application.
    void OnDestroy() override;

private:
    bool CreateBars();
    bool CreatePanes();
    void AddCommands();
    void ShowPaneSizes();
    void SavePlacement();

    CToolBar m_toolBar;
    CStatusBar m_statusBar;
    CNimSplitterWnd m_rows {this};
    CNimSplitterWnd m_top {this};
    COrderTicket m_ticket;
    CMarketPane m_market;
    CBlotterPane m_blotter;
    bool m_bKeepPlacement = false;
};

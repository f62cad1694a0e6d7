// The market pane of the demo's window: the quote panel with the price
// alert under it.
#pragma once

#include "AlertPanel.h"
#include "QuotePanel.h"

#include "framework/win/Wnd.h"

class CMarketPane : public CWnd {
public:
    BOOL Create(CWnd& parent, UINT id);
    CQuotePanel& Quotes() { return m_quotes; }

protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnSize(UINT type, int cx, int cy) override;

private:
    CQuotePanel m_quotes;
    CAlertPanel m_alert;
};

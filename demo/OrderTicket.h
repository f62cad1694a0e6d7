// The demo's order ticket: a top-level window of numeric edits with spins,
// a good-till date and time, hover buttons and a status lamp, painted in the
// system colours.
#pragma once

#include "controls/win/DateTimeEdit.h"
#include "controls/win/HoverButton.h"
#include "controls/win/HoverEdit.h"
#include "controls/win/HoverSpin.h"
#include "controls/win/Led.h"
#include "controls/win/NumEdit.h"
#include "framework/win/Controls.h"
#include "framework/win/Gdi.h"
#include "framework/win/Wnd.h"

class COrderTicket : public CWnd {
public:
    enum : UINT {
        IDC_SYMBOL = 100, IDC_LOOKUP, IDC_QUANTITY, IDC_QUANTITY_SPIN, IDC_LIMIT, IDC_LIMIT_SPIN, IDC_STOP,
        IDC_STOP_SPIN, IDC_BUY, IDC_SELL, IDC_SEND, IDC_AON, IDC_ABOUT, IDC_STATUS, IDC_LED, IDC_GOOD_TILL,
        IDC_GOOD_TILL_SPIN
    };

    BOOL Create();
    // The "Buy" button, where the screenshot puts the mouse.
    HWND GetBuyButton() const { return m_buy.GetSafeHwnd(); }

protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnDestroy() override;

private:
    void AddLabel(const char* text, int y);
    void AddNumber(CNimNumEdit& edit, UINT id, int y);
    void AddGoodTill(int y);
    // Sets the edits and the lamp for the symbol: a forex pair ("EUR/USD")
    // is priced to the pip's tenth and sized in lots, anything else is an
    // equity priced in cents and sized in round lots of 100 shares. The lamp
    // is blue for a pair, green for an equity and grey without a symbol.
    void ApplySymbol();
    void Status(const char* text);

    CFont m_font;
    CStatic m_labels[5];
    CNimHoverEdit m_symbol;
    CNimHoverButton m_lookup;
    CNimNumEdit m_quantity {IDC_QUANTITY_SPIN, orv::controls::NumberWhole};
    CNimNumEdit m_limit {IDC_LIMIT_SPIN, orv::controls::NumberPrice};
    CNimNumEdit m_stop {IDC_STOP_SPIN, orv::controls::NumberPrice};
    // Market time, shown in the display zone with its abbreviation.
    CNimDateTimeEdit m_goodTill {IDC_GOOD_TILL_SPIN};
    CNimLed m_led;
    bool m_forex = false;
    bool m_applied = false;
    CNimHoverButton m_buy, m_sell, m_send, m_allOrNone, m_about;
    CStatic m_status;
    int m_labelCount = 0;
    bool m_allOrNoneOn = true;
};

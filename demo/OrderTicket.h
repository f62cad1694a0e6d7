// The demo's order ticket, a pane of the main window: a symbol box that
// completes from the recently traded symbols (kept in the registry across
// runs), an order-type chooser, numeric edits with spins, a good-till date
// and time, hover buttons, a help link, tool tips on the fields and a status
// lamp, painted in the system colours. An order is checked (an error
// balloon at a wrong field) and confirmed in a message box before it goes;
// a hot key chosen in the settings sends it too.
#pragma once

#include "controls/NimRecentList.h"
#include "controls/win/DateTimeEdit.h"
#include "controls/win/HoverButton.h"
#include "controls/win/HoverCombo.h"
#include "controls/win/HyperLink.h"
#include "controls/win/AutoUpdateMgr.h"
#include "controls/win/Led.h"
#include "controls/win/MenuButton.h"
#include "controls/win/NumEdit.h"
#include "controls/win/RestAPIMgr.h"
#include "controls/win/DlgToolBar.h"
#include "controls/win/ToolTipCtrl.h"
#include "framework/win/OleDragDrop.h"
#include "framework/win/Controls.h"
#include "framework/win/Gdi.h"
#include "framework/win/Wnd.h"

class COrderTicket;

// Takes a dropped symbol into the ticket.
class CTicketDropTarget : public COleDropTarget {
public:
    explicit CTicketDropTarget(COrderTicket& ticket) : m_ticket(ticket) {}

protected:
    DROPEFFECT OnDragEnter(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) override;
    DROPEFFECT OnDragOver(CWnd* wnd, COleDataObject* data, DWORD keyState, CPoint point) override;
    BOOL OnDrop(CWnd* wnd, COleDataObject* data, DROPEFFECT effect, CPoint point) override;

private:
    COrderTicket& m_ticket;
};

class COrderTicket : public CWnd {
public:
    enum : UINT {
        IDC_SYMBOL = 100, IDC_HELP_LINK, IDC_QUANTITY, IDC_QUANTITY_SPIN, IDC_LIMIT, IDC_LIMIT_SPIN, IDC_STOP,
        IDC_STOP_SPIN, IDC_BUY, IDC_SELL, IDC_SEND, IDC_AON, IDC_ABOUT, IDC_STATUS, IDC_LED, IDC_GOOD_TILL,
        IDC_GOOD_TILL_SPIN, IDC_ORDER_TYPE, IDC_SETTINGS, IDC_UPDATES, IDC_API
    };
    // The order types the chooser offers, in its order.
    enum OrderType { Market, Limit, Stop, StopLimit, Bracket };

    // Commands of the ticket's own toolbar.
    enum : UINT { ID_TICKET_RESET = 0x8100, ID_TICKET_FLIP };

    // The ticket as a child window (a pane) of the parent, with the id.
    BOOL Create(CWnd& parent, UINT id);
    enum : int { kWidth = 392, kHeight = 296 };
    // Buy or sell side, as the Buy and Sell buttons choose it.
    void ChooseSide(bool buy);
    bool IsBuySide() const { return m_buySide; }
    void Status(const char* text);
    // The "Buy" button, where the screenshot puts the mouse.
    HWND GetBuyButton() const { return m_buy.GetSafeHwnd(); }
    // A symbol dropped on the ticket becomes the ticket's symbol.
    void TakeSymbol(const CString& symbol, const char* from = "dropped on the ticket");
    // Marks the ticket as a drop target for symbols dragged in another
    // program, which the companion drop library hands over.
    void AcceptSymbolsFromOtherPrograms();

protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void AddLabel(const char* text, int y);
    void AddNumber(CNimNumEdit& edit, UINT id, int y);
    void AddGoodTill(int y);
    void AddToolTips();
    void AddRightColumn();
    // Enables the prices the order type uses.
    void ApplyOrderType(int type);
    // Sets the edits and the lamp for the symbol: a forex pair ("EUR/USD")
    // is priced to the pip's tenth and sized in lots, anything else is an
    // equity priced in cents and sized in round lots of 100 shares. The lamp
    // is blue for a pair, green for an equity and grey without a symbol.
    void ApplySymbol(const CString& symbol);
    // The recent symbols: read from the registry (a first run starts with a
    // few), shown in the symbol box, and a traded symbol put first and saved.
    void LoadRecentSymbols();
    void RememberSymbol(const CString& symbol);
    void ShowRecentSymbols();
    // Checks the order before it goes: a wrong field gets an error balloon
    // and the focus. True when the order may go.
    bool CheckOrder();
    bool RefuseField(CWnd& field, const char* text);
    // Checks, confirms and sends the order for the duration ("day order",
    // ...); the lamp flashes and the symbol joins the recent ones.
    void SendOrder(const char* duration);
    // The ticket's own toolbar: Reset (quantity and prices back to the
    // symbol's defaults, while they differ) and Flip (the other side).
    void AddToolBar();
    void ShowSettings();
    // Asks the update server (ORV_DEMO_UPDATE_URL, which scripts/demo sets
    // to its local stand-in) for a newer OrvDemo; the outcome comes back as
    // a message.
    void CheckForUpdates();
    // The "Configure API" dialog; with the API switched on, the local REST
    // service runs until the window closes.
    void ConfigureApi();
    void ShowApiState();
    void LoadSendKey();

    CFont m_font;
    CStatic m_labels[5];
    CNimHoverCombo m_symbol;
    CNimRecentList m_recentSymbols {0, "Recent Symbols", "Symbol%d", 8};
    CNimNumEdit m_quantity {IDC_QUANTITY_SPIN, orv::controls::NumberWhole};
    CNimNumEdit m_limit {IDC_LIMIT_SPIN, orv::controls::NumberPrice};
    CNimNumEdit m_stop {IDC_STOP_SPIN, orv::controls::NumberPrice};
    // Market time, shown in the display zone with its abbreviation.
    CNimDateTimeEdit m_goodTill {IDC_GOOD_TILL_SPIN};
    CNimLed m_led;
    bool m_forex = false;
    bool m_applied = false;
    CNimHoverButton m_buy, m_sell, m_send, m_allOrNone, m_about, m_settings, m_updates, m_api;
    // Reference counted: the ticket holds one reference, a running check
    // another.
    CAutoUpdateMgr* m_updateManager = nullptr;
    CRestAPIMgr m_restApi;
    CNimMenuButton m_orderType;
    int m_type = Limit;
    bool m_buySide = true;
    // The hot key that sends: virtual key in the low byte, HOTKEYF_
    // modifiers in the next; 0 for none.
    WORD m_sendKey = 0;
    CStatic m_status;
    CHyperLink m_help;
    CNimToolTipCtrl m_tips;
    CDlgToolBar m_tools;
    CTicketDropTarget m_dropTarget {*this};
    int m_labelCount = 0;
    bool m_allOrNoneOn = true;
};

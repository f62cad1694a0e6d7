// The demo's positions blotter: flat tabs (Positions, Orders, Watchlist)
// over a tree grid. Positions shows each account with its positions and
// their working orders; a position's P&L follows the simulated feed
// (CalcPNL from the position's quantity and average price). An order's
// quantity, price, action, type and Active flag are edited in place
// (CGridHelper: a spin for the quantity, the bond future's price in 32nds,
// pick lists for the action and type, a check box); Tab and Shift+Tab move
// between an order's editable cells, Up and Down between orders. An order
// dragged onto another position moves under it, with a caption box that
// follows the mouse and arrows marking the row that would take it.
#pragma once

#include "controls/win/DragWnd.h"
#include "controls/win/FlatTabCtrl.h"
#include "controls/win/GridHelper.h"
#include "controls/win/TreeGridCtrl.h"
#include "framework/win/Gdi.h"
#include "framework/win/Wnd.h"

#include <functional>
#include <vector>

class CCachedQuote;

// What a row stands for. The grid's rows carry the index of their entry in
// the book (the info's user value), which survives a row being moved.
struct BlotterRow {
    enum Kind { Account, Position, Order, Watch } kind = Account;
    CString name;       // the account, the order's number
    CString symbol;
    long quantity = 0;  // signed for a position
    double price = 0;   // average price, or the order's limit
    int action = 10000; // order action field (Buy)
    int type = 10030;   // order type field (Limit)
    bool active = true;
    int parent = -1;    // the book entry it sits under on the Positions tab
};

class CBlotterGrid : public CTreeGridCtrl {
public:
    enum Column { ColName, ColQty, ColPrice, ColAction, ColType, ColActive, ColPnl, ColCount };

    std::vector<BlotterRow> m_book;
    // Whether rows dragged to another parent change the book: only on the
    // Positions tab, where parents are accounts and positions.
    bool m_followMoves = true;
    // The quotes behind P&L and price formats; where the grid reports.
    std::function<const CCachedQuote*(const char*)> m_findQuote;
    std::function<void(const CString&)> m_status;

    BlotterRow* RowOf(const CTreeItem* node);
    const BlotterRow* RowOf(const CTreeItem* node) const;
    // A row for the book entry under the parent (a root for null).
    CTreeItem* AddRow(CTreeItem* parent, int entry);
    // The cell texts of the node from its entry.
    void ShowRow(CTreeItem* node);
    CString PriceText(const CString& symbol, double price) const;
    int DisplayFormat(const CString& symbol) const;
    // Every node, depth first.
    void ForEach(const std::function<void(CTreeItem*)>& visit);

protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnControlLButtonDown(UINT flags, CPoint point, LVHITTESTINFO& hit) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    void OnMouseMove(UINT flags, CPoint point) override;
    void OnLButtonUp(UINT flags, CPoint point) override;
    void OnCaptureChanged(HWND newCapture) override;
    void OnDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    enum : UINT { kEditorId = 900, WM_START_EDIT = WM_APP + 20 };
    // Opens the editor over the order's cell; false when it is not editable.
    bool EditCell(int row, int column);
    // The edited value into the order and its cell, then on to the next cell.
    void EndEdit();
    // The order row above or below, or -1.
    int NextOrderRow(int row, int step) const;
    void ShowDragFeedback();
    void HideDragFeedback();
    // An order moved under another position takes that position's symbol.
    void FollowMoves();

    CGridHelper m_editor {this, kEditorId};
    CDragWnd* m_dragBox = nullptr;
    CDividerWnd* m_divider = nullptr;
};

class CBlotterPane : public CWnd {
public:
    enum : UINT { IDC_TABS = 300, IDC_GRID };

    BOOL Create(CWnd& parent, UINT id);
    // Where the quotes come from; Refresh follows them after each burst.
    void SetQuoteSource(std::function<const CCachedQuote*(const char*)> findQuote);
    void SetStatusSink(std::function<void(const CString&)> status);
    // Recomputes the P&L (and the watchlist's prices) from the quotes.
    void Refresh();
    // Working orders that are active, and switching them all off.
    int ActiveOrderCount() const;
    void CancelAllOrders();

protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnSize(UINT type, int cx, int cy) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void ShowTab(int tab);

    CFont m_font;
    CFlatTabCtrl m_tabs;
    CBlotterGrid m_grid;
    int m_tab = 0;
};

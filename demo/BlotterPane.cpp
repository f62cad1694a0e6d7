#include "BlotterPane.h"

#include "market/CachedQuote.h"
#include "market/MapFidToCaption.h"
#include "market/SymbolData.h"
#include "market/TradingCalc.h"
#include "controls/NumberText.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace {

// The field each column edits (0: not editable).
constexpr int kColumnField[CBlotterGrid::ColCount] = {0, 1002, 1004, 1001, 1007, 9952, 0};
constexpr unsigned short kActions[] = {10000, 10001, 10002, 10004};
constexpr unsigned short kTypes[] = {10030, 10031, 10032, 10033};

// The symbols the feed carries, for the watchlist.
const char* const kWatched[] = {"MSFT", "/ZBH7", "EUR/USD"};

CString Caption(int field) { return CMapFidToCaption::GetStaticMap()[field]; }

BlotterRow Entry(BlotterRow::Kind kind, const char* name, const char* symbol, long quantity = 0, double price = 0)
{
    BlotterRow row;
    row.kind = kind;
    row.name = name;
    row.symbol = symbol;
    row.quantity = quantity;
    row.price = price;
    return row;
}

BlotterRow Order(const char* name, const char* symbol, long quantity, double price, int action, int type,
                 bool active)
{
    BlotterRow row = Entry(BlotterRow::Order, name, symbol, quantity, price);
    row.action = action;
    row.type = type;
    row.active = active;
    return row;
}

// The demo book: two accounts, their positions and working orders; each
// entry's parent is at first the entry before it of the kind above.
std::vector<BlotterRow> DemoBook()
{
    std::vector<BlotterRow> book = {
        Entry(BlotterRow::Account, "DEMO-1", ""),
        Entry(BlotterRow::Position, "", "MSFT", 200, 410.10),
        Order("#1001", "MSFT", 100, 420.00, 10001, 10030, true),
        Order("#1002", "MSFT", 200, 395.00, 10001, 10032, false),
        Entry(BlotterRow::Position, "", "/ZBH7", 3, 117.125),
        Order("#1003", "/ZBH7", 1, 116.875, 10000, 10030, true),
        Entry(BlotterRow::Account, "DEMO-2", ""),
        Entry(BlotterRow::Position, "", "MSFT", -100, 416.00),
        Order("#1004", "MSFT", 100, 405.00, 10004, 10030, true),
        Entry(BlotterRow::Position, "", "EUR/USD", 100000, 1.08200),
    };
    int account = -1, position = -1;
    for (int i = 0; i < int(book.size()); ++i) {
        BlotterRow& row = book[size_t(i)];
        switch (row.kind) {
        case BlotterRow::Account: account = i; break;
        case BlotterRow::Position: row.parent = account; position = i; break;
        case BlotterRow::Order: row.parent = position; break;
        case BlotterRow::Watch: break;
        }
    }
    return book;
}

} // namespace

// ------------------------------------------------------------ CBlotterGrid

int CBlotterGrid::OnCreate(CREATESTRUCTA* cs)
{
    if (CTreeGridCtrl::OnCreate(cs) == -1)
        return -1;
    m_editor.SetPickList(1001, int(std::size(kActions)), kActions);
    m_editor.SetPickList(1007, int(std::size(kTypes)), kTypes);
    return 0;
}

const BlotterRow* CBlotterGrid::RowOf(const CTreeItem* node) const
{
    if (node == nullptr || node->GetData() == nullptr)
        return nullptr;
    const DWORD entry = node->GetData()->GetUserValue();
    return entry < m_book.size() ? &m_book[entry] : nullptr;
}

BlotterRow* CBlotterGrid::RowOf(const CTreeItem* node)
{
    return const_cast<BlotterRow*>(std::as_const(*this).RowOf(node));
}

CTreeGridCtrl::CTreeItem* CBlotterGrid::AddRow(CTreeItem* parent, int entry)
{
    auto* info = new CTreeGridItemInfo;
    info->SetUserValue(DWORD(entry));
    for (int column = ColQty; column < ColCount; ++column)
        info->SetSubItemText(column - 1, "");
    CTreeItem* node = parent != nullptr ? InsertItem(parent, info) : InsertRootItem(info);
    ShowRow(node);
    return node;
}

int CBlotterGrid::DisplayFormat(const CString& symbol) const
{
    // The bond future in 32nds and halves, forex to five places.
    if (!symbol.IsEmpty() && symbol[0] == '/')
        return CSymbolData::GetStaticInstance().GetDisplayFormatForFutureRoot(symbol);
    return symbol.Find('/') > 0 ? 5 : 2;
}

CString CBlotterGrid::PriceText(const CString& symbol, double price) const
{
    return orv::controls::HostPriceText(price, DisplayFormat(symbol));
}

void CBlotterGrid::ShowRow(CTreeItem* node)
{
    const BlotterRow* row = RowOf(node);
    if (row == nullptr)
        return;
    CString quantity;
    quantity.Format("%ld", row->quantity);
    switch (row->kind) {
    case BlotterRow::Account:
        SetCellText(node, ColName, row->name);
        break;
    case BlotterRow::Position:
    case BlotterRow::Watch:
        SetCellText(node, ColName, row->symbol);
        SetCellText(node, ColQty, row->kind == BlotterRow::Position ? quantity : CString());
        SetCellText(node, ColPrice, PriceText(row->symbol, row->price));
        break;
    case BlotterRow::Order:
        SetCellText(node, ColName, row->name + " " + row->symbol);
        SetCellText(node, ColQty, quantity);
        SetCellText(node, ColPrice, PriceText(row->symbol, row->price));
        SetCellText(node, ColAction, Caption(row->action));
        SetCellText(node, ColType, Caption(row->type));
        SetCellText(node, ColActive, row->active ? "Yes" : "No");
        break;
    }
}

void CBlotterGrid::ForEach(const std::function<void(CTreeItem*)>& visit)
{
    const std::function<void(CTreeItem*)> walk = [&](CTreeItem* node) {
        visit(node);
        for (int i = 0; i < node->NumChildren(); ++i)
            walk(node->GetChild(i));
    };
    for (int i = 0; i < GetRootCount(); ++i)
        walk(GetRootItem(i));
}

void CBlotterGrid::OnControlLButtonDown(UINT flags, CPoint point, LVHITTESTINFO& hit)
{
    CTreeGridCtrl::OnControlLButtonDown(flags, point, hit);
    // The list finishes the click (and takes the focus) first; the editor
    // opens after it.
    PostMessage(WM_START_EDIT, WPARAM(hit.iItem), LPARAM(hit.iSubItem));
}

LRESULT CBlotterGrid::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_START_EDIT) {
        EditCell(int(wParam), int(lParam));
        return 0;
    }
    return CTreeGridCtrl::WindowProc(message, wParam, lParam);
}

bool CBlotterGrid::EditCell(int row, int column)
{
    BlotterRow* order = RowOf(GetTreeItem(row));
    if (order == nullptr || order->kind != BlotterRow::Order || column <= 0 || column >= ColCount ||
        kColumnField[column] == 0)
        return false;
    CRect cell;
    if (!GetSubItemRect(row, column, LVIR_BOUNDS, cell))
        return false;
    const bool future = order->symbol[0] == '/';
    const double tick = future ? 1.0 / 64 : order->symbol.Find('/') > 0 ? 0.0001 : 0.01;
    CString text;
    unsigned long data = 0;
    double minimum = 0, maximum = 0, step = 0;
    switch (kColumnField[column]) {
    case 1002:
        text.Format("%ld", order->quantity);
        minimum = 1, maximum = 1000000, step = future ? 1 : 100;
        break;
    case 1004:
        text = PriceText(order->symbol, order->price);
        minimum = tick, maximum = 100000, step = tick;
        break;
    case 1001:
        data = unsigned(order->action);
        break;
    case 1007:
        data = unsigned(order->type);
        break;
    default:
        text = order->active ? "1" : "0";
        break;
    }
    return m_editor.EditItem(text, row, kColumnField[column], data, cell, minimum, maximum, step,
                             DisplayFormat(order->symbol)) != 0;
}

BOOL CBlotterGrid::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom == kEditorId && int(header->code) == CGridHelper::kNotifyCode) {
        EndEdit();
        *result = 0;
        return TRUE;
    }
    return CTreeGridCtrl::OnNotify(wParam, lParam, result);
}

void CBlotterGrid::EndEdit()
{
    const GHDirections next = m_editor.NextCell();
    const int row = m_editor.GetItem();
    int column = 0;
    while (column < ColCount && kColumnField[column] != m_editor.GetCol())
        ++column;
    CTreeItem* node = GetTreeItem(row);
    BlotterRow* order = RowOf(node);
    if (order == nullptr)
        return;
    if (m_editor.IsModified()) {
        switch (m_editor.GetCol()) {
        case 1002: order->quantity = m_editor.GetValue(long(order->quantity)); break;
        case 1004: order->price = m_editor.GetValue(order->price); break;
        case 1001: order->action = int(m_editor.GetDWordData()); break;
        case 1007: order->type = int(m_editor.GetDWordData()); break;
        default: order->active = m_editor.GetValue(0L) != 0; break;
        }
        ShowRow(node);
        if (m_status)
            m_status("Order " + order->name + ": " + Caption(m_editor.GetCol()) + " changed");
    }
    switch (next) {
    case GHD_NEXT:
    case GHD_PREVIOUS: {
        const int step = next == GHD_NEXT ? 1 : -1;
        for (int c = column + step; c > 0 && c < ColCount; c += step) {
            if (kColumnField[c] != 0 && EditCell(row, c))
                return;
        }
        break;
    }
    case GHD_UP:
    case GHD_DOWN:
        if (const int other = NextOrderRow(row, next == GHD_UP ? -1 : 1); other >= 0)
            EditCell(other, column);
        break;
    default:
        break;
    }
}

int CBlotterGrid::NextOrderRow(int row, int step) const
{
    for (int r = row + step; r >= 0 && r < GetItemCount(); r += step) {
        const BlotterRow* row = RowOf(GetTreeItem(r));
        if (row != nullptr && row->kind == BlotterRow::Order)
            return r;
    }
    return -1;
}

void CBlotterGrid::OnMouseMove(UINT flags, CPoint point)
{
    CTreeGridCtrl::OnMouseMove(flags, point);
    if (IsDragging())
        ShowDragFeedback();
}

void CBlotterGrid::OnLButtonUp(UINT flags, CPoint point)
{
    const bool dropping = IsDragging() != FALSE;
    CTreeGridCtrl::OnLButtonUp(flags, point);
    HideDragFeedback();
    if (dropping && m_followMoves)
        FollowMoves();
}

void CBlotterGrid::OnCaptureChanged(HWND newCapture)
{
    CTreeGridCtrl::OnCaptureChanged(newCapture);
    HideDragFeedback();
}

void CBlotterGrid::OnDestroy()
{
    HideDragFeedback();
    CTreeGridCtrl::OnDestroy();
}

// A box with the dragged row's label beside the pointer, and the arrows at
// the left of the row that would take it.
void CBlotterGrid::ShowDragFeedback()
{
    CPoint cursor;
    ::GetCursorPos(&cursor);
    if (m_dragBox == nullptr) {
        m_dragBox = new CDragWnd;
        const CString caption = GetItemText(GetDragRow(), ColName);
        if (!m_dragBox->Create(CRect(0, 0, 120, GetRowHeight() + 4), GetFont(), caption)) {
            delete m_dragBox; // only a made window deletes its object
            m_dragBox = nullptr;
        }
    }
    if (m_dragBox != nullptr)
        m_dragBox->SetWindowPos(cursor.x + 16, cursor.y + 8, TRUE);
    const int target = GetDropTargetRow();
    CRect rowRect;
    if (target < 0 || !GetItemRect(target, &rowRect, LVIR_BOUNDS)) {
        if (m_divider != nullptr)
            m_divider->ShowWindow(SW_HIDE);
        return;
    }
    if (m_divider == nullptr) {
        m_divider = new CDividerWnd(RGB(192, 0, 0), TRUE);
        if (!m_divider->Create(rowRect.Height())) {
            delete m_divider;
            m_divider = nullptr;
            return;
        }
    }
    CPoint mark(rowRect.left + 6, rowRect.CenterPoint().y);
    ::ClientToScreen(m_hWnd, &mark);
    m_divider->SetWindowPos(mark.x, mark.y);
}

void CBlotterGrid::HideDragFeedback()
{
    // Both delete themselves with their windows.
    if (m_dragBox != nullptr)
        std::exchange(m_dragBox, nullptr)->DestroyWindow();
    if (m_divider != nullptr)
        std::exchange(m_divider, nullptr)->DestroyWindow();
}

void CBlotterGrid::FollowMoves()
{
    ForEach([this](CTreeItem* node) {
        BlotterRow* row = RowOf(node);
        const BlotterRow* parent = RowOf(node->GetParentItem());
        if (row != nullptr && row->kind != BlotterRow::Watch)
            row->parent = parent != nullptr ? int(node->GetParentItem()->GetData()->GetUserValue()) : -1;
        if (row != nullptr && row->kind == BlotterRow::Order && parent != nullptr &&
            parent->kind == BlotterRow::Position && row->symbol != parent->symbol) {
            row->symbol = parent->symbol;
            ShowRow(node);
            if (m_status)
                m_status("Order " + row->name + " moved to " + parent->symbol);
        }
    });
}

// ------------------------------------------------------------ CBlotterPane

BOOL CBlotterPane::Create(CWnd& parent, UINT id)
{
    const char* windowClass = RegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW),
                                               reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateEx(0, windowClass, "Blotter", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 10, 10), parent,
                    id);
}

int CBlotterPane::OnCreate(CREATESTRUCTA* cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    m_font.CreatePointFont(90, "Tahoma");
    m_tabs.Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, CRect(0, 0, 10, 24), this, IDC_TABS);
    m_tabs.SetFont(m_font);
    for (const char* name : {"Positions", "Orders", "Watchlist"})
        m_tabs.InsertItem(m_tabs.GetItemCount(), name);
    m_grid.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(0, 24, 10, 40), this, IDC_GRID);
    m_grid.SetFont(m_font);
    const struct {
        const char* heading;
        int format;
        int width;
    } columns[] = {{"Account / symbol", LVCFMT_LEFT, 170}, {"Qty", LVCFMT_RIGHT, 70},
                   {"Price", LVCFMT_RIGHT, 80}, {"Action", LVCFMT_LEFT, 90}, {"Type", LVCFMT_LEFT, 90},
                   {"Active", LVCFMT_LEFT, 55}, {"P&&L", LVCFMT_RIGHT, 100}};
    for (const auto& column : columns)
        m_grid.InsertColumn(m_grid.GetNumCol(), column.heading, column.format, column.width);
    ShowTab(0);
    return 0;
}

void CBlotterPane::OnSize(UINT, int cx, int cy)
{
    m_tabs.MoveWindow(CRect(0, 0, cx, 24));
    m_grid.MoveWindow(CRect(0, 24, cx, std::max(24, cy)));
}

BOOL CBlotterPane::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->idFrom == IDC_TABS && header->code == TCN_SELCHANGE) {
        ShowTab(m_tabs.GetCurSel());
        return TRUE;
    }
    return CWnd::OnNotify(wParam, lParam, result);
}

void CBlotterPane::SetQuoteSource(std::function<const CCachedQuote*(const char*)> findQuote)
{
    m_grid.m_findQuote = std::move(findQuote);
    Refresh();
}

void CBlotterPane::SetStatusSink(std::function<void(const CString&)> status) { m_grid.m_status = std::move(status); }

// Positions keep the book between tabs: the book is made once, and each tab
// shows a view of it.
void CBlotterPane::ShowTab(int tab)
{
    m_tab = tab;
    m_grid.m_followMoves = tab == 0;
    if (m_grid.m_book.empty())
        m_grid.m_book = DemoBook();
    m_grid.SetRedraw(FALSE);
    m_grid.DeleteAll();
    // The first column names what the tab lists.
    const char* heading = tab == 0 ? "Account / symbol" : tab == 1 ? "Order" : "Symbol";
    LVCOLUMNA column {};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<char*>(heading); // read, not written, when setting
    m_grid.SendMessage(LVM_SETCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    auto& book = m_grid.m_book;
    const int entries = int(book.size());
    if (tab == 0) {
        // Each entry under the one it was last put under (rows dragged to
        // another parent stay there), in book order among its siblings: a
        // pass adds the entries whose parent is already shown.
        std::vector<CTreeGridCtrl::CTreeItem*> nodes(book.size(), nullptr);
        for (bool added = true; added;) {
            added = false;
            for (int i = 0; i < entries; ++i) {
                const BlotterRow& row = book[size_t(i)];
                if (nodes[size_t(i)] != nullptr || row.kind == BlotterRow::Watch)
                    continue;
                CTreeGridCtrl::CTreeItem* parent = row.parent >= 0 ? nodes[size_t(row.parent)] : nullptr;
                if (row.parent >= 0 && parent == nullptr)
                    continue;
                nodes[size_t(i)] = m_grid.AddRow(parent, i);
                added = true;
            }
        }
    } else if (tab == 1) {
        for (int i = 0; i < entries; ++i) {
            if (book[size_t(i)].kind == BlotterRow::Order)
                m_grid.AddRow(nullptr, i);
        }
    } else {
        // The watchlist's rows join the book once, after its other entries.
        bool listed = false;
        for (const BlotterRow& row : book)
            listed = listed || row.kind == BlotterRow::Watch;
        if (!listed) {
            for (const char* symbol : kWatched)
                book.push_back(Entry(BlotterRow::Watch, "", symbol));
        }
        for (int i = 0; i < int(book.size()); ++i) {
            if (book[size_t(i)].kind == BlotterRow::Watch)
                m_grid.AddRow(nullptr, i);
        }
    }
    m_grid.SetRedraw(TRUE);
    Refresh();
}

void CBlotterPane::Refresh()
{
    if (!m_grid.m_findQuote || !m_grid.IsWindow())
        return;
    // Accounts sum their positions' P&L: the walk meets an account first,
    // then its positions.
    double accountPnl = 0;
    CTreeGridCtrl::CTreeItem* account = nullptr;
    const auto showAccount = [&] {
        if (account != nullptr) {
            CString text;
            text.Format("%.2f", accountPnl);
            m_grid.SetCellText(account, CBlotterGrid::ColPnl, text);
        }
    };
    m_grid.ForEach([&](CTreeGridCtrl::CTreeItem* node) {
        BlotterRow* row = m_grid.RowOf(node);
        if (row == nullptr)
            return;
        if (row->kind == BlotterRow::Account) {
            showAccount();
            account = node;
            accountPnl = 0;
            return;
        }
        const CCachedQuote* quote = m_grid.m_findQuote(row->symbol);
        if (quote == nullptr || (row->kind != BlotterRow::Position && row->kind != BlotterRow::Watch))
            return;
        if (row->kind == BlotterRow::Watch) {
            row->price = quote->GetQuoteRecord().dLast;
            m_grid.ShowRow(node);
            return;
        }
        // The bond future's contract is worth 1,000 times its price.
        const LONG multiplier = row->symbol[0] == '/' ? 1000 : 0;
        double pnl = 0, value = 0;
        CalcPNL(row->symbol, row->quantity, row->price, &quote->GetQuoteRecord(), multiplier, pnl, value);
        accountPnl += pnl;
        CString text;
        text.Format("%.2f", pnl);
        m_grid.SetCellText(node, CBlotterGrid::ColPnl, text);
    });
    showAccount();
}

int CBlotterPane::ActiveOrderCount() const
{
    int count = 0;
    for (const BlotterRow& row : m_grid.m_book)
        count += row.kind == BlotterRow::Order && row.active;
    return count;
}

void CBlotterPane::CancelAllOrders()
{
    for (BlotterRow& row : m_grid.m_book) {
        if (row.kind == BlotterRow::Order)
            row.active = false;
    }
    m_grid.ForEach([this](CTreeGridCtrl::CTreeItem* node) { m_grid.ShowRow(node); });
}

// The tree grid control at blotter size under the window system: 10,000
// nodes (100 accounts of 99 positions) inserted with their rows, one more
// inserted into a shown grid, every node expanded, the tree sorted by label,
// and one position's P&L cell changed and repainted, as a feed update does
// it: the text set, the cell invalidated and the window updated at once, so
// that the paint is timed. The last cases split the repaint: the text alone,
// the row's and the cell's drawing alone, and the window system's own cost of a paint.
// An optional argument sets the number of accounts.
#include "WinBench.h"
#include "../TreeGridBenchRows.h"

#include "controls/win/TreeGridCtrl.h"
#include "framework/win/DC.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

int kAccounts = bench::kTreeAccounts;
constexpr int kPositions = bench::kTreePositions;
constexpr int kPnlColumn = 2;

// A grid that counts the rows it draws, to show that one update paints one
// row.
class CCountingGrid : public CTreeGridCtrl {
public:
    void DrawItem(DRAWITEMSTRUCT* item) override
    {
        ++m_rowsDrawn;
        CTreeGridCtrl::DrawItem(item);
    }
    long m_rowsDrawn = 0;
};

void PumpPending()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}


// A visible frame holding one grid, made anew for each batch that needs an
// empty grid.
class CBlotter {
public:
    CBlotter()
    {
        m_frame.CreateEx(0, nullptr, "Tree grid bench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                         CRect(40, 40, 640, 440), nullptr, 0);
        m_grid.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 600, 400), &m_frame, 100);
        m_grid.SetFont(HFONT(::GetStockObject(DEFAULT_GUI_FONT)));
        const char* headings[] = {"Account", "Qty", "P&L"};
        for (int i = 0; i < 3; ++i)
            m_grid.InsertColumn(i, headings[i], i == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT, i == 0 ? 200 : 100);
        PumpPending();
    }
    ~CBlotter()
    {
        m_frame.DestroyWindow();
        PumpPending();
    }

    void Fill(BOOL update)
    {
        for (int a = 0; a < kAccounts; ++a) {
            CTreeGridCtrl::CTreeItem* account = m_grid.InsertRootItem(bench::TreeRowInfo(bench::TreeRowLabel('A', a)));
            for (int p = 0; p < kPositions; ++p)
                m_grid.InsertItem(account, bench::TreeRowInfo(bench::TreeRowLabel('P', p)), update);
        }
    }
    void ExpandAll()
    {
        for (int a = 0; a < m_grid.GetRootCount(); ++a) {
            int row = 0;
            m_grid.ExpandAll(m_grid.GetRootItem(a), row);
        }
    }

    CWnd m_frame;
    CCountingGrid m_grid;
};

} // namespace

int main(int argc, char** argv)
{
    if (argc > 1)
        kAccounts = std::atoi(argv[1]);
    using orv::bench::Case;
    std::unique_ptr<CBlotter> blotter;
    const auto fresh = [&] { blotter = std::make_unique<CBlotter>(); };
    const auto freshFilled = [&](BOOL update) {
        fresh();
        blotter->m_grid.SetRedraw(FALSE);
        blotter->Fill(update);
        blotter->m_grid.SetRedraw(TRUE);
        PumpPending();
    };
    const auto drop = [&] { blotter.reset(); };

    // A bulk build goes with redrawing off, as with any list view: with it
    // on, every shown insert updates the list's scroll bars at once.
    orv::bench::Run(Case{"TreeGridInsert10000", 5, 1, 1e-3, "ms", fresh,
                         [&](int) {
                             blotter->m_grid.SetRedraw(FALSE);
                             blotter->Fill(TRUE);
                             blotter->m_grid.SetRedraw(TRUE);
                         },
                         drop});
    // One position added under a shown account of a full, expanded grid,
    // redrawing on and the window updated, as an order fill adds one.
    freshFilled(TRUE);
    CTreeGridCtrl::CTreeItem* shownAccount = blotter->m_grid.GetRootItem(0);
    orv::bench::Run(Case{"TreeGridInsertOneShown", 5, 100, 1e-6, "us", nullptr,
                         [&](int i) {
                             blotter->m_grid.InsertItem(shownAccount, bench::TreeRowInfo(bench::TreeRowLabel('N', i)), TRUE);
                             ::UpdateWindow(blotter->m_grid);
                         },
                         nullptr});
    drop();
    orv::bench::Run(Case{"TreeGridExpandAll10000", 5, 1, 1e-3, "ms", [&] { freshFilled(FALSE); },
                         [&](int) { blotter->ExpandAll(); }, drop});
    orv::bench::Run(Case{"TreeGridSortExpanded10000", 5, 1, 1e-3, "ms", [&] { freshFilled(TRUE); },
                         [&](int) {
                             blotter->m_grid.Sort(nullptr, TRUE);
                             ::UpdateWindow(blotter->m_grid);
                         },
                         drop});

    // One P&L cell on show: the first position under the first account once
    // the tree is sorted, in the grid's top rows.
    freshFilled(TRUE);
    blotter->m_grid.Sort(nullptr, TRUE);
    PumpPending();
    CTreeGridCtrl::CTreeItem* position = blotter->m_grid.GetRootItem(0)->GetChild(0);
    char text[32];
    const long drawnBefore = blotter->m_grid.m_rowsDrawn;
    int tick = 0;
    int repaints = 0;
    orv::bench::Run(Case{"TreeGridOneCellRepaint", 5, 2000, 1e-6, "us", nullptr,
                         [&](int) {
                             ++tick;
                             std::snprintf(text, sizeof text, "%d.%02d", tick / 100, tick % 100);
                             blotter->m_grid.SetCellText(position, kPnlColumn, text);
                             ::UpdateWindow(blotter->m_grid);
                             ++repaints;
                         },
                         nullptr});
    const long drawnByRepaints = blotter->m_grid.m_rowsDrawn - drawnBefore;
    orv::bench::Run(Case{"TreeGridOneCellTextOnly", 5, 2000, 1e-6, "us", nullptr,
                         [&](int) {
                             ++tick;
                             std::snprintf(text, sizeof text, "%d.%02d", tick / 100, tick % 100);
                             blotter->m_grid.SetCellText(position, kPnlColumn, text);
                             ::ValidateRect(blotter->m_grid, nullptr);
                         },
                         nullptr});
    // The row drawn into a memory bitmap: the control's own drawing, without
    // the window system's paint cycle.
    {
        CClientDC screen(HWND(blotter->m_grid));
        CDC memory;
        CBitmap bitmap;
        memory.CreateCompatibleDC(screen);
        bitmap.CreateCompatibleBitmap(screen, 600, 400);
        CSelectScope bitmapInDc(memory, bitmap);
        DRAWITEMSTRUCT item {};
        item.CtlType = ODT_LISTVIEW;
        item.itemID = UINT(position->GetCurIndex());
        item.itemAction = ODA_DRAWENTIRE;
        item.hwndItem = blotter->m_grid;
        item.hDC = memory;
        blotter->m_grid.GetItemRect(position->GetCurIndex(), &item.rcItem, LVIR_BOUNDS);
        orv::bench::Run(Case{"TreeGridOneRowDrawOnly", 5, 2000, 1e-6, "us", nullptr,
                             [&](int) { blotter->m_grid.DrawItem(&item); }, nullptr});
        // As a cell's repaint asks: the P&L cell alone inside the clip.
        CRect cell;
        blotter->m_grid.GetSubItemRect(position->GetCurIndex(), kPnlColumn, LVIR_BOUNDS, cell);
        ::IntersectClipRect(memory, cell.left, item.rcItem.top, cell.right, item.rcItem.bottom);
        orv::bench::Run(Case{"TreeGridOneCellDrawOnly", 5, 2000, 1e-6, "us", nullptr,
                             [&](int) { blotter->m_grid.DrawItem(&item); }, nullptr});
    }
    // The window system's floor: a child window of one cell's size that
    // draws nothing, invalidated and updated the same way.
    {
        CWnd empty;
        empty.CreateEx(0, nullptr, "", WS_CHILD | WS_VISIBLE, CRect(400, 300, 500, 318), blotter->m_frame, 200);
        PumpPending();
        orv::bench::Run(Case{"WindowEmptyRepaint", 5, 2000, 1e-6, "us", nullptr,
                             [&](int) {
                                 ::InvalidateRect(empty, nullptr, FALSE);
                                 ::UpdateWindow(empty);
                             },
                             nullptr});
        empty.DestroyWindow();
    }
    // The system's own report list doing the same: 10,000 rows of three
    // texts, one cell's text set and the window updated, and one row
    // inserted near the top.
    {
        CListCtrl list;
        list.Create(WS_CHILD | WS_VISIBLE | LVS_REPORT, CRect(0, 0, 600, 400), &blotter->m_frame, 300);
        list.SetFont(HFONT(::GetStockObject(DEFAULT_GUI_FONT)));
        for (int i = 0; i < 3; ++i)
            list.InsertColumn(i, "", LVCFMT_LEFT, 100);
        list.SetRedraw(FALSE);
        for (int row = 0; row < kAccounts * (kPositions + 1); ++row) {
            list.InsertItem(row, bench::TreeRowLabel('P', row).c_str());
            list.SetItemText(row, 1, "100");
            list.SetItemText(row, 2, "0.00");
        }
        list.SetRedraw(TRUE);
        ::ShowWindow(blotter->m_grid, SW_HIDE);
        PumpPending();
        orv::bench::Run(Case{"ListViewOneCellRepaint", 5, 2000, 1e-6, "us", nullptr,
                             [&](int) {
                                 ++tick;
                                 std::snprintf(text, sizeof text, "%d.%02d", tick / 100, tick % 100);
                                 list.SetItemText(1, 2, text);
                                 ::UpdateWindow(list);
                             },
                             nullptr});
        orv::bench::Run(Case{"ListViewInsertOneShown", 5, 100, 1e-6, "us", nullptr,
                             [&](int i) {
                                 list.InsertItem(2, bench::TreeRowLabel('N', i).c_str());
                                 list.SetItemText(2, 1, "100");
                                 list.SetItemText(2, 2, "0.00");
                                 ::UpdateWindow(list);
                             },
                             nullptr});
        list.DestroyWindow();
        ::ShowWindow(blotter->m_grid, SW_SHOW);
    }
    std::printf("rows drawn per cell update: %.2f (row %d of %d)\n",
                double(drawnByRepaints) / repaints, position->GetCurIndex(),
                blotter->m_grid.GetItemCount());
    drop();
    return 0;
}

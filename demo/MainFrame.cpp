#include "MainFrame.h"

#include "DemoSettings.h"

#include "controls/win/Monitors.h"
#include "framework/win/RegisteredMessages.h"
#include "resources/resource.h"
#include "services/Registry.h"

#include <algorithm>
#include <iterator>

namespace {

constexpr int kBlotterHeight = 230;
constexpr const char* kWindowRectValue = "WindowRect";

// True when a monitor shows the middle of the caption, where the window can
// be dragged from.
bool CaptionIsOnScreen(const CRect& window)
{
    return CMonitors::IsOnScreen(CPoint((window.left + window.right) / 2, window.top + 10));
}

} // namespace

CDemoFrame::CDemoFrame()
{
    // The frame lives on the stack of WinMain.
    m_bAutoDelete = FALSE;
}

BOOL CDemoFrame::Create(bool peer)
{
    const int top = peer ? 420 : 40;
    const CRect rect(40, top, 40 + COrderTicket::kWidth + CQuotePanel::kWidth + 40, top + 640);
    return CFrameWnd::Create(peer ? "OrvDemo (peer)" : "OrvDemo",
                             WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_THICKFRAME, rect);
}

int CDemoFrame::OnCreate(CREATESTRUCTA* cs)
{
    if (CFrameWnd::OnCreate(cs) == -1 || !CreateBars() || !CreatePanes())
        return -1;
    AddCommands();
    RecalcLayout();
    ShowPaneSizes();
    return 0;
}

bool CDemoFrame::CreateBars()
{
    const UINT buttons[] = {ID_DEMO_BUY, ID_DEMO_SELL, ID_SEPARATOR, ID_DEMO_CANCEL_ALL, ID_SEPARATOR, ID_DEMO_LOCK};
    if (!m_toolBar.Create(m_hWnd) || !m_toolBar.LoadBitmap(IDB_ORV_TOOLBAR) ||
        !m_toolBar.SetButtons(buttons, int(std::size(buttons))))
        return false;
    // The strip's images: columns, rows, lock, refresh.
    const struct {
        UINT id;
        int image;
        const char* text;
    } looks[] = {{ID_DEMO_BUY, 0, "Buy"}, {ID_DEMO_SELL, 1, "Sell"}, {ID_DEMO_CANCEL_ALL, 3, "Cancel all"},
                 {ID_DEMO_LOCK, 2, "Lock layout"}};
    for (const auto& look : looks) {
        m_toolBar.SetButtonImage(look.id, look.image);
        m_toolBar.SetButtonText(look.id, look.text);
    }
    const int parts[] = {420, -1};
    return m_statusBar.Create(m_hWnd) && m_statusBar.SetParts(parts, 2) && m_statusBar.SetPaneText(0, "Ready");
}

// Two rows; the top row is a splitter of its own with the ticket and the
// market side by side.
bool CDemoFrame::CreatePanes()
{
    if (!m_rows.CreateStatic(this, 2, 1) ||
        !m_top.CreateStatic(&m_rows, 1, 2, WS_CHILD | WS_VISIBLE, m_rows.IdFromRowCol(0, 0)) ||
        !m_ticket.Create(m_top, m_top.IdFromRowCol(0, 0)) || !m_market.Create(m_top, m_top.IdFromRowCol(0, 1)) ||
        !m_blotter.Create(m_rows, m_rows.IdFromRowCol(1, 0)))
        return false;
    m_rows.SetRowInfo(0, COrderTicket::kHeight, 120);
    m_rows.SetRowInfo(1, kBlotterHeight, 60);
    m_top.SetColumnInfo(0, COrderTicket::kWidth, 120);
    m_top.SetColumnInfo(1, CQuotePanel::kWidth, 120);
    // The blotter's P&L follows each burst of the feed.
    m_blotter.SetQuoteSource([this](const char* symbol) { return Quotes().FindQuote(symbol); });
    m_blotter.SetStatusSink([this](const CString& text) { m_statusBar.SetPaneText(0, text); });
    Quotes().SetBurstListener([this] { m_blotter.Refresh(); });
    Quotes().SetPickListener([this](const char* symbol) { m_ticket.TakeSymbol(symbol, "picked from the quote list"); });
    m_top.RecalcLayout();
    m_rows.RecalcLayout();
    return true;
}

void CDemoFrame::AddCommands()
{
    SetCommandHandler(ID_DEMO_BUY, [this] { m_ticket.ChooseSide(true); });
    SetCommandUpdateHandler(ID_DEMO_BUY, [this](CCmdUI* item) { item->SetCheck(m_ticket.IsBuySide() ? 1 : 0); });
    SetCommandHandler(ID_DEMO_SELL, [this] { m_ticket.ChooseSide(false); });
    SetCommandUpdateHandler(ID_DEMO_SELL, [this](CCmdUI* item) { item->SetCheck(m_ticket.IsBuySide() ? 0 : 1); });
    SetCommandHandler(ID_DEMO_CANCEL_ALL, [this] {
        m_blotter.CancelAllOrders();
        m_statusBar.SetPaneText(0, "Every working order cancelled");
    });
    // Nothing to cancel: the button is greyed.
    SetCommandUpdateHandler(ID_DEMO_CANCEL_ALL,
                            [this](CCmdUI* item) { item->Enable(m_blotter.ActiveOrderCount() > 0); });
    SetCommandHandler(ID_DEMO_LOCK, [this] {
        const BOOL lock = !m_rows.GetLock();
        m_rows.SetLock(lock);
        m_top.SetLock(lock);
        m_statusBar.SetPaneText(0, lock ? "Layout locked" : "Layout unlocked");
    });
    SetCommandUpdateHandler(ID_DEMO_LOCK, [this](CCmdUI* item) { item->SetCheck(m_rows.GetLock() ? 1 : 0); });
}

void CDemoFrame::ShowPaneSizes()
{
    int ticket = 0, market = 0, top = 0, blotter = 0, least = 0;
    m_top.GetColumnInfo(0, ticket, least);
    m_top.GetColumnInfo(1, market, least);
    m_rows.GetRowInfo(0, top, least);
    m_rows.GetRowInfo(1, blotter, least);
    CString text;
    text.Format("Panes: ticket %d, market %d, top %d, blotter %d pixels", ticket, market, top, blotter);
    m_statusBar.SetPaneText(1, text);
}

LRESULT CDemoFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == RWM_ORV_SPLITTER_RESIZED && message != 0) {
        ShowPaneSizes();
        return 0;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

void CDemoFrame::RestorePlacement()
{
    m_bKeepPlacement = true;
    CRegistry registry;
    CRect saved;
    if (!registry.Open(HKEY_CURRENT_USER, kDemoSettingsKey, KEY_READ) || !registry.Read(kWindowRectValue, saved) ||
        saved.Width() < 200 || saved.Height() < 200)
        return;
    if (!CaptionIsOnScreen(saved)) {
        // Centred on the work area of the monitor nearest the old place,
        // no larger than it.
        CRect work;
        if (!CMonitors::GetNearestMonitor(saved).GetWorkAreaRect(work))
            return;
        const int width = std::min(saved.Width(), work.Width());
        const int height = std::min(saved.Height(), work.Height());
        const CPoint corner(work.left + (work.Width() - width) / 2, work.top + (work.Height() - height) / 2);
        saved = CRect(corner, CSize(width, height));
        m_statusBar.SetPaneText(0, "The window's last place is off screen: it opens on the nearest monitor");
    }
    MoveWindow(saved, FALSE);
}

void CDemoFrame::SavePlacement()
{
    CRegistry registry;
    const CRect rect = GetWindowRect();
    if (!::IsIconic(m_hWnd) && !::IsZoomed(m_hWnd) && registry.CreateKey(HKEY_CURRENT_USER, kDemoSettingsKey))
        registry.Write(kWindowRectValue, rect);
}

void CDemoFrame::OnDestroy()
{
    if (m_bKeepPlacement)
        SavePlacement();
    CFrameWnd::OnDestroy();
    ::PostQuitMessage(0);
}

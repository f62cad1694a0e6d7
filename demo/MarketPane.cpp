#include "MarketPane.h"

#include <algorithm>

namespace {

constexpr int kAlertTop = CQuotePanel::kHeight + 40;

} // namespace

BOOL CMarketPane::Create(CWnd& parent, UINT id)
{
    const char* windowClass = RegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW),
                                               reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateEx(0, windowClass, "Market", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                    CRect(0, 0, CQuotePanel::kWidth, kAlertTop + 100), parent, id);
}

int CMarketPane::OnCreate(CREATESTRUCTA* cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    if (!m_quotes.Create(*this, CPoint(0, 0)))
        return -1;
    m_alert.Create(*this, CRect(0, kAlertTop, CQuotePanel::kWidth, kAlertTop + 100));
    return 0;
}

void CMarketPane::OnSize(UINT, int cx, int cy)
{
    if (m_alert.IsWindow())
        m_alert.MoveWindow(CRect(0, kAlertTop, std::max(cx, 1), std::max(cy, kAlertTop + 1)));
}

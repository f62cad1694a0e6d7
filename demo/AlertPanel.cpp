#include "AlertPanel.h"

#include "controls/win/SymbolDragDrop.h"
#include "market/SecurityType.h"

namespace {

const ULONG kTradable = SYMTYPE_EQUITY | SYMTYPE_OPTION | SYMTYPE_FUTURES | SYMTYPE_INDEX | SYMTYPE_FOREX;

} // namespace

BOOL CAlertPanel::Create(CWnd& owner, const CRect& rect)
{
    const char* windowClass = RegisterWndClass(0, ::LoadCursor(nullptr, IDC_ARROW),
                                               reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    return CreateEx(0, windowClass, "Alert", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect, owner, 0);
}

int CAlertPanel::OnCreate(CREATESTRUCTA* cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    m_font.CreatePointFont(90, "Tahoma");
    m_frame.Create("", WS_VISIBLE | SS_NOTIFY, CRect(8, 4, 524, 44), this);
    m_frame.SetMinWidth(200);
    m_glyph.Create("", WS_VISIBLE | SS_NOTIFY, CRect(16, 18, 29, 28), this, IDC_ALERT_GLYPH);
    const struct {
        CStatic& label;
        const char* text;
        CRect rect;
    } labels[] = {
        {m_when, "Alert when", CRect(36, 15, 100, 31)},
        {m_above, "trades at or above", CRect(192, 15, 306, 31)},
        {m_state, "Drop a symbol from the quotes on the alert", CRect(16, 52, 524, 68)},
    };
    for (const auto& label : labels) {
        label.label.Create(label.text, WS_VISIBLE | SS_LEFT, label.rect, this);
        label.label.SetFont(m_font);
    }
    m_symbol.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "MSFT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_UPPERCASE,
                      CRect(104, 12, 184, 33), m_hWnd, IDC_ALERT_SYMBOL);
    m_symbol.SetFont(m_font);
    m_symbol.SetBkColor(RGB(255, 250, 220));
    m_price.CreateEx(WS_EX_CLIENTEDGE, WS_VISIBLE | WS_TABSTOP | ES_RIGHT | ES_AUTOHSCROLL, CRect(310, 12, 394, 33),
                     this, IDC_ALERT_PRICE);
    m_price.SetFont(m_font);
    m_price.SetValue(420.0);
    m_arm.Create("Arm", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(424, 10, 512, 35), this, IDC_ALERT_ARM);
    m_arm.SetFont(m_font);
    m_arm.SetToolTipText("Arm the alert; drop a symbol on any part of it first");
    return 0;
}

// The labels inside the frame sit on its fill.
LRESULT CAlertPanel::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND control = reinterpret_cast<HWND>(lParam);
    if (message != WM_CTLCOLORSTATIC || (control != m_when.GetSafeHwnd() && control != m_above.GetSafeHwnd()))
        return CWnd::WindowProc(message, wParam, lParam);
    const COLORREF fill = CCondFrameStatic::FillColor(::GetSysColor(COLOR_BTNFACE));
    if (m_fill.IsNull())
        m_fill.CreateSolidBrush(fill);
    ::SetBkColor(reinterpret_cast<HDC>(wParam), fill);
    return reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_fill));
}

void CAlertPanel::Fold(bool expanded)
{
    m_frame.SetExpanded(expanded);
    m_glyph.SetExpanded(expanded);
    for (CWnd* part : {static_cast<CWnd*>(&m_when), static_cast<CWnd*>(&m_above), static_cast<CWnd*>(&m_symbol),
                       static_cast<CWnd*>(&m_price), static_cast<CWnd*>(&m_arm)})
        part->ShowWindow(expanded ? SW_SHOW : SW_HIDE);
    // The spin follows its edit.
    if (HWND spin = ::GetDlgItem(m_hWnd, IDC_ALERT_PRICE_SPIN))
        ::ShowWindow(spin, expanded ? SW_SHOW : SW_HIDE);
}

BOOL CAlertPanel::OnCommand(WPARAM wParam, LPARAM)
{
    if (HIWORD(wParam) == STN_CLICKED && LOWORD(wParam) == IDC_ALERT_GLYPH) {
        Fold(!m_glyph.IsExpanded());
        return TRUE;
    }
    if (HIWORD(wParam) != BN_CLICKED || LOWORD(wParam) != IDC_ALERT_ARM)
        return FALSE;
    CString text;
    text.Format("Armed: %s at or above %s", m_symbol.GetWindowText().GetString(),
                m_price.GetWindowText().GetString());
    m_state.SetWindowText(text);
    return TRUE;
}

DROPEFFECT CAlertPanel::OnCondDragOver(COleDataObject* data, DWORD, CPoint)
{
    return GetDragDropSymbol(data, kTradable, nullptr, 0) ? DROPEFFECT_COPY : DROPEFFECT_NONE;
}

BOOL CAlertPanel::OnCondDrop(COleDataObject* data, DROPEFFECT, CPoint)
{
    CString symbol;
    if (!GetDragDropSymbol(symbol, data, kTradable))
        return FALSE;
    m_symbol.SetWindowText(symbol);
    CString text;
    text.Format("%s dropped on the alert", symbol.GetString());
    m_state.SetWindowText(text);
    return TRUE;
}

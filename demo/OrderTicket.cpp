#include "OrderTicket.h"

#include "DemoResources.h"

#include "framework/win/Dialog.h"
#include "framework/win/Menu.h"
#include "framework/win/RegisteredMessages.h"

#include <algorithm>

namespace {

enum : UINT {
    IDC_SYMBOL = 100, IDC_LOOKUP, IDC_QUANTITY, IDC_QUANTITY_SPIN, IDC_LIMIT, IDC_LIMIT_SPIN, IDC_STOP,
    IDC_STOP_SPIN, IDC_BUY, IDC_SELL, IDC_SEND, IDC_AON, IDC_ABOUT, IDC_STATUS
};

const UINT kDropDown = static_cast<UINT>(-1248);
const int kEditLeft = 90;
const int kEditHeight = 21;

} // namespace

// ------------------------------------------------------ CTicketNumEdit

void CTicketNumEdit::Setup(double value, double minimum, double maximum, double step, int decimals)
{
    m_value = value;
    m_minimum = minimum;
    m_maximum = maximum;
    m_step = step;
    m_decimals = decimals;
    Show();
}

void CTicketNumEdit::ChangeAmount(int steps)
{
    m_value = std::clamp(m_value + steps * m_step, m_minimum, m_maximum);
    Show();
}

void CTicketNumEdit::Show()
{
    CString text;
    text.Format("%.*f", m_decimals, m_value);
    SetWindowText(text);
}

LRESULT CTicketNumEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != 0 && message == RWM_ORV_GETBUDDY)
        return reinterpret_cast<LRESULT>(m_spin.GetSafeHwnd());
    return CNimHoverEdit::WindowProc(message, wParam, lParam);
}

// -------------------------------------------------------- COrderTicket

BOOL COrderTicket::Create()
{
    const char* windowClass = RegisterWndClass(CS_DBLCLKS, ::LoadCursor(nullptr, IDC_ARROW),
                                               reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    RECT frame {0, 0, 392, 262};
    ::AdjustWindowRectEx(&frame, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX, FALSE, 0);
    return CreateEx(0, windowClass, "OrvDemo - Order ticket",
                    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
                    CRect(60, 60, 60 + frame.right - frame.left, 60 + frame.bottom - frame.top), nullptr, 0);
}

void COrderTicket::AddLabel(const char* text, int y)
{
    CStatic& label = m_labels[m_labelCount++];
    label.Create(text, WS_VISIBLE | SS_LEFT, CRect(16, y + 3, kEditLeft - 6, y + 19), this);
    label.SetFont(m_font);
}

void COrderTicket::AddNumber(CTicketNumEdit& edit, UINT id, int y, double value, double minimum, double maximum,
                             double step, int decimals)
{
    edit.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_RIGHT,
                  CRect(kEditLeft, y, kEditLeft + 100, y + kEditHeight), m_hWnd, id);
    edit.SetFont(m_font);
    edit.SetSelectAllOnFocus(TRUE);
    edit.m_spin.Create(WS_VISIBLE | UDS_ARROWKEYS, CRect(kEditLeft + 100, y, kEditLeft + 117, y + kEditHeight), this,
                       id + 1);
    edit.m_spin.SetBuddy(&edit);
    edit.Setup(value, minimum, maximum, step, decimals);
}

int COrderTicket::OnCreate(CREATESTRUCTA* cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    NONCLIENTMETRICSA metrics {};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    m_font.CreateFontIndirect(metrics.lfMessageFont);

    AddLabel("Symbol", 16);
    m_symbol.CreateEx(WS_EX_CLIENTEDGE, "EDIT", "MSFT", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_UPPERCASE,
                      CRect(kEditLeft, 16, kEditLeft + 100, 16 + kEditHeight), m_hWnd, IDC_SYMBOL);
    m_symbol.SetFont(m_font);
    m_lookup.Create("...", WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, CRect(0, 0, 24, 20), this, IDC_LOOKUP);
    m_lookup.SetFont(m_font);
    m_lookup.SetBuddy(m_symbol, TRUE);

    AddLabel("Quantity", 50);
    AddNumber(m_quantity, IDC_QUANTITY, 50, 100, 1, 1000000, 100, 0);
    AddLabel("Limit", 84);
    AddNumber(m_limit, IDC_LIMIT, 84, 412.35, 0.01, 100000, 0.05, 2);
    AddLabel("Stop", 118);
    AddNumber(m_stop, IDC_STOP, 118, 405.00, 0.01, 100000, 0.05, 2);

    struct ButtonSpec {
        CNimHoverButton& button;
        const char* text;
        DWORD style;
        CRect rect;
        UINT id;
    } buttons[] = {
        {m_buy, "Buy", BS_DEFPUSHBUTTON, CRect(16, 166, 96, 192), IDC_BUY},
        {m_sell, "Sell", BS_PUSHBUTTON, CRect(104, 166, 184, 192), IDC_SELL},
        {m_send, "Send", BS_PUSHBUTTON, CRect(192, 166, 292, 192), IDC_SEND},
        {m_allOrNone, "AON", BS_PUSHBUTTON, CRect(300, 166, 376, 192), IDC_AON},
        {m_about, "About...", BS_PUSHBUTTON, CRect(296, 16, 376, 42), IDC_ABOUT},
    };
    for (ButtonSpec& spec : buttons) {
        spec.button.Create(spec.text, WS_VISIBLE | WS_TABSTOP | spec.style, spec.rect, this, spec.id);
        spec.button.SetFont(m_font);
    }
    m_buy.SetTextColor(RGB(0, 96, 0));
    m_sell.SetTextColor(RGB(160, 0, 0));
    m_send.SetSplitButton(TRUE);
    m_allOrNone.SetSelected(m_allOrNoneOn);

    m_status.Create("Ready", WS_VISIBLE | SS_LEFT | SS_SUNKEN, CRect(16, 226, 376, 246), this, IDC_STATUS);
    m_status.SetFont(m_font);
    return 0;
}

void COrderTicket::Status(const char* text)
{
    m_status.SetWindowText(text);
}

BOOL COrderTicket::OnCommand(WPARAM wParam, LPARAM)
{
    switch (LOWORD(wParam)) {
    case IDC_BUY:
    case IDC_SELL: {
        if (HIWORD(wParam) != BN_CLICKED)
            return FALSE;
        CString text;
        text.Format("%s %s %s @ %s", LOWORD(wParam) == IDC_BUY ? "Buy" : "Sell", m_quantity.GetWindowText().GetString(),
                    m_symbol.GetWindowText().GetString(), m_limit.GetWindowText().GetString());
        Status(text);
        return TRUE;
    }
    case IDC_SEND:
        Status("Sent as a day order");
        return TRUE;
    case IDC_AON:
        // A click releases a selected button by itself; selecting it is ours.
        m_allOrNoneOn = !m_allOrNoneOn;
        m_allOrNone.SetSelected(m_allOrNoneOn);
        Status(m_allOrNoneOn ? "All or none: on" : "All or none: off");
        return TRUE;
    case IDC_LOOKUP:
        Status("Symbol look-up");
        return TRUE;
    case IDC_ABOUT: {
        CDialog about(IDD_ABOUT, this);
        about.DoModal();
        return TRUE;
    }
    case ID_SEND_DAY:
        Status("Sent as a day order");
        return TRUE;
    case ID_SEND_GTC:
        Status("Sent good till cancelled");
        return TRUE;
    case ID_SEND_IOC:
        Status("Sent immediate or cancel");
        return TRUE;
    default:
        return FALSE;
    }
}

// The split part of "Send" offers the order's duration.
BOOL COrderTicket::OnNotify(WPARAM, LPARAM lParam, LRESULT* result)
{
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code != kDropDown || header->idFrom != IDC_SEND)
        return FALSE;
    RECT split = *reinterpret_cast<const RECT*>(header + 1);
    ::MapWindowPoints(header->hwndFrom, nullptr, reinterpret_cast<POINT*>(&split), 2);
    CMenu menu;
    menu.CreatePopupMenu();
    menu.AppendMenu(MF_STRING, ID_SEND_DAY, "&Day");
    menu.AppendMenu(MF_STRING, ID_SEND_GTC, "&Good till cancelled");
    menu.AppendMenu(MF_STRING, ID_SEND_IOC, "&Immediate or cancel");
    menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_TOPALIGN, split.left, split.bottom, m_hWnd);
    *result = 0;
    return TRUE;
}

void COrderTicket::OnDestroy()
{
    CWnd::OnDestroy();
    ::PostQuitMessage(0);
}

// The message box's text: lines with bold runs, and a list block shown in a
// list box over placeholder lines.
#include "controls/win/HookedMsgBox.h"

#include "controls/win/WindowUtils.h"
#include "controls/win/WindowWrappers.h"
#include "framework/win/DC.h"

#include <algorithm>

using namespace hooked_msgbox;

namespace {

constexpr int kMaxListWidth = 768;
constexpr int kListId = 0x1F0;

CString WithoutReturn(const CString& line)
{
    CString plain = line;
    plain.TrimRight("\r");
    return plain;
}

} // namespace

int CHookedMsgBoxStatic::Layout(const CString& text)
{
    const LineLayout layout = LayoutLines(text);
    m_lines = layout.lines;
    m_blockLines = layout.blockLines;
    m_nBlockFirst = layout.first;
    m_nBlockSize = layout.BlockSize();
    HWND box = m_pMsgBox->GetSafeHwnd();
    const CRect before = CWindowRect(m_hWnd, box);
    const int oldGap = m_pMsgBox->GetClientRect().right - before.right;
    SetWindowText(layout.Joined());

    LOGFONTA logFont {};
    ::GetObjectA(GetFont(), sizeof logFont, &logFont);
    logFont.lfWeight = FW_BOLD;
    m_fontBold.DeleteObject();
    m_fontBold.CreateFontIndirect(logFont);

    CClientDC dc(m_hWnd);
    CSelectScope font(dc, GetFont());
    TEXTMETRICA metrics {};
    dc.GetTextMetrics(&metrics);
    m_nLineHeight = metrics.tmHeight;
    for (const CString& line : m_lines) {
        const CString plain = WithoutReturn(line);
        m_nLineHeight = std::max<int>(m_nLineHeight, dc.GetTextExtent(plain, plain.GetLength()).cy);
    }
    const CSize measured = MeasureOrDraw(dc, true);
    int grow = 0;
    if (measured.cx > before.Width()) {
        grow = measured.cx - before.Width();
        SetWindowPos(nullptr, 0, 0, measured.cx, before.Height(), SWP_NOMOVE | SWP_NOZORDER);
    }
    if (!layout.HasBlock())
        return grow;
    CreateListBox(layout);
    GrowForListBox(oldGap);
    return 0;
}

void CHookedMsgBoxStatic::CreateListBox(const LineLayout& layout)
{
    HWND box = m_pMsgBox->GetSafeHwnd();
    const CRect text = CWindowRect(m_hWnd, box);
    const int rows = std::min(layout.BlockSize(), kMaxListRows);
    const int border = ::GetSystemMetrics(SM_CXBORDER);

    CClientDC dc(m_hWnd);
    CSelectScope font(dc, GetFont());
    int widest = 0;
    for (const CString& line : m_blockLines) {
        const CString plain = WithoutReturn(line);
        widest = std::max<int>(widest, dc.GetTextExtent(plain, plain.GetLength()).cx);
    }
    const int frame = 3 * border + 2 * ::GetSystemMetrics(SM_CXEDGE) + ::GetSystemMetrics(SM_CXVSCROLL);
    int width = std::max<int>(text.Width(), widest + frame);
    MONITORINFO monitor {sizeof(MONITORINFO), {}, {}, 0};
    ::GetMonitorInfoA(::MonitorFromWindow(box, MONITOR_DEFAULTTONEAREST), &monitor);
    const int monitorWidth = monitor.rcMonitor.right - monitor.rcMonitor.left;
    width = std::min({width, kMaxListWidth, monitorWidth * 9 / 10});

    const CRect rect(text.left, text.top + m_nLineHeight * layout.first, text.left + width,
                     text.top + m_nLineHeight * (layout.first + rows) + 6);
    if (!m_listBox.CreateEx(WS_EX_CLIENTEDGE, "LISTBOX", "",
                            WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOINTEGRALHEIGHT, rect,
                            box, kListId))
        return;
    m_listBox.SetFont(GetFont());
    for (const CString& line : m_blockLines)
        m_listBox.AddString(WithoutReturn(line));
    const bool horizontal = widest + frame > width;
    if (horizontal)
        m_listBox.SendMessage(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest + 4));
    const int itemHeight = static_cast<int>(m_listBox.SendMessage(LB_GETITEMHEIGHT));
    const int height = itemHeight * rows + 2 * ::GetSystemMetrics(SM_CYEDGE)
        + (horizontal ? ::GetSystemMetrics(SM_CYHSCROLL) : 0);
    m_listBox.SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    // The lines after the block move down by what the list box takes more
    // than its placeholder lines.
    m_nBlockExtra = std::max<int>(0, rect.top - text.top + height - m_nLineHeight * (layout.first + rows));
}

// The static ends at the list box's bottom (the native box sized it for the
// whole block, so it usually shrinks), the box keeps the static's old gap to
// its right edge (plus 8), and the buttons follow.
void CHookedMsgBoxStatic::GrowForListBox(int oldGap)
{
    HWND box = m_pMsgBox->GetSafeHwnd();
    if (m_listBox.GetSafeHwnd() == nullptr)
        return;
    const CRect list = CWindowRect(m_listBox, box);
    const CRect text = CWindowRect(m_hWnd, box);
    // The lines after the block stay in view.
    const int bottom = std::max<int>(list.bottom,
                                     text.top + m_nLineHeight * static_cast<int>(m_lines.size()) + m_nBlockExtra);
    const int dy = bottom - text.bottom;
    SetWindowPos(nullptr, 0, 0, text.Width(), text.Height() + dy, SWP_NOMOVE | SWP_NOZORDER);
    KeepIconBeside(text.top, bottom);
    const int right = std::max<int>(text.right, list.right) + oldGap + 8;
    const int dx = std::max<int>(8, right - m_pMsgBox->GetClientRect().right);
    m_pMsgBox->Grow(dx, dy);
    m_pMsgBox->ShiftButtons(dx, dy, list.right);
}

// The native box centres its icon on the text it was given; a text that
// became shorter takes the icon up to its own top.
void CHookedMsgBoxStatic::KeepIconBeside(int top, int bottom)
{
    HWND box = m_pMsgBox->GetSafeHwnd();
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            continue;
        const CRect icon = CWindowRect(child, box);
        if (icon.bottom > bottom)
            ::SetWindowPos(child, nullptr, icon.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
}

CSize CHookedMsgBoxStatic::MeasureOrDraw(CDC& dc, bool measure)
{
    const HFONT normal = GetFont();
    if (!measure) {
        dc.SetBkMode(TRANSPARENT);
        ::SetTextAlign(dc, TA_UPDATECP);
        const COLORREF background = m_pMsgBox->GetOrderBkgndColor();
        dc.SetTextColor(background != kNoColor ? GetContrastingColor(TranslateColor(background))
                                               : ::GetSysColor(COLOR_WINDOWTEXT));
    }
    bool sawBold = false;
    int widest = 0;
    int y = 0;
    const int lastBlockLine = m_nBlockFirst + m_nBlockSize - 1;
    for (size_t index = 0; index < m_lines.size(); ++index) {
        const CString& line = m_lines[index];
        int width = 0;
        if (!measure)
            dc.MoveTo(0, y);
        for (const TextRun& run : SplitBoldRuns(WithoutReturn(line))) {
            CSelectScope font(dc, run.bold && m_fontBold.GetSafeHandle() != nullptr ? static_cast<HFONT>(m_fontBold)
                                                                                   : normal);
            width += dc.GetTextExtent(run.text, run.text.GetLength()).cx;
            if (!measure)
                dc.TextOut(0, 0, run.text, run.text.GetLength());
            sawBold = sawBold || run.bold;
        }
        widest = std::max(widest, width);
        y += m_nLineHeight + (static_cast<int>(index) == lastBlockLine ? m_nBlockExtra : 0);
    }
    if (!measure)
        ::SetTextAlign(dc, TA_NOUPDATECP);
    if (sawBold)
        m_bHasBold = TRUE;
    return CSize(sawBold ? widest + 2 : 0, y);
}

void CHookedMsgBoxStatic::OnPaint()
{
    if (!m_bHasBold && m_nBlockExtra == 0) {
        Default();
        return;
    }
    CPaintDC dc(m_hWnd);
    // The box chooses the background, as for the native text.
    const auto brush = reinterpret_cast<HBRUSH>(
        ::SendMessageA(GetParent(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.GetSafeHdc()),
                       reinterpret_cast<LPARAM>(m_hWnd)));
    if (brush != nullptr)
        dc.FillRect(GetClientRect(), brush);
    CSelectScope font(dc, GetFont());
    MeasureOrDraw(dc, false);
}

LRESULT CHookedMsgBoxStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_UPDATEUISTATE)
        return CStatic::WindowProc(message, wParam, lParam);
    const LRESULT result = Default();
    ::RedrawWindow(GetParent(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return result;
}

#include "controls/win/CondControls.h"
#include "controls/win/WindowWrappers.h"

#include "framework/win/DC.h"

// ---- CCondButton ----------------------------------------------------------

void CCondButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    Register();
}

void CCondButton::SetToolTipText(const char* text)
{
    if (m_toolTip.GetSafeHwnd() != nullptr)
        m_toolTip.DestroyWindow();
    if (m_hWnd != nullptr && m_toolTip.Create(this))
        m_toolTip.AddWindowTool(this, text);
}

// ---- CCondFrameStatic -----------------------------------------------------

COLORREF CCondFrameStatic::FillColor(COLORREF face)
{
    const auto part = [](BYTE value) { return static_cast<BYTE>(value / 1.1); };
    return RGB(part(GetRValue(face)), part(GetGValue(face)), part(GetBValue(face)));
}

void CCondFrameStatic::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    Register();
}

void CCondFrameStatic::SetExpanded(BOOL expanded)
{
    const bool expand = expanded != FALSE;
    if (expand == m_expanded || m_hWnd == nullptr)
        return;
    CRect rect = CWindowRect(m_hWnd, GetParent());
    if (!expand)
        m_expandedHeight = rect.Height();
    m_expanded = expand;
    const int height = expand ? m_expandedHeight : 1;
    SetWindowPos(nullptr, rect.left, rect.bottom - height, rect.Width(), height, SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

BOOL CCondFrameStatic::OnEraseBkgnd(CDC*)
{
    return TRUE; // OnPaint fills everything but the siblings
}

void CCondFrameStatic::OnPaint()
{
    CPaintDC dc(m_hWnd);
    // Siblings inside the frame keep their own painting.
    for (HWND sibling = ::GetWindow(m_hWnd, GW_HWNDFIRST); sibling != nullptr;
         sibling = ::GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling == m_hWnd || !::IsWindowVisible(sibling))
            continue;
        const CWindowRect rect(sibling, m_hWnd);
        ::ExcludeClipRect(dc.GetSafeHdc(), rect.left, rect.top, rect.right, rect.bottom);
    }
    dc.FillSolidRect(GetClientRect(), FillColor(::GetSysColor(COLOR_BTNFACE)));
}

LRESULT CCondFrameStatic::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_WINDOWPOSCHANGING && m_minWidth > 0) {
        auto* position = reinterpret_cast<WINDOWPOS*>(lParam);
        if ((position->flags & SWP_NOSIZE) == 0 && position->cx < m_minWidth)
            position->cx = m_minWidth;
    }
    return CStatic::WindowProc(message, wParam, lParam);
}

// ---- CCondExpandStatic ----------------------------------------------------

void CCondExpandStatic::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    SetWindowPos(nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    Register();
}

int CCondExpandStatic::OnCreate(CREATESTRUCTA* cs)
{
    // The creation sets the size asked for after the window was attached.
    const int result = CStatic::OnCreate(cs);
    SetWindowPos(nullptr, 0, 0, kWidth, kHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return result;
}

void CCondExpandStatic::SetExpanded(BOOL expanded)
{
    const bool expand = expanded != FALSE;
    if (expand == m_expanded)
        return;
    m_expanded = expand;
    if (m_hWnd != nullptr)
        Invalidate();
}

void CCondExpandStatic::OnPaint()
{
    CPaintDC dc(m_hWnd);
    const CRect client = GetClientRect();
    dc.FillSolidRect(client, ::GetSysColor(COLOR_BTNFACE));
    // A triangle pointing down when expanded, right when collapsed.
    const POINT down[] = {{2, 2}, {11, 2}, {6, 7}};
    const POINT right[] = {{4, 0}, {9, 5}, {4, 10}};
    CBrush brush(::GetSysColor(COLOR_BTNTEXT));
    HGDIOBJ oldBrush = ::SelectObject(dc.GetSafeHdc(), brush);
    HGDIOBJ oldPen = ::SelectObject(dc.GetSafeHdc(), ::GetStockObject(NULL_PEN));
    ::Polygon(dc.GetSafeHdc(), m_expanded ? down : right, 3);
    ::SelectObject(dc.GetSafeHdc(), oldPen);
    ::SelectObject(dc.GetSafeHdc(), oldBrush);
}

// ---- CCondSymbolEdit ------------------------------------------------------

void CCondSymbolEdit::PreSubclassWindow()
{
    CNimHoverEdit::PreSubclassWindow();
    LOGFONTA logFont {};
    HFONT current = GetFont();
    ::GetObjectA(current != nullptr ? current : ::GetStockObject(DEFAULT_GUI_FONT), sizeof logFont, &logFont);
    logFont.lfWeight = FW_BOLD;
    if (m_font.CreateFontIndirect(logFont))
        SetFont(m_font, FALSE);
    Register();
}

void CCondSymbolEdit::SetBkColor(COLORREF color)
{
    if (color == m_bkColor)
        return;
    m_bkColor = color;
    m_bkBrush.DeleteObject();
    if (color != kNoColor)
        m_bkBrush.CreateSolidBrush(color);
    if (m_hWnd != nullptr)
        Invalidate();
}

BOOL CCondSymbolEdit::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if ((message != WM_CTLCOLOREDIT && message != WM_CTLCOLORSTATIC) || m_bkColor == kNoColor)
        return CNimHoverEdit::OnChildNotify(message, wParam, lParam, result);
    ::SetBkColor(reinterpret_cast<HDC>(wParam), m_bkColor);
    *result = reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_bkBrush));
    return TRUE;
}

// ---- CCondPriceEdit -------------------------------------------------------

void CCondPriceEdit::PreSubclassWindow()
{
    CNimNumEdit::PreSubclassWindow();
    Register();
}

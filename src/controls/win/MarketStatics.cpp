#include "controls/win/MarketStatics.h"

#include "framework/win/DC.h"

#include <cmath>

using namespace orv::controls;

namespace {

DWORD SystemColor(int index)
{
    return ::GetSysColor(index);
}

COLORREF Resolved(COLORREF color)
{
    return ResolveColor(color, &SystemColor);
}

} // namespace

ORV_IMPLEMENT_DYNCREATE(CColorStatic)
ORV_IMPLEMENT_DYNCREATE(CMoneyStatic)
ORV_IMPLEMENT_DYNCREATE(CChangeWithPctStatic)
ORV_IMPLEMENT_DYNCREATE(CTickStatic)
ORV_IMPLEMENT_DYNCREATE(CVolumeStatic)
ORV_IMPLEMENT_DYNCREATE(CPercentStatic)

// -------------------------------------------------------- CColorStatic

void CColorStatic::SetBkColor(COLORREF color)
{
    m_crBackground = color;
    // A system colour takes the system's own brush when drawn, so that it
    // follows a change of the system's colours.
    if (IsSystemColorCode(color))
        m_brush.DeleteObject();
    else
        m_brush.CreateSolidBrush(color);
    Repaint();
}

void CColorStatic::SetTextColor(COLORREF color)
{
    if (color == m_crText)
        return;
    m_crText = color;
    Repaint();
}

void CColorStatic::SetTransparentBkMode(BOOL transparent)
{
    transparent = transparent ? TRUE : FALSE;
    if (transparent == m_bTransparent)
        return;
    m_bTransparent = transparent;
    Repaint();
}

void CColorStatic::Clear()
{
    ShowWindowText(CString());
}

BOOL CColorStatic::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_CTLCOLORSTATIC)
        return CStatic::OnChildNotify(message, wParam, lParam, result);
    *result = reinterpret_cast<LRESULT>(CtlColor(reinterpret_cast<HDC>(wParam)));
    return TRUE;
}

HBRUSH CColorStatic::CtlColor(HDC dc)
{
    ::SetTextColor(dc, Resolved(m_crText));
    if (m_bTransparent) {
        ::SetBkMode(dc, TRANSPARENT);
        return static_cast<HBRUSH>(::GetStockObject(HOLLOW_BRUSH));
    }
    ::SetBkColor(dc, Resolved(m_crBackground));
    if (IsSystemColorCode(m_crBackground) || m_brush.IsNull())
        return ::GetSysColorBrush(IsSystemColorCode(m_crBackground) ? int(m_crBackground & 0xFF) : COLOR_BTNFACE);
    return m_brush;
}

void CColorStatic::ShowWindowText(const CString& text)
{
    if (!IsWindow())
        return;
    // A static draws itself at once when its text is set, bypassing the
    // paint of a derived class (the sub-pips look); with redrawing off it
    // only takes the text, and the repaint below draws it once.
    const bool visible = IsWindowVisible() != FALSE;
    if (visible)
        SetRedraw(FALSE);
    SetWindowText(text);
    if (visible)
        SetRedraw(TRUE);
    Repaint();
}

void CColorStatic::Repaint()
{
    if (!IsWindow())
        return;
    if (m_bTransparent) {
        // The hollow brush leaves the old text: the parent paints under it.
        CRect rect = GetWindowRect();
        HWND parent = GetParent();
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
        ::RedrawWindow(parent, &rect, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return;
    }
    Invalidate(TRUE);
}

// -------------------------------------------------------- CMoneyStatic

void CMoneyStatic::SetValue(double value)
{
    if (value == m_dValue && !m_bForcing)
        return;
    m_dValue = value;
    ApplyAutoColor();
    if (!IsWindow())
        return;
    MoneyTextOptions options;
    options.format = m_nFormat;
    options.decimals = m_nDecimals;
    options.blankIfZero = m_bBlankIfZero;
    options.moneySymbol = m_bMoneySymbol;
    options.altCurrencyTitle = m_altTitle ? static_cast<const char*>(*m_altTitle) : nullptr;
    MoneyText text = FormatMoneyText(value, options);
    m_main = text.main;
    m_subPips = text.subPips;
    ShowMoneyText(text.text);
}

void CMoneyStatic::ResetValue()
{
    m_bForcing = true;
    SetValue(m_dValue);
    m_bForcing = false;
}

void CMoneyStatic::ApplyAutoColor()
{
    if (m_bAutoColor)
        SetTextColor(SignColor(m_dValue, m_crUp, m_crDown, m_crZero));
}

void CMoneyStatic::ShowMoneyText(const CString& text)
{
    ShowWindowText(text);
}

void CMoneyStatic::SetTextColors(COLORREF up, COLORREF down, COLORREF zero)
{
    m_crUp = up;
    m_crDown = down;
    m_crZero = zero;
    ApplyAutoColor();
}

BOOL CMoneyStatic::SetDisplayFormat(int format)
{
    if (format < FormatPrice || format > FormatPips)
        return FALSE;
    if (format != m_nFormat) {
        m_nFormat = format;
        m_main.Empty();
        m_subPips.Empty();
        ResetValue();
    }
    return TRUE;
}

void CMoneyStatic::SetMoneyFormat(bool on)
{
    if (on || m_nFormat == FormatMoney)
        SetDisplayFormat(on ? FormatMoney : FormatPrice);
}

void CMoneyStatic::SetSubPipsMode(bool on)
{
    if (on || m_nFormat == FormatSubPips)
        SetDisplayFormat(on ? FormatSubPips : FormatPrice);
}

void CMoneyStatic::SetBlankIfZero(bool blank)
{
    if (blank == m_bBlankIfZero)
        return;
    m_bBlankIfZero = blank;
    ResetValue();
}

void CMoneyStatic::SetAutoColor(bool autoColor)
{
    m_bAutoColor = autoColor;
    ApplyAutoColor();
}

void CMoneyStatic::SetMinNumDecimalPlaces(int decimals)
{
    if (decimals == m_nDecimals)
        return;
    m_nDecimals = decimals;
    ResetValue();
}

void CMoneyStatic::SetAltCurrencyTitle(const char* title)
{
    if (title == nullptr)
        m_altTitle.reset();
    else
        m_altTitle = CString(title);
    ResetValue();
}

void CMoneyStatic::SetDisplayMoneySymbol(bool show)
{
    if (show == m_bMoneySymbol)
        return;
    m_bMoneySymbol = show;
    ResetValue();
}

void CMoneyStatic::Clear()
{
    m_nDecimals = 2;
    m_dValue = 0;
    ResetValue();
}

HBRUSH CMoneyStatic::CtlColor(HDC dc)
{
    if (m_nFormat != FormatSubPips)
        return CColorStatic::CtlColor(dc);
    ::SetTextColor(dc, Resolved(m_crText));
    ::SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(HOLLOW_BRUSH));
}

BOOL CMoneyStatic::OnEraseBkgnd(CDC* dc)
{
    if (m_nFormat != FormatSubPips)
        return CColorStatic::OnEraseBkgnd(dc);
    return TRUE; // the paint draws the whole client area
}

void CMoneyStatic::OnDestroy()
{
    m_background.DeleteObject();
    CColorStatic::OnDestroy();
}

void CMoneyStatic::OnPaint()
{
    if (m_nFormat != FormatSubPips) {
        CColorStatic::OnPaint();
        return;
    }
    CPaintDC dc(m_hWnd);
    const CRect client = GetClientRect();
    CMemDC memory(dc, client);
    PaintSubPips(memory);
}

void CMoneyStatic::PaintSubPips(CDC& dc)
{
    const CRect client = GetClientRect();
    // The parent's pixels under the control, copied once: the control
    // then looks transparent without the parent painting under it.
    if (m_background.IsNull()) {
        HWND parent = GetParent();
        CRect rect = GetWindowRect();
        ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
        CClientDC parentDC(parent);
        CDC copy;
        if (m_background.CreateCompatibleBitmap(parentDC, client.Width(), client.Height())
            && copy.CreateCompatibleDC(parentDC)) {
            CSelectScope selected(copy, m_background);
            copy.FillSolidRect(client, ::GetSysColor(COLOR_BTNFACE));
            // Under a parent that clips its children the pixels are the
            // parent's own background only where it painted; start from
            // the button face, which is what such a parent paints.
            if ((::GetWindowLongA(parent, GWL_STYLE) & WS_CLIPCHILDREN) == 0)
                copy.BitBlt(0, 0, client.Width(), client.Height(), parentDC, rect.left, rect.top, SRCCOPY);
        }
    }
    if (!m_background.IsNull()) {
        CDC copy;
        copy.CreateCompatibleDC(dc);
        CSelectScope selected(copy, m_background);
        dc.BitBlt(0, 0, client.Width(), client.Height(), copy, 0, 0, SRCCOPY);
    } else {
        dc.FillSolidRect(client, ::GetSysColor(COLOR_BTNFACE));
    }

    HFONT font = GetFont();
    if (font == nullptr)
        font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    if (font != m_underlineSource) {
        LOGFONTA logFont {};
        ::GetObjectA(font, sizeof logFont, &logFont);
        logFont.lfUnderline = TRUE;
        m_underline.CreateFontIndirect(logFont);
        m_underlineSource = font;
    }
    CSelectScope mainFont(dc, font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(Resolved(m_crText));
    // The two parts side by side, placed as the static's alignment says, on
    // the line a plain static would write them: at the top, or centred with
    // SS_CENTERIMAGE.
    const int mainWidth = dc.GetTextExtent(m_main, m_main.GetLength()).cx;
    int subWidth = 0;
    {
        CSelectScope underline(dc, m_underline);
        subWidth = dc.GetTextExtent(m_subPips, m_subPips.GetLength()).cx;
    }
    const DWORD align = GetStyle() & SS_TYPEMASK;
    int x = client.left;
    if (align == SS_CENTER)
        x = client.left + (client.Width() - mainWidth - subWidth) / 2;
    else if (align == SS_RIGHT)
        x = client.right - mainWidth - subWidth;
    TEXTMETRICA metrics {};
    dc.GetTextMetrics(&metrics);
    int top = client.top;
    if (GetStyle() & SS_CENTERIMAGE)
        top += (client.Height() - metrics.tmHeight) / 2;
    const UINT oldAlign = ::SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_UPDATECP);
    dc.MoveTo(x, top + metrics.tmAscent);
    dc.TextOut(0, 0, m_main, m_main.GetLength());
    {
        CSelectScope underline(dc, m_underline);
        dc.TextOut(0, 0, m_subPips, m_subPips.GetLength());
    }
    ::SetTextAlign(dc, oldAlign);
}

// -------------------------------------------------------- CChangeWithPctStatic

void CChangeWithPctStatic::SetValue(double change, double percent)
{
    // A new percentage must show even when the change stays the same.
    if (percent != m_dPercent || (std::isnan(percent) != std::isnan(m_dPercent))) {
        m_dPercent = percent;
        m_bForcing = true;
        CMoneyStatic::SetValue(change);
        m_bForcing = false;
        return;
    }
    CMoneyStatic::SetValue(change);
}

void CChangeWithPctStatic::ShowMoneyText(const CString& text)
{
    m_lastText = AppendChangePercent(text, m_dPercent);
    CMoneyStatic::ShowMoneyText(m_lastText);
}

void CChangeWithPctStatic::Clear()
{
    m_dPercent = 0;
    CMoneyStatic::Clear();
    m_lastText.Empty();
    ShowWindowText(m_lastText);
}

// -------------------------------------------------------- CTickStatic

void CTickStatic::MakeArrowFont()
{
    HFONT font = GetFont();
    if (font != nullptr && font == m_arrowFont.GetSafeHandle())
        return;
    if (font == nullptr)
        font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA source {};
    ::GetObjectA(font, sizeof source, &source);
    LOGFONTA arrow {};
    arrow.lfHeight = static_cast<LONG>(source.lfHeight * 1.1);
    arrow.lfWeight = FW_BOLD;
    arrow.lfCharSet = DEFAULT_CHARSET;
    arrow.lfPitchAndFamily = FF_DECORATIVE;
    lstrcpynA(arrow.lfFaceName, "Wingdings", LF_FACESIZE);
    // The static lets go of its old font before this one replaces it.
    CFont made;
    if (!made.CreateFontIndirect(arrow))
        return;
    SetFont(static_cast<HFONT>(made.GetSafeHandle()), FALSE);
    m_arrowFont.Attach(made.Detach());
}

void CTickStatic::SetTick(int up)
{
    if (!IsWindow()) {
        // Kept for the first tick shown once the window exists.
        m_state.Set(up != 0);
        m_state.Clear();
        return;
    }
    if (!m_state.Set(up != 0))
        return;
    SetTextColor(m_state.IsUp() ? m_crUp : m_crDown);
    MakeArrowFont();
    const char glyph[2] = {m_state.Glyph(), '\0'};
    ShowWindowText(glyph);
}

void CTickStatic::SetTextColors(COLORREF up, COLORREF down)
{
    m_crUp = up;
    m_crDown = down;
}

void CTickStatic::Clear()
{
    m_state.Clear();
    CColorStatic::Clear();
}

// -------------------------------------------------------- CVolumeStatic

void CVolumeStatic::SetValue(LONG value)
{
    if (value == m_lValue)
        return;
    m_lValue = value;
    ResetValue();
}

void CVolumeStatic::ResetValue()
{
    if (m_bAutoColor)
        SetTextColor(SignColor(m_lValue, m_crUp, m_crDown, m_crZero));
    ShowWindowText(VolumeText(m_lValue, m_bLots));
}

void CVolumeStatic::SetTextColors(COLORREF up, COLORREF down, COLORREF zero)
{
    m_crUp = up;
    m_crDown = down;
    m_crZero = zero;
}

void CVolumeStatic::SetForexLotsMode(bool lots)
{
    if (lots == m_bLots)
        return;
    m_bLots = lots;
    ResetValue();
}

void CVolumeStatic::Clear()
{
    m_lValue = 0;
    CColorStatic::Clear();
}

// -------------------------------------------------------- CPercentStatic

void CPercentStatic::SetValue(double value)
{
    if (value == m_dValue)
        return;
    m_dValue = value;
    ResetValue();
}

void CPercentStatic::ResetValue()
{
    if (m_bAutoColor)
        SetTextColor(ThresholdColor(m_dValue, m_dThreshold, m_crUp, m_crDown));
    ShowWindowText(PercentText(m_dValue, m_nDecimals));
}

void CPercentStatic::SetTextColors(COLORREF up, COLORREF down)
{
    m_crUp = up;
    m_crDown = down;
}

void CPercentStatic::SetNumDecimalPlaces(int decimals)
{
    m_nDecimals = decimals >= 0 && decimals <= 9 ? decimals : 0;
    ResetValue();
}

void CPercentStatic::Clear()
{
    m_dValue = 0;
    m_nDecimals = 2;
    CColorStatic::Clear();
}

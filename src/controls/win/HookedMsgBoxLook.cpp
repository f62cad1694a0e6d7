// The message box's colours: the order background, the band sampled from
// the native painting, the border, and the colours of its controls.
#include "controls/win/HookedMsgBox.h"

#include "controls/win/WindowUtils.h"
#include "framework/win/DC.h"

using namespace hooked_msgbox;

namespace {

constexpr int kBandItem = 0xCAFE;

COLORREF ReadPixel(CDC& dc, int y)
{
    const COLORREF color = dc.GetPixel(0, y);
    return color == CLR_INVALID ? kNoColor : color;
}

} // namespace

void CHookedMsgBox::OnPaint()
{
    if (m_crOrderBkgnd == kNoColor && !m_bSampled) {
        // The native box paints first; its colours are read back from it.
        Default();
        m_bSampled = true;
        SampleBandColors();
        return;
    }
    CPaintDC dc(m_hWnd);
    PaintBackground(dc);
    DrawBorder(dc);
}

void CHookedMsgBox::PaintBackground(CDC& dc)
{
    const CRect client = GetClientRect();
    if (m_crOrderBkgnd != kNoColor) {
        dc.FillSolidRect(client, TranslateColor(m_crOrderBkgnd));
        return;
    }
    if (m_crTop == kNoColor)
        return;
    if (m_crBand == kNoColor || m_nBandTop < 0) {
        dc.FillSolidRect(client, m_crTop);
        return;
    }
    dc.FillSolidRect(CRect(client.left, client.top, client.right, m_nBandTop), m_crTop);
    dc.FillSolidRect(CRect(client.left, m_nBandTop, client.right, client.bottom), m_crBand);
}

void CHookedMsgBox::SampleBandColors()
{
    CClientDC dc(m_hWnd);
    const BandColors band = SampleBand(GetClientRect().Height(), [&](int y) { return ReadPixel(dc, y); });
    if (!band.valid)
        return;
    m_crTop = band.top;
    m_crBand = band.band;
    if (m_crBand != kNoColor && ::GetDlgItem(m_hWnd, kBandItem) != nullptr)
        ::ShowWindow(::GetDlgItem(m_hWnd, kBandItem), SW_HIDE);
    m_brBand.DeleteObject();
    m_brBand.CreateSolidBrush(m_crBand != kNoColor ? m_crBand : m_crTop);
    ComputeBandTop();
    RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CHookedMsgBox::ComputeBandTop()
{
    if (m_hWnd == nullptr || m_crOrderBkgnd != kNoColor || m_crBand == kNoColor)
        return;
    HWND button = nullptr;
    for (int id = IDOK; id <= 11 && button == nullptr; ++id)
        button = ::GetDlgItem(m_hWnd, id);
    if (button == nullptr)
        return;
    CRect rect;
    ::GetWindowRect(button, &rect);
    ScreenToClient(&rect);
    int reference = GetClientRect().bottom;
    if (m_separator.GetSafeHwnd() != nullptr) {
        CRect separator = m_separator.GetWindowRect();
        ScreenToClient(&separator);
        reference = separator.top;
    }
    m_nBandTop = BandTop(rect.top, rect.bottom, reference);
}

void CHookedMsgBox::DrawBorder(CDC& dc)
{
    if (m_border.color == kNoColor)
        return;
    if (m_border.pen.GetSafeHandle() == nullptr)
        m_border.pen.CreatePen(PS_SOLID, m_border.width, TranslateColor(m_border.color));
    CSelectScope pen(dc, m_border.pen);
    CSelectScope brush(dc, ::GetStockObject(NULL_BRUSH));
    CRect rect = GetClientRect();
    rect.DeflateRect(m_border.width, m_border.width);
    dc.Rectangle(rect);
}

HBRUSH CHookedMsgBox::OnCtlColor(CDC* dc, HWND wnd, UINT ctlType)
{
    if (m_crOrderBkgnd != kNoColor) {
        const COLORREF background = TranslateColor(m_crOrderBkgnd);
        if (m_brOrderBkgnd.GetSafeHandle() == nullptr)
            m_brOrderBkgnd.CreateSolidBrush(background);
        dc->SetBkMode(TRANSPARENT);
        dc->SetTextColor(GetContrastingColor(background));
        return m_brOrderBkgnd;
    }
    if (m_brBand.GetSafeHandle() != nullptr && IsOwnControl(wnd)) {
        dc->SetBkMode(TRANSPARENT);
        return m_brBand;
    }
    return CDialog::OnCtlColor(dc, wnd, ctlType);
}

LRESULT CALLBACK CHookedMsgBox::ChildDialogColors(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam,
                                                 UINT_PTR, DWORD_PTR data)
{
    if (message == WM_CTLCOLORDLG || message == WM_CTLCOLORSTATIC || message == WM_CTLCOLORBTN) {
        auto* box = reinterpret_cast<CHookedMsgBox*>(data);
        CDCHandle dc(reinterpret_cast<HDC>(wParam));
        HWND control = message == WM_CTLCOLORDLG ? wnd : reinterpret_cast<HWND>(lParam);
        // A control of this library that colours itself (a link) keeps its
        // colours.
        CWnd* object = message == WM_CTLCOLORDLG ? nullptr : CWnd::FromHandlePermanent(control);
        LRESULT own = 0;
        if (object != nullptr && object->OnChildNotify(message, wParam, lParam, &own))
            return own;
        if (HBRUSH brush = box->ChildColor(dc, control))
            return reinterpret_cast<LRESULT>(brush);
    }
    return ::DefSubclassProc(wnd, message, wParam, lParam);
}

// The brush for the embedded dialog and its controls, or null for their own.
HBRUSH CHookedMsgBox::ChildColor(CDC& dc, HWND wnd)
{
    if (m_crOrderBkgnd == kNoColor && (m_brBand.GetSafeHandle() == nullptr || !IsOwnControl(wnd)))
        return nullptr;
    return OnCtlColor(&dc, wnd, CTLCOLOR_STATIC);
}

// ------------------------------------------------------------ list box

CHookedMsgBoxListBox::CHookedMsgBoxListBox()
{
    m_brush.CreateSolidBrush(::GetSysColor(COLOR_BTNFACE));
}

BOOL CHookedMsgBoxListBox::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message != WM_CTLCOLORLISTBOX)
        return CListBox::OnChildNotify(message, wParam, lParam, result);
    ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_BTNFACE));
    *result = reinterpret_cast<LRESULT>(static_cast<HBRUSH>(m_brush));
    return TRUE;
}

// ------------------------------------------------------------ check box

namespace {

// The message box a window sits in, directly or inside its embedded dialog.
CHookedMsgBox* BoxOf(HWND wnd)
{
    for (HWND parent = ::GetParent(wnd); parent != nullptr; parent = ::GetParent(parent)) {
        if (auto* box = dynamic_cast<CHookedMsgBox*>(CWnd::FromHandlePermanent(parent)))
            return box;
    }
    return nullptr;
}

} // namespace

void CHookedMsgBoxCheckbox::OnPaint()
{
    Default();
    CHookedMsgBox* box = BoxOf(m_hWnd);
    if (box == nullptr || box->GetOrderBkgndColor() == kNoColor)
        return;
    // The label goes on the order background, right of the check glyph.
    const COLORREF background = TranslateColor(box->GetOrderBkgndColor());
    CClientDC dc(m_hWnd);
    CRect label = GetClientRect();
    label.left += ::GetSystemMetrics(SM_CXMENUCHECK) + 3;
    dc.FillSolidRect(label, background);
    CSelectScope font(dc, GetFont());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(GetContrastingColor(background));
    const CString text = GetWindowText();
    CRect textRect = label;
    dc.DrawText(text, &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_CALCRECT);
    textRect.top = label.top;
    textRect.bottom = label.bottom;
    dc.DrawText(text, &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (::GetFocus() == m_hWnd) {
        textRect.InflateRect(1, 0);
        dc.DrawFocusRect(textRect);
    }
}

void CHookedMsgBoxCheckbox::PostNcDestroy()
{
    if (m_bDeleteOnDestroy)
        delete this;
}

#include "controls/win/Led.h"

#include "framework/win/DC.h"
#include "platform/Module.h"
#include "resources/resource.h"

namespace {

const int kCell = 16;
const COLORREF kBackground = RGB(255, 0, 255);

bool IsColour(int colour)
{
    return colour == CLed::LedRed || colour == CLed::LedGreen || colour == CLed::LedYellow || colour == CLed::LedBlue;
}

} // namespace

CLed::CLed()
{
    m_strip.Attach(::LoadBitmapA(platform::LibraryModule(), MAKEINTRESOURCEA(IDB_LED)));
    BITMAP info {};
    if (m_strip.IsNull() || !m_strip.GetBitmap(&info))
        return;
    // A colour-to-monochrome copy turns the background colour white and
    // everything else black.
    CDC stripDC, maskDC;
    if (!stripDC.CreateCompatibleDC(nullptr) || !maskDC.CreateCompatibleDC(nullptr)
        || !m_mask.CreateBitmap(info.bmWidth, info.bmHeight, 1, 1, nullptr))
        return;
    CSelectScope strip(stripDC, m_strip);
    CSelectScope mask(maskDC, m_mask);
    stripDC.SetBkColor(kBackground);
    maskDC.BitBlt(0, 0, info.bmWidth, info.bmHeight, stripDC, 0, 0, SRCCOPY);
}

BOOL CLed::SetLed(int colour, int mode, int shape)
{
    if (!IsColour(colour) || mode < LedOn || mode > LedDisabled || (shape != LedRound && shape != LedSquare))
        return FALSE;
    m_nColour = colour;
    m_nMode = mode;
    m_nShape = shape;
    // Without a window there is nothing to draw on: the first paint shows it.
    if (IsWindow())
        RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    return TRUE;
}

BOOL CLed::Ping(UINT milliseconds)
{
    if (!IsWindow())
        return FALSE;
    if (m_bFlashing)
        KillTimer(kPingTimer);
    SetLed(m_nColour, LedOn, m_nShape);
    m_bFlashing = SetTimer(kPingTimer, milliseconds) != 0;
    return TRUE;
}

void CLed::OnTimer(UINT_PTR id)
{
    if (id != kPingTimer) {
        CStatic::OnTimer(id);
        return;
    }
    KillTimer(kPingTimer);
    m_bFlashing = false;
    SetLed(m_nColour, LedOff, m_nShape);
}

void CLed::OnDestroy()
{
    if (m_bFlashing)
        KillTimer(kPingTimer);
    m_bFlashing = false;
    CStatic::OnDestroy();
}

BOOL CLed::OnEraseBkgnd(CDC*)
{
    return TRUE; // the paint fills the background with the lamp
}

void CLed::OnPaint()
{
    CPaintDC dc(m_hWnd);
    Draw(dc);
}

void CLed::Draw(CDC& dc)
{
    const CRect client = GetClientRect();
    HBRUSH background = reinterpret_cast<HBRUSH>(
        ::SendMessageA(GetParent(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.GetSafeHdc()),
                       reinterpret_cast<LPARAM>(m_hWnd)));
    dc.FillRect(client, background != nullptr ? background : ::GetSysColorBrush(COLOR_BTNFACE));
    if (m_strip.IsNull() || m_mask.IsNull())
        return;
    const bool fits = client.Width() >= kCell && client.Height() >= kCell;
    const int x = fits ? client.left + (client.Width() - kCell) / 2 : client.left;
    const int y = fits ? client.top + (client.Height() - kCell) / 2 : client.top;
    const int cellX = m_nMode * kCell;
    const int cellY = m_nColour + m_nShape;

    CDC stripDC, maskDC;
    if (!stripDC.CreateCompatibleDC(dc) || !maskDC.CreateCompatibleDC(dc))
        return;
    CSelectScope strip(stripDC, m_strip);
    CSelectScope mask(maskDC, m_mask);
    // XOR the cell in, clear the lamp's pixels with the mask, XOR the cell
    // again: the lamp's pixels end as the cell's, the rest as they were.
    const COLORREF text = dc.SetTextColor(RGB(0, 0, 0));
    const COLORREF back = dc.SetBkColor(RGB(255, 255, 255));
    dc.BitBlt(x, y, kCell, kCell, stripDC, cellX, cellY, SRCINVERT);
    dc.BitBlt(x, y, kCell, kCell, maskDC, cellX, cellY, SRCAND);
    dc.BitBlt(x, y, kCell, kCell, stripDC, cellX, cellY, SRCINVERT);
    dc.SetTextColor(text);
    dc.SetBkColor(back);
}

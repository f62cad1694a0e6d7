#include "controls/win/DateTimeEdit.h"

#include "framework/win/DC.h"
#include "framework/win/RegisteredMessages.h"

#include <commctrl.h>

using orv::controls::DateTimeEditChange;
using orv::controls::DateTimeMask;

namespace {

// A spin step travels to the edit as this posted message, carrying the arrow
// key it stands for. A posted WM_KEYDOWN would not do: an up-down control
// with arrow keys watches its buddy's keys and would turn the arrow back
// into another step, and so on for ever.
UINT StepMessage()
{
    static const UINT id = ::RegisterWindowMessageA("OrvDateTimeEditStep");
    return id;
}

COleDateTime Now()
{
    return COleDateTime::GetCurrentTime();
}

} // namespace

CNimDateTimeEdit::CNimDateTimeEdit(UINT spinId, CNimHoverSpin* spin) : CNimSpinnableEdit(spinId, spin) {}

void CNimDateTimeEdit::SetMask(const char* mask)
{
    COleDateTime value;
    value.SetStatus(COleDateTime::invalid);
    if (IsWindow())
        value = m_mask.Read(GetWindowText());
    m_mask = DateTimeMask(mask);
    if (!IsWindow())
        return;
    SetDateTime(value.GetStatus() == COleDateTime::valid ? value : Now());
    ResizeToFit();
    Invalidate();
}

void CNimDateTimeEdit::SetTimeZoneSuffix(const char* suffix)
{
    const CString text = suffix != nullptr ? suffix : "";
    if (text == m_suffix)
        return;
    m_suffix = text;
    if (IsWindow()) {
        ResizeToFit();
        Invalidate();
    }
}

void CNimDateTimeEdit::SetAutoSize(BOOL autoSize)
{
    m_bAutoSize = autoSize != FALSE;
    ResizeToFit();
}

BOOL CNimDateTimeEdit::SetDateTime(const COleDateTime& value)
{
    if (!IsWindow() || value.GetStatus() != COleDateTime::valid)
        return FALSE;
    WriteText(m_mask.Write(value));
    return TRUE;
}

BOOL CNimDateTimeEdit::SetDateTime(const COrvDateTime& value)
{
    if (!IsWindow() || value.GetStatus() != COleDateTime::valid)
        return FALSE;
    WriteText(m_mask.WriteMarket(value));
    return TRUE;
}

COleDateTime CNimDateTimeEdit::GetDateTime(const char* text) const
{
    return m_mask.Read(text);
}

BOOL CNimDateTimeEdit::GetDateTime(COleDateTime& value) const
{
    value = m_mask.Read(GetWindowText());
    return value.GetStatus() == COleDateTime::valid;
}

BOOL CNimDateTimeEdit::GetDateTime(COrvDateTime& value) const
{
    value = m_mask.ReadMarket(GetWindowText());
    return value.GetStatus() == COleDateTime::valid;
}

void CNimDateTimeEdit::SelectField(char letter)
{
    int start = 0, end = 0;
    m_mask.FieldRange(letter, start, end);
    SetSel(start, end);
}

void CNimDateTimeEdit::WriteText(const CString& text)
{
    int start = 0, end = 0;
    GetSel(start, end);
    SetWindowText(text);
    SetSel(start, start);
    if (WM_DATETIME_EDIT != 0)
        ::PostMessageA(GetParent(), WM_DATETIME_EDIT, 1, reinterpret_cast<LPARAM>(m_hWnd));
}

void CNimDateTimeEdit::Apply(const DateTimeEditChange& change)
{
    if (change.changed)
        WriteText(change.text);
    SetSel(change.selStart, change.selEnd);
}

bool CNimDateTimeEdit::IsEditable() const
{
    return IsWindow() && (GetStyle() & ES_READONLY) == 0 && IsWindowEnabled();
}

void CNimDateTimeEdit::Step(int amount)
{
    // What waits behind the step ends the spin's change.
    if (m_bSpinChangePending)
        PostMessage(StepMessage(), 0);
    if (!IsEditable())
        return;
    int start = 0, end = 0;
    GetSel(start, end);
    const DateTimeEditChange change = m_mask.Step(GetWindowText(), start, end, amount, Now());
    if (change.handled)
        Apply(change);
}

BOOL CNimDateTimeEdit::CanStep(int amount) const
{
    if (!IsEditable())
        return FALSE;
    int start = 0, end = 0;
    GetSel(start, end);
    const DateTimeEditChange change = m_mask.Step(GetWindowText(), start, end, amount, Now());
    return change.handled && change.changed;
}

void CNimDateTimeEdit::ChangeAmount(int amount)
{
    if (!IsEditable())
        return;
    m_bSpinChangePending = true;
    PostMessage(StepMessage(), amount >= 1 ? VK_UP : VK_DOWN);
}

// The button's state is that of the message being handled, so while the
// spin handles the button's release it no longer counts as held.
bool CNimDateTimeEdit::SpinHoldsMouse() const
{
    return m_pSpin != nullptr && m_pSpin->IsWindow() && ::GetCapture() == m_pSpin->GetSafeHwnd()
        && ::GetKeyState(VK_LBUTTON) < 0;
}

// The select-alls a spin click brings arrive in two places: the focus the
// click gives the edit asks for one (queued, possibly behind the step), and
// the up-down control selects its buddy's text when its button is released.
// The wait ends with the release's select-all, or behind the step when the
// spin is not held (a key's step), or, should no select-all come, once the
// spin is let go (looked at every 100 ms).
void CNimDateTimeEdit::EndSpinChange()
{
    if (SpinHoldsMouse() && m_bSpinChangePending) {
        SetTimer(kSpinReleaseTimer, 100);
        return;
    }
    KillTimer(kSpinReleaseTimer);
    m_bSpinChangePending = false;
}

// The text's width is that of the mask with a "0" in every digit (digits
// share one width in the usual fonts), with room for the caret after it.
// The suffix sits in the edit's right margin, a character's width after the
// text, so the edit never lays its own text over it.
void CNimDateTimeEdit::ResizeToFit()
{
    if (!IsWindow())
        return;
    CString sample = m_mask.Write(COleDateTime(2000, 1, 1, 0, 0, 0));
    for (int i = 0; i < sample.GetLength(); ++i) {
        if (m_mask.IsFieldPosition(i))
            sample.SetAt(i, '0');
    }
    {
        CClientDC dc(m_hWnd);
        CSelectScope font(dc, GetFont());
        TEXTMETRICA metrics {};
        dc.GetTextMetrics(&metrics);
        m_nTextWidth = dc.GetTextExtent(sample, sample.GetLength()).cx + 2;
        m_nSuffixWidth = m_suffix.IsEmpty() ? 0 : dc.GetTextExtent(m_suffix, m_suffix.GetLength()).cx;
        m_nMargin = m_suffix.IsEmpty() ? 0 : metrics.tmAveCharWidth;
    }
    const int left = LOWORD(SendMessage(EM_GETMARGINS));
    const int right = left + m_nSuffixWidth + m_nMargin;
    SendMessage(EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, right));
    if (!m_bAutoSize)
        return;

    const CRect window = GetWindowRect();
    const CRect client = GetClientRect();
    int width = window.Width() - client.Width() + left + m_nTextWidth + right;
    // A spin aligned to the edit's side takes its width out of the edit when
    // it is attached again.
    if (m_pSpin != nullptr && m_pSpin->IsWindow() && (m_pSpin->GetStyle() & (UDS_ALIGNRIGHT | UDS_ALIGNLEFT)) != 0
        && m_pSpin->GetBuddyHwnd() == m_hWnd)
        width += m_pSpin->GetWindowRect().Width();
    SetWindowPos(nullptr, 0, 0, width, window.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RepositionSpin();
}

void CNimDateTimeEdit::StartUp()
{
    if (m_bStartedUp)
        return;
    m_bStartedUp = true;
    SetDateTime(Now());
    ResizeToFit();
}

int CNimDateTimeEdit::OnCreate(CREATESTRUCTA* cs)
{
    const int result = CNimSpinnableEdit::OnCreate(cs);
    if (result != -1)
        StartUp();
    return result;
}

// A window made elsewhere (a dialog's) starts up when it is attached; one
// made here starts up on its creation message, once it can hold a text.
void CNimDateTimeEdit::PreSubclassWindow()
{
    CNimSpinnableEdit::PreSubclassWindow();
    if (!m_bCreated)
        StartUp();
}

void CNimDateTimeEdit::OnDestroy()
{
    m_bStartedUp = false;
    m_bSpinChangePending = false;
    CNimSpinnableEdit::OnDestroy();
}

void CNimDateTimeEdit::Paste()
{
    CString clip;
    if (!IsEditable() || !ReadClipboardText(m_hWnd, clip))
        return;
    clip.Trim();
    const COleDateTime value = m_mask.Read(clip);
    if (value.GetStatus() == COleDateTime::valid)
        SetDateTime(value);
}

LRESULT CNimDateTimeEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == StepMessage() && message != 0) {
        if (wParam == 0)
            EndSpinChange();
        else
            Step(wParam == VK_UP ? 1 : -1);
        return 0;
    }
    switch (message) {
    case EM_SETSEL:
        // A select-all (from 0 to a negative end, in either packing) while
        // a spin step is on its way would leave the stepped text selected.
        if (m_bSpinChangePending && wParam == 0 && int(lParam) < 0) {
            if (!SpinHoldsMouse())
                m_bSpinChangePending = false;
            return 0;
        }
        break;
    case WM_TIMER:
        if (wParam != kSpinReleaseTimer)
            break;
        if (!SpinHoldsMouse())
            EndSpinChange();
        return 0;
    case WM_PASTE:
        Paste();
        return 0;
    // Each would break the mask's layout; the text only changes as a whole.
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
        return 0;
    case WM_SETFONT: {
        const LRESULT result = CNimSpinnableEdit::WindowProc(message, wParam, lParam);
        ResizeToFit();
        return result;
    }
    default:
        break;
    }
    return CNimSpinnableEdit::WindowProc(message, wParam, lParam);
}

void CNimDateTimeEdit::OnChar(UINT ch, UINT repeat, UINT flags)
{
    if (ch == 0x03) { // Ctrl+C copies as usual
        CNimSpinnableEdit::OnChar(ch, repeat, flags);
        return;
    }
    if (ch == 0x16) { // Ctrl+V
        Paste();
        return;
    }
    if (!IsEditable())
        return;
    int start = 0, end = 0;
    GetSel(start, end);
    Apply(m_mask.Type(GetWindowText(), start, end, ch, Now()));
}

void CNimDateTimeEdit::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    int start = 0, end = 0;
    GetSel(start, end);
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
        if (::GetKeyState(VK_SHIFT) < 0)
            break;
        if (m_mask.GetLength() > 0) {
            const int position = m_mask.MoveCaret(start, key == VK_RIGHT);
            SetSel(position, position + 1);
        }
        return;
    case VK_UP:
    case VK_DOWN: {
        // A spin with arrow keys has turned the key into its own step.
        if (m_pSpin != nullptr && m_pSpin->IsWindow() && (m_pSpin->GetStyle() & UDS_ARROWKEYS) != 0
            && m_pSpin->GetBuddyHwnd() == m_hWnd)
            return;
        const DateTimeEditChange change = m_mask.Step(GetWindowText(), start, end, key == VK_UP ? 1 : -1, Now());
        if (!change.handled)
            break;
        if (IsEditable())
            Apply(change);
        return;
    }
    case VK_DELETE: {
        const DateTimeEditChange change = m_mask.Delete(GetWindowText(), start, end, Now());
        if (!change.handled)
            break;
        if (IsEditable())
            Apply(change);
        return;
    }
    case VK_INSERT:
        return;
    default:
        break;
    }
    CNimSpinnableEdit::OnKeyDown(key, repeat, flags);
}

void CNimDateTimeEdit::OnPaint()
{
    CNimSpinnableEdit::OnPaint();
    if (!m_suffix.IsEmpty())
        DrawSuffix();
}

// The suffix is drawn in grey on the edit's own background, in the right
// margin that ResizeToFit keeps for it, level with the text.
void CNimDateTimeEdit::DrawSuffix()
{
    CRect format;
    SendMessage(EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    const CRect client = GetClientRect();
    CRect area(format.right, client.top, client.right, client.bottom);
    if (area.IsRectEmpty())
        return;
    CClientDC dc(m_hWnd);
    const bool plain = !IsWindowEnabled() || (GetStyle() & ES_READONLY) != 0;
    HBRUSH brush = reinterpret_cast<HBRUSH>(::SendMessageA(GetParent(), plain ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT,
                                                           reinterpret_cast<WPARAM>(dc.GetSafeHdc()),
                                                           reinterpret_cast<LPARAM>(m_hWnd)));
    if (brush == nullptr)
        brush = ::GetSysColorBrush(plain ? COLOR_BTNFACE : COLOR_WINDOW);
    dc.FillRect(area, brush);
    CSelectScope font(dc, GetFont());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(::GetSysColor(COLOR_GRAYTEXT));
    CRect text(format.right + m_nMargin, format.top, client.right, format.bottom);
    dc.DrawText(m_suffix, &text, DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

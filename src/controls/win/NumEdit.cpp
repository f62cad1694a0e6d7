#include "controls/win/NumEdit.h"

#include "framework/win/DC.h"
#include "framework/win/Dialog.h"
#include "text/Locale.h"

#include <algorithm>
#include <cmath>

using orv::controls::KeySource;
using orv::controls::NumberEditChange;

CNimNumEdit::CNimNumEdit(UINT spinId, int format, CNimHoverSpin* spin, int decimals)
    : CNimSpinnableEdit(spinId, spin), m_model(format, decimals)
{
}

BOOL CNimNumEdit::SetValue(double value)
{
    if (m_bInSetValue || std::isnan(value))
        return FALSE;
    m_bInSetValue = true;
    if (m_model.Set(value, m_bForcing) && IsWindow()) {
        FormatAndSetWindowText();
        if (m_pSpin != nullptr && m_pSpin->IsWindow())
            m_pSpin->SetPos(m_model.Get());
        Invalidate(FALSE);
    }
    m_bInSetValue = false;
    return TRUE;
}

BOOL CNimNumEdit::SetValue(long value)
{
    return SetValue(double(value));
}

void CNimNumEdit::SetValueNoSetText(double value)
{
    m_model.Set(value);
    if (m_pSpin != nullptr && m_pSpin->IsWindow())
        m_pSpin->SetPos(m_model.Get());
}

void CNimNumEdit::ResetValue()
{
    m_bForcing = true;
    SetValue(m_model.Get());
    m_bForcing = false;
}

void CNimNumEdit::SetMinMax(double minimum, double maximum)
{
    if (m_bInSetRange)
        return;
    m_bInSetRange = true;
    m_model.SetMinMax(minimum, maximum);
    if (m_pSpin != nullptr && m_pSpin->IsWindow())
        m_pSpin->SetRange(m_model.GetMin(), m_model.GetMax());
    ResetValue();
    m_bInSetRange = false;
}

void CNimNumEdit::GetMinMax(double& minimum, double& maximum) const
{
    minimum = m_model.GetMin();
    maximum = m_model.GetMax();
}

void CNimNumEdit::GetMinMax(long& minimum, long& maximum) const
{
    minimum = long(m_model.GetMin());
    maximum = long(m_model.GetMax());
}

void CNimNumEdit::SetFormat(int format)
{
    m_model.SetKind(format);
    ResetValue();
}

void CNimNumEdit::SetNumDecimalPlaces(int decimals, int rounding)
{
    if (m_model.SetNumDecimalPlaces(decimals, rounding))
        ResetValue();
}

void CNimNumEdit::SetForexPipsMode(BOOL on)
{
    m_bForexPipsMode = on != FALSE;
    if (IsWindow())
        Invalidate(FALSE);
}

BOOL CNimNumEdit::HasOffsetLabel() const
{
    HWND label = m_hWnd != nullptr ? ::GetWindow(m_hWnd, GW_HWNDPREV) : nullptr;
    if (label == nullptr)
        return FALSE;
    CString text = ReadWindowText(label);
    text.MakeLower();
    return text.Find("offset") >= 0;
}

BOOL CNimNumEdit::ValidateWindowText(double& value) const
{
    return m_model.Parse(GetWindowText(), value) ? TRUE : FALSE;
}

void CNimNumEdit::ChangeAmount(int steps)
{
    if ((GetStyle() & ES_READONLY) != 0)
        return;
    SetValue(m_model.Get() + steps * m_model.GetDelta());
}

void CNimNumEdit::FormatAndSetWindowText()
{
    SetWindowText(m_model.Text());
}

void CNimNumEdit::NotifyChange()
{
    ::SendMessageA(GetParent(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), EN_CHANGE), reinterpret_cast<LPARAM>(m_hWnd));
}

// Only the part of the text that differs is replaced, as one undoable step,
// so that the edit's own undo (and Escape) takes the keystroke back.
void CNimNumEdit::ApplyChange(const NumberEditChange& change)
{
    const CString old = GetWindowText();
    const CString& now = change.text;
    const int oldLength = old.GetLength();
    const int newLength = now.GetLength();
    const int shorter = std::min(oldLength, newLength);
    int prefix = 0;
    while (prefix < shorter && old[prefix] == now[prefix])
        ++prefix;
    int suffix = 0;
    while (suffix < shorter - prefix && old[oldLength - 1 - suffix] == now[newLength - 1 - suffix])
        ++suffix;
    m_bInTyping = true;
    SetSel(prefix, oldLength - suffix, TRUE);
    ReplaceSel(now.Mid(prefix, newLength - suffix - prefix), TRUE);
    SetSel(change.caret, change.caret);
    m_bInTyping = false;
    if (m_pSpin != nullptr && m_pSpin->IsWindow())
        m_pSpin->SetPos(m_model.Get());
    NotifyChange();
}

void CNimNumEdit::Type(UINT ch, KeySource source)
{
    int start = 0, end = 0;
    GetSel(start, end);
    const NumberEditChange change = m_model.Type(GetWindowText(), start, end, ch, source);
    if (change.accepted)
        ApplyChange(change);
}

void CNimNumEdit::Paste()
{
    CString clip;
    if (!ReadClipboardText(m_hWnd, clip))
        return;
    int start = 0, end = 0;
    GetSel(start, end);
    const NumberEditChange change = m_model.Paste(GetWindowText(), start, end, clip);
    if (change.accepted)
        ApplyChange(change);
}

LRESULT CNimNumEdit::TakeEditorAction(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_bInTyping = true;
    const LRESULT result = DefWindowProc(message, wParam, lParam);
    m_bInTyping = false;
    if (!IsWindow())
        return result;
    if (m_model.TakeText(GetWindowText()) && m_pSpin != nullptr && m_pSpin->IsWindow())
        m_pSpin->SetPos(m_model.Get());
    NotifyChange();
    return result;
}

LRESULT CNimNumEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PASTE:
        Paste();
        return 0;
    case WM_UNDO:
    case EM_UNDO:
    case WM_CUT:
    case WM_CLEAR:
        return TakeEditorAction(message, wParam, lParam);
    default:
        return CNimSpinnableEdit::WindowProc(message, wParam, lParam);
    }
}

int CNimNumEdit::OnCreate(CREATESTRUCTA* cs)
{
    const int result = CNimSpinnableEdit::OnCreate(cs);
    if (result != -1) {
        m_bForcing = true;
        FormatAndSetWindowText();
        m_bForcing = false;
    }
    return result;
}

void CNimNumEdit::OnChar(UINT ch, UINT repeat, UINT flags)
{
    // The edit's own shortcuts: Ctrl+C, Ctrl+V, Ctrl+X and Ctrl+Z come back
    // as copy, paste, cut and undo messages.
    if (ch == 0x03 || ch == 0x16 || ch == 0x18 || ch == 0x1A) {
        CNimSpinnableEdit::OnChar(ch, repeat, flags);
        return;
    }
    Type(ch, KeySource::Character);
}

void CNimNumEdit::OnKeyDown(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_DELETE) {
        Type(VK_DELETE, KeySource::DeleteKey);
        return;
    }
    // A spin with arrow keys steps the edit by itself; without one the edit
    // steps on the arrow keys.
    const bool spinHasArrows = m_pSpin != nullptr && m_pSpin->IsWindow() && (m_pSpin->GetStyle() & UDS_ARROWKEYS) != 0;
    if ((key == VK_UP || key == VK_DOWN) && !spinHasArrows) {
        ChangeAmount(key == VK_UP ? 1 : -1);
        return;
    }
    CNimSpinnableEdit::OnKeyDown(key, repeat, flags);
}

void CNimNumEdit::OnKeyUp(UINT key, UINT repeat, UINT flags)
{
    if (key == VK_ESCAPE)
        PostMessage(WM_UNDO);
    CNimSpinnableEdit::OnKeyUp(key, repeat, flags);
}

// The text is always rewritten from the number when the focus leaves, so a
// half-typed "1." or an out-of-range figure shows as the value it gave.
void CNimNumEdit::OnKillFocus(HWND newFocus)
{
    CNimSpinnableEdit::OnKillFocus(newFocus);
    if (!m_bInSetValue && IsWindow())
        ResetValue();
}

BOOL CNimNumEdit::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && (m_bInTyping || m_bForcing)) {
        *result = 0;
        return TRUE;
    }
    return CNimSpinnableEdit::OnChildNotify(message, wParam, lParam, result);
}

void CNimNumEdit::OnPaint()
{
    CNimSpinnableEdit::OnPaint();
    if (m_bForexPipsMode)
        DrawPipsUnderline();
}

// A line under the last two decimals, placed from where the edit put those
// characters, so that it follows the alignment and the scroll position.
void CNimNumEdit::DrawPipsUnderline()
{
    const CString text = GetWindowText();
    const int point = text.Find(CLocale::DecimalSeparator);
    const int decimals = m_model.GetNumDecimalPlaces();
    if (point < 0 || decimals < 2 || text.GetLength() - point - 1 < decimals)
        return;
    const int last = point + decimals;
    const LRESULT first = SendMessage(EM_POSFROMCHAR, last - 1);
    const LRESULT lastPos = SendMessage(EM_POSFROMCHAR, last);
    if (first == -1 || lastPos == -1)
        return;
    CClientDC dc(m_hWnd);
    CSelectScope font(dc, GetFont());
    TEXTMETRICA metrics {};
    dc.GetTextMetrics(&metrics);
    const int right = short(LOWORD(lastPos)) + dc.GetTextExtent(text.GetString() + last, 1).cx;
    const int y = short(HIWORD(first)) + metrics.tmHeight;
    CPen& pen = IsWindowEnabled() ? m_penPips : m_penPipsDisabled;
    if (pen.IsNull())
        pen.CreatePen(PS_SOLID, 1, ::GetSysColor(IsWindowEnabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    CSelectScope selected(dc, pen);
    dc.MoveTo(short(LOWORD(first)), y);
    dc.LineTo(right, y);
}

// ---------------------------------------------------------------- DDX

void DDX_nimNumEdit(BOOL save, CNimNumEdit& edit, double& value)
{
    if (save)
        edit.GetValue(value);
    else
        edit.SetValue(value);
}

void DDX_nimNumEdit(BOOL save, CNimNumEdit& edit, long& value)
{
    if (save)
        edit.GetValue(value);
    else
        edit.SetValue(value);
}

namespace {

template <class T>
void ExchangeById(CDataExchange* dx, int id, T& value)
{
    auto* edit = dynamic_cast<CNimNumEdit*>(CWnd::FromHandlePermanent(dx->PrepareCtrl(id)));
    if (edit == nullptr) {
        dx->Fail();
        return;
    }
    DDX_nimNumEdit(dx->m_bSaveAndValidate, *edit, value);
}

} // namespace

void DDX_nimNumEdit(CDataExchange* dx, int id, double& value)
{
    ExchangeById(dx, id, value);
}

void DDX_nimNumEdit(CDataExchange* dx, int id, long& value)
{
    ExchangeById(dx, id, value);
}

// CNimDateTimeEdit: a spinnable edit for a date and time in a fixed-width
// mask ("MM/DD/YYYY hh:mm"). It works in overtype: every field has a fixed
// number of digits, the caret jumps over the literals, the arrow keys and the
// spin step the field under the caret, and every change rewrites the whole
// text from a date-time, so the text always reads. The text rules live in
// orv::controls::DateTimeMask; this class only feeds it the window's text and
// selection and shows what it answers.
//
// Values can also be read and written as market-clock values: UTC inside,
// display-zone wall time in the text. A time-zone suffix ("EST") can be shown
// after the text, inside the edit's right margin.
#pragma once

#include "OrvApi.h"
#include "controls/DateTimeMask.h"
#include "controls/win/SpinnableEdit.h"
#include "framework/OleDateTime.h"
#include "market/OrvDateTime.h"

class ORV_API CNimDateTimeEdit : public CNimSpinnableEdit {
public:
    explicit CNimDateTimeEdit(UINT spinId = kNoSpin, CNimHoverSpin* spin = nullptr);

    // Reads the current value, takes the new mask, writes the value in its
    // layout (the current time when the text did not read), fits and
    // repaints. A null mask counts as empty.
    void SetMask(const char* mask);
    const CString& GetMask() const { return m_mask.GetMask(); }

    // Shown after the text; null counts as empty. The edit fits itself again
    // when the suffix changes.
    void SetTimeZoneSuffix(const char* suffix);
    const CString& GetTimeZoneSuffix() const { return m_suffix; }

    // On by default: the edit's width follows its mask, suffix and font.
    void SetAutoSize(BOOL autoSize);
    BOOL GetAutoSize() const { return m_bAutoSize; }

    // Writes the text of a wall-clock value, each field clamped to what it
    // can show, keeps the caret where the selection began and posts
    // WM_DATETIME_EDIT (1, the edit's window) to the parent. FALSE, with the
    // text left alone, for a value that is not valid or before the window
    // exists.
    BOOL SetDateTime(const COleDateTime& value);
    // A market-clock value (UTC), written as display-zone wall time.
    BOOL SetDateTime(const COrvDateTime& value);
    // The value of a text of this mask; fields the mask lacks come from the
    // current local time. Invalid when the text does not read.
    COleDateTime GetDateTime(const char* text) const;
    // The window's value; FALSE when its text does not read (the value is
    // then the invalid one).
    BOOL GetDateTime(COleDateTime& value) const;
    // The same, as a market-clock value: the text is display-zone wall time
    // and the result UTC.
    BOOL GetDateTime(COrvDateTime& value) const;

    // Selects the first field of the letter (D, M, Y, h, m, s); with no such
    // field, puts the caret at the start.
    void SelectField(char letter);

    // Fits the width to the mask's text, the suffix and the spin, keeping the
    // left edge where it is, and puts the spin back beside it. Nothing with
    // auto-size off or before the window exists.
    void ResizeToFit();

    // The spin's step: posted to the edit and run there as an arrow key
    // would, on the field under the caret.
    void ChangeAmount(int amount) override;
    // Whether a step of the field under the caret would change the text (an
    // hour of 23 does not step up).
    BOOL CanIncrement() override { return CanStep(1); }
    BOOL CanDecrement() override { return CanStep(-1); }

    const orv::controls::DateTimeMask& Mask() const { return m_mask; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(CREATESTRUCTA* cs) override;
    void PreSubclassWindow() override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnDestroy() override;
    void OnPaint() override;

    // Shows the model's answer to a key: the text when it changed (posting
    // the notification) and the selection.
    void Apply(const orv::controls::DateTimeEditChange& change);
    // Replaces the text, keeping the caret at the old selection's start, and
    // tells the parent.
    void WriteText(const CString& text);
    void Step(int amount);
    // Whether the spin's button is held down (the spin has the mouse).
    bool SpinHoldsMouse() const;
    void EndSpinChange();
    BOOL CanStep(int amount) const;
    bool IsEditable() const;
    // The current time written into a new window, then the fit.
    void StartUp();
    // Takes a date-time from the clipboard when its text reads by the mask.
    void Paste();
    // The right margin that keeps the edit's text clear of the suffix.
    void ApplySuffixMargin();
    void DrawSuffix();

    enum : UINT_PTR { kSpinReleaseTimer = 0x4454 };

    orv::controls::DateTimeMask m_mask;
    CString m_suffix;
    int m_nTextWidth { 0 };
    int m_nSuffixWidth { 0 };
    int m_nMargin { 0 };
    bool m_bSpinChangePending { false };
    bool m_bAutoSize { true };
    bool m_bStartedUp { false };
};

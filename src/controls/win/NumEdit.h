// CNimNumEdit: a spinnable edit that holds a number (a price in decimals or
// an apostrophe fraction, a whole number, a percentage or a forex size in
// lots). The number lives in the object's NumberEditModel and the text is a
// view of it: typing, pasting and undoing store what reads as a number and
// refuse the rest, steps come from the spin and the arrow keys, and losing
// the focus rewrites the text from the number.
#pragma once

#include "OrvApi.h"
#include "controls/NumberText.h"
#include "controls/win/SpinnableEdit.h"
#include "framework/win/Gdi.h"

class CDataExchange;

class ORV_API CNimNumEdit : public CNimSpinnableEdit {
public:
    // format: orv::controls::NumberKind (0 price, 1 whole number, 2 percent,
    // 3 forex lots); decimals: a count of decimals or a fraction code.
    explicit CNimNumEdit(UINT spinId = kNoSpin, int format = orv::controls::NumberPrice, CNimHoverSpin* spin = nullptr,
                         int decimals = 2);

    // Bound, round and show the value. FALSE, with nothing changed, when
    // called again while a set is running (from a change notification, say)
    // or for a NaN.
    BOOL SetValue(double value);
    BOOL SetValue(long value);
    void GetValue(double& value) const { value = m_model.Get(); }
    // Rounded half up: 2.5 gives 3, -2.5 gives -2.
    void GetValue(long& value) const { value = m_model.GetLong(); }
    // Stores the value as SetValue does, leaving the text alone.
    void SetValueNoSetText(double value);
    // Applies the stored value again and rewrites the text.
    void ResetValue();

    // The range, kept within the 32-bit integers; the value is bounded again.
    void SetMinMax(double minimum, double maximum);
    void SetMinMax(long minimum, long maximum) { SetMinMax(double(minimum), double(maximum)); }
    void SetMin(double minimum) { SetMinMax(minimum, m_model.GetMax()); }
    void SetMin(long minimum) { SetMin(double(minimum)); }
    void SetMax(double maximum) { SetMinMax(m_model.GetMin(), maximum); }
    void SetMax(long maximum) { SetMax(double(maximum)); }
    void GetMinMax(double& minimum, double& maximum) const;
    void GetMinMax(long& minimum, long& maximum) const;

    // One step of the spin or an arrow key.
    void SetDelta(double delta) { m_model.SetDelta(delta); }
    void SetDelta(long delta) { m_model.SetDelta(double(delta)); }
    void GetDelta(double& delta) const { delta = m_model.GetDelta(); }
    void GetDelta(long& delta) const { delta = long(m_model.GetDelta()); }

    void SetFormat(int format);
    int GetFormat() const { return m_model.GetKind(); }
    // A count of decimals or a fraction code, and for prices in decimals the
    // decimals to round to (below 0: none).
    void SetNumDecimalPlaces(int decimals, int rounding = -1);
    int GetNumDecimalPlaces() const { return m_model.GetNumDecimalPlaces(); }
    BOOL IsApostropheDecimalFormat() const { return m_model.IsApostropheDecimalFormat(); }

    // Underlines the last two decimals (the pips of a forex price).
    void SetForexPipsMode(BOOL on);
    BOOL IsForexPipsMode() const { return m_bForexPipsMode; }
    // Kept for callers; the edit does not read it.
    void SetVerbose(BOOL verbose) { m_bVerbose = verbose != FALSE; }
    BOOL GetVerbose() const { return m_bVerbose; }

    // Whether the window just before the edit among its siblings has a text
    // containing "offset" (in any case).
    BOOL HasOffsetLabel() const;
    // Reads the window's text; FALSE when it is not a number of this edit.
    BOOL ValidateWindowText(double& value) const;

    void ChangeAmount(int steps) override;
    BOOL CanIncrement() override { return m_model.CanIncrement(); }
    BOOL CanDecrement() override { return m_model.CanDecrement(); }

    const orv::controls::NumberEditModel& Model() const { return m_model; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;
    void OnKeyDown(UINT key, UINT repeat, UINT flags) override;
    void OnKeyUp(UINT key, UINT repeat, UINT flags) override;
    void OnKillFocus(HWND newFocus) override;
    void OnPaint() override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // Writes the value's text into the window.
    void FormatAndSetWindowText();
    // A keystroke or paste as the model decided it: the edit's text becomes
    // the change's text (through a replacement of the part that differs, so
    // that the edit can undo it), the caret goes where the change says and
    // the parent hears of it.
    void ApplyChange(const orv::controls::NumberEditChange& change);
    // The text the edit control produced itself (undo, cut, clear): its
    // number is stored when it reads; the parent hears of the change.
    LRESULT TakeEditorAction(UINT message, WPARAM wParam, LPARAM lParam);
    void NotifyChange();
    void DrawPipsUnderline();

    orv::controls::NumberEditModel m_model;
    bool m_bVerbose { false };
    bool m_bInTyping { false };
    bool m_bInSetValue { false };
    bool m_bInSetRange { false };
    bool m_bForcing { false };
    bool m_bForexPipsMode { false };
    CPen m_penPips;
    CPen m_penPipsDisabled;

private:
    void Type(UINT ch, orv::controls::KeySource source);
    void Paste();
};

// Dialog data exchange of a numeric edit: saving reads the value, loading
// sets it. The id forms fail the exchange when the control is not a
// CNimNumEdit.
ORV_API void DDX_nimNumEdit(CDataExchange* dx, int id, double& value);
ORV_API void DDX_nimNumEdit(CDataExchange* dx, int id, long& value);
ORV_API void DDX_nimNumEdit(BOOL save, CNimNumEdit& edit, double& value);
ORV_API void DDX_nimNumEdit(BOOL save, CNimNumEdit& edit, long& value);

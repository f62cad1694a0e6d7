// The text rules of the numeric edit, apart from its window: NumberEditModel
// holds the number, its range, step and display format, turns it into text
// and back, filters keystrokes and pastes, and steps it.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "base/Types.h"

namespace orv::controls {

// The host's text of a price in a display format code (a count of decimals
// or a fraction code), written into a 64-character buffer.
ORV_API CString HostPriceText(double value, int code);

// What the number is: the edit's format.
enum NumberKind : int {
    NumberPrice = 0,      // decimals or an apostrophe fraction code
    NumberWhole = 1,      // a whole number
    NumberPercent = 2,    // decimals followed by "%"
    NumberForexLots = 3,  // a foreign-exchange size in units, shown in lots
};

// How a keystroke reached the edit. The Delete key's virtual key (46) is the
// character code of "." too, so the window passes DeleteKey when it saw the
// key at key-down, and Character for every character message.
enum class KeySource { Character, DeleteKey };

// A keystroke or paste as the model decided it. When `accepted`, the edit
// shows `text` with the caret at `caret` (the value has already been taken
// from it) and the parent is told of the change; otherwise the edit keeps
// its text and selection as they were.
struct NumberEditChange {
    bool accepted = false;
    CString text;
    int caret = 0;
};

class ORV_API NumberEditModel {
public:
    // `decimals` is a count of decimals or a fraction code (17-24, 32-34).
    NumberEditModel(int kind = NumberPrice, int decimals = 2);

    // The value, bounded and rounded as Bound() says. Set answers true when
    // the stored value changed, or always with `force`; the window then
    // rewrites its text from Text(). A NaN is refused (false, no change).
    bool Set(double value, bool force = false);
    double Get() const { return m_value; }
    // The value rounded half up: 2.5 gives 3, -2.5 gives -2.
    LONG GetLong() const;
    // Re-applies the stored value after the range or format changed.
    void Reset() { m_value = Bound(m_value); }

    // Range: the minimum is raised to at least -2147483648 and the maximum
    // lowered to at most 2147483647 (a NaN bound takes that limit); the value
    // is bounded again.
    void SetMinMax(double minimum, double maximum);
    void SetMin(double minimum) { SetMinMax(minimum, m_max); }
    void SetMax(double maximum) { SetMinMax(m_min, maximum); }
    double GetMin() const { return m_min; }
    double GetMax() const { return m_max; }

    // One step: 100 for whole numbers, 1 for percentages, 0.01 otherwise.
    void SetDelta(double delta) { m_delta = delta; }
    double GetDelta() const { return m_delta; }

    void SetKind(int kind);
    int GetKind() const { return m_kind; }
    // False when both are unchanged. For percentages the step grows to one
    // unit of the last decimal when that is larger. `rounding` (prices in
    // decimals only): decimals the value is rounded to, below 0 none.
    bool SetNumDecimalPlaces(int decimals, int rounding);
    int GetNumDecimalPlaces() const { return m_decimals; }
    int GetRoundingDecimals() const { return m_rounding; }
    bool IsApostropheDecimalFormat() const;

    // Rounds a price in a fraction code to the code's tick, else percentages to their
    // decimals, prices to the rounding decimals, whole numbers and forex
    // units to whole numbers; then clamps into the range.
    double Bound(double value) const;

    // The text of a value: the host's price text in the decimals code,
    // "%d", the value with its decimals and "%", or whole and part lots;
    // the decimal point as the user's separator.
    CString Format(double value) const;
    CString Text() const { return Format(m_value); }
    // Reads a text of this edit, trimmed of blanks, with every "%" removed
    // and the user's decimal separator or "." as the point: an apostrophe
    // price (a price in a fraction code with an apostrophe), else "-", digits, a point and digits, any of
    // them absent (so that "", "-" and "." read 0 while being typed); forex
    // lots are multiplied by the lot size. False for anything else.
    bool Parse(const char* text, double& value) const;

    // Steps: adds steps x delta. CanIncrement and CanDecrement answer
    // whether the value is below the maximum or above the minimum.
    bool Step(int steps) { return Set(m_value + steps * m_delta); }
    bool CanIncrement() const { return m_value < m_max; }
    bool CanDecrement() const { return m_value > m_min; }

    // A keystroke on `text` with the selection [selStart, selEnd). Blanks
    // and characters this edit never holds are refused; "." is typed as the
    // user's separator; backspace and the Delete key remove the selection or
    // the character before or after the caret. A change whose text does not
    // read is refused; one that reads stores its value without rewriting
    // the text.
    NumberEditChange Type(const CString& text, int selStart, int selEnd, unsigned ch,
                          KeySource source = KeySource::Character);
    // Pastes `clip`, trimmed of blanks and line ends, over the selection,
    // under the same rule.
    NumberEditChange Paste(const CString& text, int selStart, int selEnd, const char* clip);
    // Takes a text the edit control produced by itself (undo): stores its
    // value when it reads; false, value unchanged, otherwise.
    bool TakeText(const char* text);

private:
    // The character a keystroke inserts, or 0 when it is refused.
    char AllowedChar(unsigned ch) const;
    // Prices in a fraction code are typed and read in the apostrophe form.
    bool UsesApostrophe() const;
    NumberEditChange Try(CString text, int caret);
    double LotSize() const;

    int m_kind;
    int m_decimals;
    int m_rounding { -1 };
    double m_delta;
    double m_min { 0 };
    double m_max { 2147483647.0 };
    double m_value { 0 };
};

} // namespace orv::controls

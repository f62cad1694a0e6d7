// The text rules of the date-time edit, apart from its window: a mask such
// as "MM/DD/YYYY hh:mm" laid out as fixed-width fields, the text written
// from a date-time and read back, and the overtype keys on that text.
#pragma once

#include "OrvApi.h"
#include "framework/OleDateTime.h"
#include "framework/String.h"
#include "market/OrvDateTime.h"

#include <vector>

namespace orv::controls {

// A keystroke's outcome: the text to show and the selection to set. When
// `handled` is false the key is not the mask's concern (for example the
// Delete key past the end) and the edit's default behaviour applies.
struct DateTimeEditChange {
    bool handled = true;
    bool changed = false;  // the text differs from the one given
    CString text;
    int selStart = 0;
    int selEnd = 0;
};

// Mask letters: D day, M month, Y year, h hour (0-23), m minute, s second;
// every other character is a literal shown as it is. A run of one letter is
// one field. Day, month, hour, minute and second fields take at least two
// characters in the text, so that every value fits and the layout never
// shifts ("h:mm" writes "09:30"). A year field of four letters or more
// holds the whole year; a shorter one holds its last digits ("YY" writes
// 2012 as "12") and reads them as the year ending in those digits that lies
// nearest the current year.
class ORV_API DateTimeMask {
public:
    explicit DateTimeMask(const char* mask = "hh:mm");

    const CString& GetMask() const { return m_mask; }
    // The length of every text of this mask.
    int GetLength() const { return m_length; }

    // The text of a value, each field clamped to what it can show (day 0-31,
    // month 1-12, year 1900-9990, hour 0-23, minute and second 0-59). Empty
    // for a value that is not valid.
    CString Write(const COleDateTime& value) const;
    // Reads a text of this mask. Fields the mask lacks come from `now`; the
    // fields read are clamped (day 1-31, month 1-12, year 1900-9990, hour
    // 0-23, minute and second 0-59) and must then make a real date and time
    // (31 February does not). Invalid for a text of another length, a
    // literal that differs or a field that is not all digits.
    COleDateTime Read(const char* text, const COleDateTime& now) const;
    COleDateTime Read(const char* text) const { return Read(text, COleDateTime::GetCurrentTime()); }

    // The market clock's UTC value written and read as display-zone wall
    // time (the display-to-UTC span subtracted, or added after reading).
    // `now` is display-zone wall time; by default the market clock's.
    CString WriteMarket(const COrvDateTime& utc) const;
    COrvDateTime ReadMarket(const char* text, const COleDateTime& now) const;
    COrvDateTime ReadMarket(const char* text) const;

    // Caret positions that hold a field's digit.
    bool IsFieldPosition(int position) const;
    // The first field position after `position`, or -1.
    int NextFieldPosition(int position) const;
    // The last field position before `position`, or -1.
    int PreviousFieldPosition(int position) const;
    // Left and right arrows: the previous or next field position, wrapping
    // around at either end.
    int MoveCaret(int position, bool forward) const;
    // The text range of the first field of `letter`; false, with an empty
    // range at the start, when the mask has none.
    bool FieldRange(char letter, int& start, int& end) const;

    // A typed character in overtype mode on [selStart, selEnd). A digit
    // replaces the digit at the caret (a selection of several characters
    // first turns its digits to "0") and the value read from the result is
    // written back, clamped; the next field position is then selected, or
    // the caret goes to the end after the last. Backspace types "0" at the
    // field position before the caret and selects it. Any other character
    // only moves to the next field position (the last when there is none).
    DateTimeEditChange Type(const CString& text, int selStart, int selEnd, unsigned ch,
                            const COleDateTime& now) const;
    // The Delete key: "0" at the caret's field position, caret kept.
    // Unhandled past the end of the mask.
    DateTimeEditChange Delete(const CString& text, int selStart, int selEnd, const COleDateTime& now) const;
    // Up (+1) or down (-1): steps the calendar field under the caret (or the
    // one before, from a literal or the end) and writes the value back when
    // it still makes a real date and time (an hour of 23 does not step up).
    // The selection is kept, except that a minute step selects the minutes.
    DateTimeEditChange Step(const CString& text, int selStart, int selEnd, int amount,
                            const COleDateTime& now) const;

private:
    struct Part {
        char letter;   // a field letter, or 0 for a literal
        int start;     // where it lies in the text
        int width;     // characters in the text
        char literal;  // the literal character
    };

    const Part* FieldAt(int position) const;
    // The field under the caret, or the one before it.
    const Part* FieldForStep(int position) const;
    DateTimeEditChange Rewrite(const CString& text, const CString& edited, const COleDateTime& now) const;
    // Writes "0" at a field position and selects that position.
    DateTimeEditChange ZeroAt(const CString& text, int position, const COleDateTime& now) const;

    CString m_mask;
    std::vector<Part> m_parts;
    int m_length = 0;
};

} // namespace orv::controls

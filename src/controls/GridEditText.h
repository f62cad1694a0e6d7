// The text rules of the grid's in-place editor, apart from its window: the
// editor kind of a column, reading a cell's text as a number, the characters
// each kind takes, and the spin's step and text.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"

// The kind of editor a cell gets.
enum GHStyles : int {
    GHS_NONE = 0,
    GHS_TEXT = 1,
    GHS_INTEGER = 2,
    GHS_DECIMAL = 3,
    GHS_PICKLIST = 4,
    GHS_CHECK = 6,
};

// How editing ended, for the grid to move on; GHD_EDITING while it goes on.
enum GHDirections : int {
    GHD_NONE = 0,
    GHD_PREVIOUS = 1,
    GHD_NEXT = 2,
    GHD_UP = 3,
    GHD_DOWN = 4,
    GHD_ESCAPE = 5,
    GHD_EDITING = 6,
};

namespace orv::controls {

// The user's separators, as the readers below take them.
struct NumberSeparators {
    char decimal = '.';
    char thousands = ',';
};

// The editor a field gets: text for the symbol and notes, integer for the
// quantities and contract size, decimal for prices, strikes and percentages,
// a pick list for the action and order type, a check for the active and lock
// flags; none for every other field.
ORV_API GHStyles GridEditorStyle(int fieldId);

// A whole number as a cell shows it: every thousands separator removed, then
// the leading "-" and digits read; a text that starts with no number reads 0,
// and a number beyond 32 bits reads as the nearest 32-bit limit.
ORV_API long ReadGridInteger(const char* text, NumberSeparators separators);

// A decimal number as a cell shows it or the user types it. Blanks and
// thousands separators are removed before the decimal separator becomes the
// point, so that "1,234.50" reads 1234.5 with "," grouping and "1.234,50"
// reads 1234.5 with "." grouping. Where the decimal separator is "," the
// editor takes "." as a point too, so a "." grouping separator counts as the
// point in a text that holds no ",": "1.5" reads 1.5 there. The leading
// number is read ("-", digits, point, digits); anything after it is ignored
// and a text that starts with no number reads 0.
ORV_API double ReadGridDecimal(const char* text, NumberSeparators separators);

// The value of a decimal cell in a display format. The empty text gives
// `defaultValue`. In an apostrophe format a text with "'" is an apostrophe
// price (ParseApostrophePrice: 108'165 in code 32 is 108.515625, -108'16 is
// -108.5); it reads 0 when it also holds "." or "," or does not read as one.
// Any other text reads as ReadGridDecimal.
ORV_API double ReadGridValue(const char* text, int displayFormat, double defaultValue,
                             NumberSeparators separators);

// Whether an editor of `style` takes the typed character `ch` into `text`
// with the selection [selStart, selEnd):
//   text     every character;
//   integer  digits and backspace; with a negative minimum also one "-" at
//            the start (into an empty text, at a caret at the start, or over
//            a selection beginning there), and no digit in front of it;
//   decimal  the same, plus the decimal separator (and "." too where that
//            separator is ","), and "'" in an apostrophe display format;
//   others   nothing.
ORV_API bool AcceptsGridChar(GHStyles style, unsigned ch, const char* text, int selStart, int selEnd,
                             double minimum, int displayFormat, char decimalSeparator);

// One spin step: delta x increment added to value. False, `stepped`
// untouched, when the result lies outside [minimum, maximum].
ORV_API bool StepGridValue(double value, int delta, double increment, double minimum, double maximum,
                           double& stepped);

// The text of a stepped value: "%d" of the truncated value for integers, the
// host's price text in the display format for decimals; empty for other
// kinds.
ORV_API CString FormatGridValue(GHStyles style, double value, int displayFormat);

} // namespace orv::controls

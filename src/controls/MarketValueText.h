// The texts and colours of the market value statics, apart from their
// windows: money and price texts (with the sub-pips split), a change with
// its percentage, the tick arrow, volumes, percentages, the colour chosen by
// sign or threshold, and the system colour codes resolved when drawing.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "base/Types.h"

namespace orv::controls {

// Colours are RGB values (0x00BBGGRR) or one of the system colour codes
// below, which stand for the system's current colour and are resolved when
// drawing.
constexpr DWORD kSysColorButtonFace = 0x8000000F;
constexpr DWORD kSysColorWindowText = 0x80000008;

// True for a system colour code (the top bit set).
ORV_API bool IsSystemColorCode(DWORD color);
// The colour to draw with: for a system colour code, `systemColor` of its
// index (the low byte: 15 button face, 8 window text); otherwise the colour.
ORV_API DWORD ResolveColor(DWORD color, DWORD (*systemColor)(int index));

// The zero colour for 0, the up colour above it, the down colour below.
ORV_API DWORD SignColor(double value, DWORD up, DWORD down, DWORD zero);
// The up colour at or above the threshold, the down colour below it.
ORV_API DWORD ThresholdColor(double value, double threshold, DWORD up, DWORD down);

// How a money static shows its value.
enum MoneyDisplayFormat : int { MoneyPrice = 0, MoneyAmount = 1, MoneySubPips = 2, MoneyPips = 3 };

struct MoneyTextOptions {
    int format = MoneyPrice;
    int decimals = 2;
    bool blankIfZero = false;
    bool moneySymbol = true;
    const char* altCurrencyTitle = nullptr;  // put in front of the text when set
};

// The text a money static shows; in the sub-pips format also its two parts,
// the main part and the sub-pips part drawn underlined after it.
struct MoneyText {
    CString text;
    CString main;
    CString subPips;
};

// Empty for 0 with blankIfZero, for a magnitude above 9999999999 and for a
// NaN. Otherwise: pips, the value x 10^decimals with one decimal; money, the
// host's money text (without "$" when moneySymbol is off); price, the host's
// price text with the decimals. Sub-pips shows a price to one decimal more
// than the pip decimals: that last digit is the sub-pip, so 1.23456 with 4
// decimals shows "1.2345" and the sub-pips part "60".
ORV_API MoneyText FormatMoneyText(double value, const MoneyTextOptions& options);
// Splits a price text after its last regular decimal: more digits after the
// decimal separator than `decimals` form the sub-pips part (one digit is
// padded with "0"); otherwise the sub-pips part is "00" and the main part the
// whole text. A text without a separator has no sub-pips part.
ORV_API void SplitSubPips(const CString& text, int decimals, CString& main, CString& subPips);
// Removes every "$"; when one was removed, trailing blanks go too.
ORV_API void RemoveMoneySymbol(CString& text);

// A non-empty change text followed by " (p%)", the percentage rounded half
// up to two decimals and written with the user's decimal separator. An empty
// text stays empty; a percentage that is not finite adds nothing.
ORV_API CString AppendChangePercent(const CString& text, double percent);

// The arrow characters of the tick static's symbol font.
constexpr char kTickUpGlyph = char(0xD9);
constexpr char kTickDownGlyph = char(0xDA);

// Whether the tick arrow has to be drawn again.
class ORV_API TickState {
public:
    // True when the direction changed or a Clear came before.
    bool Set(bool up);
    void Clear() { m_clearPending = true; }
    bool IsUp() const { return m_up; }
    char Glyph() const { return m_up ? kTickUpGlyph : kTickDownGlyph; }

private:
    bool m_up { true };
    bool m_clearPending { true };
};

// A volume or size: in lots as a forex bid or ask size, else the host's
// integer text.
ORV_API CString VolumeText(LONG value, bool forexLots);

// The percent static's format for a count of decimals: "%.02lf%%" for 2;
// "%.0f%%" for 0 and for counts outside 0 to 9.
ORV_API CString PercentFormat(int decimals);
// value x 100, rounded half up to the decimals, in that format with the
// user's decimal separator: 0.1234 with 2 decimals is "12.34%". Empty for
// a value that is not finite.
ORV_API CString PercentText(double value, int decimals);

} // namespace orv::controls

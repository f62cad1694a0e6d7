// The apostrophe notation of bond and futures prices ("101'16" for 101 and
// 16/32): which display format codes use it, their ticks, and the one reader
// shared by the numeric edit and the grid's in-place editor.
#pragma once

#include "OrvApi.h"

namespace orv::controls {

// True for the fraction codes 17 to 24 and 32 to 34.
ORV_API bool IsApostropheDecimalFormat(int code);

// The tick a value in this code is rounded to: 1/2, 1/4, 1/8 (17-19),
// 1/16, 1/32, 1/64, 1/128, 1/256 (20-24), 1/64 (32), 1/128 (33, 34);
// 0 for a code that is not a fraction code.
ORV_API double ApostropheTick(int code);

// Reads an apostrophe price in the given fraction code, as the host writes
// it: an optional "-", the whole number's digits (none reads 0), "'", then
// the digits after the apostrophe:
//   17, 18, 19   one digit counting halves, quarters or eighths;
//   20, 21, 22   up to two digits counting 16ths, 32nds or 64ths;
//   23, 24       up to three digits counting 128ths or 256ths;
//   32           up to two digits of 32nds, then an optional digit:
//                0 nothing, 5 a 64th;
//   33, 34       up to two digits of 32nds, then an optional digit:
//                0 nothing, 2 a 128th, 5 a 64th, 7 three 128ths.
// Fewer digits than the host writes are accepted ("101'1" is 101 + 1/32),
// so that every text met while typing a price reads. The sign covers the
// whole price: "-101'16" is -101.5 and "-0'16" is -0.5, the values the host
// writes that way.
// Returns false, leaving `value` untouched, for a code that is not a
// fraction code, a text without exactly one apostrophe, any other
// character (a blank, a decimal point), a count not below its denominator
// ("101'32" in 32nds) or a third digit the code does not define.
ORV_API bool ParseApostrophePrice(const char* text, int code, double& value);

} // namespace orv::controls

// The text that travels with a symbol drag, apart from OLE: the two texts a
// drag offers and the rules that read a symbol or an account back from
// dropped text, whichever program wrote it.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "base/Types.h"

#include <cstddef>

namespace orv::dragdrop {

// The symbol as a drag carries it: trimmed and upper-cased.
ORV_API CString DragSymbol(const char* symbol);

// The texts a drag of symbol and account offers. The symbol is trimmed and
// upper-cased; the account is used as given. False (both texts empty) when
// symbol and account are both empty: nothing is offered then.
//   plain: the symbol, or the account when there is no symbol;
//   orv:   "SYMBOL=<symbol>|ACCOUNT=<account>".
ORV_API bool MakeDragTexts(const char* symbol, const char* account, CString& plain, CString& orv);

// The text of a dropped memory block: up to its first zero byte, or the
// whole block when it has none (text from another program need not end with
// one). Never reads past `size`.
ORV_API CString TextOfBlock(const void* data, std::size_t size);

// The symbol that dropped text carries, for a window that accepts the
// symbol types in `symbolTypeFlags` (SYMTYPE_*). After trimming and
// upper-casing, the first of "SYMBOL=", "SYMB=", "NASDAQ:", "NYSE:", "AMEX:"
// and "S=" found cuts the text to what follows it; the text then ends before
// the first character after the first that is not A-Z, 0-9, blank, ".",
// "-", "/", "_" or ":". False for "ACCOUNT" and "|ACCOUNT", for a symbol of
// another type, and for any symbol but "$SRVNAME" and "$COMPQ" that is empty
// or longer than 24 characters.
ORV_API bool SymbolFromDragText(const char* text, ULONG symbolTypeFlags, CString& symbol);

// The account that dropped text carries: what follows "ACCOUNT=" in the
// trimmed, upper-cased text, with ":" read as ";", up to the first character
// that is not A-Z, 0-9, ";" or "_". False when there is no "ACCOUNT=" or
// nothing follows it.
ORV_API bool AccountFromDragText(const char* text, CString& account);

// Copies the text with its terminator when it is shorter than `capacity`;
// otherwise false and the buffer untouched (never a cut text).
ORV_API bool CopyToBuffer(const CString& text, char* buffer, int capacity);

} // namespace orv::dragdrop

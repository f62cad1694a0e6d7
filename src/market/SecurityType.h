// The security type of a symbol, the symbol type flags that windows use to
// say which kinds of symbol they accept, and the conversions between them.
#pragma once

#include "OrvApi.h"
#include "framework/String.h"
#include "platform/SysString.h"
#include "base/Types.h"

#if defined(_WIN32) && __has_include(<comutil.h>)
#  include <comutil.h>
#  define ORV_HAVE_BSTR_T 1
#endif

enum enumSecurityType : int {
    SECURITY_TYPE_UNKNOWN = -1,
    SECURITY_TYPE_EQUITY = 0,
    SECURITY_TYPE_FUTURES = 1,
    SECURITY_TYPE_OPTION = 2,
    SECURITY_TYPE_FOREX = 3,
};

// Symbol type flags (bits of an unsigned long).
enum : ULONG {
    SYMTYPE_EQUITY = 1,
    SYMTYPE_OPTION = 2,
    SYMTYPE_FUTURES = 4,
    SYMTYPE_INDEX = 8,
    SYMTYPE_FOREX = 16,
};

// A text of fewer than two characters (null included) is an equity; then
// "/..." futures, "+..." option, the forex pair shape forex, else equity.
ORV_API enumSecurityType GetSecurityType(const char* symbol);
ORV_API enumSecurityType GetSecurityType(const CString& symbol);
// The same tests on a UTF-16 system string (or any NUL-terminated UTF-16 text).
ORV_API enumSecurityType GetSecurityType(const OLECHAR* symbol);
#if defined(ORV_HAVE_BSTR_T)
ORV_API enumSecurityType GetSecurityType(const _bstr_t& symbol);
#endif

// 1 equity, 2 option, 4 futures, 16 forex; anything else unknown (-1).
ORV_API enumSecurityType SymTypeFlag2enumSecurityType(ULONG flag);
// The reverse; anything else gives all bits set.
ORV_API ULONG enumSecurityType2SymTypeFlag(enumSecurityType type);

// Non-zero when the symbol may be used where the types in `allowedFlags` are
// accepted. An empty symbol always may. Each kind needs its own flag:
// futures SYMTYPE_FUTURES, options SYMTYPE_OPTION, forex pairs SYMTYPE_FOREX,
// indexes ("$...") both SYMTYPE_INDEX and SYMTYPE_EQUITY; equities are
// accepted everywhere, since every window that takes symbols shows them.
ORV_API int IsCompatibleSymbol(const char* symbol, ULONG allowedFlags);
ORV_API int IsCompatibleSymbol(const CString& symbol, ULONG allowedFlags);

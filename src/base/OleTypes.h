// The OLE Automation value types the library exchanges: VARTYPE with the
// VT_ codes, and the currency type CY. On Windows they come from the SDK;
// elsewhere they are defined here with the same values and layout.
#pragma once

#include "base/Types.h"

#if defined(_WIN32)
#  include <wtypes.h>
#else
using VARTYPE = unsigned short;

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_CY = 6,
    VT_DATE = 7,
    VT_BSTR = 8,
    VT_BOOL = 11,
    VT_VARIANT = 12,
    VT_UI1 = 17,
};

// A currency amount in ten-thousandths, seen whole or as two 32-bit halves.
union CY {
    struct {
        ULONG Lo;
        LONG Hi;
    };
    LONGLONG int64;
};
#endif

static_assert(sizeof(CY) == 8);

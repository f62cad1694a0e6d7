// CPropExchange: the property-exchange interface of ActiveX controls.
#pragma once

#include "OrvApi.h"
#include "base/OleTypes.h"
#include "base/Types.h"

// A control's DoPropExchange hands each property to ExchangeProp, which
// either stores the value or loads it, as IsLoading says. What the value
// pointer points to depends on the type: short (VT_I2), long (VT_I4),
// float (VT_R4), double (VT_R8), CY (VT_CY), CString (VT_BSTR), BOOL
// (VT_BOOL) and BYTE (VT_UI1).
class ORV_API CPropExchange {
public:
    virtual ~CPropExchange();

    CPropExchange(const CPropExchange&) = delete;
    CPropExchange& operator=(const CPropExchange&) = delete;

    BOOL IsLoading() const noexcept { return m_bLoading; }

    // Exchanges one property; nonzero when it was stored or loaded. The
    // default, when given, points to a value of the same type.
    virtual BOOL ExchangeProp(const char* name, VARTYPE type, void* value, const void* defaultValue = nullptr) = 0;

protected:
    CPropExchange() = default;

    BOOL m_bLoading = FALSE;
};

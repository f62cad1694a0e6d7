#include "market/SecurityType.h"

#include "market/SymbolShape.h"

namespace {

template <class Char>
enumSecurityType SecurityTypeOf(const Char* symbol)
{
    const std::size_t length = orv::symbol::Length(symbol);
    if (length < 2)
        return SECURITY_TYPE_EQUITY;
    if (orv::symbol::IsFutures(symbol))
        return SECURITY_TYPE_FUTURES;
    if (orv::symbol::IsOption(symbol))
        return SECURITY_TYPE_OPTION;
    if (orv::symbol::IsForex(symbol, length))
        return SECURITY_TYPE_FOREX;
    return SECURITY_TYPE_EQUITY;
}

} // namespace

enumSecurityType GetSecurityType(const char* symbol)
{
    return SecurityTypeOf(symbol);
}

enumSecurityType GetSecurityType(const CString& symbol)
{
    return SecurityTypeOf(symbol.GetString());
}

enumSecurityType GetSecurityType(const OLECHAR* symbol)
{
    return SecurityTypeOf(symbol);
}

#if defined(ORV_HAVE_BSTR_T)
enumSecurityType GetSecurityType(const _bstr_t& symbol)
{
    return SecurityTypeOf(static_cast<const wchar_t*>(symbol));
}
#endif

enumSecurityType SymTypeFlag2enumSecurityType(ULONG flag)
{
    switch (flag) {
    case SYMTYPE_EQUITY:
        return SECURITY_TYPE_EQUITY;
    case SYMTYPE_OPTION:
        return SECURITY_TYPE_OPTION;
    case SYMTYPE_FUTURES:
        return SECURITY_TYPE_FUTURES;
    case SYMTYPE_FOREX:
        return SECURITY_TYPE_FOREX;
    default:
        return SECURITY_TYPE_UNKNOWN;
    }
}

ULONG enumSecurityType2SymTypeFlag(enumSecurityType type)
{
    switch (type) {
    case SECURITY_TYPE_EQUITY:
        return SYMTYPE_EQUITY;
    case SECURITY_TYPE_FUTURES:
        return SYMTYPE_FUTURES;
    case SECURITY_TYPE_OPTION:
        return SYMTYPE_OPTION;
    case SECURITY_TYPE_FOREX:
        return SYMTYPE_FOREX;
    default:
        return ULONG(-1);
    }
}

int IsCompatibleSymbol(const char* symbol, ULONG allowedFlags)
{
    if (symbol == nullptr || symbol[0] == '\0')
        return 1;
    if (orv::symbol::IsFutures(symbol))
        return (allowedFlags & SYMTYPE_FUTURES) != 0;
    if (orv::symbol::IsOption(symbol))
        return (allowedFlags & SYMTYPE_OPTION) != 0;
    if (orv::symbol::IsForex(symbol))
        return (allowedFlags & SYMTYPE_FOREX) != 0;
    if (orv::symbol::IsIndex(symbol)) {
        const ULONG needed = SYMTYPE_INDEX | SYMTYPE_EQUITY;
        return (allowedFlags & needed) == needed;
    }
    return 1;
}

int IsCompatibleSymbol(const CString& symbol, ULONG allowedFlags)
{
    return IsCompatibleSymbol(symbol.GetString(), allowedFlags);
}

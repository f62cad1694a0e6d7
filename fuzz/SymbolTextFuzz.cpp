// Runs the symbol-text functions on arbitrary text: option parsing, the
// put test, the outside-service notations, the security type and the order
// rules. The first byte picks the year for the Yahoo Finance futures form
// and the type flags; the rest, up to the first NUL, is the symbol.
#include "market/OrderRules.h"
#include "market/SecurityType.h"
#include "market/SymbolNotation.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void CheckParse(const std::string& symbol)
{
    char root[8];
    std::memset(root, 'X', sizeof root);
    int year = -1, month = -1, day = -1;
    char callPut = 0;
    double strike = -1;
    if (!ParseOptionSymbol(symbol.c_str(), root, year, month, day, callPut, strike)) {
        Check(year == -1 && callPut == 0 && strike == -1);
        return;
    }
    const std::size_t rootLength = std::strlen(root);
    Check(rootLength >= 1 && rootLength <= 7);
    Check(std::memcmp(root, symbol.c_str() + 1, rootLength) == 0);
    Check(year >= 0 && year <= 99 && month >= 0 && month <= 99 && day >= 0 && day <= 99);
    Check(callPut == 'C' || callPut == 'P');
    Check(std::isfinite(strike));
}

void CheckConverters(const std::string& symbol, int year)
{
    CString yahoo(symbol.c_str());
    if (!orv::market::ConvertToYahooFinanceSymbol(yahoo, year))
        Check(yahoo == symbol.c_str());

    CString central(symbol.c_str());
    if (!ConvertToTradingCentralSymbol(central))
        Check(central == symbol.c_str());
    Check(central.GetLength() <= int(symbol.size()));

    CString web(symbol.c_str());
    Check(ConvertToORVWebServiceSymbol(web) == 1);
    Check(web.GetLength() == int(symbol.size()));

    CString colon(symbol.c_str());
    SymbolRemoveFXColonSuffix(colon);
    Check(colon.GetLength() <= int(symbol.size()));
}

void CheckTypes(const std::string& symbol, ULONG flags)
{
    std::u16string wide;
    for (char ch : symbol)
        wide += char16_t(static_cast<unsigned char>(ch));
    const enumSecurityType type = GetSecurityType(symbol.c_str());
    Check(type >= SECURITY_TYPE_EQUITY && type <= SECURITY_TYPE_FOREX);
    Check(GetSecurityType(reinterpret_cast<const OLECHAR*>(wide.c_str())) == type);
    Check(GetSecurityType(CString(symbol.c_str())) == type);
    Check(IsPutOption(symbol.c_str()) == IsPutOption(reinterpret_cast<const OLECHAR*>(wide.c_str())));

    // Every kind is accepted where all kinds are.
    Check(IsCompatibleSymbol(symbol.c_str(), 0x1F) == 1);
    IsCompatibleSymbol(symbol.c_str(), flags);

    CString market(symbol.c_str());
    TierMarketToMainMarket(market);
    Check(market.GetLength() <= int(symbol.size()) || market == "NAS" || market == "CDN");
    const int allowed = IsAllowableTif(LONG(10008 + (flags & 7)), LONG(10030 + (flags >> 3)), symbol.c_str(),
                                       symbol.c_str());
    Check(allowed == 0 || allowed == 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
        return 0;
    const int year = 2000 + data[0] % 100;
    const ULONG flags = data[0];
    const std::string symbol(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::string text = symbol.substr(0, symbol.find('\0'));
    CheckParse(text);
    CheckConverters(text, year);
    CheckTypes(text, flags);
    return 0;
}

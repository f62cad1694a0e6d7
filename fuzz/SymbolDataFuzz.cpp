// Loads a symbol data file made of arbitrary bytes, then asks every lookup
// about what was loaded. The load may find nothing; it must not crash, and
// every pair it lists must be reachable by its own name. Built natively only.
#include "market/SymbolData.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

namespace {

// A private host root for the whole run, so the data file lives in a
// folder of its own; removed when the run ends.
const std::filesystem::path& Root()
{
    static const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("orv-symbol-fuzz-" + std::to_string(::getpid()));
    return root;
}

const std::filesystem::path& DataFile()
{
    static const std::filesystem::path file = [] {
        std::filesystem::create_directories(Root() / "User" / "data");
        setenv("KESTREL_ROOT", Root().string().c_str(), 1);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(Root(), ignored);
        });
        return Root() / "User" / "data" / "fuzz-OrvSymbolData.xml";
    }();
    return file;
}

void WriteBytes(const std::uint8_t* data, std::size_t size)
{
    std::FILE* out = std::fopen(DataFile().string().c_str(), "wb");
    if (out == nullptr)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, out) != size)
        std::abort();
    std::fclose(out);
}

void AskAbout(CSymbolData& symbols, const CString& symbol)
{
    CString text;
    double buy = 0, sell = 0;
    symbols.GetForexPremiums(symbol, "BANK;X", buy, sell);
    symbols.GetForexMarginMultiplier(symbol, nullptr);
    symbols.GetForexPipDecimal(symbol);
    symbols.IsForexLotMultiplierActive(symbol);
    symbols.GetMinNumDecimalPlaces(symbol);
    symbols.GetContractSize(symbol);
    symbols.GetExchangeForFutureRoot(symbol, text);
    symbols.GetIncrementForFutureRoot(symbol);
    symbols.GetSpotMultiplier(symbol, symbol.Right(3));
    symbols.GetFutureRoot(symbol + "Z2", text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    WriteBytes(data, size);
    CSymbolData symbols;
    symbols.SetUserName("fuzz");
    const int loaded = symbols.LoadXML();
    if (loaded != (size > 0 ? 1 : 0))
        std::abort();
    symbols.GetXMLFileChecksum();

    CStringArray pairs;
    symbols.GetAllForexSymbols(pairs);
    for (int i = 0; i < pairs.GetSize(); ++i) {
        CString proper;
        if (!symbols.GetProperForexSymbol(pairs[i], proper))
            std::abort();
        AskAbout(symbols, pairs[i]);
    }
    CMapStringToString roots;
    symbols.GetFuturesRootMapForEsignal(roots);
    POSITION position = roots.GetStartPosition();
    while (position != nullptr) {
        CString root, vendor;
        roots.GetNextAssoc(position, root, vendor);
        AskAbout(symbols, root);
    }
    symbols.GetRiskFreeIntRate();
    return 0;
}

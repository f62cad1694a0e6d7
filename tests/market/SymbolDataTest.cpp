#include "market/SymbolData.h"

#include "MarketTestSupport.h"
#include "platform/FileReplace.h"
#include "text/TokenEx.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <iterator>
#include <string>
#include <thread>
#include <utility>
#include <vector>

using orv_test::ReadFile;
using orv_test::WriteFile;

namespace {

// Opens the protected lookups to the tests.
class TestSymbolData : public CSymbolData {
public:
    using CSymbolData::GetForexData;
    using CSymbolData::MapSpotRate;
};

const char* const kForexFile = R"(<?xml version="1.0"?>
<SymbolData>
  <Forex>
    <Pair Symbol="EUR/USD" Bank="ABC" premiumBuy="0.5" premiumSell="0.25" pipDecimal="0.0001"/>
    <Pair Symbol="GBP/USD" premiumBuy="1.5" pipDecimal="0.0001" marginRate="0.02" lotMultiplierActive="0"/>
    <Pair Symbol="GBP/USD" Bank="XYZ" premiumBuy="2.5" pipDecimal="0.01"/>
    <Other Symbol="USD/JPY" pipDecimal="0.01" lotMultiplierActive="7"/>
    <NoSymbol premiumBuy="9"/>
    <Pair Symbol="EUR/USD" premiumBuy="0.75"/>
    <Pair Symbol="NZD/USD" Bank="QRS" premiumBuy="3.5"/>
  </Forex>
</SymbolData>
)";

const char* const kFuturesFile = R"(<SymbolData>
  <Futures>
    <Root Symbol="/ES" exch="  CME " Increment="0.25" overnightMargin="5000" overnightMaint="4000"
          intradayMargin="500" contractSize="50" eSignalRoot="ES"/>
    <Root Symbol="/ZB" displayFormat="33" contractSize="1000" eSignalRoot="ZB"/>
    <Root Symbol="/NQ" Increment="0.5"/>
    <Root Symbol="/NQ" Increment="0.75" exch=" "/>
    <Root Symbol="/ESZ12" contractSize="7"/>
  </Futures>
</SymbolData>
)";

class SymbolData : public market_test::HostRootTest {};

} // namespace

TEST_F(SymbolData, ForexEntriesBanksDefaultsAndAliases)
{
    TestSymbolData data;
    LoadSymbolData(kForexFile, data);

    // The banked entry supplied EUR/USD's default until the entry without a bank arrived.
    EXPECT_DOUBLE_EQ(data.GetForexBuyPremium("EUR/USD"), 0.75);
    EXPECT_DOUBLE_EQ(data.GetForexSellPremium("EUR/USD", "ABC"), 0.25);
    // The bank text is cut at ';', and an unknown bank falls back to the pair.
    EXPECT_EQ(data.GetForexData("EUR/USD.X", "ABC;rest"), data.GetForexData("EUR/USD", "ABC"));
    EXPECT_EQ(data.GetForexData("EUR/USD:X.Y", "NOPE"), data.GetForexData("EUR/USD", nullptr));
    EXPECT_EQ(data.GetForexData("EURUSD", nullptr), nullptr);

    // A pair whose only entry has a bank: that entry is its default.
    EXPECT_DOUBLE_EQ(data.GetForexBuyPremium("NZD/USD"), 3.5);

    // GBP/USD: its own default, and a banked entry that does not replace it.
    EXPECT_DOUBLE_EQ(data.GetForexBuyPremium("GBP/USD"), 1.5);
    EXPECT_DOUBLE_EQ(data.GetForexBuyPremium("GBP/USD", "XYZ"), 2.5);
    EXPECT_DOUBLE_EQ(data.GetForexMarginMultiplier("GBP/USD", nullptr), 0.02);
    EXPECT_DOUBLE_EQ(data.GetForexMarginMultiplier("GBP/USD", "XYZ"), 1.0);
    EXPECT_FALSE(data.IsForexLotMultiplierActive("GBP/USD"));
    EXPECT_TRUE(data.IsForexLotMultiplierActive("USD/JPY"));
    EXPECT_EQ(data.GetForexPipPlaces("GBP/USD"), 4);
    EXPECT_EQ(data.GetForexPipPlaces("USD/JPY"), 2);
    EXPECT_DOUBLE_EQ(data.GetForexPipDecimal("USD/JPY"), 0.01);
    // The later EUR/USD entry has no pipDecimal, so its default carries none.
    EXPECT_EQ(data.GetForexPipPlaces("EUR/USD"), 0);

    double buy = -1, sell = -1;
    EXPECT_EQ(data.GetForexPremiums("AUD/USD", nullptr, buy, sell), 0);
    EXPECT_EQ(buy, -1);
    EXPECT_EQ(data.GetForexPremiums("EUR/USD", "ABC", buy, sell), 1);
    EXPECT_DOUBLE_EQ(buy, 0.5);
    EXPECT_DOUBLE_EQ(sell, 0.25);
    EXPECT_DOUBLE_EQ(data.GetForexMarginMultiplier("AUD/USD", nullptr), 1.0);
    EXPECT_FALSE(data.IsForexLotMultiplierActive("AUD/USD"));

    CString proper;
    for (const char* written : {"EUR/USD", "EURUSD", "USDEUR", "USD/EUR"}) {
        proper.Empty();
        EXPECT_EQ(data.GetProperForexSymbol(written, proper), 1) << written;
        EXPECT_EQ(proper, "EUR/USD") << written;
    }
    EXPECT_EQ(data.GetProperForexSymbol("JPY", "USD", proper), 1);
    EXPECT_EQ(proper, "USD/JPY");
    EXPECT_EQ(data.GetProperForexSymbol("AUDUSD", proper), 0);

    CStringArray pairs;
    ASSERT_EQ(data.GetAllForexSymbols(pairs), 1);
    EXPECT_EQ(CTokenEx().Join("|", pairs), "EUR/USD|GBP/USD|USD/JPY|NZD/USD");

    const std::string log = Log();
    EXPECT_NE(log.find(" L2 "), std::string::npos);
    EXPECT_NE(log.find("Mapped default CForexData for GBP/USD\n"), std::string::npos);
    EXPECT_NE(log.find("Mapped default CForexData for EUR/USD\n"), std::string::npos);
    EXPECT_EQ(log.find("Mapped default CForexData for USD/JPY\n"), log.rfind("Mapped default CForexData for USD/JPY\n"));
}

TEST_F(SymbolData, FuturesRootsContractSizesAndDecimalAttributesReadLikeTheCLibrary)
{
    TestSymbolData data;
    LoadSymbolData(kFuturesFile, data);

    // A symbol that is itself a root in the file stays whole; "kept": the
    // root is left as it was.
    const struct {
        const char* symbol;
        int result;
        const char* root;
    } roots[] = { { "IBM", 0, "kept" },    { "/ESZ2", 1, "/ES" }, { "/ESZ12", 1, "/ESZ12" }, { "/NQZ12", 1, "/NQZ" },
                  { "/CL", 1, "kept" }, { "/ABCDEFGHIJ", 1, "kept" } };
    for (const auto& c : roots) {
        CString root = "kept";
        EXPECT_EQ(data.GetFutureRoot(c.symbol, root), c.result) << c.symbol;
        EXPECT_EQ(root, c.root) << c.symbol;
    }

    // /NQ: the repeated root replaced the first; its exchange is blank
    // after trimming.
    const struct {
        const char* symbol;
        int hasExchange;
        double increment, overnight, maintenance, intraday;
        int displayFormat;
    } futures[] = { { "/ESH3", 1, 0.25, 5000, 4000, 500, 0 }, { "/NQH3", 0, 0.75, 0, 0, 0, 0 },
                    { "/CLH3", 0, 1.0, 0, 0, 0, 0 },          { "/ZBH3", 0, 0.0, 0, 0, 0, 33 } };
    for (const auto& c : futures) {
        CString exchange;
        EXPECT_EQ(data.GetExchangeForFutureRoot(c.symbol, exchange), c.hasExchange) << c.symbol;
        EXPECT_DOUBLE_EQ(data.GetIncrementForFutureRoot(c.symbol), c.increment) << c.symbol;
        EXPECT_DOUBLE_EQ(data.GetOvernightMarginForFutureRoot(c.symbol), c.overnight) << c.symbol;
        EXPECT_DOUBLE_EQ(data.GetOvernightMaintForFutureRoot(c.symbol), c.maintenance) << c.symbol;
        EXPECT_DOUBLE_EQ(data.GetIntradayMarginForFutureRoot(c.symbol), c.intraday) << c.symbol;
        EXPECT_EQ(data.GetDisplayFormatForFutureRoot(c.symbol), c.displayFormat) << c.symbol;
        EXPECT_EQ(exchange, c.hasExchange ? "CME" : "") << c.symbol;
    }

    const struct { const char* symbol; int contractSize, decimals; } sizes[] = {
        { "/ESZ2", 50, 2 }, { "/NQZ2", 0, 2 }, // known root, no size in the file
        { "/CLZ2", 1, 2 },  { "/ZBH3", 1000, 33 },  { "+ABC", 100, 2 },
        { "EUR/USD", 10000, 0 }, // a pair without data has 0 pip places
        { "EUR/USD.X", 1, 0 },   { "IBM", 1, 2 },
    };
    for (const auto& c : sizes) {
        EXPECT_EQ(data.GetContractSize(c.symbol), c.contractSize) << c.symbol;
        EXPECT_EQ(data.GetMinNumDecimalPlaces(c.symbol), c.decimals) << c.symbol;
    }
    EXPECT_EQ(data.GetContractSize(nullptr), 1);

    CMapStringToString vendor;
    vendor["stale"] = "entry";
    data.GetFuturesRootMapForEsignal(vendor);
    EXPECT_EQ(vendor.GetCount(), 4);
    CString value;
    EXPECT_TRUE(vendor.Lookup("/ES", value) && value == "ES");
    EXPECT_TRUE(vendor.Lookup("ZB", value) && value == "/ZB");
    // Decimal attributes read exactly as the C library reads them, whether the
    // text is a plain decimal or anything else it accepts or stops in.
    const struct {
        const char* text;
        double value;
    } decimals[] = {
        {"0.1", 0.1}, {"-2.5", -2.5}, {"+.5", 0.5}, {"7.", 7.0}, {"0.30000000000000004", 0.30000000000000004},
        {"123456789012345678", 123456789012345678.0}, {"12345678901234567890.5", 12345678901234567890.5},
        {"1e-3", 0.001}, {"  0.75", 0.75}, {"3.14abc", 3.14}, {"abc", 0.0}, {"-0", -0.0},
    };
    std::string file = "<SymbolData><Futures>";
    for (std::size_t i = 0; i < std::size(decimals); ++i) {
        file += "<Root Symbol=\"/A" + std::string(1, char('A' + i)) + "\" Increment=\"" + decimals[i].text + "\"/>";
    }
    file += "</Futures></SymbolData>";
    TestSymbolData decimalData;
    LoadSymbolData(file, decimalData);
    for (std::size_t i = 0; i < std::size(decimals); ++i) {
        const std::string symbol = "/A" + std::string(1, char('A' + i)) + "Z2";
        const double read = decimalData.GetIncrementForFutureRoot(symbol.c_str());
        EXPECT_EQ(read, decimals[i].value) << decimals[i].text;
        EXPECT_EQ(std::signbit(read), std::signbit(decimals[i].value)) << decimals[i].text;
    }
}

TEST_F(SymbolData, SpotRatesAndRiskFreeRate)
{
    TestSymbolData data;
    EXPECT_DOUBLE_EQ(data.GetRiskFreeIntRate(), 0.019);
    LoadSymbolData(R"(<SymbolData>
  <ExchRates>
    <Rate Name="USD/JPY" Rate="80"/>
    <Rate Name="USD/JPY" Rate="90"/>
    <Rate Name="CAD/USD" Rate="0.75"/>
    <Rate Name="USD/XXX" Rate="0"/>
    <Rate Name="USD/CHF"/>
  </ExchRates>
  <RiskFreeIntRate>0.05</RiskFreeIntRate>
</SymbolData>)", data);

    EXPECT_DOUBLE_EQ(data.GetSpotMultiplier("IBM", "JPY"), 80);
    EXPECT_DOUBLE_EQ(data.GetSpotMultiplier("CAT.ABC", "USD"), 0.75);
    EXPECT_DOUBLE_EQ(data.GetSpotMultiplier("CAV.ABC", "JPY"), 1.0);
    EXPECT_DOUBLE_EQ(data.GetSpotMultiplier("IBM", "CHF"), 1.0);
    EXPECT_DOUBLE_EQ(data.GetSpotMultiplier("IBM", "XXX"), 0.0);
    EXPECT_DOUBLE_EQ(data.GetRiskFreeIntRate(), 0.05);

    // The inverse lies under the reversed key; a zero rate has none.
    TestSymbolData direct;
    direct.MapSpotRate("JPY/USD", 2.0);
    EXPECT_DOUBLE_EQ(direct.GetSpotMultiplier("IBM", "JPY"), 0.5);

    // An empty rate element keeps the rate.
    LoadSymbolData("<SymbolData><RiskFreeIntRate></RiskFreeIntRate></SymbolData>", data);
    EXPECT_DOUBLE_EQ(data.GetRiskFreeIntRate(), 0.05);
}

TEST_F(SymbolData, LoadReplacesContentAndReportsFailures)
{
    TestSymbolData data;
    data.SetUserName("nobody");
    EXPECT_EQ(data.LoadXML(), 0);
    EXPECT_EQ(Log(), "");

    // The shared file serves when the user has none.
    WriteFile(DataFolder() / "SymbolData.xml", kForexFile);
    EXPECT_EQ(data.LoadXML(), 1);
    EXPECT_DOUBLE_EQ(data.GetForexBuyPremium("GBP/USD"), 1.5);

    // A later load replaces everything, also when it holds less.
    LoadSymbolData(kFuturesFile, data, "nobody");
    EXPECT_DOUBLE_EQ(data.GetForexBuyPremium("GBP/USD"), 0.0);
    CStringArray pairs;
    pairs.Add("untouched");
    EXPECT_EQ(data.GetAllForexSymbols(pairs), 0);
    EXPECT_EQ(pairs.GetSize(), 1);
    EXPECT_EQ(data.GetContractSize("/ESZ2"), 50);

    // A file that does not parse, or has no SymbolData element, reads as 1
    // with nothing in it.
    LoadSymbolData("<SymbolData><Forex><Pair Symbol=\"EUR/USD\"></Forex>", data, "nobody");
    CString proper;
    EXPECT_EQ(data.GetProperForexSymbol("EUR/USD", proper), 0);
    EXPECT_EQ(data.GetContractSize("/ESZ2"), 1);
    LoadSymbolData("<Other><Forex><Pair Symbol=\"EUR/USD\"/></Forex></Other>", data, "nobody");
    EXPECT_EQ(data.GetProperForexSymbol("EUR/USD", proper), 0);

    // An empty per-user file is a logged failure; the shared file is not tried.
    WriteFile(DataFolder() / "nobody-OrvSymbolData.xml", "");
    EXPECT_EQ(data.LoadXML(), 0);
    const std::string expected =
        "Failed to load symbol data " + std::string(data.GetXMLPath().GetString()) + "...the file is empty\n";
    EXPECT_NE(Log().find(" L4 "), std::string::npos);
    EXPECT_NE(Log().find(expected), std::string::npos) << Log();
    EXPECT_DOUBLE_EQ(data.GetForexBuyPremium("GBP/USD"), 0.0);

    LoadSymbolData(kForexFile, data, "nobody");
    data.Clear();
    EXPECT_EQ(data.GetAllForexSymbols(pairs), 0);
}

TEST_F(SymbolData, PathsWriteAndChecksum)
{
    CSymbolData data;
    data.SetUserName("alice");
    const std::filesystem::path file = DataFolder() / "alice-OrvSymbolData.xml";
    EXPECT_EQ(std::filesystem::path(data.GetXMLPath().GetString()), file);
    EXPECT_EQ(data.GetXMLFileChecksum(), 0u);

    const CString text = "<Checksum>1A2b</Checksum>\r\n<SymbolData><Forex><P Symbol=\"EUR/USD\"/></Forex></SymbolData>";
    data.WriteXML(text);
    EXPECT_EQ(ReadFile(file), text.GetString());
    EXPECT_EQ(data.GetXMLFileChecksum(), 0x1A2Bu);
    EXPECT_EQ(GetXMLFileChecksum("alice-OrvSymbolData.xml"), 0x1A2Bu);
    EXPECT_EQ(data.LoadXML(), 1);
    CString proper;
    EXPECT_EQ(data.GetProperForexSymbol("USDEUR", proper), 1);

    // A failed write keeps the previous file whole and leaves nothing behind.
    platform::SetFileReplaceFaultForTesting(10);
    data.WriteXML("<SymbolData>a much longer replacement text</SymbolData>");
    EXPECT_EQ(ReadFile(file), text.GetString());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(DataFolder()), {}), 1);
    const std::string warning = "Warning: unable to open symbol data " + std::string(data.GetXMLPath().GetString()) + "...";
    EXPECT_NE(Log().find(warning), std::string::npos) << Log();

    // A write where the data folder cannot exist fails the same way.
    std::filesystem::remove_all(DataFolder());
    WriteFile(DataFolder(), "a file where the folder should be");
    data.WriteXML("<SymbolData/>");
    EXPECT_EQ(ReadFile(DataFolder()), "a file where the folder should be");

    std::filesystem::remove(DataFolder());
    std::filesystem::create_directories(DataFolder());
    const auto stamp = [&](const std::string& firstLine) {
        WriteFile(file, firstLine + "\n<SymbolData/>");
        return data.GetXMLFileChecksum();
    };
    const std::pair<std::string, unsigned> stamps[] = {
        { "<Checksum>ffffffff</Checksum>", 0xFFFFFFFFu }, { "<Checksum>123456789</Checksum>", 0xFFFFFFFFu },
        { "<Checksum>zz</Checksum>", 0u }, { "<Checksum>12", 0u }, { "12</Checksum>", 0u }, { "", 0u },
        // Only the first 127 characters of the line are examined.
        { std::string(110, ' ') + "<Checksum>12</Checksum>", 0u },
        { std::string(100, ' ') + "<Checksum>12</Checksum>", 0x12u },
        // The stamp must be on the first line.
        { "\n<Checksum>12</Checksum>", 0u },
    };
    for (const auto& [line, checksum] : stamps)
        EXPECT_EQ(stamp(line), checksum) << line;
}

// Lookups on several threads while another thread reloads the file again
// and again: every answer is either the old or the new content, never a
// torn or freed one. Run under ThreadSanitizer as well.
TEST_F(SymbolData, LookupsStaySafeDuringReload)
{
    TestSymbolData data;
    // The forex entries and the futures roots in one file.
    std::string both = kForexFile;
    both.erase(both.find("</SymbolData>"));
    both += std::string(kFuturesFile).substr(std::string("<SymbolData>").size());
    LoadSymbolData(both, data);
    ASSERT_EQ(data.GetContractSize("/ESZ2"), 50);

    std::atomic<bool> stop{false};
    std::atomic<int> wrong{0};
    std::vector<std::thread> readers;
    for (int t = 0; t < 3; ++t) {
        readers.emplace_back([&] {
            CString text;
            CStringArray pairs;
            CMapStringToString vendor;
            while (!stop) {
                const double premium = data.GetForexBuyPremium("GBP/USD");
                if (premium != 1.5 && premium != 0.0)
                    ++wrong;
                const int size = data.GetContractSize("/ESZ2");
                if (size != 50 && size != 1)
                    ++wrong;
                if (data.GetProperForexSymbol("USDEUR", text) && text != "EUR/USD")
                    ++wrong;
                if (data.GetExchangeForFutureRoot("/ESH3", text) && text != "CME")
                    ++wrong;
                data.GetAllForexSymbols(pairs);
                data.GetFuturesRootMapForEsignal(vendor);
                data.GetSpotMultiplier("IBM", "JPY");
                data.GetMinNumDecimalPlaces("EUR/USD");
            }
        });
    }
    for (int i = 0; i < 60; ++i) {
        EXPECT_EQ(data.LoadXML(), 1);
        if (i % 10 == 0)
            data.Clear();
    }
    stop = true;
    for (auto& reader : readers)
        reader.join();
    EXPECT_EQ(wrong.load(), 0);
}

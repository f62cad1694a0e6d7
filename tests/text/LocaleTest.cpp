#include "text/Locale.h"

#include "support/SavedNumberSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <utility>

namespace {

// Tests change the process-wide settings; each is put back afterwards.
class Locale : public ::testing::Test {
    orv_test::SavedNumberSettings m_saved;
};

} // namespace

TEST_F(Locale, OnlyTheLastPointTakesTheDecimalSeparator)
{
    CLocale::DecimalSeparator = ',';
    CString text = "1.234.5";
    EXPECT_STREQ(CLocale::ReformatDotDecimal(text), "1.234,5");
    text = "1234";
    EXPECT_STREQ(CLocale::ReformatDotDecimal(text), "1234");

    CString out;
    EXPECT_STREQ(CLocale::FormatFloat(3.14159, out, 2), "3,14");
    EXPECT_STREQ(CLocale::FormatPct(2.5, out, 10), "  2,500000");

    CLocale::DecimalSeparator = '.';
    text = "1.234.5";
    EXPECT_STREQ(CLocale::ReformatDotDecimal(text), "1.234.5");
}

TEST_F(Locale, CallerFormatsMustHoldOneFloatingConversionAndHostTextsFillTheCallersString)
{
    CLocale::DecimalSeparator = '.';
    CString out;
    EXPECT_STREQ(CLocale::FormatFloatFmt(12.345, out, "%.1f%%"), "12.3%");
    EXPECT_STREQ(CLocale::FormatPctFmt(-0.5, out, "(%+08.2f)"), "(-0000.50)");
    EXPECT_STREQ(CLocale::FormatFloatFmt(1e6, out, "%g"), "1e+06");
    for (const char* refused : { "%s", "%f %f", "%*f", "no conversion", static_cast<const char*>(nullptr), "%" }) {
        out = "stale";
        EXPECT_STREQ(CLocale::FormatFloatFmt(1.0, out, refused), "") << (refused ? refused : "null");
    }
    EXPECT_STREQ(CLocale::FormatLong(-1234567, out), "-1,234,567");
    EXPECT_STREQ(CLocale::FormatMoney(1234.5, out), "1,234.50");
    EXPECT_STREQ(CLocale::FormatPrice(2.5, out), "2.50");
    EXPECT_STREQ(CLocale::FormatPriceEx(101.515625, out, 32), "101'165");
    // The edit price form has room for 24 characters: a longer text is not cut.
    EXPECT_STREQ(CLocale::FormatPriceEx(123456789012.5, out, 15), "#######################");
}

TEST_F(Locale, ForexSizesInLots)
{
    g_lForexLotSize = 10000;
    g_bForexUseLots = 1;
    CString out;
    const std::pair<LONG, const char*> sizes[] = { { 25000, "2" }, { 10000, "1" }, { 5000, "0.5" },
                                                   { 9999, "1.0" }, { 0, "0" },    { -20000, "-20,000" } };
    for (const auto& [size, text] : sizes)
        EXPECT_STREQ(CLocale::FormatFXBidAskSize(size, out), text) << size;
    g_bForexUseLots = 0;
    EXPECT_STREQ(CLocale::FormatFXBidAskSize(25000, out), "25,000");
    g_bForexUseLots = 1;
    g_lForexLotSize = 0;
    EXPECT_STREQ(CLocale::FormatFXBidAskSize(25000, out), "25,000");
}

TEST(CalcNumDecimalPlaces, CountsTheDecimalsNeeded)
{
    const std::pair<double, int> cases[] = { { 1.25, 2 },   { 0.0001, 4 },      { 12.5, 1 },       { 100.0, -2 },
                                             { 7.0, 0 },    { 0.0, 0 },         { 0.00000001, 0 }, { -1.2345, 4 },
                                             { 1.23456789, 7 }, { 1e20, -20 } };
    for (const auto& [value, places] : cases)
        EXPECT_EQ(CalcNumDecimalPlaces(value), places) << value;
    EXPECT_EQ(CalcNumDecimalPlaces(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_LE(CalcNumDecimalPlaces(1e300), 0);
}

// Run by the test set-up under a chosen locale (LC_ALL natively, the Windows
// locale under Wine) with the separators it must produce.
TEST(LocaleSeparators, AreReadFromTheSystemAtLoad)
{
    const char* expected = std::getenv("ORV_EXPECTED_SEPARATORS");
    if (expected == nullptr || std::char_traits<char>::length(expected) != 2)
        GTEST_SKIP() << "ORV_EXPECTED_SEPARATORS not set";
    EXPECT_EQ(CLocale::DecimalSeparator, expected[0]);
    EXPECT_EQ(CLocale::ThousandsSeparator, expected[1]);
}

#include "controls/MarketValueText.h"

#include "ControlsTestSupport.h"

#include <cmath>

using namespace orv::controls;

namespace {

class MarketValueText : public orv_test::NumberSettings {};

DWORD FakeSystemColor(int index)
{
    return 0x010000u + DWORD(index);
}

} // namespace

// Price and money texts are the host's, which always writes "."; pips take
// the user's separator (the `localized` rows).
TEST_F(MarketValueText, MoneyTextsByFormatAndSubPipsAfterTheLastRegularDecimal)
{
    const struct { MoneyTextOptions options; double value; const char* text; bool localized; } cases[] = {
        {{MoneyPrice, 2}, 0, "0.00", false},          {{MoneyPrice, 2, true}, 0, "", false},
        {{MoneyPrice, 2}, 1e10, "", false},           {{MoneyPrice, 2}, -1e10, "", false},
        {{MoneyPrice, 2}, std::nan(""), "", false},   {{MoneyPrice, 2}, 9999999999.0, "9999999999.00", false},
        {{MoneyPrice, 4, false, true, "EUR "}, 1.25, "EUR 1.2500", false},
        {{MoneyAmount, 2, false, false}, -1234.5, "-1,234.50", false},
        {{MoneyPips, 4}, 0.0012, "12.0", true},      {{MoneySubPips, 4}, 1.23456, "1.234560", false},
        {{MoneySubPips, 2}, 101.5, "101.5000", false}, {{MoneyPrice, 32}, 101.515625, "101'165", false},
    };
    for (const auto& c : cases)
        EXPECT_STREQ(FormatMoneyText(c.value, c.options).text, c.localized ? Localized(c.text) : CString(c.text));
    const MoneyText parts = FormatMoneyText(1.23456, {MoneySubPips, 4});
    EXPECT_STREQ(parts.main, "1.2345");
    EXPECT_STREQ(parts.subPips, "60");
    const struct { const char* text; int decimals; const char* main; const char* subPips; } splits[] = {
        {"1.23456", 4, "1.2345", "60"}, {"1.2345", 4, "1.2345", "00"}, {"1.234567", 4, "1.2345", "67"},
        {"-0.5", 0, "-0.", "50"},      {"12", 4, "12", ""},            {"1.2", -3, "1.", "20"},
    };
    for (const auto& c : splits) {
        CString main, subPips;
        SplitSubPips(Localized(c.text), c.decimals, main, subPips);
        EXPECT_STREQ(main + "|" + subPips, Localized(c.main) + "|" + c.subPips) << c.text;
    }
    CString text = "$1,234.50  ";
    RemoveMoneySymbol(text);
    EXPECT_STREQ(text, "1,234.50");
    text = "1.00 ";
    RemoveMoneySymbol(text);
    EXPECT_STREQ(text, "1.00 ");
}

TEST_F(MarketValueText, ChangePercentVolumeAndPercentTextsTickArrowsAndColours)
{
    EXPECT_STREQ(AppendChangePercent("1.25", 0.5), CString("1.25") + Localized(" (0.50%)"));
    EXPECT_STREQ(AppendChangePercent("-3", -0.125), CString("-3") + Localized(" (-0.12%)"));
    EXPECT_STREQ(AppendChangePercent("0.00", -0.004), CString("0.00") + Localized(" (0.00%)"));
    EXPECT_STREQ(AppendChangePercent("", 5), "");
    EXPECT_STREQ(AppendChangePercent("1", std::nan("")), "1");

    g_lForexLotSize = 10000;
    EXPECT_STREQ(VolumeText(25000, true) + "|" + VolumeText(5000, true) + "|" + VolumeText(25000, false),
                 "2|0.5|25,000");

    const struct { int decimals; const char* format; double value; const char* text; } percents[] = {
        {2, "%.02lf%%", 0.1234, "12.34%"}, {2, "%.02lf%%", 0.12345, "12.35%"}, {0, "%.0f%%", 0.5, "50%"},
        {12, "%.0f%%", 0.5, "50%"},        {-1, "%.0f%%", 0.256, "26%"},       {9, "%.09lf%%", 0.5, "50.000000000%"},
        {2, "%.02lf%%", std::nan(""), ""},
    };
    for (const auto& p : percents) {
        EXPECT_STREQ(PercentFormat(p.decimals), p.format) << p.decimals;
        EXPECT_STREQ(PercentText(p.value, p.decimals), Localized(p.text)) << p.decimals;
    }

    TickState tick;
    const bool redraws[] = {tick.Set(true), tick.Set(true), tick.Set(false), tick.Set(false)};
    EXPECT_EQ(redraws[0] * 1000 + redraws[1] * 100 + redraws[2] * 10 + redraws[3], 1010);
    EXPECT_EQ(tick.Glyph(), char(0xDA));
    tick.Clear();
    EXPECT_TRUE(tick.Set(true));
    EXPECT_EQ(tick.Glyph(), char(0xD9));

    EXPECT_EQ(SignColor(0, 1, 2, 3) * 100 + SignColor(0.01, 1, 2, 3) * 10 + SignColor(-5, 1, 2, 3), 312u);
    EXPECT_EQ(ThresholdColor(0.5, 0.5, 1, 2) * 10 + ThresholdColor(0.49, 0.5, 1, 2), 12u);
    EXPECT_EQ(ResolveColor(0x8000000F, FakeSystemColor), 0x01000Fu);
    EXPECT_EQ(ResolveColor(0x80000008, FakeSystemColor), 0x010008u);
    EXPECT_EQ(ResolveColor(0x00123456, FakeSystemColor), 0x123456u);
}

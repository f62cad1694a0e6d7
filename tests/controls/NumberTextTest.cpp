#include "controls/ApostrophePrice.h"
#include "controls/NumberText.h"

#include "ControlsTestSupport.h"
#include "Kestrel.h"

#include <cmath>
#include <cstdlib>

using namespace orv::controls;

namespace {

class NumberEdit : public orv_test::NumberSettings {};

struct ApostropheCase {
    int code;
    const char* text;
    bool ok;
    double value;
};

const ApostropheCase kApostropheCases[] = {
    {32, "101'165", true, 101.515625},   {33, "99'087", true, 99 + 8 / 32.0 + 3 / 128.0},
    {32, "108'165", true, 108.515625},   {33, "108'162", true, 108.5078125},
    {32, "-101'16", true, -101.5},       {32, "-0'16", true, -0.5},
    {33, "-2'012", true, -2.0 - 1 / 32.0 - 1 / 128.0}, {34, "1'315", true, 1 + 31 / 32.0 + 1 / 64.0},
    {32, "101'1", true, 101 + 1 / 32.0}, {32, "101'", true, 101},
    {32, "'16", true, 0.5},              {32, "-'16", true, -0.5},
    {32, "101'160", true, 101.5},        {17, "5'1", true, 5.5},
    {18, "5'3", true, 5.75},             {19, "5'7", true, 5.875},
    {20, "5'15", true, 5 + 15 / 16.0},   {22, "5'63", true, 5 + 63 / 64.0},
    {24, "5'255", true, 5 + 255 / 256.0},
    {32, "108'16.5", false, 0},          {32, "101'32", false, 0},
    {32, "101'163", false, 0},           {33, "101'165", true, 101 + 16 / 32.0 + 1 / 64.0},
    {33, "101'166", false, 0},           {32, "101'1650", false, 0},
    {17, "5'2", false, 0},               {19, "5'8", false, 0},
    {23, "5'128", false, 0},             {32, "1'2'3", false, 0},
    {32, "10 1'16", false, 0},           {32, "101", false, 0},
    {32, "--1'16", false, 0},            {32, "+1'16", false, 0},
    {2, "101'16", false, 0},             {32, "", false, 0},
};

} // namespace

TEST(ApostrophePrice, ReadsEveryFractionCodeAndSubtractsTheFractionOfANegativePrice)
{
    for (const ApostropheCase& c : kApostropheCases) {
        double value = -999;
        EXPECT_EQ(ParseApostrophePrice(c.text, c.code, value), c.ok) << c.code << " " << c.text;
        EXPECT_DOUBLE_EQ(value, c.ok ? c.value : -999) << c.code << " " << c.text;
    }
    double untouched = 7;
    EXPECT_FALSE(ParseApostrophePrice(nullptr, 32, untouched));
}

// Every text the host writes in a fraction code reads back as its value.
TEST(ApostrophePrice, ReadsBackWhatTheHostWrites)
{
    const int codes[] = {17, 18, 19, 20, 21, 22, 23, 24, 32, 33, 34};
    for (int code : codes) {
        const double tick = ApostropheTick(code);
        ASSERT_GT(tick, 0) << code;
        for (int ticks : {0, 1, 3, 7, 255, 6497, -1, -6496}) {
            const double value = ticks * tick;
            char text[64];
            HostFormatPriceEx(value, text, sizeof text, code);
            double read = 1e9;
            EXPECT_TRUE(ParseApostrophePrice(text, code, read)) << code << " " << text;
            EXPECT_DOUBLE_EQ(read, value) << code << " " << text;
        }
    }
    EXPECT_EQ(ApostropheTick(20), 1 / 16.0);
    EXPECT_EQ(ApostropheTick(34), 1 / 128.0);
    EXPECT_EQ(ApostropheTick(16), 0);
    EXPECT_FALSE(IsApostropheDecimalFormat(25));
    EXPECT_TRUE(IsApostropheDecimalFormat(17));
}

TEST_F(NumberEdit, FormatsEachKindAndReadsItBack)
{
    g_lForexLotSize = 10000;
    struct Case {
        int kind, decimals;
        double value;
        const char* text;
    };
    const Case cases[] = {
        {NumberPrice, 2, 101.255, "101.26"},     {NumberPrice, 4, -0.5, "-0.5000"},
        {NumberPrice, 32, 101.515625, "101'165"}, {NumberPrice, 32, -101.5, "-101'16"},
        {NumberPrice, 33, 99.2734375, "99'087"}, {NumberWhole, 0, 1234, "1234"},
        {NumberWhole, 0, -7, "-7"},              {NumberPercent, 2, 12.5, "12.50%"},
        {NumberPercent, 0, 3, "3%"},             {NumberForexLots, 0, 25000, "2.5"},
        {NumberForexLots, 0, 30000, "3"},        {NumberForexLots, 0, 12345, "1.2345"},
    };
    for (const Case& c : cases) {
        NumberEditModel model(c.kind, c.decimals);
        model.SetMin(-1e6);
        const CString text = model.Format(c.value);
        EXPECT_STREQ(text, Localized(c.text)) << c.text;
        double read = 0;
        EXPECT_TRUE(model.Parse(text, read)) << c.text;
        EXPECT_NEAR(read, c.value, 0.006) << c.text;
    }
}

TEST_F(NumberEdit, ReadsOnlyNumbersOfThisEdit)
{
    g_lForexLotSize = 10000;
    struct Case {
        int kind, decimals;
        const char* text;
        bool ok;
        double value;
    };
    const Case cases[] = {
        {NumberPrice, 2, " 101.25 ", true, 101.25}, {NumberPrice, 2, "", true, 0},
        {NumberPrice, 2, "-", true, 0},             {NumberPrice, 2, ".", true, 0},
        {NumberPrice, 2, "-.5", true, -0.5},        {NumberPercent, 2, "12.5%", true, 12.5},
        {NumberForexLots, 0, "2.5", true, 25000},   {NumberPrice, 32, "101.5", true, 101.5},
        {NumberPrice, 32, "101'16.5", false, 0},    {NumberPrice, 2, "1.2.3", false, 0},
        {NumberPrice, 2, "12a", false, 0},          {NumberPrice, 2, "1e5", false, 0},
        {NumberPrice, 2, "1 2", false, 0},          {NumberPrice, 2, "5-", false, 0},
        {NumberPrice, 2, "101'16", false, 0},
    };
    for (const Case& c : cases) {
        NumberEditModel model(c.kind, c.decimals);
        double read = -1;
        EXPECT_EQ(model.Parse(Localized(c.text), read), c.ok) << c.text;
        if (c.ok) {
            EXPECT_DOUBLE_EQ(read, c.value) << c.text;
        }
    }
}

TEST_F(NumberEdit, StepsRoundsAndClamps)
{
    EXPECT_EQ(NumberEditModel(NumberWhole, 0).GetDelta(), 100);
    EXPECT_EQ(NumberEditModel(NumberPrice, 2).GetDelta(), 0.01);
    EXPECT_EQ(NumberEditModel(NumberForexLots, 0).GetDelta(), 0.01);
    NumberEditModel percent(NumberPercent, 3);
    EXPECT_EQ(percent.GetDelta(), 1);
    EXPECT_TRUE(percent.SetNumDecimalPlaces(0, -1));
    EXPECT_EQ(percent.GetDelta(), 1);
    percent.SetDelta(0.001);
    EXPECT_FALSE(percent.SetNumDecimalPlaces(0, -1));
    EXPECT_TRUE(percent.SetNumDecimalPlaces(2, -1));
    EXPECT_EQ(percent.GetDelta(), 0.01);

    struct Case {
        int kind, decimals, rounding;
        double set, stored;
    };
    const Case cases[] = {
        {NumberPrice, 2, -1, 5e9, 2147483647},       {NumberPrice, 2, -1, -3, 0},
        {NumberPrice, 32, -1, 101.51, 101.515625},   {NumberPrice, 33, -1, 1.004, 1.0078125},
        {NumberPrice, 20, -1, 1.03, 1.0},            {NumberPercent, 2, -1, 12.125, 12.13},
        {NumberPrice, 2, 1, 1.25, 1.3},              {NumberPrice, 2, -1, 1.255, 1.255},
        {NumberWhole, 0, -1, 12.5, 13},              {NumberForexLots, 0, -1, 25000.4, 25000},
    };
    for (const Case& c : cases) {
        NumberEditModel model(c.kind, c.decimals);
        model.SetNumDecimalPlaces(c.decimals, c.rounding);
        EXPECT_EQ(model.Set(c.set), c.stored != 0) << c.set;
        EXPECT_DOUBLE_EQ(model.Get(), c.stored) << c.set;
    }

    NumberEditModel price(NumberPrice, 2);
    EXPECT_FALSE(price.Set(std::nan("")));
    EXPECT_FALSE(price.Set(0));
    EXPECT_TRUE(price.Set(0, true));
    price.SetMinMax(-10, 1.02);
    price.Set(1);
    EXPECT_TRUE(price.Step(1));
    EXPECT_DOUBLE_EQ(price.Get(), 1.01);
    EXPECT_TRUE(price.CanIncrement());
    price.Step(5);
    EXPECT_DOUBLE_EQ(price.Get(), 1.02);
    EXPECT_FALSE(price.CanIncrement());
    EXPECT_FALSE(price.Step(1));
    price.SetMinMax(-1e300, 1e300);
    EXPECT_EQ(price.GetMin(), -2147483648.0);
    EXPECT_EQ(price.GetMax(), 2147483647.0);
    price.Set(2.5);
    EXPECT_EQ(price.GetLong(), 3);
    price.Set(-2.5);
    EXPECT_EQ(price.GetLong(), -2);
    price.SetMin(0);
    EXPECT_EQ(price.Get(), 0);
    EXPECT_FALSE(price.CanDecrement());
}

// Keys typed one after another from a text with the caret at its end; the
// result is the text shown and whether the last key was taken.
TEST_F(NumberEdit, TypingFiltersKeysAndKeepsTheLastTextThatReads)
{
    g_lForexLotSize = 10000;
    struct Case {
        int kind, decimals;
        double minimum;
        const char* start;
        const char* keys;
        const char* shown;
        double stored;
    };
    const Case cases[] = {
        {NumberPrice, 2, 0, "5", "-", "5", 0},           {NumberPrice, 2, -10, "", "-5", "-5", -5},
        {NumberPrice, 2, 0, "", "1 a2", "12", 12},       {NumberPrice, 2, 0, "1.2", ".5", "1.25", 1.25},
        {NumberForexLots, 0, 0, "", "2.5", "2.5", 25000}, {NumberWhole, 0, 0, "", "12.5", "125", 125},
        {NumberPrice, 32, 0, "", "101'165", "101'165", 101.515625},
        {NumberPrice, 2, 0, "", "1'5", "15", 15},        {NumberPrice, 2, 0, "", "5%", "5", 5},
        {NumberPercent, 2, 0, "", "5.5%", "5.5%", 5.5},  {NumberPrice, 2, 0, "", "99999999999", "99999999999", 2147483647},
        {NumberPrice, 2, 0, "1.25", "\b\b", "1.", 1},    {NumberPrice, 2, 0, "", "\b", "", 0},
    };
    for (const Case& c : cases) {
        NumberEditModel model(c.kind, c.decimals);
        model.SetMin(c.minimum);
        CString text = Localized(c.start);
        for (const char* key = c.keys; *key != '\0'; ++key) {
            const NumberEditChange change = model.Type(text, text.GetLength(), text.GetLength(), *key);
            if (change.accepted) {
                EXPECT_EQ(change.caret, change.text.GetLength()) << c.keys;
                text = change.text;
            }
        }
        EXPECT_STREQ(text, Localized(c.shown)) << c.keys;
        EXPECT_DOUBLE_EQ(model.Get(), c.stored) << c.keys;
    }
}

TEST_F(NumberEdit, DeleteKeyDeletesWhileATypedPointIsInserted)
{
    NumberEditModel model(NumberPrice, 2);
    NumberEditChange change = model.Type("125", 0, 0, 46, KeySource::DeleteKey);
    EXPECT_TRUE(change.accepted);
    EXPECT_STREQ(change.text, "25");
    EXPECT_EQ(change.caret, 0);
    change = model.Type("125", 1, 3, 46, KeySource::DeleteKey);
    EXPECT_STREQ(change.text, "1");
    EXPECT_FALSE(model.Type("125", 3, 3, 46, KeySource::DeleteKey).accepted);
    change = model.Type("125", 1, 1, 46);
    EXPECT_STREQ(change.text, Localized("1.25"));
    EXPECT_DOUBLE_EQ(model.Get(), 1.25);

    CLocale::DecimalSeparator = ',';
    change = model.Type("1", 1, 1, '.');
    EXPECT_STREQ(change.text, "1,");
    change = model.Type("1", 0, 1, ',');
    EXPECT_STREQ(change.text, ",");
}

TEST_F(NumberEdit, PasteTakesOnlyATextThatReads)
{
    NumberEditModel model(NumberPrice, 2);
    model.Set(3);
    NumberEditChange change = model.Paste("1", 1, 1, Localized(" 2.5\r\n"));
    EXPECT_TRUE(change.accepted);
    EXPECT_STREQ(change.text, Localized("12.5"));
    EXPECT_EQ(change.caret, 4);
    EXPECT_DOUBLE_EQ(model.Get(), 12.5);
    EXPECT_FALSE(model.Paste("1", 0, 1, "abc").accepted);
    EXPECT_FALSE(model.Paste("1", 1, 1, "e5").accepted);
    EXPECT_DOUBLE_EQ(model.Get(), 12.5);
    EXPECT_FALSE(model.TakeText("1..2"));
    EXPECT_TRUE(model.TakeText(Localized("7.5")));
    EXPECT_DOUBLE_EQ(model.Get(), 7.5);
    // Focus leaving rewrites the text from the number.
    EXPECT_STREQ(model.Text(), Localized("7.50"));
}

// In the locale runs the separators come from the system's locale.
TEST_F(NumberEdit, SeparatorComesFromTheLocale)
{
    const char* expected = std::getenv("ORV_EXPECTED_DECIMAL");
    if (expected == nullptr)
        GTEST_SKIP() << "ORV_EXPECTED_DECIMAL not set";
    EXPECT_EQ(CLocale::DecimalSeparator, expected[0]);
}

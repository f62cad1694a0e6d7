#include "controls/ApostrophePrice.h"
#include "controls/NumberText.h"

#include "ControlsTestSupport.h"
#include "Kestrel.h"

#include <cmath>
#include <cstdlib>

using namespace orv::controls;

namespace {

class NumberEdit : public orv_test::NumberSettings {
protected:
    void SetUp() override { g_lForexLotSize = 10000; }
};

constexpr double kFail = -999;   // the value of a text that must not read

} // namespace

TEST(ApostrophePrice, ReadsEveryFractionCodeAndWhatTheHostWritesAndSubtractsANegativeFraction)
{
    const struct { int code; const char* text; double value; } cases[] = {
        {32, "101'165", 101.515625}, {33, "99'087", 99.2734375},  {33, "108'162", 108.5078125},
        {32, "-101'16", -101.5},     {32, "-0'16", -0.5},         {33, "-2'012", -2.0390625},
        {34, "1'315", 1.984375},     {32, "101'1", 101.03125},    {32, "101'", 101},
        {32, "'16", 0.5},            {32, "-'16", -0.5},          {32, "101'160", 101.5},
        {33, "101'165", 101.515625}, {32, "108'16.5", kFail},     {32, "101'32", kFail},
        {32, "101'163", kFail},      {33, "101'166", kFail},      {32, "101'1650", kFail},
        {17, "5'2", kFail},          {19, "5'8", kFail},          {23, "5'128", kFail},
        {32, "1'2'3", kFail},        {32, "10 1'16", kFail},      {32, "101", kFail},
        {32, "--1'16", kFail},       {32, "+1'16", kFail},        {2, "101'16", kFail},
    };
    double value = kFail;
    EXPECT_FALSE(ParseApostrophePrice(nullptr, 32, value));
    for (const auto& c : cases) {
        value = kFail;
        EXPECT_EQ(ParseApostrophePrice(c.text, c.code, value), c.value != kFail) << c.code << " " << c.text;
        EXPECT_EQ(value, c.value) << c.code << " " << c.text;
    }
    // Every text the host writes in a fraction code reads back as its value.
    for (int code : {17, 18, 19, 20, 21, 22, 23, 24, 32, 33, 34}) {
        for (int ticks : {0, 1, 3, 7, 255, 6497, -1, -6496}) {
            const double value = ticks * ApostropheTick(code);
            char text[64];
            HostFormatPriceEx(value, text, sizeof text, code);
            double read = kFail;
            EXPECT_TRUE(ParseApostrophePrice(text, code, read)) << code << " " << text;
            EXPECT_EQ(read, value) << code << " " << text;
        }
    }
    EXPECT_EQ(ApostropheTick(25), 0);
}

TEST_F(NumberEdit, FormatsEachKindReadsOnlyNumbersOfThisEditStepsRoundsAndClamps)
{
    const struct { int kind, decimals; double value; const char* text; } cases[] = {
        {NumberPrice, 2, 101.255, "101.26"},    {NumberPrice, 4, -0.5, "-0.5000"},
        {NumberPrice, 32, 101.515625, "101'165"}, {NumberPrice, 32, -101.5, "-101'16"},
        {NumberPrice, 33, 99.2734375, "99'087"}, {NumberWhole, 0, -7, "-7"},
        {NumberPercent, 2, 12.5, "12.50%"},     {NumberPercent, 0, 3, "3%"},
        {NumberForexLots, 0, 25000, "2.5"},     {NumberForexLots, 0, 12345, "1.2345"},
    };
    for (const auto& c : cases) {
        NumberEditModel model(c.kind, c.decimals);
        EXPECT_STREQ(model.Format(c.value), Localized(c.text)) << c.text;
    }
    const struct { int kind, decimals; const char* text; double value; } texts[] = {
        {NumberPrice, 2, " 101.25 ", 101.25}, {NumberPrice, 2, "", 0},           {NumberPrice, 2, "-", 0},
        {NumberPrice, 2, ".", 0},             {NumberPrice, 2, "-.5", -0.5},     {NumberPercent, 2, "12.5%", 12.5},
        {NumberForexLots, 0, "2.5", 25000},   {NumberPrice, 32, "101.5", 101.5}, {NumberPrice, 32, "101'16.5", kFail},
        {NumberPrice, 2, "1.2.3", kFail},     {NumberPrice, 2, "12a", kFail},    {NumberPrice, 2, "1e5", kFail},
        {NumberPrice, 2, "1 2", kFail},       {NumberPrice, 2, "5-", kFail},     {NumberPrice, 2, "101'16", kFail},
    };
    for (const auto& c : texts) {
        double read = kFail;
        EXPECT_EQ(NumberEditModel(c.kind, c.decimals).Parse(Localized(c.text), read), c.value != kFail) << c.text;
        EXPECT_EQ(read, c.value) << c.text;
    }

    EXPECT_EQ(NumberEditModel(NumberWhole, 0).GetDelta(), 100);
    NumberEditModel percent(NumberPercent, 3);
    EXPECT_EQ(percent.GetDelta(), 1);
    percent.SetDelta(0.001);
    EXPECT_FALSE(percent.SetNumDecimalPlaces(3, -1));
    EXPECT_TRUE(percent.SetNumDecimalPlaces(2, -1));
    EXPECT_EQ(percent.GetDelta(), 0.01);

    const struct { int kind, decimals, rounding; double set, stored; } stored[] = {
        {NumberPrice, 2, -1, 5e9, 2147483647},     {NumberPrice, 2, -1, -3, 0},
        {NumberPrice, 32, -1, 101.51, 101.515625}, {NumberPrice, 33, -1, 1.004, 1.0078125},
        {NumberPrice, 20, -1, 1.03, 1.0},          {NumberPercent, 2, -1, 12.125, 12.13},
        {NumberPrice, 2, 1, 1.25, 1.3},            {NumberPrice, 2, -1, 1.255, 1.255},
        {NumberWhole, 0, -1, 12.5, 13},            {NumberForexLots, 0, -1, 25000.4, 25000},
    };
    for (const auto& c : stored) {
        NumberEditModel model(c.kind, c.decimals);
        model.SetNumDecimalPlaces(c.decimals, c.rounding);
        EXPECT_EQ(model.Set(c.set), c.stored != 0) << c.set;
        EXPECT_DOUBLE_EQ(model.Get(), c.stored) << c.set;
    }

    NumberEditModel price(NumberPrice, 2);
    EXPECT_FALSE(price.Set(std::nan("")));
    EXPECT_TRUE(price.Set(0, true));
    price.SetMinMax(-1e300, 1.02);
    EXPECT_EQ(price.GetMin(), -2147483648.0);
    price.Set(1);
    EXPECT_TRUE(price.Step(1));
    EXPECT_DOUBLE_EQ(price.Get(), 1.01);
    price.Step(5);
    EXPECT_DOUBLE_EQ(price.Get(), 1.02);
    EXPECT_FALSE(price.CanIncrement());
    price.Set(2.5);
    EXPECT_EQ(price.GetLong(), 1);
    price.Set(-2.5);
    EXPECT_EQ(price.GetLong(), -2);
    price.SetMinMax(2.5, 3);
    EXPECT_EQ(price.GetLong(), 3);
    EXPECT_FALSE(price.CanDecrement());
}

// Keys typed one after another, each at the end of the text; a key whose
// text does not read leaves the text as it was.
TEST_F(NumberEdit, TypingFiltersKeysAndKeepsTheLastTextThatReads)
{
    const struct {
        int kind, decimals;
        double minimum;
        const char* start;
        const char* keys;
        const char* shown;
        double stored;
    } cases[] = {
        {NumberPrice, 2, 0, "5", "-", "5", 0},            {NumberPrice, 2, -10, "", "-5", "-5", -5},
        {NumberPrice, 2, 0, "", "1 a2", "12", 12},        {NumberPrice, 2, 0, "1.2", ".5", "1.25", 1.25},
        {NumberForexLots, 0, 0, "", "2.5", "2.5", 25000}, {NumberWhole, 0, 0, "", "12.5", "125", 125},
        {NumberPrice, 32, 0, "", "101'165", "101'165", 101.515625},
        {NumberPrice, 2, 0, "", "1'5%", "15", 15},        {NumberPercent, 2, 0, "", "5.5%", "5.5%", 5.5},
        {NumberPrice, 2, 0, "", "99999999999", "99999999999", 2147483647},
        {NumberPrice, 2, 0, "1.25", "\b\b", "1.", 1},     {NumberPrice, 2, 0, "", "\b", "", 0},
    };
    for (const auto& c : cases) {
        NumberEditModel model(c.kind, c.decimals);
        model.SetMin(c.minimum);
        CString text = Localized(c.start);
        for (const char* key = c.keys; *key != '\0'; ++key) {
            const NumberEditChange change = model.Type(text, text.GetLength(), text.GetLength(), *key);
            EXPECT_EQ(change.caret, change.text.GetLength()) << c.keys;
            text = change.accepted ? change.text : text;
        }
        EXPECT_STREQ(text, Localized(c.shown)) << c.keys;
        EXPECT_DOUBLE_EQ(model.Get(), c.stored) << c.keys;
    }
}

// Character 46 is "." and the Delete key alike; the window says which.
TEST_F(NumberEdit, DeleteKeyPasteAndUndo)
{
    const struct {
        const char* text;
        int selStart, selEnd;
        KeySource source;
        const char* shown;   // null: refused
        int caret;
    } cases[] = {
        {"125", 0, 0, KeySource::DeleteKey, "25", 0}, {"125", 1, 3, KeySource::DeleteKey, "1", 1},
        {"125", 3, 3, KeySource::DeleteKey, nullptr, 0}, {"125", 1, 1, KeySource::Character, "1.25", 2},
    };
    NumberEditModel model(NumberPrice, 2);
    for (const auto& c : cases) {
        const NumberEditChange change = model.Type(c.text, c.selStart, c.selEnd, 46, c.source);
        EXPECT_EQ(change.accepted, c.shown != nullptr) << c.text;
        EXPECT_STREQ(change.text, c.shown ? Localized(c.shown) : CString()) << c.text;
        EXPECT_EQ(change.caret, c.caret) << c.text;
    }
    EXPECT_STREQ(model.Paste("1", 1, 1, Localized(" 2.5\r\n")).text, Localized("12.5"));
    EXPECT_FALSE(model.Paste("1", 0, 1, "abc").accepted);
    EXPECT_FALSE(model.TakeText("1..2"));
    EXPECT_DOUBLE_EQ(model.Get(), 12.5);
    EXPECT_TRUE(model.TakeText(Localized("7.5")));
    EXPECT_STREQ(model.Text(), Localized("7.50"));

    CLocale::DecimalSeparator = ',';
    EXPECT_STREQ(model.Type("1", 1, 1, '.').text, "1,");
}

// In the locale runs the separator comes from the system's locale.
TEST_F(NumberEdit, SeparatorComesFromTheLocale)
{
    const char* expected = std::getenv("ORV_EXPECTED_DECIMAL");
    if (expected == nullptr)
        GTEST_SKIP() << "ORV_EXPECTED_DECIMAL not set";
    EXPECT_EQ(CLocale::DecimalSeparator, expected[0]);
}

#include "controls/GridEditText.h"

#include <gtest/gtest.h>

using namespace orv::controls;

namespace {

constexpr NumberSeparators kUs {'.', ','};
constexpr NumberSeparators kGerman {',', '.'};
constexpr NumberSeparators kSwiss {'.', '\''};

} // namespace

// The editor is chosen from the field; cell numbers are read with the
// user's separators and as apostrophe prices.
TEST(GridEditText, EditorChoiceAndCellNumbers)
{
    const struct { int field; GHStyles style; } styles[] = {
        {1003, GHS_TEXT},     {9999, GHS_TEXT},     {1002, GHS_INTEGER},  {9975, GHS_INTEGER},
        {2041, GHS_INTEGER},  {1004, GHS_DECIMAL},  {2035, GHS_DECIMAL},  {9925, GHS_DECIMAL},
        {9951, GHS_DECIMAL},  {9986, GHS_DECIMAL},  {1001, GHS_PICKLIST}, {1007, GHS_PICKLIST},
        {9952, GHS_CHECK},    {9954, GHS_CHECK},    {2002, GHS_NONE},     {9953, GHS_NONE},
        {0, GHS_NONE},
    };
    for (const auto& c : styles)
        EXPECT_EQ(GridEditorStyle(c.field), c.style) << c.field;

    // Grouping goes before the point is mapped, so neither locale misreads the
    // other's separator.
    const struct { const char* text; NumberSeparators separators; double value; } decimals[] = {
        {"1,234.50", kUs, 1234.5},   {"1,5", kUs, 15},            {"1.5", kUs, 1.5},
        {"1,5", kGerman, 1.5},       {"1.234,50", kGerman, 1234.5}, {"1.5", kGerman, 1.5},
        {" -12 345.25 ", kUs, -12345.25}, {"1'234.5", kSwiss, 1234.5}, {"", kUs, 0},
        {"abc", kUs, 0},             {"12abc", kUs, 12},          {"-", kUs, 0},
        {".5", kUs, 0.5},            {"7.", kUs, 7},
    };
    for (const auto& c : decimals)
        EXPECT_EQ(ReadGridDecimal(c.text, c.separators), c.value) << c.text << " " << c.separators.decimal;
    EXPECT_EQ(ReadGridDecimal(nullptr, kUs), 0);

    const struct { const char* text; NumberSeparators separators; long value; } integers[] = {
        {"1,000", kUs, 1000},     {"1.000", kGerman, 1000}, {"-2,500", kUs, -2500}, {"  42", kUs, 42},
        {"", kUs, 0},             {"x1", kUs, 0},           {"12.7", kUs, 12},      {"99999999999", kUs, 2147483647},
        {"-99999999999", kUs, -2147483647 - 1},
    };
    for (const auto& c : integers)
        EXPECT_EQ(ReadGridInteger(c.text, c.separators), c.value) << c.text;
    const double kDefault = -7;
    const struct { const char* text; int format; NumberSeparators separators; double value; } cases[] = {
        {"108'165", 32, kUs, 108.515625},   {"108'162", 33, kUs, 108.5078125}, {"108'16", 32, kUs, 108.5},
        {"-108'16", 32, kUs, -108.5},       {"108'16.5", 32, kUs, 0},          {"108'16,5", 33, kUs, 0},
        {"108'99", 32, kUs, 0},             {"108'16", 2, kUs, 108},           {"108.5", 32, kUs, 108.5},
        {"", 32, kUs, kDefault},            {"", 2, kUs, kDefault},            {"2,75", 2, kGerman, 2.75},
        {"2.75", 2, kGerman, 2.75},         {"1,234.5", 4, kUs, 1234.5},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadGridValue(c.text, c.format, kDefault, c.separators), c.value) << c.text << " " << c.format;
}

TEST(GridEditText, TakesOnlyTheCharactersOfItsKindStepsWithinTheBoundsAndFormatsTheResult)
{
    const struct {
        GHStyles style;
        unsigned ch;
        const char* text;
        int selStart, selEnd;
        double minimum;
        int format;
        char point;
        bool accepted;
    } cases[] = {
        {GHS_TEXT, 'a', "IB", 2, 2, 0, 2, '.', true},
        {GHS_INTEGER, '5', "12", 2, 2, 0, 2, '.', true},
        {GHS_INTEGER, '\b', "12", 2, 2, 0, 2, '.', true},
        {GHS_INTEGER, '.', "12", 2, 2, 0, 2, '.', false},
        {GHS_INTEGER, '-', "", 0, 0, 0, 2, '.', false},      // no sign without a negative minimum
        {GHS_INTEGER, '-', "", 0, 0, -10, 2, '.', true},
        {GHS_INTEGER, '-', "12", 0, 0, -10, 2, '.', true},   // caret at the start
        {GHS_INTEGER, '-', "12", 1, 1, -10, 2, '.', false},
        {GHS_INTEGER, '-', "-12", 0, 0, -10, 2, '.', false}, // one sign only
        {GHS_INTEGER, '-', "-12", 0, 2, -10, 2, '.', true},  // over a selection from the start
        {GHS_INTEGER, '3', "-12", 0, 0, -10, 2, '.', false}, // nothing in front of the sign
        {GHS_INTEGER, '3', "-12", 0, 1, -10, 2, '.', true},
        {GHS_INTEGER, 'a', "", 0, 0, 0, 2, '.', false},
        {GHS_DECIMAL, '.', "1", 1, 1, 0, 2, '.', true},
        {GHS_DECIMAL, ',', "1", 1, 1, 0, 2, '.', false},
        {GHS_DECIMAL, ',', "1", 1, 1, 0, 2, ',', true},
        {GHS_DECIMAL, '.', "1", 1, 1, 0, 2, ',', true},
        {GHS_DECIMAL, '\'', "108", 3, 3, 0, 32, '.', true},
        {GHS_DECIMAL, '\'', "108", 3, 3, 0, 2, '.', false},
        {GHS_DECIMAL, ' ', "108", 3, 3, 0, 2, '.', false},
        {GHS_DECIMAL, '-', "1.5", 0, 0, -1, 2, '.', true},
        {GHS_PICKLIST, 'B', "", 0, 0, 0, 2, '.', false},
        {GHS_CHECK, ' ', "", 0, 0, 0, 2, '.', false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(AcceptsGridChar(c.style, c.ch, c.text, c.selStart, c.selEnd, c.minimum, c.format, c.point),
                  c.accepted)
            << c.style << " '" << char(c.ch) << "' into " << c.text << " at " << c.selStart;
    }

    double value = 99;
    EXPECT_TRUE(StepGridValue(10, 1, 0.25, 0, 11, value));
    EXPECT_EQ(value, 10.25);
    EXPECT_TRUE(StepGridValue(10, -2, 5, 0, 11, value));
    EXPECT_EQ(value, 0);
    value = 99;
    EXPECT_FALSE(StepGridValue(10.9, 1, 0.25, 0, 11, value)); // past the maximum
    EXPECT_FALSE(StepGridValue(0.1, -1, 0.25, 0, 11, value)); // below the minimum
    EXPECT_EQ(value, 99);

    EXPECT_EQ(FormatGridValue(GHS_INTEGER, 41.9, 2), "41");
    EXPECT_EQ(FormatGridValue(GHS_INTEGER, -41.9, 2), "-41");
    EXPECT_EQ(FormatGridValue(GHS_DECIMAL, 108.515625, 32), "108'165");
    EXPECT_EQ(FormatGridValue(GHS_TEXT, 1, 2), "");
}

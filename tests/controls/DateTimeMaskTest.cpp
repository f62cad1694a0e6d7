#include "controls/DateTimeMask.h"

#include <gtest/gtest.h>

using namespace orv::controls;

namespace {

// Reads fill the fields a mask lacks from this moment.
const COleDateTime kNow(2026, 12, 7, 4, 20, 0);

CString Fields(const COleDateTime& value)
{
    return value.GetStatus() == COleDateTime::valid ? value.Format("%Y-%m-%d %H:%M:%S") : CString("invalid");
}

} // namespace

TEST(DateTimeMask, WritesFixedWidthFieldsAndReadsThemBack)
{
    struct Case {
        const char* mask;
        COleDateTime value;
        const char* text;
        const char* read;   // the fields read back with kNow
    };
    const Case cases[] = {
        {"hh:mm", COleDateTime(2012, 3, 4, 12, 30, 0), "12:30", "2026-12-07 12:30:00"},
        {"h:m", COleDateTime(2012, 3, 4, 9, 5, 0), "09:05", "2026-12-07 09:05:00"},
        {"MM/DD/YYYY hh:mm:ss", COleDateTime(2012, 3, 4, 5, 6, 7), "03/04/2012 05:06:07", "2012-03-04 05:06:07"},
        {"DD.MM.YY", COleDateTime(2012, 3, 4, 0, 0, 0), "04.03.12", "2012-03-04 04:20:00"},
        {"YYYYY-M", COleDateTime(1899, 3, 4, 0, 0, 0), "01900-03", "1900-03-07 04:20:00"},
        {"at hh", COleDateTime(2012, 3, 4, 23, 0, 0), "at 23", "2026-12-07 23:20:00"},
    };
    for (const Case& c : cases) {
        const DateTimeMask mask(c.mask);
        EXPECT_STREQ(mask.Write(c.value), c.text) << c.mask;
        EXPECT_EQ(mask.GetLength(), CString(c.text).GetLength()) << c.mask;
        EXPECT_STREQ(Fields(mask.Read(c.text, kNow)), c.read) << c.mask;
    }
    EXPECT_STREQ(DateTimeMask("hh:mm").Write(COleDateTime(2012, 2, 31, 0, 0, 0)), "");
}

TEST(DateTimeMask, ReadsOnlyTextsOfItsMaskAndClampsFields)
{
    struct Case {
        const char* mask;
        const char* text;
        const char* read;
    };
    const Case cases[] = {
        {"hh:mm", "12.30", "invalid"},           {"hh:mm", "12:3", "invalid"},
        {"hh:mm", "12:300", "invalid"},          {"hh:mm", "", "invalid"},
        {"hh:mm", "1a:30", "invalid"},           {"hh:mm", "-1:30", "invalid"},
        {"hh:mm", " 1:30", "invalid"},           {"MM/DD/YYYY", "02/31/2026", "invalid"},
        {"hh:mm", "98:75", "2026-12-07 23:59:00"}, {"MM/DD/YYYY", "00/00/1234", "1900-01-01 04:20:00"},
        {"YY", "12", "2012-12-07 04:20:00"},    {"YY", "99", "1999-12-07 04:20:00"},
        {"YY", "76", "2076-12-07 04:20:00"},    {"Y", "9", "2029-12-07 04:20:00"},
        {"YYYY", "9999", "9990-12-07 04:20:00"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(Fields(DateTimeMask(c.mask).Read(c.text, kNow)), c.read) << c.mask << " " << c.text;
    EXPECT_EQ(DateTimeMask("hh:mm").Read(nullptr, kNow).GetStatus(), COleDateTime::invalid);
}

// Keys one after another from a text and selection; the text and selection
// after the last key.
TEST(DateTimeMask, OvertypesDigitsAndSkipsLiterals)
{
    struct Case {
        const char* mask;
        const char* start;
        int selStart, selEnd;
        const char* keys;
        const char* text;
        int endStart, endEnd;
    };
    const Case cases[] = {
        {"hh:mm", "00:00", 0, 1, "1230", "12:30", 5, 5},   {"hh:mm", "08:15", 0, 1, "9", "23:15", 1, 2},
        {"hh:mm", "08:15", 0, 1, ":", "08:15", 1, 2},      {"hh:mm", "08:15", 4, 5, "x", "08:15", 4, 5},
        {"hh:mm", "12:30", 3, 4, "\b", "10:30", 1, 2},     {"hh:mm", "12:30", 0, 1, "\b", "12:30", 0, 1},
        {"hh:mm", "12:34", 0, 5, "1", "10:00", 1, 2},      {"hh:mm", "12:30", 2, 2, "5", "12:30", 3, 4},
        {"hh:mm", "12:30", 5, 5, "5", "12:30", 5, 5},      {"MM/DD/YYYY", "01/31/2026", 1, 2, "2", "01/31/2026", 3, 4},
        {"DD.MM.YY", "04.03.12", 6, 7, "9", "04.03.92", 7, 8},
    };
    for (const Case& c : cases) {
        const DateTimeMask mask(c.mask);
        DateTimeEditChange change{true, false, c.start, c.selStart, c.selEnd};
        for (const char* key = c.keys; *key != '\0'; ++key)
            change = mask.Type(change.text, change.selStart, change.selEnd, *key, kNow);
        EXPECT_STREQ(change.text, c.text) << c.start << " " << c.keys;
        EXPECT_EQ(change.selStart, c.endStart) << c.start << " " << c.keys;
        EXPECT_EQ(change.selEnd, c.endEnd) << c.start << " " << c.keys;
    }
}

TEST(DateTimeMask, ArrowsStepTheFieldUnderTheCaretAndMoveBetweenFields)
{
    struct Case {
        const char* mask;
        const char* start;
        int caret, amount;
        const char* text;
        int selStart, selEnd;
    };
    const Case cases[] = {
        {"hh:mm", "23:15", 0, 1, "23:15", 0, 1},   {"hh:mm", "10:00", 3, -1, "10:00", 3, 5},
        {"hh:mm", "10:00", 4, 1, "10:01", 3, 5},   {"hh:mm", "10:00", 2, 1, "11:00", 2, 3},
        {"hh:mm", "10:00", 5, -1, "10:00", 3, 5},  {"hh:mm", "10:05", 5, -1, "10:04", 3, 5},
        {"MM/DD/YYYY", "12/31/2026", 0, 1, "12/31/2026", 0, 1},
        {"MM/DD/YYYY", "01/31/2026", 3, 1, "01/31/2026", 3, 4},
        {"MM/DD/YYYY", "01/31/2026", 9, -1, "01/31/2025", 9, 10},
        {"MM/DD/YY", "02/28/24", 3, 1, "02/29/24", 3, 4},
    };
    for (const Case& c : cases) {
        const DateTimeEditChange change =
            DateTimeMask(c.mask).Step(c.start, c.caret, c.caret + 1, c.amount, kNow);
        EXPECT_TRUE(change.handled);
        EXPECT_STREQ(change.text, c.text) << c.start << " at " << c.caret;
        EXPECT_EQ(change.changed, CString(c.text) != c.start);
        EXPECT_EQ(change.selStart, c.selStart) << c.start << " at " << c.caret;
        EXPECT_EQ(change.selEnd, c.selEnd) << c.start << " at " << c.caret;
    }
    EXPECT_FALSE(DateTimeMask("at ").Step("at ", 0, 0, 1, kNow).handled);

    const DateTimeMask mask("hh:mm");
    EXPECT_EQ(mask.MoveCaret(1, true), 3);
    EXPECT_EQ(mask.MoveCaret(4, true), 0);
    EXPECT_EQ(mask.MoveCaret(0, false), 4);
    EXPECT_EQ(mask.MoveCaret(3, false), 1);
    int start = -1, end = -1;
    EXPECT_TRUE(mask.FieldRange('m', start, end));
    EXPECT_EQ(start, 3);
    EXPECT_EQ(end, 5);
    EXPECT_FALSE(mask.FieldRange('D', start, end));
    EXPECT_EQ(start + end, 0);

    DateTimeEditChange change = mask.Delete("12:34", 1, 2, kNow);
    EXPECT_STREQ(change.text, "10:34");
    EXPECT_EQ(change.selStart, 1);
    EXPECT_STREQ(mask.Delete("12:34", 2, 3, kNow).text, "12:34");
    EXPECT_FALSE(mask.Delete("12:34", 5, 5, kNow).handled);
}

// The display zone is Eastern when the library loads.
TEST(DateTimeMask, MarketValuesAreDisplayZoneWallTime)
{
    COrvDateTime::SetLocalDisplayFormat(0);
    const bool standard = COrvDateTime::GetEasternTimeZone() == "EST";
    const DateTimeMask mask("hh:mm");
    const COrvDateTime utc = mask.ReadMarket("09:30", kNow);
    EXPECT_STREQ(Fields(utc), standard ? "2026-12-07 14:30:00" : "2026-12-07 13:30:00");
    EXPECT_STREQ(mask.WriteMarket(utc), "09:30");
    EXPECT_EQ(mask.ReadMarket("9:30", kNow).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(mask.ReadMarket("09:30").GetStatus(), COleDateTime::valid);
}

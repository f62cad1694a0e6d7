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

// Each value is written and its text read back; then texts read alone.
TEST(DateTimeMask, WritesFixedWidthFieldsAndReadsOnlyTextsOfItsMask)
{
    const struct { const char* mask; COleDateTime value; const char* text; const char* read; } cases[] = {
        {"hh:mm", {2012, 3, 4, 12, 30, 0}, "12:30", "2026-12-07 12:30:00"},
        {"h:m", {2012, 3, 4, 9, 5, 0}, "09:05", "2026-12-07 09:05:00"},
        {"MM/DD/YYYY hh:mm:ss", {2012, 3, 4, 5, 6, 7}, "03/04/2012 05:06:07", "2012-03-04 05:06:07"},
        {"DD.MM.YY", {2012, 3, 4, 0, 0, 0}, "04.03.12", "2012-03-04 04:20:00"},
        {"YYYYY-M", {1899, 3, 4, 0, 0, 0}, "01900-03", "1900-03-07 04:20:00"},
        {"hh:mm", {2012, 2, 31, 0, 0, 0}, "", "invalid"},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(DateTimeMask(c.mask).Write(c.value), c.text) << c.mask;
        EXPECT_STREQ(Fields(DateTimeMask(c.mask).Read(c.text, kNow)), c.read) << c.mask;
    }
    const struct { const char* mask; const char* text; const char* read; } reads[] = {
        {"hh:mm", "12.30", "invalid"},  {"hh:mm", "12:3", "invalid"},   {"hh:mm", "12:300", "invalid"},
        {"hh:mm", "1a:30", "invalid"},  {"hh:mm", "-1:30", "invalid"},  {"MM/DD/YYYY", "02/31/2026", "invalid"},
        {"hh:mm", "98:75", "2026-12-07 23:59:00"}, {"MM/DD/YYYY", "00/00/1234", "1900-01-01 04:20:00"},
        {"YY", "99", "1999-12-07 04:20:00"},       {"YY", "76", "2076-12-07 04:20:00"},
        {"Y", "9", "2029-12-07 04:20:00"},         {"YYYY", "9999", "9990-12-07 04:20:00"},
    };
    for (const auto& c : reads)
        EXPECT_STREQ(Fields(DateTimeMask(c.mask).Read(c.text, kNow)), c.read) << c.mask << " " << c.text;
    EXPECT_EQ(DateTimeMask("hh:mm").Read(nullptr, kNow).GetStatus(), COleDateTime::invalid);
}

// Keys one after another from a text and selection ('<' Delete, '+' and
// '-' the up and down arrows); the text and selection after the last.
// Overtypes, steps and deletes the field under the caret; market values
// are wall time in the display zone.
TEST(DateTimeMask, EditsTheFieldUnderTheCaret)
{
    const struct {
        const char* mask;
        const char* start;
        int selStart, selEnd;
        const char* keys;
        const char* text;
        int endStart, endEnd;
    } cases[] = {
        {"hh:mm", "00:00", 0, 1, "1230", "12:30", 5, 5}, {"hh:mm", "08:15", 0, 1, "9", "23:15", 1, 2},
        {"hh:mm", "08:15", 0, 1, ":", "08:15", 1, 2},    {"hh:mm", "08:15", 4, 5, "x", "08:15", 4, 5},
        {"hh:mm", "12:30", 3, 4, "\b", "10:30", 1, 2},   {"hh:mm", "12:30", 0, 1, "\b", "12:30", 0, 1},
        {"hh:mm", "12:34", 0, 5, "1", "10:00", 1, 2},    {"hh:mm", "12:30", 2, 2, "5", "12:30", 3, 4},
        {"hh:mm", "12:30", 5, 5, "5", "12:30", 5, 5},    {"DD.MM.YY", "04.03.12", 6, 7, "9", "04.03.92", 7, 8},
        {"MM/DD/YYYY", "01/31/2026", 1, 2, "2", "01/31/2026", 3, 4},
        {"hh:mm", "12:34", 1, 2, "<", "10:34", 1, 2},    {"hh:mm", "12:34", 2, 3, "<", "12:34", 2, 3},
        {"hh:mm", "23:15", 0, 1, "+", "23:15", 0, 1},    {"hh:mm", "10:00", 3, 4, "-", "10:00", 3, 5},
        {"hh:mm", "10:00", 4, 5, "+", "10:01", 3, 5},    {"hh:mm", "10:00", 2, 3, "+", "11:00", 2, 3},
        {"hh:mm", "10:05", 5, 5, "-", "10:04", 3, 5},    {"MM/DD/YYYY", "12/31/2026", 0, 1, "+", "12/31/2026", 0, 1},
        {"MM/DD/YYYY", "01/31/2026", 3, 4, "+", "01/31/2026", 3, 4},
        {"MM/DD/YYYY", "01/31/2026", 9, 10, "-", "01/31/2025", 9, 10},
        {"MM/DD/YY", "02/28/24", 3, 4, "+", "02/29/24", 3, 4},
    };
    for (const auto& c : cases) {
        const DateTimeMask mask(c.mask);
        DateTimeEditChange change{true, false, c.start, c.selStart, c.selEnd};
        for (const char* key = c.keys; *key != '\0'; ++key) {
            const CString before = change.text;
            if (*key == '<')
                change = mask.Delete(before, change.selStart, change.selEnd, kNow);
            else if (*key == '+' || *key == '-')
                change = mask.Step(before, change.selStart, change.selEnd, *key == '+' ? 1 : -1, kNow);
            else
                change = mask.Type(before, change.selStart, change.selEnd, *key, kNow);
            EXPECT_EQ(change.changed, change.text != before) << c.start << " " << c.keys;
        }
        EXPECT_STREQ(change.text, c.text) << c.start << " " << c.keys;
        EXPECT_EQ(change.selStart * 100 + change.selEnd, c.endStart * 100 + c.endEnd) << c.start << " " << c.keys;
    }
    const DateTimeMask mask("hh:mm");
    EXPECT_FALSE(mask.Delete("12:34", 5, 5, kNow).handled);
    EXPECT_FALSE(DateTimeMask("at ").Step("at ", 0, 0, 1, kNow).handled);
    const int moves[][3] = {{1, true, 3}, {4, true, 0}, {0, false, 4}, {3, false, 1}};
    for (const auto& move : moves)
        EXPECT_EQ(mask.MoveCaret(move[0], move[1] != 0), move[2]) << move[0];
    int start = -1, end = -1;
    EXPECT_TRUE(mask.FieldRange('m', start, end));
    EXPECT_EQ(start * 10 + end, 35);
    EXPECT_FALSE(mask.FieldRange('D', start, end));
    EXPECT_EQ(start + end, 0);

    // The display zone is Eastern when the library loads.
    COrvDateTime::SetLocalDisplayFormat(0);
    const bool standard = COrvDateTime::GetEasternTimeZone() == "EST";
    const COrvDateTime utc = mask.ReadMarket("09:30", kNow);
    EXPECT_STREQ(Fields(utc), standard ? "2026-12-07 14:30:00" : "2026-12-07 13:30:00");
    EXPECT_STREQ(mask.WriteMarket(utc), "09:30");
    EXPECT_EQ(mask.ReadMarket("9:30", kNow).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(mask.ReadMarket("09:30").GetStatus(), COleDateTime::valid);
}

#include "framework/Time.h"
#include "support/CalendarFields.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ctime>
#include <limits>

namespace {

constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

// Year, month, day, hour, minute, second, day of week (1 = Sunday).
using Fields = std::array<int, 7>;

Fields FieldsOf(const CTime& t)
{
    return { t.GetYear(), t.GetMonth(), t.GetDay(), t.GetHour(), t.GetMinute(), t.GetSecond(), t.GetDayOfWeek() };
}

Fields FieldsOf(const std::tm& t)
{
    return { t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec, t.tm_wday + 1 };
}

// ------------------------------------------------------------------- CTime

// Fields go through the local mktime, bad ones give -1, the convertible
// range is 1970 to 3000 UTC, and the current time is now.
TEST(TimeConstruction, FromFieldsTheClockAndTheRange)
{
    const CTime time(2024, 2, 29, 13, 14, 15);
    EXPECT_EQ(time.GetTime(), orv_test::LocalSeconds(2024, 2, 29, 13, 14, 15));
    EXPECT_EQ(FieldsOf(time), (Fields { 2024, 2, 29, 13, 14, 15, 5 }));

    const std::int64_t before = std::time(nullptr);
    const CTime now = CTime::GetCurrentTime();
    EXPECT_GE(now.GetTime(), before);
    EXPECT_LE(now.GetTime(), std::time(nullptr));

    const CTime bad[] = { CTime(2023, 2, 29, 0, 0, 0), CTime(1900, 2, 29, 0, 0, 0), CTime(2024, 13, 1, 0, 0, 0),
                          CTime(2024, 4, 31, 0, 0, 0), CTime(2024, 1, 1, 24, 0, 0), CTime(2024, 1, 1, 0, 60, 0),
                          CTime(2024, 1, 1, 0, 0, 60), CTime(3001, 1, 1, 0, 0, 0), CTime(1960, 1, 1, 0, 0, 0) };
    for (const CTime& time : bad) {
        EXPECT_EQ(time.GetTime(), -1);
        EXPECT_FALSE(time.IsValid());
        EXPECT_EQ(FieldsOf(time), (Fields { -1, -1, -1, -1, -1, -1, -1 }));
        EXPECT_EQ(time.Format("%Y"), "");
    }
    EXPECT_TRUE(CTime(0).IsValid() && CTime(CTime::MaxConvertible).IsValid());
    EXPECT_FALSE(CTime(-1).IsValid() || CTime(CTime::MaxConvertible + 1).IsValid());
    std::tm out {};
    EXPECT_EQ(CTime(-86400).GetGmtTm(&out), nullptr);
    EXPECT_EQ(CTime(kMax).GetLocalTm(&out), nullptr);
    EXPECT_EQ(CTime(0).GetGmtTm(nullptr), nullptr);
    ASSERT_EQ(CTime(CTime::MaxConvertible).GetGmtTm(&out), &out);
    EXPECT_EQ(FieldsOf(out), (Fields { 3000, 12, 31, 23, 59, 59, 4 }));
    EXPECT_EQ(CTime(-1).FormatGmt("%Y"), "");
}

TEST(TimeConversion, LocalAndGmtFieldsAndFormat)
{
    for (std::int64_t value : { 0LL, 951782400LL, 1700000000LL, 1711846800LL, 4102444799LL }) {
        // The C library's own local time: the test holds in any zone.
        const std::tm expected = orv_test::LocalFields(static_cast<std::time_t>(value));
        const CTime time(value);
        EXPECT_EQ(FieldsOf(time), FieldsOf(expected)) << value;
        std::tm local {};
        ASSERT_EQ(time.GetLocalTm(&local), &local);
        EXPECT_EQ(local.tm_isdst, expected.tm_isdst);
        char buffer[64];
        std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &expected);
        EXPECT_EQ(time.Format("%Y-%m-%d %H:%M:%S"), buffer);
    }
    std::tm out {};
    ASSERT_NE(CTime(0).GetGmtTm(&out), nullptr);
    EXPECT_EQ(FieldsOf(out), (Fields { 1970, 1, 1, 0, 0, 0, 5 }));
    EXPECT_EQ(CTime(951782400).FormatGmt("%Y-%m-%d %H:%M:%S %A %j"), "2000-02-29 00:00:00 Tuesday 060");
    EXPECT_EQ(CTime(951868799).FormatGmt("%#d %B %I:%M %p"), "29 February 11:59 PM");
}

TEST(TimeArithmeticAndSpans, DifferencesSaturateInsteadOfOverflowingAndFormatShowsMagnitudesWithOneSign)
{
    const CTime start(1700000000);
    const CTime later = start + CTimeSpan(1, 2, 3, 4);
    EXPECT_EQ(later.GetTime(), 1700000000 + 93784);
    EXPECT_EQ((start - later).GetTotalSeconds(), -93784);
    EXPECT_EQ(later - CTimeSpan(93784), start);
    CTime moving = start;
    moving += CTimeSpan(60);
    moving -= CTimeSpan(120);
    EXPECT_EQ(moving.GetTime(), 1700000000 - 60);
    EXPECT_TRUE(start < later && later >= start && start != later);
    EXPECT_EQ((CTime(kMax - 1) + CTimeSpan(10)).GetTime(), kMax);
    EXPECT_EQ((CTime(kMin + 1) - CTimeSpan(10)).GetTime(), kMin);
    EXPECT_EQ((CTime(kMax) - CTime(kMin)).GetTotalSeconds(), kMax);
    EXPECT_EQ((-CTimeSpan(kMin)).GetTotalSeconds(), kMax);
    EXPECT_EQ((CTimeSpan(kMin) - CTimeSpan(1)).GetTotalSeconds(), kMin);

    const CTimeSpan span(1, 25, 61, 61);
    EXPECT_EQ(span.GetTotalSeconds(), 86400 + 25 * 3600 + 61 * 60 + 61);
    EXPECT_TRUE(span.GetDays() == 2 && span.GetHours() == 2 && span.GetMinutes() == 2 && span.GetSeconds() == 1);
    EXPECT_TRUE(span.GetTotalHours() == 50 && span.GetTotalMinutes() == 3002);
    const CTimeSpan negative(-1, -2, -3, -4);
    EXPECT_TRUE(negative.GetDays() == -1 && negative.GetHours() == -2 && negative.GetMinutes() == -3
                && negative.GetSeconds() == -4);
    EXPECT_EQ(CTimeSpan(2147483647L, 23, 59, 59).GetDays(), 2147483647);
    EXPECT_EQ(CTimeSpan(3, 4, 5, 6).Format("%D:%H:%M:%S %%"), "3:04:05:06 %");
    EXPECT_EQ(CTimeSpan(-1, -12, 0, 0).Format("%D days, %H hours"), "-1 days, 12 hours");
    EXPECT_EQ(CTimeSpan(-90).Format("%M:%S"), "-01:30");
    EXPECT_EQ(CTimeSpan(kMin).Format("%D"), "-106751991167300");
    EXPECT_EQ(CTimeSpan(61).Format("%q %"), "%q %");
}

// ------------------------------------------------------------ the formatter

TEST(TimeFormatTm, WeekNumbersPaddingLiteralsAndFieldsOutOfRangeNeverReadOutsideTheTables)
{
    std::tm t {};
    t.tm_year = 2023 - 1900; // Sunday 1 January 2023
    t.tm_mday = 1;
    EXPECT_EQ(CTime::FormatTm(t, "%U %W %w %e|%#e"), "01 00 0  1|1");
    t.tm_mday = 2; // Monday
    t.tm_wday = 1;
    t.tm_yday = 1;
    EXPECT_EQ(CTime::FormatTm(t, "%U %W %a"), "01 01 Mon");
    EXPECT_EQ(CTime::FormatTm(t, "%#c"), "Monday, January 02, 2023 00:00:00");
    EXPECT_EQ(CTime::FormatTm(t, "a%nb%tc %q %#q 100%"), "a\nb\tc %q %#q 100%");
    t = std::tm {};
    t.tm_wday = 7;
    t.tm_mon = -1;
    t.tm_hour = std::numeric_limits<int>::min();
    t.tm_year = std::numeric_limits<int>::max();
    t.tm_yday = std::numeric_limits<int>::max();
    EXPECT_EQ(CTime::FormatTm(t, "%a %A %b %B"), "? ? ? ?");
    EXPECT_EQ(CTime::FormatTm(t, "%Y %j %p %H"), "2147485547 2147483648 AM -2147483648");
    t.tm_wday = std::numeric_limits<int>::max();
    EXPECT_FALSE(CTime::FormatTm(t, "%U %W").IsEmpty());
}

} // namespace

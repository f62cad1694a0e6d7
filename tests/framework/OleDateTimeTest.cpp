#include "framework/OleDateTime.h"
#include "support/CalendarFields.h"

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <string>

namespace {

constexpr double kSecond = 1.0 / 86400.0;

// Year, month, day, hour, minute, second.
using Ymdhms = std::array<int, 6>;

void ExpectFields(const COleDateTime& v, Ymdhms expected)
{
    EXPECT_EQ((Ymdhms { v.GetYear(), v.GetMonth(), v.GetDay(), v.GetHour(), v.GetMinute(), v.GetSecond() }), expected);
}

void ExpectNoFields(const COleDateTime& v)
{
    for (int field : { v.GetYear(), v.GetMonth(), v.GetDay(), v.GetHour(), v.GetMinute(), v.GetSecond(),
                       v.GetDayOfWeek(), v.GetDayOfYear() })
        EXPECT_EQ(field, AFX_OLE_DATETIME_ERROR);
}

// Days, hours, minutes, seconds.
std::array<long, 4> Parts(const COleDateTimeSpan& span)
{
    return { span.GetDays(), span.GetHours(), span.GetMinutes(), span.GetSeconds() };
}

// A null date or span.
template <class Value> Value Null()
{
    return orv_test::WithStatus(Value(), Value::null);
}

COleDateTime Parsed(const char* text, DWORD flags = 0, DWORD locale = COleDateTime::DefaultLocale)
{
    COleDateTime value;
    EXPECT_TRUE(value.ParseDateTime(text, flags, locale)) << text;
    return value;
}

// ------------------------------------------------------------ the calendar

TEST(OleDateTimeCalendar, EveryDayOfTheRangeMatchesTheChronoCalendar)
{
    using namespace std::chrono;
    const sys_days dayZero = year { 1899 } / December / 30;
    const sys_days first = year { 100 } / January / 1;
    const sys_days last = year { 9999 } / December / 31;
    int failures = 0;
    for (sys_days day = first; day <= last && failures < 5; day += days { 1 }) {
        const year_month_day ymd { day };
        const auto number = (day - dayZero).count();
        const int y = int(ymd.year()), m = int(unsigned(ymd.month())), d = int(unsigned(ymd.day()));
        COleDateTime value;
        if (value.SetDate(y, m, d) != 0 || value.m_dt != double(number)) {
            ADD_FAILURE() << y << '-' << m << '-' << d << " gave " << value.m_dt << ", not " << number;
            ++failures;
            continue;
        }
        const COleDateTime noon(double(number) + (number < 0 ? -0.5 : 0.5));
        struct tm fields {};
        if (!noon.GetAsTm(fields) || fields.tm_year + 1900 != y || fields.tm_mon + 1 != m || fields.tm_mday != d
            || fields.tm_hour != 12 || fields.tm_wday != int(weekday(day).c_encoding())
            || fields.tm_yday != (day - sys_days(ymd.year() / January / 1)).count()) {
            ADD_FAILURE() << "day " << number << " breaks down wrongly";
            ++failures;
        }
    }
}

// The valid days are checked against the chrono calendar above.
TEST(OleDateTimeCalendar, DayZeroIsSaturday30December1899YearRangeLimitsAndFieldsOutOfRangeGiveInvalid)
{
    const COleDateTime zero;
    ExpectFields(zero, { 1899, 12, 30, 0, 0, 0 });
    EXPECT_EQ(zero.GetDayOfWeek(), 7);
    EXPECT_EQ(zero.GetDayOfYear(), 364);
    ExpectFields(COleDateTime(9999, 12, 31, 23, 59, 59), { 9999, 12, 31, 23, 59, 59 });
    EXPECT_EQ(COleDateTime(-657435.0).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(2958466.0).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(-657434.99).GetStatus(), COleDateTime::valid);
    const Ymdhms bad[] = { { 2024, 0, 1, 0, 0, 0 },  { 2024, 13, 1, 0, 0, 0 }, { 2024, 4, 31, 0, 0, 0 },
                           { 2024, 1, 0, 0, 0, 0 },  { 2024, 1, 1, 24, 0, 0 }, { 2024, 1, 1, -1, 0, 0 },
                           { 2024, 1, 1, 0, 60, 0 }, { 2024, 1, 1, 0, 0, 60 }, { 1900, 2, 29, 0, 0, 0 },
                           { 2023, 2, 29, 0, 0, 0 }, { 99, 12, 31, 0, 0, 0 },  { 10000, 1, 1, 0, 0, 0 } };
    for (const Ymdhms& f : bad) {
        COleDateTime value(45000.0);
        EXPECT_NE(value.SetDateTime(f[0], f[1], f[2], f[3], f[4], f[5]), 0);
        EXPECT_EQ(value.GetStatus(), COleDateTime::invalid);
        ExpectNoFields(value);
        EXPECT_EQ(COleDateTime(f[0], f[1], f[2], f[3], f[4], f[5]).GetStatus(), COleDateTime::invalid);
    }
    COleDateTime value;
    EXPECT_NE(value.SetTime(12, 60, 0), 0);
    EXPECT_EQ(value.GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(value.SetTime(18, 0, 0), 0);
    EXPECT_EQ(value.GetStatus(), COleDateTime::valid);
    EXPECT_EQ(value.m_dt, 0.75);
}

// ------------------------------------------------- negative values, rounding

TEST(OleDateTimeNegativeAndRounding, FractionCountsForwardFromTheDayAndHalfSecondRoundsUpAcrossDaysAndYears)
{
    ExpectFields(COleDateTime(-1.25), { 1899, 12, 29, 6, 0, 0 });
    ExpectFields(COleDateTime(-1.75), { 1899, 12, 29, 18, 0, 0 });
    ExpectFields(COleDateTime(-0.5), { 1899, 12, 30, 12, 0, 0 });
    EXPECT_EQ(COleDateTime(1899, 12, 29, 6, 0, 0).m_dt, -1.25);
    EXPECT_EQ(COleDateTime(1899, 12, 29, 6, 0, 0).GetDayOfWeek(), 6);
    EXPECT_EQ(COleDateTime(1899, 12, 30, 6, 0, 0).m_dt, 0.25);

    ExpectFields(COleDateTime(0.99999999), { 1899, 12, 31, 0, 0, 0 });
    ExpectFields(COleDateTime(-1.99999999), { 1899, 12, 30, 0, 0, 0 });
    ExpectFields(COleDateTime(0.5 * kSecond), { 1899, 12, 30, 0, 0, 1 });
    ExpectFields(COleDateTime(0.49 * kSecond), { 1899, 12, 30, 0, 0, 0 });
    const double lastSecond = COleDateTime(1999, 12, 31, 23, 59, 59).m_dt;
    ExpectFields(COleDateTime(lastSecond + 0.6 * kSecond), { 2000, 1, 1, 0, 0, 0 });
    // The last half second of 9999 rounds into year 10000.
    EXPECT_EQ(COleDateTime(2958465.0 + 86399.6 * kSecond).GetStatus(), COleDateTime::invalid);
}

TEST(OleDateTimeRounding, NonFiniteAndHugeValuesAreInvalid)
{
    const double bad[] = { std::nan(""), std::numeric_limits<double>::infinity(),
                           -std::numeric_limits<double>::infinity(), 1e300, -1e300 };
    for (double v : bad) {
        const COleDateTime value(v);
        EXPECT_EQ(value.GetStatus(), COleDateTime::invalid);
        ExpectNoFields(value);
        EXPECT_EQ(value.Format(), "Invalid DateTime");
        struct tm fields {};
        EXPECT_FALSE(value.GetAsTm(fields));
    }
    const COleDateTime null = Null<COleDateTime>();
    ExpectNoFields(null);
    EXPECT_EQ(null.Format("%Y") + null.Format(), "");
    // A bad raw value under a valid status still gives no fields.
    COleDateTime tampered;
    tampered.m_dt = std::nan("");
    ExpectNoFields(tampered);
    EXPECT_EQ((tampered + COleDateTimeSpan(1.0)).GetStatus(), COleDateTime::invalid);
}

// ------------------------------------------------------------ time_t, now

TEST(OleDateTimeFromTime, FollowsLocaltimeNegativeAndUnconvertibleAreInvalidAndNowIsLocal)
{
    const std::time_t samples[] = { 0, 951825600, 1700000000, 4102444799 };
    for (std::time_t t : samples) {
        const std::tm expected = orv_test::LocalFields(t);
        const COleDateTime value(t);
        std::tm actual {};
        ASSERT_TRUE(value.GetAsTm(actual)) << t;
        EXPECT_TRUE(actual.tm_year == expected.tm_year && actual.tm_yday == expected.tm_yday
                    && actual.tm_wday == expected.tm_wday && actual.tm_hour == expected.tm_hour
                    && actual.tm_min == expected.tm_min && actual.tm_sec == expected.tm_sec)
            << t;
    }
    COleDateTime value(std::time_t(1700000000));
    value = std::time_t(-1);
    EXPECT_EQ(value.GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COleDateTime(std::numeric_limits<std::time_t>::max()).GetStatus(), COleDateTime::invalid);
    // The current time is local now, to the second.
    const std::time_t before = std::time(nullptr);
    const COleDateTime now = COleDateTime::GetCurrentTime();
    const std::time_t after = std::time(nullptr);
    ASSERT_EQ(now.GetStatus(), COleDateTime::valid);
    EXPECT_TRUE(now == COleDateTime(before) || now == COleDateTime(after));
}

// ------------------------------------------------------------------ parsing

TEST(OleDateTimeParse, AcceptedFormsAndRejectedTextLeavesInvalid)
{
    struct Case { const char* text; Ymdhms expected; };
    const Case cases[] = {
        { "13:45", { 1899, 12, 30, 13, 45, 0 } }, { "7:05:09", { 1899, 12, 30, 7, 5, 9 } },
        { "12:00 AM", { 1899, 12, 30, 0, 0, 0 } }, { "12:00:01 pm", { 1899, 12, 30, 12, 0, 1 } },
        { "11:59:59PM", { 1899, 12, 30, 23, 59, 59 } }, { "1/2/2024", { 2024, 1, 2, 0, 0, 0 } },
        { "12/31/1999 11:59:59 PM", { 1999, 12, 31, 23, 59, 59 } }, { "2/29/2000 0:00", { 2000, 2, 29, 0, 0, 0 } },
        { "3/4/29", { 2029, 3, 4, 0, 0, 0 } }, { "3/4/30", { 1930, 3, 4, 0, 0, 0 } },
        { "2024-02-29", { 2024, 2, 29, 0, 0, 0 } }, { "2024-02-29 23:59:59", { 2024, 2, 29, 23, 59, 59 } },
        { "2024-02-29T08:30", { 2024, 2, 29, 8, 30, 0 } }, { " \t 0100-01-01T00:00:00 \r\n", { 100, 1, 1, 0, 0, 0 } },
        { "1/1/100 1:00 AM", { 100, 1, 1, 1, 0, 0 } }, { "12/29/1899 06:00", { 1899, 12, 29, 6, 0, 0 } },
        { "12/31/9999 11:59:59 PM", { 9999, 12, 31, 23, 59, 59 } },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ExpectFields(Parsed(c.text), c.expected);
    }

    const char* bad[] = { "",           "   ",        "24:00",          "23:60",       "23:59:60",    "0:30 AM",
                          "13:00 PM",   "12:00 XM",   "12:00 A",        "2/31/2024",   "2/29/1900",   "13/1/2024",
                          "0/1/2024",   "1/2/024",    "1/2/20245",      "1/2",         "2024-2-29",   "2024-02-30",
                          "0099-12-31", "2024-01-01T", "2024-01-01 x",   "1/2/2024T10:00", "12:5",      "123:00",
                          "1:00:00:00", "noon",       "12:00 PM extra", "20240101",    "-1/2/2024",   "1/2/2024 25:00" };
    for (const char* text : bad) {
        COleDateTime value(45000.5);
        EXPECT_FALSE(value.ParseDateTime(text)) << text;
        EXPECT_EQ(value.GetStatus(), COleDateTime::invalid) << text;
    }
    COleDateTime value;
    EXPECT_FALSE(value.ParseDateTime(nullptr));
    EXPECT_EQ(value.GetStatus(), COleDateTime::invalid);
}

TEST(OleDateTimeParse, FlagsKeepOnlyOnePartAndTheMonthFirstFormOnlyMonthFirstLocales)
{
    EXPECT_EQ(Parsed("1/2/2024 18:00", VAR_TIMEVALUEONLY).m_dt, 0.75);
    EXPECT_EQ(Parsed("1/2/2024 18:00", VAR_DATEVALUEONLY).m_dt, COleDateTime(2024, 1, 2, 0, 0, 0).m_dt);
    EXPECT_EQ(Parsed("18:00", VAR_DATEVALUEONLY).m_dt, 0.0);
    EXPECT_EQ(Parsed("12/29/1899 18:00", VAR_TIMEVALUEONLY).m_dt, 0.75);
    COleDateTime value;
    EXPECT_FALSE(value.ParseDateTime("18:00", VAR_TIMEVALUEONLY | VAR_DATEVALUEONLY));
    EXPECT_FALSE(value.ParseDateTime("1/2/2024", 0, 2057));
    EXPECT_EQ(value.GetStatus(), COleDateTime::invalid);
    EXPECT_TRUE(value.ParseDateTime("2024-01-02 10:00", 0, 2057));
    EXPECT_TRUE(value.ParseDateTime("10:00 pm", 0, 1031));
}

// The user's locale orders and separates a numeric date. The locale runs set
// ORV_EXPECTED_DATE to "<3 November 2012 as written>|<month read from
// 11/03/2012>"; without it the US default stands.
TEST(OleDateTimeLocale, DatesFollowTheUserLocale)
{
    const char* const setting = std::getenv("ORV_EXPECTED_DATE");
    const std::string expected = setting != nullptr ? setting : "11/3/2012|11";
    const std::string written = expected.substr(0, expected.find('|'));
    const int month = std::atoi(expected.c_str() + expected.find('|') + 1);
    const COleDateTime date(2012, 11, 3, 0, 0, 0);
    for (DWORD locale : { DWORD(0x0400), DWORD(0) }) {
        EXPECT_EQ(date.Format(VAR_DATEVALUEONLY, locale), written.c_str()) << locale;
        EXPECT_TRUE(Parsed(written.c_str(), 0, locale) == date) << locale;
        EXPECT_EQ(Parsed("11/03/2012", 0, locale).GetMonth(), month) << locale;
    }
    const COleDateTime later(2012, 11, 3, 15, 4, 5);
    EXPECT_TRUE(Parsed(later.Format()) == later) << later.Format();
    // US English writes and reads month first whatever the user's locale.
    EXPECT_EQ(date.Format(VAR_DATEVALUEONLY, 1033), "11/3/2012");
    EXPECT_EQ(Parsed("11/03/2012", 0, 1033).GetMonth(), 11);
}

// ------------------------------------------------------------- formatting

TEST(OleDateTimeFormat, StrftimeConversionsAndTheDefaultTextShowsThePartsPresent)
{
    const COleDateTime value(2024, 3, 5, 7, 8, 9);
    EXPECT_EQ(value.Format("%Y-%m-%d %H:%M:%S"), "2024-03-05 07:08:09");
    EXPECT_EQ(value.Format("%#m/%#d/%y %#H:%#M:%#S %#j"), "3/5/24 7:8:9 65");
    EXPECT_EQ(value.Format("%a %A %b %B %j %p %I %%"), "Tue Tuesday Mar March 065 AM 07 %");
    EXPECT_EQ(value.Format("%c|%x|%X"), "03/05/24 07:08:09|03/05/24|07:08:09");
    EXPECT_EQ(value.Format("%#x"), "Tuesday, March 05, 2024");
    EXPECT_EQ(COleDateTime(2024, 3, 5, 0, 0, 0).Format("%I %p %#I"), "12 AM 12");
    EXPECT_EQ(COleDateTime(2024, 3, 5, 12, 0, 0).Format("%I %p"), "12 PM");
    EXPECT_EQ(value.Format("%q %#q 100%"), "%q %#q 100%");
    EXPECT_EQ(value.Format(static_cast<const char*>(nullptr)), "");
    EXPECT_EQ(COleDateTime(2000, 12, 31, 0, 0, 0).Format("%j %y"), "366 00");
    EXPECT_EQ(COleDateTime(100, 1, 1, 0, 0, 0).Format("%Y %y %A"), "100 00 Friday");
    EXPECT_EQ(COleDateTime(2024, 1, 2, 15, 4, 5).Format(), "1/2/2024 3:04:05 PM");
    EXPECT_EQ(COleDateTime(2024, 1, 2, 0, 0, 0).Format(), "1/2/2024");
    EXPECT_EQ(COleDateTime(0.5).Format(), "12:00:00 PM");
    EXPECT_EQ(COleDateTime(0.0).Format(), "12:00:00 AM");
    EXPECT_EQ(COleDateTime(-1.25).Format(), "12/29/1899 6:00:00 AM");
    EXPECT_EQ(COleDateTime(0.99999999).Format(), "12/31/1899");
    EXPECT_EQ(COleDateTime(2024, 1, 2, 15, 4, 5).Format(VAR_TIMEVALUEONLY), "3:04:05 PM");
    EXPECT_EQ(COleDateTime(2024, 1, 2, 15, 4, 5).Format(VAR_DATEVALUEONLY), "1/2/2024");
    EXPECT_EQ(COleDateTime(2024, 1, 2, 0, 0, 0).Format(VAR_TIMEVALUEONLY), "12:00:00 AM");
    EXPECT_EQ(COleDateTime(0.25).Format(VAR_DATEVALUEONLY), "12/30/1899");
}

// -------------------------------------------------------------- arithmetic

TEST(OleDateTimeArithmetic, WorksOnTheLinearScaleAcrossDayZeroMidnightAndMonths)
{
    EXPECT_EQ((COleDateTime(-1.25) + COleDateTimeSpan(0.5)).m_dt, -1.75);
    EXPECT_EQ((COleDateTime(-1.75) + COleDateTimeSpan(0.5)).m_dt, 0.25);
    EXPECT_EQ((COleDateTime(0.25) - COleDateTimeSpan(0.5)).m_dt, -1.75);
    EXPECT_EQ((COleDateTime(0.25) - COleDateTimeSpan(1.0)).m_dt, -1.25);
    EXPECT_EQ((COleDateTime(-1.75) + COleDateTimeSpan(0.25)).m_dt, 0.0);
    EXPECT_EQ((COleDateTime(0.25) - COleDateTime(-1.25)).m_span, 1.0);
    EXPECT_EQ((COleDateTime(-2.5) - COleDateTime(-1.25)).m_span, -0.75);
    COleDateTime value(-3.0);
    value += COleDateTimeSpan(0, 36, 0, 0);
    EXPECT_EQ(value.m_dt, -2.5);
    value -= COleDateTimeSpan(2, 0, 0, 0);
    ExpectFields(value, { 1899, 12, 26, 12, 0, 0 });
    // On the linear scale the sum is a hair before 30 December 00:00; the
    // negative form must not fall back to the start of 28 December.
    const COleDateTime sum = COleDateTime(-1.0) + COleDateTimeSpan(std::nextafter(1.0, 0.0));
    ExpectFields(sum, { 1899, 12, 30, 0, 0, 0 });
    EXPECT_NEAR((sum - COleDateTime(-1.0)).GetTotalDays(), 1.0, 1e-9);
    const COleDateTime late(2023, 12, 31, 23, 0, 0);
    const COleDateTime early(2024, 1, 1, 1, 0, 0);
    EXPECT_EQ(Parts(early - late), (std::array<long, 4> { 0, 2, 0, 0 }));
    EXPECT_EQ(Parts(late - early), (std::array<long, 4> { 0, -2, 0, 0 }));
    ExpectFields(late + COleDateTimeSpan(0, 0, 90, 0), { 2024, 1, 1, 0, 30, 0 });
    ExpectFields(COleDateTime(1900, 2, 28, 12, 0, 0) + COleDateTimeSpan(1.0), { 1900, 3, 1, 12, 0, 0 });
}

TEST(OleDateTimeArithmetic, LeavingTheYearRangeGivesInvalidStatusPropagatesAndOnlyValidValuesAreOrdered)
{
    EXPECT_EQ((COleDateTime(9999, 12, 31, 12, 0, 0) + COleDateTimeSpan(1.0)).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ((COleDateTime(100, 1, 1, 12, 0, 0) - COleDateTimeSpan(1.0)).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ((COleDateTime(100, 1, 1, 12, 0, 0) - COleDateTimeSpan(0.5)).GetStatus(), COleDateTime::valid);
    EXPECT_EQ((COleDateTime(0.0) + COleDateTimeSpan(1e9)).GetStatus(), COleDateTime::invalid);
    const COleDateTime valid(1.0), invalid(std::nan("")), null = Null<COleDateTime>();
    const COleDateTimeSpan nullSpan = Null<COleDateTimeSpan>(), invalidSpan(std::nan(""));
    EXPECT_EQ((null + nullSpan).GetStatus(), COleDateTime::null);
    EXPECT_EQ((null + COleDateTimeSpan(1.0)).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ((valid + nullSpan).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ((valid - invalidSpan).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ((invalid + COleDateTimeSpan(1.0)).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ((null - null).GetStatus(), COleDateTimeSpan::null);
    EXPECT_EQ((valid - null).GetStatus(), COleDateTimeSpan::invalid);
    EXPECT_EQ((invalid - valid).GetStatus(), COleDateTimeSpan::invalid);

    EXPECT_TRUE(COleDateTime(-0.5) == COleDateTime(0.5));
    EXPECT_TRUE(COleDateTime(-1.25) < COleDateTime(-1.75) && COleDateTime(-1.75) < COleDateTime(0.0));
    EXPECT_TRUE(COleDateTime(-2.0) < COleDateTime(-1.25));
    EXPECT_TRUE(COleDateTime(-1.25) <= COleDateTime(-1.25) && COleDateTime(3.0) >= COleDateTime(-0.5));
    EXPECT_TRUE(COleDateTime(3.0) != COleDateTime(3.5));
    EXPECT_FALSE(valid < invalid || invalid < valid || invalid <= invalid || null >= valid);
    EXPECT_TRUE(invalid == COleDateTime(1e300) && null == Null<COleDateTime>());
    EXPECT_TRUE(null != invalid && valid != null);
}

// -------------------------------------------------------------------- spans

// Parts round to the second and carry the sign; range and status; the
// format shows magnitudes with one sign.
TEST(OleDateTimeSpan, PartsStatusAndFormat)
{
    const COleDateTimeSpan span(1, 25, 90, 3600);
    EXPECT_DOUBLE_EQ(span.GetTotalHours(), 24.0 + 25.0 + 1.5 + 1.0);
    EXPECT_EQ(Parts(span), (std::array<long, 4> { 2, 3, 30, 0 }));
    const COleDateTimeSpan negative = -COleDateTimeSpan(1, 2, 3, 4);
    EXPECT_EQ(Parts(negative), (std::array<long, 4> { -1, -2, -3, -4 }));
    EXPECT_DOUBLE_EQ(negative.GetTotalSeconds(), -93784.0);
    EXPECT_EQ(Parts(COleDateTimeSpan(0, 0, 0, -90)), (std::array<long, 4> { 0, 0, -1, -30 }));
    EXPECT_EQ(Parts(COleDateTimeSpan(0.5 * kSecond)), (std::array<long, 4> { 0, 0, 0, 1 }));
    EXPECT_EQ(Parts(COleDateTimeSpan(-0.5 * kSecond)), (std::array<long, 4> { 0, 0, 0, -1 }));
    EXPECT_EQ(Parts(COleDateTimeSpan(1.0 - 0.4 * kSecond)), (std::array<long, 4> { 1, 0, 0, 0 }));

    EXPECT_EQ(COleDateTimeSpan(std::nan("")).GetStatus(), COleDateTimeSpan::invalid);
    EXPECT_EQ(COleDateTimeSpan(std::numeric_limits<double>::infinity()).GetStatus(), COleDateTimeSpan::invalid);
    EXPECT_EQ(COleDateTimeSpan(2147483648.0).GetStatus(), COleDateTimeSpan::invalid);
    const COleDateTimeSpan most(2147483647.0);
    EXPECT_EQ(most.GetDays(), 2147483647);
    EXPECT_EQ((most + COleDateTimeSpan(1.0)).GetStatus(), COleDateTimeSpan::invalid);
    EXPECT_EQ(COleDateTimeSpan(2147483647L, 24, 0, 0).GetStatus(), COleDateTimeSpan::invalid);
    EXPECT_EQ(COleDateTimeSpan(-2147483647L, 0, 0, 0).GetDays(), -2147483647);
    const COleDateTimeSpan bad(std::nan(""));
    EXPECT_EQ(bad.GetDays(), 0);
    EXPECT_EQ(bad.GetTotalDays(), 0.0);
    const COleDateTimeSpan null = Null<COleDateTimeSpan>();
    EXPECT_EQ((null + null).GetStatus(), COleDateTimeSpan::null);
    EXPECT_EQ((-null).GetStatus(), COleDateTimeSpan::null);
    EXPECT_EQ((null - COleDateTimeSpan(1.0)).GetStatus(), COleDateTimeSpan::invalid);
    EXPECT_FALSE(null < COleDateTimeSpan(1.0));
    EXPECT_TRUE(COleDateTimeSpan(-1.0) < COleDateTimeSpan(0.5));
    EXPECT_TRUE(COleDateTimeSpan(0, 24, 0, 0) == COleDateTimeSpan(1.0));

    EXPECT_EQ(COleDateTimeSpan(1, 2, 3, 4).Format("%D days %H:%M:%S %%"), "1 days 02:03:04 %");
    EXPECT_EQ((-COleDateTimeSpan(1, 12, 0, 0)).Format("%D %H:%M"), "-1 12:00");
    EXPECT_EQ(COleDateTimeSpan(0, 0, -90, 0).Format("%H:%M"), "-01:30");
    EXPECT_EQ(COleDateTimeSpan(0, 0, 0, 59).Format("%S"), "59");
    EXPECT_EQ(COleDateTimeSpan(59.6 * kSecond).Format("%M:%S"), "01:00");
    EXPECT_EQ(COleDateTimeSpan(std::nan("")).Format("%D"), "Invalid DateTimeSpan");
    EXPECT_EQ(Null<COleDateTimeSpan>().Format("%D"), "");
}

} // namespace

// COrvDateTime: values, zone views, parsing and formatting, and the
// class-wide state. Expectations that depend on the zone or the season are
// computed from the clock's own spans or from the process environment, so
// the suite holds in every zone the test set-up runs it in.
#include "market/OrvDateTime.h"

#include "MarketTestSupport.h"
#include "support/CalendarFields.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <thread>

namespace {

using market_test::EasternSwitch;
using market_test::kSwitches;
using orv_test::WithStatus;

#if defined(_WIN32)
#  define ZONE_TEXT(text) L##text
#else
#  define ZONE_TEXT(text) u##text
#endif

class Clock : public COrvDateTime {
public:
    using COrvDateTime::LookUpZoneAbbreviation;
};

COrvDateTime Utc(int year, int month, int day, int hour, int minute, int second)
{
    COrvDateTime value;
    value = COleDateTime(year, month, day, hour, minute, second);
    return value;
}

COleDateTimeSpan Minutes(int minutes)
{
    return COleDateTimeSpan(0, 0, minutes, 0);
}

// Restores the class-wide settings a test changes.
class OrvDateTimeClock : public ::testing::Test {
protected:
    void TearDown() override
    {
        COrvDateTime::SetLocalDisplayFormat(0);
        COrvDateTime::SetDelta(COleDateTimeSpan());
    }
};

} // namespace

// ------------------------------------------------------------ values

// Construction checks the range, arithmetic keeps the status rules, and
// clearing truncates toward zero.
TEST(OrvDateTimeValue, RangeArithmeticAndClearing)
{
    const COrvDateTime zero;
    EXPECT_EQ(zero.m_dt, 0.0);
    EXPECT_EQ(zero.GetStatus(), COleDateTime::valid);

    const COrvDateTime day(40979.5);
    // A number that is no date is not a valid one.
    EXPECT_EQ(COrvDateTime(std::numeric_limits<double>::quiet_NaN()).GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(COrvDateTime(1e10).GetStatus(), COleDateTime::invalid);

    COrvDateTime copy(1.0);
    copy = WithStatus(COleDateTime(2.0), COleDateTime::invalid);
    EXPECT_EQ(copy.m_dt, 2.0);
    EXPECT_EQ(copy.GetStatus(), COleDateTime::invalid);
    copy = 3.25;
    EXPECT_EQ(copy.m_dt, 3.25);
    EXPECT_EQ(copy.GetStatus(), COleDateTime::valid);

    // Equality needs the same status and the same value.
    COrvDateTime second(40979.5), third(1.0);
    EXPECT_TRUE(day == second && !(day != second));
    second.SetStatus(COleDateTime::invalid);
    third.SetStatus(COleDateTime::invalid);
    EXPECT_TRUE(!(day == second) && day != second && !(second == third));

    COrvDateTime value = Utc(2012, 3, 11, 14, 30, 0);
    EXPECT_EQ((value + Minutes(300)).FormatFIXUtcTimestamp(), "20120311-19:30:00");
    EXPECT_EQ((value - Minutes(300)).FormatFIXUtcTimestamp(), "20120311-09:30:00");
    value += Minutes(600);
    EXPECT_EQ(value.FormatFIXUtcTimestamp(), "20120312-00:30:00");
    value -= Minutes(60);
    EXPECT_EQ(value.FormatFIXUtcTimestamp(), "20120311-23:30:00");
    EXPECT_EQ((value - Utc(2012, 3, 11, 14, 30, 0)).GetTotalMinutes(), 540.0);

    // The status of the result is the framework's, carried through.
    EXPECT_EQ((WithStatus(value, COleDateTime::invalid) + Minutes(1)).GetStatus(), COleDateTime::invalid);
    const COleDateTimeSpan nullSpan = WithStatus(COleDateTimeSpan(), COleDateTimeSpan::null);
    EXPECT_EQ((WithStatus(value, COleDateTime::null) - nullSpan).GetStatus(), COleDateTime::null);

    // Before day 0 the fraction is still the time of day: -1.25 is 06:00.
    const double cases[][3] = { { 40979.75, 0.75, 40979.0 }, { -1.25, -0.25, -1.0 } };
    for (const auto& [full, time, date] : cases) {
        COrvDateTime timeOfDay(full), dayOnly(full);
        timeOfDay.ClearDate();
        dayOnly.ClearTime();
        EXPECT_DOUBLE_EQ(timeOfDay.m_dt, time) << full;
        EXPECT_EQ(timeOfDay.GetHour(), full > 0 ? 18 : 6) << full;
        EXPECT_EQ(dayOnly.m_dt, date) << full;
    }
}

TEST(OrvDateTimeValue, CTimeValuesGoThroughLocalTimeAndBack)
{
    // Round trips in any zone: GetTime undoes the long constructor.
    for (long time : { 1000000000L, 1331476200L, 1352012400L, 2000000000L }) {
        SCOPED_TRACE(time);
        EXPECT_EQ(COrvDateTime(time).GetTime(), static_cast<LONG>(time));
    }

    // Now, the local span and the local offset of the C library agree, so
    // the value is the UTC instant.
    const std::time_t now = std::time(nullptr);
    const std::tm utc = orv_test::UtcFields(now);
    COrvDateTime value;
    value = static_cast<long>(now);
    EXPECT_EQ(value.FormatFIXUtcTimestamp(),
              Utc(utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec)
                  .FormatFIXUtcTimestamp());

    // What cannot be a C time value gives 0.
    const COrvDateTime negative(-1L);
    EXPECT_EQ(negative.GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(negative.m_dt, 0.0);
    EXPECT_EQ(COrvDateTime().GetTime(), 0);
    EXPECT_EQ(Utc(2040, 1, 1, 0, 0, 0).GetTime(), 0);
    EXPECT_EQ(WithStatus(Utc(2012, 3, 11, 14, 30, 0), COleDateTime::invalid).GetTime(), 0);
}

// ------------------------------------------------------------ parsing

TEST(OrvDateTimeParse, TextIsReadAsUtcOrShiftedFromItsZoneAndFailuresShiftNothing)
{
    const int eastern = COrvDateTime::GetETToUTCMinutes();
    const int local = COrvDateTime::GetLocalToUTCMinutes();
    COrvDateTime value;
    ASSERT_NE(value.ParseDateTime("2012-03-11 09:30:00"), 0);
    EXPECT_EQ(value.FormatFIXUtcTimestamp(), "20120311-09:30:00");

    ASSERT_NE(value.ParseETDateTime("2012-03-11 09:30:00"), 0);
    EXPECT_EQ(value, Utc(2012, 3, 11, 9, 30, 0) + Minutes(eastern));
    ASSERT_NE(value.ParseLocalDateTime("2012-03-11 09:30:00"), 0);
    EXPECT_EQ(value, Utc(2012, 3, 11, 9, 30, 0) + Minutes(local));
    EXPECT_EQ(value.FormatLocalTime(), "09:30:00");
    // 22:00 Eastern is the next day in UTC; only the time of day stays.
    ASSERT_NE(value.ParseETDateTime("22:00", VAR_TIMEVALUEONLY), 0);
    EXPECT_GE(value.m_dt, 0.0);
    EXPECT_LT(value.m_dt, 1.0);
    EXPECT_EQ(value.GetHour() * 60 + value.GetMinute(), (22 * 60 + eastern) % 1440);

    // Without the flag the day is kept.
    ASSERT_NE(value.ParseETDateTime("22:00"), 0);
    EXPECT_GE(value.m_dt, 1.0);
    value = COrvDateTime(40979.5);
    EXPECT_EQ(value.ParseETDateTime("half past nine"), 0);
    EXPECT_EQ(value.GetStatus(), COleDateTime::invalid);
    EXPECT_EQ(value.m_dt, 0.0);
    EXPECT_EQ(value.ParseLocalDateTime(nullptr), 0);
    EXPECT_EQ(value.m_dt, 0.0);
    EXPECT_EQ(value.ParseDateTime("25:00"), 0);
    // A shift that leaves the calendar is a failure, not a valid result.
    EXPECT_EQ(value.ParseETDateTime("9999-12-31 23:00"), 0);
    EXPECT_EQ(value.GetStatus(), COleDateTime::invalid);
}

// Timestamps are read by position or by separators, Eastern ones shifted;
// bad text fails safely; null and invalid values format alike.
TEST(OrvDateTimeFix, TimestampsParseAndFormat)
{
    const struct { const char* text; int hour, minute, second; } cases[] = {
        { "20120311-14:30:00", 14, 30, 0 },     { "20120311-14:30:00.123", 14, 30, 0 },
        // By position, whatever stands between the fields.
        { "20120311T14h30m00", 14, 30, 0 },     { "20120311-9:30:5.250", 9, 30, 5 },
        { "20120311-14:30:00.123456", 14, 30, 0 },
        // Missing parts read 0.
        { "20120311-14:30        ", 14, 30, 0 }, { "20120311          ", 0, 0, 0 },
    };
    for (const auto& c : cases) {
        COrvDateTime value;
        ASSERT_NE(value.ParseFIXUtcTimestamp(c.text), 0) << c.text;
        EXPECT_EQ(value, Utc(2012, 3, 11, c.hour, c.minute, c.second)) << c.text;
    }
    COrvDateTime value = Utc(2001, 2, 3, 4, 5, 6);
    // Too short: fails and leaves the value alone.
    EXPECT_EQ(value.ParseFIXUtcTimestamp("20120311-14:30:0"), 0);
    EXPECT_EQ(value, Utc(2001, 2, 3, 4, 5, 6));
    EXPECT_EQ(value.ParseFIXUtcTimestamp(""), 0);

    // Fields that are no date fail and mark the value invalid.
    for (const char* text : { "20120230-14:30:00", "20121311-14:30:00", "20120311-24:00:00", "2012O311-14:30:00",
                              "-20120311-14:30:00", "20120311-99999999999999999999:00:00",
                              "20120311-00:00:99999999999999999999", "YYYYMMDD-HH:MM:SS.sss",
                              "                     " }) {
        SCOPED_TRACE(text);
        value = Utc(2001, 2, 3, 4, 5, 6);
        EXPECT_EQ(value.ParseFIXUtcTimestamp(text), 0);
        EXPECT_EQ(value.GetStatus(), COleDateTime::invalid);
    }
    // Text with a NUL in it is read by its length.
    EXPECT_EQ(value.ParseFIXUtcTimestamp(CString("20120311\0" "14:30:00", 17)), 1);
    EXPECT_EQ(value, Utc(2012, 3, 11, 14, 30, 0));

    // Eastern timestamps shift by the Eastern span.
    ASSERT_NE(value.ParseFIXETTimestamp("20120111-09:30:00"), 0);
    EXPECT_EQ(value, Utc(2012, 1, 11, 9, 30, 0) + Minutes(COrvDateTime::GetETToUTCMinutes()));
    EXPECT_EQ(value.FormatFIXETTimestamp(), "20120111-09:30:00");
    EXPECT_EQ(value.ParseFIXETTimestamp("2012"), 0);

    const COrvDateTime null = WithStatus(COrvDateTime(), COleDateTime::null), invalid(1e10);
    // Null formats as empty text and an invalid value as its text, in the
    // timestamps and the zone views alike.
    EXPECT_EQ(null.FormatFIXUtcTimestamp() + "|" + null.FormatFIXETTimestamp() + "|" + null.FormatETTime(), "||");
    for (const CString& text : {invalid.FormatFIXUtcTimestamp(), invalid.FormatFIXETTimestamp(), invalid.FormatETTime(),
             invalid.FormatLocalDate()})
        EXPECT_EQ(text, "Invalid DateTime");
}

// ------------------------------------------------------------ formatting

TEST_F(OrvDateTimeClock, TimeFlagsZoneBearingFormsAndDatesFollowTheDisplayZone)
{
    const int eastern = COrvDateTime::GetETToUTCMinutes();
    const CString zone = COrvDateTime::GetDisplayTimeZone();
    const COrvDateTime open = Utc(2012, 1, 10, 9, 30, 0) + Minutes(eastern);
    const COrvDateTime later = open + COleDateTimeSpan(0, 0, 0, 5);

    const unsigned long zoned = COrvDateTime::FormatWithZone, noSeconds = COrvDateTime::FormatNoSeconds,
                        ifAny = COrvDateTime::FormatSecondsIfAny;
    const struct { const COrvDateTime& value; unsigned long flags; CString text; } cases[] = {
        { open, 0, "09:30:00" },          { open, noSeconds, "09:30" },
        { open, ifAny, "09:30" },         { later, ifAny, "09:30:05" },
        { later, noSeconds | ifAny, "09:30" },
        { later, zoned, "09:30:05 " + zone }, { later, zoned | noSeconds, "09:30 " + zone },
        { open, zoned | ifAny, "09:30 " + zone }, { later, zoned | ifAny, "09:30:05 " + zone },
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.value.FormatETTime(c.flags), c.text) << c.flags;
    EXPECT_EQ(open.FormatETDateTime(COrvDateTime::FormatNoSeconds), "1/10/2012 09:30");
    const COrvDateTime value = Utc(2012, 3, 11, 12, 0, 0);
    // Display in Eastern time: even the local view says the Eastern zone.
    COrvDateTime::SetLocalDisplayFormat(0);
    const CString easternZone = COrvDateTime::GetEasternTimeZone();
    EXPECT_EQ(value.FormatLocalTime(COrvDateTime::FormatWithZone), value.FormatLocalTime() + " " + easternZone);
    EXPECT_EQ(value.FormatDisplayTime(COrvDateTime::FormatWithZone), value.FormatETTime() + " " + easternZone);

    COrvDateTime::SetLocalDisplayFormat(1);
    const CString local = COrvDateTime::GetLocalTimeZone();
    EXPECT_EQ(value.FormatETTime(COrvDateTime::FormatWithZone), value.FormatETTime() + " " + local);
    EXPECT_EQ(value.FormatDisplayTime(COrvDateTime::FormatWithZone), value.FormatLocalTime() + " " + local);
    EXPECT_EQ(value.FormatDisplayDateTime(0), value.FormatLocalDate() + " " + value.FormatLocalTime());
    // 02:00 UTC is still the previous evening in New York.
    COrvDateTime::SetLocalDisplayFormat(0);
    const COrvDateTime early = Utc(2012, 3, 11, 2, 0, 0);
    EXPECT_EQ(early.FormatETDate(), "3/10/2012");
    EXPECT_EQ(early.FormatFIXETTimestamp().Left(8), "20120310");
    EXPECT_EQ(early.FormatDisplayDate(), "3/10/2012");
    // Noon UTC is the same day in every zone the tests run in.
    EXPECT_EQ(Utc(2012, 3, 11, 12, 0, 0).FormatLocalDate(), "3/11/2012");
    EXPECT_EQ(early.FormatETDateTime(0), early.FormatETDate() + " " + early.FormatETTime());
}

// ------------------------------------------------------------ class-wide state

TEST_F(OrvDateTimeClock, TheDisplayZoneFollowsTheUsersChoice)
{
    // Eastern when the library loads (-1: not set), local once chosen, and
    // back.
    for (int local : { -1, 1, 0 }) {
        if (local >= 0)
            COrvDateTime::SetLocalDisplayFormat(local);
        EXPECT_EQ(COrvDateTime::GetSpan(), local == 1 ? COrvDateTime::GetSpanLocal() : COrvDateTime::GetSpanET());
        EXPECT_EQ(COrvDateTime::GetDisplayTimeZone(),
                  local == 1 ? COrvDateTime::GetLocalTimeZone() : COrvDateTime::GetEasternTimeZone());
        EXPECT_EQ(COrvDateTime::GetDisplayToUTCMinutes(),
                  local == 1 ? COrvDateTime::GetLocalToUTCMinutes() : COrvDateTime::GetETToUTCMinutes());
    }
}

TEST_F(OrvDateTimeClock, TickCountIsTheUtcClockPlusTheDeltaAndMarketHoursAreEasternTimesOfDayOnDayZero)
{
    const COrvDateTime before
        = Utc(1970, 1, 1, 0, 0, 0) + COleDateTimeSpan(static_cast<double>(std::time(nullptr)) / 86400.0);
    const COrvDateTime tick = COrvDateTime::GetTickCount();
    EXPECT_LT(std::fabs((tick - before).GetTotalSeconds()), 3.0);

    const COleDateTimeSpan hour(0, 1, 0, 0);
    COrvDateTime::SetDelta(hour);
    EXPECT_EQ(COrvDateTime::GetDelta(), hour);
    const double ahead = (COrvDateTime::GetTickCount() - before).GetTotalSeconds();
    EXPECT_NEAR(ahead, 3600.0, 3.0);

    const COrvDateTime timeOnly = COrvDateTime::GetCurrentTimeOnly();
    EXPECT_GE(timeOnly.m_dt, 0.0);
    EXPECT_LT(timeOnly.m_dt, 1.0);
    const COrvDateTime dateOnly = COrvDateTime::GetCurrentDateOnly();
    EXPECT_EQ(dateOnly.m_dt, std::trunc(dateOnly.m_dt));
    EXPECT_NEAR(dateOnly.m_dt + timeOnly.m_dt, COrvDateTime::GetTickCount().m_dt, 3.0 / 86400.0);

    const COrvDateTime& open = COrvDateTime::GetMarketOpen();
    const COrvDateTime& close = COrvDateTime::GetMarketClose();
    EXPECT_EQ(open, COrvDateTime(9.5 / 24) + Minutes(COrvDateTime::GetETToUTCMinutes()));
    EXPECT_EQ(close, COrvDateTime(16.0 / 24) + Minutes(COrvDateTime::GetETToUTCMinutes()));
    EXPECT_EQ(open.FormatETTime(), "09:30:00");
    EXPECT_EQ(close.FormatETTime(COrvDateTime::FormatNoSeconds), "16:00");
}

// The Eastern decision at load, against the database's switches; near a
// switch the decision depends on the workstation zone, so only days away
// from one are checked.
TEST(OrvDateTimeState, EasternTimeFollowsTodaysDate)
{
    const std::int64_t now = static_cast<std::int64_t>(std::time(nullptr));
    const EasternSwitch* year = nullptr;
    for (const EasternSwitch& change : kSwitches) {
        if (now >= change.start - 180 * 86400 && now < change.end + 60 * 86400)
            year = &change;
    }
    if (year == nullptr)
        GTEST_SKIP() << "today is outside the years of the switch table";
    if (std::llabs(now - year->start) < 86400 || std::llabs(now - year->end) < 86400)
        GTEST_SKIP() << "too close to a daylight switch to know the answer in every zone";
    const bool daylight = now >= year->start && now < year->end;
    EXPECT_EQ(COrvDateTime::GetETToUTCMinutes(), daylight ? 240 : 300);
    EXPECT_EQ(COrvDateTime::GetEasternTimeZone(), daylight ? "EDT" : "EST");
}

// Run by the test set-up in chosen zones with "standard abbreviation|standard
// span|daylight abbreviation|daylight span"; the C library says which of the
// two is in force today.
TEST(OrvDateTimeState, LocalZoneIsTheWorkstationsZone)
{
    const char* expected = std::getenv("ORV_EXPECTED_LOCAL_ZONE");
    if (expected == nullptr)
        GTEST_SKIP() << "ORV_EXPECTED_LOCAL_ZONE not set";
    char standard[8] {}, daylight[8] {};
    int standardMinutes = 0, daylightMinutes = 0;
    ASSERT_EQ(std::sscanf(expected, "%7[^|]|%d|%7[^|]|%d", standard, &standardMinutes, daylight, &daylightMinutes), 4)
        << expected;
    const bool inDaylight = orv_test::LocalFields(std::time(nullptr)).tm_isdst > 0;
    EXPECT_STREQ(COrvDateTime::GetLocalTimeZone(), inDaylight ? daylight : standard);
    EXPECT_EQ(COrvDateTime::GetLocalToUTCMinutes(), inDaylight ? daylightMinutes : standardMinutes);
}

TEST(OrvDateTimeState, ZoneNamesAreLookedUpExactlyAndTheLastRowWins)
{
    const struct { const decltype(+ZONE_TEXT("")) name; const char* abbreviation; } cases[] = {
        { ZONE_TEXT("Eastern Standard Time"), "EST" },      { ZONE_TEXT("Eastern Daylight Time"), "EDT" },
        { ZONE_TEXT("Mexico Standard Time"), "CST" },       { ZONE_TEXT("Mexico Daylight Time"), "MDT" },
        { ZONE_TEXT("Afghanistan Daylight Time"), "AFGH" }, { ZONE_TEXT("Yakutsk Standard Time"), "YST" },
        { ZONE_TEXT("Tokyo Standard Time"), "JST" },        { ZONE_TEXT("eastern standard time"), "???" },
        { ZONE_TEXT("Eastern Standard Time "), "???" },     { ZONE_TEXT(""), "???" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Clock::LookUpZoneAbbreviation(c.name), c.abbreviation) << c.abbreviation;
    EXPECT_EQ(Clock::LookUpZoneAbbreviation(nullptr), "???");
}

// Readers and writers of the class-wide state at once; the thread sanitizer
// build runs this to show that every access is guarded.
TEST_F(OrvDateTimeClock, ConcurrentReadersAndWritersSeeConsistentState)
{
    const CString local = COrvDateTime::GetLocalTimeZone();
    const CString eastern = COrvDateTime::GetEasternTimeZone();
    const int localMinutes = COrvDateTime::GetLocalToUTCMinutes();
    const int easternMinutes = COrvDateTime::GetETToUTCMinutes();
    const COrvDateTime value = Utc(2012, 3, 11, 14, 30, 5);
    const CString localText = value.FormatLocalTime() + " ";
    const CString easternText = value.FormatETTime() + " ";
    std::atomic<int> inconsistent { 0 };
    constexpr int kThreads = 4;
    constexpr int kIterations = 5000;
    // All threads start together, so that their work really overlaps.
    std::atomic<int> waiting { kThreads };
    auto startTogether = [&] {
        waiting.fetch_sub(1);
        while (waiting.load() > 0)
            std::this_thread::yield();
    };

    auto writer = [&](int seed) {
        startTogether();
        for (int i = 0; i < kIterations; ++i) {
            COrvDateTime::SetLocalDisplayFormat((i + seed) % 2);
            COrvDateTime::SetDelta(COleDateTimeSpan(0, 0, 0, i % 60));
        }
    };
    auto reader = [&] {
        startTogether();
        for (int i = 0; i < kIterations; ++i) {
            const int minutes = COrvDateTime::GetDisplayToUTCMinutes();
            const CString zone = COrvDateTime::GetDisplayTimeZone();
            // One lock gives the span and the abbreviation together.
            const CString text = value.FormatDisplayTime(COrvDateTime::FormatWithZone);
            const bool textOk = text == localText + local || text == easternText + eastern;
            const bool minutesOk = minutes == localMinutes || minutes == easternMinutes;
            const bool zoneOk = zone == local || zone == eastern;
            const COrvDateTime tick = COrvDateTime::GetTickCount();
            if (!textOk || !minutesOk || !zoneOk || tick.GetStatus() != COleDateTime::valid)
                ++inconsistent;
        }
    };
    std::thread threads[kThreads] = { std::thread(writer, 0), std::thread(writer, 1), std::thread(reader),
                                      std::thread(reader) };
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(inconsistent.load(), 0);
}

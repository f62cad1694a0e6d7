// CWfcSystemTime and CWfcFileTime: conversions, comparison, and emptying on
// every failure. The machine's clock is never set: its failure path is
// tested only where the platform always refuses.
#include "market/WfcFileTime.h"
#include "market/WfcSystemTime.h"
#include "platform/LastError.h"
#include "support/CalendarFields.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <ctime>

namespace {

SYSTEMTIME Fields(WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second, WORD millis = 0,
                  WORD dayOfWeek = 0)
{
    return SYSTEMTIME { year, month, dayOfWeek, day, hour, minute, second, millis };
}

bool IsEmpty(const SYSTEMTIME& time)
{
    const SYSTEMTIME zero {};
    return std::memcmp(&time, &zero, sizeof zero) == 0;
}

bool IsEmpty(const FILETIME& time)
{
    return time.dwLowDateTime == 0 && time.dwHighDateTime == 0;
}

std::uint64_t Ticks(const FILETIME& time)
{
    return std::uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

const SYSTEMTIME kSunday = Fields(2012, 3, 11, 14, 30, 5, 250, 0);

// True when the step leaves a time of the type, made from kSunday, empty.
template <class Time, class Step>
bool Empties(Step step)
{
    Time time(&kSunday);
    step(time);
    return IsEmpty(time);
}

} // namespace

// Compares every field but the day of the week, copies valid values,
// empties on every failure and converts back.
TEST(WfcSystemTime, ComparesCopiesAndConvertsBack)
{
    const CWfcSystemTime sunday(&kSunday);
    SYSTEMTIME other = kSunday;
    other.wDayOfWeek = 3;
    EXPECT_EQ(sunday.Compare(CWfcSystemTime(&other)), 0);

    // Earlier fields decide before later ones; milliseconds count.
    const CWfcSystemTime decemberBefore(&(other = Fields(2011, 12, 31, 23, 59, 59, 999)));
    EXPECT_EQ(sunday.Compare(decemberBefore), 1);
    EXPECT_TRUE(sunday > decemberBefore && decemberBefore < sunday);
    const CWfcSystemTime millisLater(&(other = Fields(2012, 3, 11, 14, 30, 5, 251)));
    EXPECT_EQ(sunday.Compare(millisLater), -1);
    EXPECT_TRUE(!(sunday > millisLater) && !(sunday == millisLater));
    // Fields compare as unsigned 16-bit numbers.
    const CWfcSystemTime huge(&(other = Fields(0xFFFF, 1, 1, 0, 0, 0)));
    EXPECT_TRUE(huge > sunday);

    CWfcSystemTime time(COleDateTime(2012, 3, 11, 14, 30, 5));
    EXPECT_TRUE(time == CWfcSystemTime(&(other = Fields(2012, 3, 11, 14, 30, 5))));
    EXPECT_EQ(time.wDayOfWeek, 0);

    time = orv_test::WithStatus(COleDateTime(2012, 3, 11, 14, 30, 5), COleDateTime::invalid);
    EXPECT_TRUE(IsEmpty(time));
    time = COleDateTime(2012, 3, 11, 14, 30, 5);
    time = orv_test::WithStatus(COleDateTime(), COleDateTime::null);
    EXPECT_TRUE(IsEmpty(time));

    // A CTime gives its local fields.
    time = CTime(2012, 7, 4, 9, 15, 30);
    EXPECT_TRUE(time == CWfcSystemTime(&(other = Fields(2012, 7, 4, 9, 15, 30))));
    EXPECT_EQ(time.wDayOfWeek, 3);
    time = CTime(-5);
    EXPECT_TRUE(IsEmpty(time));

    // The empty value is no date.
    const CWfcSystemTime empty;
    COleDateTime ole;
    CTime local;
    EXPECT_FALSE(empty.CopyTo(ole));
    EXPECT_EQ(ole.GetStatus(), COleDateTime::invalid);
    EXPECT_FALSE(empty.CopyTo(local));
    EXPECT_FALSE(local.IsValid());

    // Null pointers and failed conversions empty the value too.
    const FILETIME beyondTheCalendar { 0xFFFFFFFF, 0xFFFFFFFF };
    EXPECT_TRUE(Empties<CWfcSystemTime>([](auto& t) { t.Copy(static_cast<const FILETIME*>(nullptr)); }));
    EXPECT_TRUE(Empties<CWfcSystemTime>([&](auto& t) { t.Copy(&beyondTheCalendar); }));
    EXPECT_TRUE(Empties<CWfcSystemTime>([](auto& t) { t.Copy(static_cast<const CWfcSystemTime*>(nullptr)); }));
    EXPECT_TRUE(Empties<CWfcSystemTime>([](auto& t) { t.Copy(static_cast<const CWfcFileTime*>(nullptr)); }));
    EXPECT_TRUE(IsEmpty(CWfcSystemTime(static_cast<const SYSTEMTIME*>(nullptr))));
}

TEST(WfcSystemTime, FileTimesAndTheClockGiveTheirUtcBreakdownAndBack)
{
    const CWfcFileTime file(&kSunday);
    CWfcSystemTime time(&file);
    EXPECT_TRUE(time == CWfcSystemTime(&kSunday));
    EXPECT_EQ(time.wDayOfWeek, 0);

    CWfcFileTime back;
    back = time;
    EXPECT_TRUE(back == file);
    // The empty file time is a time: midnight at the start of 1601, a Monday.
    time = CWfcFileTime();
    const SYSTEMTIME first = Fields(1601, 1, 1, 0, 0, 0);
    EXPECT_TRUE(time == CWfcSystemTime(&first));
    EXPECT_EQ(time.wDayOfWeek, 1);

    // Get takes the current UTC time. The epoch: 1 January 1970 counted from
    // 1601, in 100-ns ticks.
    time.Get();
    const std::uint64_t epoch = 116444736000000000ull;
    const std::int64_t seconds = std::int64_t((Ticks(CWfcFileTime(&time)) - epoch) / 10000000ull);
    EXPECT_LE(std::llabs(seconds - std::int64_t(std::time(nullptr))), 2);
}

#if !defined(_WIN32)
// The stand-in never sets the clock, so the failure path is safe to run.
TEST(WfcSystemTime, SettingTheClockReportsFailure)
{
    const CWfcSystemTime time(&kSunday);
    SetLastError(0);
    EXPECT_FALSE(time.Set());
    EXPECT_EQ(GetLastError(), ERROR_PRIVILEGE_NOT_HELD);

    // A value that is no time is refused before the system is asked.
    const CWfcSystemTime empty;
    SetLastError(0);
    EXPECT_FALSE(empty.Set());
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}
#endif

TEST(WfcFileTime, DosTimesEmptyingOnFailuresComparisonAsOneCountAndConversionThroughTheBreakdown)
{
    const CWfcFileTime full(&kSunday);
    ASSERT_FALSE(IsEmpty(full));

    const SYSTEMTIME thirteenth = Fields(2012, 13, 1, 0, 0, 0);
    EXPECT_TRUE(Empties<CWfcFileTime>([](auto& t) { t.Copy(static_cast<const FILETIME*>(nullptr)); }));
    EXPECT_TRUE(Empties<CWfcFileTime>([](auto& t) { t.Copy(static_cast<const CWfcFileTime*>(nullptr)); }));
    EXPECT_TRUE(Empties<CWfcFileTime>([](auto& t) { t.Copy(static_cast<const SYSTEMTIME*>(nullptr)); }));
    EXPECT_TRUE(Empties<CWfcFileTime>([&](auto& t) { t.Copy(&thirteenth); }));
    EXPECT_TRUE(Empties<CWfcFileTime>([](auto& t) { t.Copy(static_cast<const CWfcSystemTime*>(nullptr)); }));
    // DOS dates and times have two-second steps; month 0 is no date.
    const SYSTEMTIME dosTime = Fields(2026, 12, 27, 21, 45, 58);
    EXPECT_TRUE(CWfcFileTime(WORD((2026 - 1980) << 9 | 12 << 5 | 27), WORD(21 << 11 | 45 << 5 | 29))
                == CWfcFileTime(&dosTime));
    EXPECT_TRUE(Empties<CWfcFileTime>([](auto& t) { t.Copy(WORD((2012 - 1980) << 9 | 0 << 5 | 11), WORD(0)); }));

    // The low half alone would order these the other way.
    const FILETIME lowBig { 0xFFFFFFFF, 1 };
    const FILETIME highBig { 0, 2 };
    const CWfcFileTime earlier(&lowBig), later(&highBig);
    EXPECT_EQ(earlier.Compare(later), -1);
    EXPECT_EQ(later.Compare(earlier), 1);
    EXPECT_TRUE(earlier < later && later > earlier && !(earlier == later));
    EXPECT_TRUE(earlier == CWfcFileTime(earlier));
    // Copying onto itself changes nothing.
    CWfcFileTime time(&kSunday);
    time.Copy(static_cast<const FILETIME*>(&time));
    time.Copy(&time);
    time = time;
    EXPECT_EQ(Ticks(time), Ticks(CWfcFileTime(&kSunday)));

    const CWfcFileTime sunday(&kSunday);
    COleDateTime ole;
    ASSERT_TRUE(sunday.CopyTo(ole));
    EXPECT_EQ(ole, COleDateTime(2012, 3, 11, 14, 30, 5));
    CTime local;
    ASSERT_TRUE(sunday.CopyTo(local));
    EXPECT_EQ(local, CTime(2012, 3, 11, 14, 30, 5));
    // The empty file time is 1 January 1601: a date, but before any CTime.
    ASSERT_TRUE(CWfcFileTime().CopyTo(ole));
    EXPECT_EQ(ole, COleDateTime(1601, 1, 1, 0, 0, 0));
    EXPECT_FALSE(CWfcFileTime().CopyTo(local));
}

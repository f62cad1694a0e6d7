// The Eastern daylight decision, checked at chosen instants and against the
// time-zone database's switches of 2007-2037.
//
// The decision re-reads UTC fields as local wall time, so it is exact only
// in a process zone without daylight time; these tests skip elsewhere. The
// test set-up runs them with TZ=UTC, natively and under Wine.
#include "market/OrvDateTime.h"

#include "MarketTestSupport.h"
#include "support/CalendarFields.h"
#include "support/HostLogLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <iterator>
#include <string>
#include <vector>

namespace {

using market_test::EasternSwitch;
using market_test::kSwitches;

class Clock : public COrvDateTime {
public:
    using COrvDateTime::DecideEasternDaylight;
};

enum class Eastern { Standard, Daylight, Undecided };

const char* Name(Eastern value)
{
    return value == Eastern::Daylight ? "daylight" : (value == Eastern::Standard ? "standard" : "undecided");
}

Eastern Decide(std::int64_t utcSeconds)
{
    LONG bias = 0;
    CString zone = "unchanged";
    if (!Clock::DecideEasternDaylight(static_cast<std::time_t>(utcSeconds), bias, zone))
        return Eastern::Undecided;
    // The bias and the abbreviation must tell the same story.
    if (bias == 240 && zone == "EDT")
        return Eastern::Daylight;
    if (bias == 300 && zone == "EST")
        return Eastern::Standard;
    ADD_FAILURE() << "bias " << bias << " with zone " << zone.GetString();
    return Eastern::Undecided;
}

// Seconds since 1970 of a UTC calendar time; the OLE calendar counts 1970
// from day 25569.
std::int64_t UtcSeconds(int year, int month, int day, int hour, int minute, int second)
{
    return std::llround((COleDateTime(year, month, day, hour, minute, second).m_dt - 25569.0) * 86400.0);
}

// Whether the C library's local time is a fixed offset from UTC over the
// years checked: then a UTC reading taken as local wall time is off by the
// same amount everywhere, and the decision is exact.
bool ProcessZoneHasDaylightTime()
{
    bool haveOffset = false;
    std::int64_t offset = 0;
    for (int year = 2007; year <= 2037; ++year) {
        for (int month : { 1, 3, 7, 11 }) {
            const std::int64_t local = orv_test::LocalSeconds(year, month, 10, 12, 0, 0);
            if (local == -1 || orv_test::LocalFields(static_cast<std::time_t>(local)).tm_isdst > 0)
                return true;
            const std::int64_t here = UtcSeconds(year, month, 10, 12, 0, 0) - local;
            if (haveOffset && here != offset)
                return true;
            haveOffset = true;
            offset = here;
        }
    }
    return false;
}

class EasternDaylight : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (ProcessZoneHasDaylightTime())
            GTEST_SKIP() << "the process zone has daylight time; run with TZ=UTC";
    }
};

} // namespace

// The 15th of every month lies a week or more from either switch.
TEST_F(EasternDaylight, FixedAwayFromTheSwitchesAndAgreesWithTheDatabaseExceptNovembersLastDaylightHour)
{
    for (int year : { 2008, 2024, 2037 })
        for (int month = 1; month <= 12; ++month)
            EXPECT_EQ(Decide(UtcSeconds(year, month, 15, 12, 0, 0)),
                      month >= 3 && month <= 10 ? Eastern::Daylight : Eastern::Standard)
                << year << "-" << month;
    // Around every switch of 2007-2037. March agrees with the database:
    // daylight time starts strictly after 07:00:00 UTC. In November the clock
    // keeps daylight time until 07:00 UTC, an hour after the database's 06:00
    // UTC: 06:00:00 to 06:59:59 UTC, and only that hour, differs.
    ASSERT_EQ(std::size(kSwitches), 31u);
    const struct { bool fromEnd; std::int64_t offset; Eastern expected; } around[] = {
        {false, -1, Eastern::Standard}, {false, 0, Eastern::Standard}, {false, 1, Eastern::Daylight},
        {true, -1, Eastern::Daylight}, {true, 0, Eastern::Daylight}, {true, 3599, Eastern::Daylight},
        {true, 3600, Eastern::Standard}, {true, 3601, Eastern::Standard}};
    for (const EasternSwitch& change : kSwitches) {
        SCOPED_TRACE(change.year);
        // The database's switches: 07:00 UTC in March, 06:00 UTC in November.
        ASSERT_EQ(change.start % 86400, 7 * 3600);
        ASSERT_EQ(change.end % 86400, 6 * 3600);
        for (const auto& instant : around) {
            const std::int64_t at = (instant.fromEnd ? change.end : change.start) + instant.offset;
            EXPECT_EQ(Decide(at), instant.expected) << "at " << at << " the clock says " << Name(Decide(at));
        }
    }
}

// Not zone-dependent: a clock at or before 1970 decides nothing.
class EasternDaylightClockError : public market_test::HostRootTest {};

TEST_F(EasternDaylightClockError, AClockNotAfter1970KeepsTheZoneAndLogsAWarning)
{
    for (std::time_t now : { std::time_t(0), std::time_t(-86400) }) {
        LONG bias = 0;
        CString zone = "kept";
        EXPECT_FALSE(Clock::DecideEasternDaylight(now, bias, zone));
        EXPECT_EQ(bias, 300);
        EXPECT_EQ(zone, "kept");
    }

    const std::string message
        = "Warning: Windows time error: please check your system clock setting (particularly the year).";
    // At level 5, the message whole and last on its line.
    const std::vector<std::string> lines = orv_test::HostLogLines(m_root);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "L5 " + message), 2) << Log();
}

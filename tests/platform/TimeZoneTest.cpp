#include "platform/SystemTime.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::string Narrow(const WCHAR* text)
{
    std::string out;
    for (; *text != 0; ++text)
        out += char(*text);
    return out;
}

} // namespace

// Run by the test set-up in a chosen zone (TZ natively, the Windows zone
// under Wine) with "bias|standard name|daylight name|daylight bias".
TEST(TimeZone, ReportsTheWorkstationZoneInWindowsForm)
{
    const char* expected = std::getenv("ORV_EXPECTED_ZONE");
    if (expected == nullptr)
        GTEST_SKIP() << "ORV_EXPECTED_ZONE not set";
    TIME_ZONE_INFORMATION zone {};
    const DWORD id = GetTimeZoneInformation(&zone);
    ASSERT_NE(id, TIME_ZONE_ID_INVALID);
    const std::string actual = std::to_string(zone.Bias) + "|" + Narrow(zone.StandardName) + "|"
        + Narrow(zone.DaylightName) + "|" + std::to_string(zone.DaylightBias);
    EXPECT_EQ(actual, expected);
}

#if !defined(_WIN32)
namespace {

// Each test may change TZ; it is put back afterwards.
class TimeZoneNative : public ::testing::Test {
protected:
    TIME_ZONE_INFORMATION ZoneFor(const char* tz, DWORD& id)
    {
        m_environment.Set("TZ", tz);
        TIME_ZONE_INFORMATION zone {};
        id = GetTimeZoneInformation(&zone);
        return zone;
    }

    orv_test::ScopedEnvironment m_environment;
};

// A change rule: "month/week/day of week hour" (week 5: the last).
std::string Rule(const SYSTEMTIME& date)
{
    return std::to_string(date.wMonth) + "/" + std::to_string(date.wDay) + "/" + std::to_string(date.wDayOfWeek) + " "
        + std::to_string(date.wHour);
}

} // namespace

// The zones of the runs above (New York, Tokyo) have their bias and names
// checked there.
TEST_F(TimeZoneNative, ZonesWithDaylightTimeCarryTheirChangeRules)
{
    DWORD id = 0;
    TIME_ZONE_INFORMATION eastern = ZoneFor("America/New_York", id);
    EXPECT_NE(id, TIME_ZONE_ID_UNKNOWN);
    // Second Sunday of March and first Sunday of November, at 02:00.
    EXPECT_EQ(Rule(eastern.DaylightDate), "3/2/0 2");
    EXPECT_EQ(Rule(eastern.StandardDate), "11/1/0 2");

    TIME_ZONE_INFORMATION berlin = ZoneFor("Europe/Berlin", id);
    EXPECT_EQ(berlin.Bias, -60);
    EXPECT_EQ(Narrow(berlin.StandardName), "W. Europe Standard Time");
    // Last Sunday of March at 02:00, last Sunday of October at 03:00.
    EXPECT_EQ(Rule(berlin.DaylightDate), "3/5/0 2");
    EXPECT_EQ(Rule(berlin.StandardDate), "10/5/0 3");
}

TEST_F(TimeZoneNative, ZonesWithoutDaylightTimeReportUnknown)
{
    DWORD id = 0;
    ZoneFor("Asia/Tokyo", id);
    EXPECT_EQ(id, TIME_ZONE_ID_UNKNOWN);

    TIME_ZONE_INFORMATION kolkata = ZoneFor("Asia/Kolkata", id);
    EXPECT_EQ(kolkata.Bias, -330);

    TIME_ZONE_INFORMATION unknown = ZoneFor("America/Argentina/Ushuaia", id);
    EXPECT_EQ(Narrow(unknown.StandardName), "America/Argentina/Ushuaia");
}
#endif

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

// The zones of the runs above (New York, Tokyo) have their daylight names
// checked there. A zone without daylight time has no change rules and
// reports an unknown id; a zone the system has no Windows name for keeps its
// own name.
TEST_F(TimeZoneNative, ZonesCarryTheirBiasNameAndChangeRules)
{
    const struct { const char* tz; LONG bias; const char* name; const char* daylight; const char* standard; } zones[] = {
        // Second Sunday of March and first Sunday of November, at 02:00.
        {"America/New_York", 300, "Eastern Standard Time", "3/2/0 2", "11/1/0 2"},
        // Last Sunday of March at 02:00, last Sunday of October at 03:00.
        {"Europe/Berlin", -60, "W. Europe Standard Time", "3/5/0 2", "10/5/0 3"},
        {"Asia/Tokyo", -540, "Tokyo Standard Time", "0/0/0 0", "0/0/0 0"},
        {"Asia/Kolkata", -330, "India Standard Time", "0/0/0 0", "0/0/0 0"},
        {"America/Argentina/Ushuaia", 180, "America/Argentina/Ushuaia", "0/0/0 0", "0/0/0 0"},
    };
    for (const auto& z : zones) {
        SCOPED_TRACE(z.tz);
        DWORD id = 0;
        const TIME_ZONE_INFORMATION zone = ZoneFor(z.tz, id);
        EXPECT_EQ(zone.Bias, z.bias);
        EXPECT_EQ(Narrow(zone.StandardName), z.name);
        EXPECT_EQ(Rule(zone.DaylightDate), z.daylight);
        EXPECT_EQ(Rule(zone.StandardDate), z.standard);
        EXPECT_EQ(id == TIME_ZONE_ID_UNKNOWN, std::string(z.daylight) == "0/0/0 0");
    }
}
#endif

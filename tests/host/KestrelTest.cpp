#include "Kestrel.h"

#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <sstream>
#include <limits>
#include <regex>
#include <set>
#include <string>
#include <thread>

namespace {

// Each test gets a private host root, not made yet.
class Kestrel : public ::testing::Test {
protected:
    orv_test::ScratchFolder m_scratch {"kestrel"};
    const std::filesystem::path m_root = m_scratch / "root";
    orv_test::ScopedEnvironment m_environment {"KESTREL_ROOT", m_root.string()};
};

// What a formatter writes into a buffer larger than the capacity it is given.
template <class Format>
std::string Written(Format format)
{
    char buffer[300];
    format(buffer);
    return buffer;
}

std::string Price(double value, int format, int capacity = 64)
{
    return Written([&](char* buffer) { HostFormatPriceEx(value, buffer, capacity, format); });
}

std::string Long(int32_t value, int capacity = 64)
{
    return Written([&](char* buffer) { HostFormatLong(value, buffer, capacity); });
}

std::string Money(double value, int capacity = 255)
{
    return Written([&](char* buffer) { HostFormatMoney(value, buffer, capacity); });
}

std::string PlainPrice(double value)
{
    return Written([&](char* buffer) { HostFormatPrice(value, buffer, 255); });
}

} // namespace

TEST_F(Kestrel, IntegersMoneyAndPricesAreFormattedWithinTheCapacity)
{
    EXPECT_EQ(Long(0), "0");
    EXPECT_EQ(Long(999), "999");
    EXPECT_EQ(Long(1000), "1,000");
    EXPECT_EQ(Long(INT_MIN), "-2,147,483,648");
    EXPECT_EQ(Money(-0.004), "0.00");
    EXPECT_EQ(Money(-1234567.125), "-1,234,567.13");
    EXPECT_EQ(PlainPrice(1.5), "1.50");
    EXPECT_EQ(PlainPrice(1.23456), "1.2346");
    EXPECT_EQ(PlainPrice(12345.0001), "12,345.0001");

    // Prices for editing have decimals without grouping, or the fraction code's apostrophe.
    EXPECT_EQ(Price(1234.5678, 2), "1234.57");
    EXPECT_EQ(Price(1234.5678, 0), "1235");
    EXPECT_EQ(Price(-0.5, 1), "-0.5");
    EXPECT_EQ(Price(0.12345678, 99), "0.123456780000000");
    EXPECT_EQ(Price(3.0, -4), "3");
    EXPECT_EQ(Price(99 + 8.0 / 32 + 2.0 / 128, 33), "99'085");
    EXPECT_EQ(Price(99.0, 33), "99'00");
    EXPECT_EQ(Price(7.25, 21), "7'08");
    EXPECT_EQ(Price(7 + 5.0 / 256, 24), "7'005");
    // Rounded to the code's tick, halves up; a negative value keeps its sign.
    EXPECT_EQ(Price(7.24, 18), "7'1");
    EXPECT_EQ(Price(0.99, 17), "1'0");
    EXPECT_EQ(Price(-2.25, 18), "-2'1");
    EXPECT_EQ(Price(-0.01, 17), "0'0");

    // Extreme values stay within the capacity.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Price(nan, 2), "NaN");
    EXPECT_EQ(Price(-inf, 32), "-Inf");
    EXPECT_EQ(Money(inf), "Inf");
    EXPECT_EQ(Money(1e300), "1e+300");
    EXPECT_EQ(Price(-1e300, 15, 24), "-1e+300");
    EXPECT_EQ(PlainPrice(-1e300), "-1e+300");

    // A text that does not fit is never cut: it becomes a run of "#".
    EXPECT_EQ(Long(INT_MIN, 14), "#############");
    EXPECT_EQ(Long(INT_MIN, 15), "-2,147,483,648");
    EXPECT_EQ(Money(999999999999.99, 16), "###############");

    char guard[8] = {'x', 'x', 'x', 'x', 'x', 'x', 'x', 'x'};
    HostFormatLong(12345, guard, 1);
    EXPECT_EQ(guard[0], '\0');
    EXPECT_EQ(guard[1], 'x');
    HostFormatLong(12345, guard, 0);
    EXPECT_EQ(guard[1], 'x');
}

// The folders themselves are checked through the user-folder functions.
TEST_F(Kestrel, FolderPathsAreNeverCutSettingsComeFromTheRootsIniFileAndLogLinesAreWhole)
{
    char buffer[260] = "stale";
    // A buffer too small for the path: false and empty, never a cut path.
    EXPECT_FALSE(HostGetUserDirectory(buffer, 4));
    EXPECT_EQ(buffer[0], '\0');
    orv_test::WriteFile(
        m_root / "Kestrel.ini", "[Other]\nReleaseType=Wrong\n[GlobalSettings]\n ReleaseType = Beta \nQuickLaunch=1\n");
    const auto setting = [](const char* section, const char* key, int capacity = 48, const char* fallback = "") {
        return Written([&](char* text) { HostGetGlobalSetting(section, key, text, capacity, fallback); });
    };
    EXPECT_EQ(setting("GlobalSettings", "ReleaseType"), "Beta");
    EXPECT_EQ(setting("globalsettings", "quicklaunch"), "1");
    EXPECT_EQ(setting("GlobalSettings", "InstallTime", 48, "none"), "none");
    EXPECT_EQ(setting("GlobalSettings", "ReleaseType", 3), "Be");

    // Log lines from several threads are neither lost nor interleaved.
    constexpr int kLines = 2000;
    auto writer = [](char name) {
        for (int i = 0; i < kLines; ++i) {
            if (i % 2 == 0)
                HostLogFormat(3, "writer %c line %d of %s", name, i, "a fairly long message text");
            else
                HostLog(2, (std::string("writer ") + name + " line " + std::to_string(i) + " of a fairly long message text").c_str());
        }
    };
    std::thread first(writer, 'A');
    std::thread second(writer, 'B');
    first.join();
    second.join();

    std::istringstream log(orv_test::ReadFile(m_root / "User" / "logs" / "kestrel.log"));
    // Every line is whole: a time stamp, level, thread and one message.
    const std::regex shape(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3}Z L[23] T\d+ (writer [AB] line \d+) of a fairly long message text)");
    std::set<std::string> messages;
    int count = 0;
    for (std::string line; std::getline(log, line);) {
        ++count;
        std::smatch match;
        ASSERT_TRUE(std::regex_match(line, match, shape)) << line;
        messages.insert(match[1]);
    }
    EXPECT_EQ(count, 2 * kLines);
    EXPECT_EQ(messages.size(), std::size_t(2 * kLines));
}

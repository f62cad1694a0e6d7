// The C library's time zone, reported the way Windows reports its own: a bias
// in minutes (UTC = local + bias), the Windows names of the zone, the daylight
// bias and the dates of this year's changes, and which time is in force.
#include "framework/Calendar.h"
#include "platform/SystemTime.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

// Zones of the time-zone database and the Windows zone that covers them; the
// Windows names are "<name> Standard Time" and "<name> Daylight Time".
struct ZoneName {
    const char* id;
    const char* windows;
};

constexpr ZoneName kZoneNames[] = {
    {"America/New_York", "Eastern"},        {"US/Eastern", "Eastern"},
    {"America/Detroit", "Eastern"},         {"America/Toronto", "Eastern"},
    {"EST5EDT", "Eastern"},                 {"America/Chicago", "Central"},
    {"US/Central", "Central"},              {"CST6CDT", "Central"},
    {"America/Winnipeg", "Canada Central"}, {"America/Denver", "Mountain"},
    {"US/Mountain", "Mountain"},            {"MST7MDT", "Mountain"},
    {"America/Phoenix", "US Mountain"},     {"America/Los_Angeles", "Pacific"},
    {"US/Pacific", "Pacific"},              {"PST8PDT", "Pacific"},
    {"America/Anchorage", "Alaskan"},       {"Pacific/Honolulu", "Hawaiian"},
    {"America/Halifax", "Atlantic"},        {"America/St_Johns", "Newfoundland"},
    {"America/Mexico_City", "Mexico"},      {"America/Sao_Paulo", "E. South America"},
    {"Europe/London", "GMT"},               {"Europe/Dublin", "GMT"},
    {"Europe/Lisbon", "GMT"},               {"Europe/Berlin", "W. Europe"},
    {"Europe/Amsterdam", "W. Europe"},      {"Europe/Rome", "W. Europe"},
    {"Europe/Vienna", "W. Europe"},         {"Europe/Stockholm", "W. Europe"},
    {"Europe/Zurich", "W. Europe"},         {"Europe/Oslo", "W. Europe"},
    {"Europe/Paris", "Romance"},            {"Europe/Brussels", "Romance"},
    {"Europe/Madrid", "Romance"},           {"Europe/Copenhagen", "Romance"},
    {"Europe/Warsaw", "Central European"},  {"Europe/Zagreb", "Central European"},
    {"Europe/Budapest", "Central Europe"},  {"Europe/Prague", "Central Europe"},
    {"Europe/Belgrade", "Central Europe"},  {"Europe/Athens", "GTB"},
    {"Europe/Bucharest", "GTB"},            {"Europe/Istanbul", "GTB"},
    {"Europe/Helsinki", "FLE"},             {"Europe/Kiev", "FLE"},
    {"Europe/Kyiv", "FLE"},                 {"Europe/Riga", "FLE"},
    {"Europe/Tallinn", "FLE"},              {"Europe/Vilnius", "FLE"},
    {"Europe/Sofia", "FLE"},                {"Europe/Moscow", "Russian"},
    {"Africa/Cairo", "Egypt"},              {"Africa/Johannesburg", "South Africa"},
    {"Asia/Jerusalem", "Jerusalem"},        {"Asia/Dubai", "Arabian"},
    {"Asia/Riyadh", "Arab"},                {"Asia/Baghdad", "Arabic"},
    {"Asia/Tehran", "Iran"},                {"Asia/Kabul", "Afghanistan"},
    {"Asia/Karachi", "West Asia"},          {"Asia/Kolkata", "India"},
    {"Asia/Calcutta", "India"},             {"Asia/Kathmandu", "Nepal"},
    {"Asia/Colombo", "Sri Lanka"},          {"Asia/Yangon", "Myanmar"},
    {"Asia/Bangkok", "SE Asia"},            {"Asia/Jakarta", "SE Asia"},
    {"Asia/Singapore", "Malay Peninsula"},  {"Asia/Kuala_Lumpur", "Malay Peninsula"},
    {"Asia/Shanghai", "China"},             {"Asia/Hong_Kong", "China"},
    {"Asia/Taipei", "Taipei"},              {"Asia/Seoul", "Korea"},
    {"Asia/Tokyo", "Tokyo"},                {"Asia/Yekaterinburg", "Ekaterinburg"},
    {"Asia/Vladivostok", "Vladivostok"},    {"Asia/Yakutsk", "Yakutsk"},
    {"Australia/Perth", "W. Australia"},    {"Australia/Darwin", "AUS Central"},
    {"Australia/Adelaide", "Cen. Australia"}, {"Australia/Brisbane", "E. Australia"},
    {"Australia/Sydney", "AUS Eastern"},    {"Australia/Melbourne", "AUS Eastern"},
    {"Australia/Hobart", "Tasmania"},       {"Pacific/Auckland", "New Zealand"},
    {"Pacific/Fiji", "Fiji"},               {"Pacific/Guam", "West Pacific"},
    {"Atlantic/Azores", "Azores"},          {"Atlantic/Cape_Verde", "Cape Verde"},
    {"UTC", "Greenwich"},                   {"Etc/UTC", "Greenwich"},
    {"GMT", "Greenwich"},                   {"Etc/GMT", "Greenwich"},
};

// The zone's identifier: TZ when set (a leading ':' dropped), else the
// system's configured zone.
std::string ZoneId()
{
    if (const char* tz = std::getenv("TZ"); tz != nullptr && *tz != '\0')
        return tz[0] == ':' ? tz + 1 : tz;
    std::string id;
    if (std::ifstream file("/etc/timezone"); file && std::getline(file, id) && !id.empty())
        return id;
    char target[256] {};
    const ssize_t length = readlink("/etc/localtime", target, sizeof target - 1);
    if (length > 0) {
        const char* zoneinfo = std::strstr(target, "zoneinfo/");
        return zoneinfo != nullptr ? zoneinfo + 9 : target;
    }
    return "UTC";
}

void CopyName(const std::string& name, WCHAR (&out)[32])
{
    std::size_t i = 0;
    for (; i < name.size() && i < 31; ++i)
        out[i] = WCHAR(static_cast<unsigned char>(name[i]));
    out[i] = 0;
}

long OffsetAt(std::time_t when, int& isDaylight)
{
    std::tm local {};
    localtime_r(&when, &local);
    isDaylight = local.tm_isdst > 0;
    return local.tm_gmtoff;
}

// The moment of this year's change into (or out of) daylight time, as the
// local wall time just before it, in the Windows "nth weekday of the month"
// form (week 5 meaning the last).
SYSTEMTIME ChangeRule(std::time_t yearStart, bool intoDaylight)
{
    SYSTEMTIME rule {};
    int wasDaylight = 0;
    OffsetAt(yearStart, wasDaylight);
    for (std::time_t hour = yearStart + 3600; hour < yearStart + 366 * 86400; hour += 3600) {
        int isDaylight = 0;
        OffsetAt(hour, isDaylight);
        if (isDaylight != wasDaylight && bool(isDaylight) == intoDaylight) {
            int ignored = 0;
            const std::time_t before = hour - 3600 + OffsetAt(hour - 3600, ignored);
            std::tm wall {};
            gmtime_r(&before, &wall);
            rule.wMonth = WORD(wall.tm_mon + 1);
            rule.wDayOfWeek = WORD(wall.tm_wday);
            rule.wDay = WORD(wall.tm_mday + 7 > orv::calendar::DaysInMonth(wall.tm_year + 1900, unsigned(wall.tm_mon + 1)) ? 5 : (wall.tm_mday - 1) / 7 + 1);
            rule.wHour = WORD((wall.tm_hour + 1) % 24);
            return rule;
        }
        wasDaylight = isDaylight;
    }
    return rule;
}

} // namespace

DWORD GetTimeZoneInformation(TIME_ZONE_INFORMATION* information)
{
    if (information == nullptr)
        return TIME_ZONE_ID_INVALID;
    tzset();
    *information = TIME_ZONE_INFORMATION {};

    const std::time_t now = std::time(nullptr);
    std::tm utc {};
    gmtime_r(&now, &utc);
    utc.tm_mon = 0;
    utc.tm_mday = 1;
    utc.tm_hour = utc.tm_min = utc.tm_sec = 0;
    const std::time_t yearStart = timegm(&utc);

    int januaryDaylight = 0, julyDaylight = 0, nowDaylight = 0;
    const long january = OffsetAt(yearStart, januaryDaylight);
    const long july = OffsetAt(yearStart + 181 * 86400, julyDaylight);
    OffsetAt(now, nowDaylight);
    const long standard = januaryDaylight ? july : january;
    const long daylight = januaryDaylight ? january : july;
    const bool hasDaylight = january != july;

    const std::string id = ZoneId();
    std::string windows = id;
    for (const ZoneName& zone : kZoneNames) {
        if (id == zone.id) {
            windows = zone.windows;
            break;
        }
    }
    const bool known = windows != id;
    CopyName(known ? windows + " Standard Time" : id, information->StandardName);
    CopyName(known ? windows + " Daylight Time" : id, information->DaylightName);
    information->Bias = LONG(-standard / 60);
    // Windows gives every zone a daylight bias, one hour where the zone has
    // no daylight time at all.
    information->DaylightBias = hasDaylight ? LONG(-(daylight - standard) / 60) : -60;
    if (!hasDaylight)
        return TIME_ZONE_ID_UNKNOWN;
    information->DaylightDate = ChangeRule(yearStart, true);
    information->StandardDate = ChangeRule(yearStart, false);
    return nowDaylight ? TIME_ZONE_ID_DAYLIGHT : TIME_ZONE_ID_STANDARD;
}

// Test support: the C library's own breakdown of a time value, in UTC or in
// the process's zone, and its reading of a local wall time, with the same
// calls on every system; date values and spans with a chosen status.
#pragma once

#include "framework/OleDateTime.h"

#include <cstdint>
#include <ctime>

namespace orv_test {

inline std::tm CalendarFields(std::time_t value, bool local)
{
    std::tm fields {};
#if defined(_WIN32)
    local ? localtime_s(&fields, &value) : gmtime_s(&fields, &value);
#else
    local ? localtime_r(&value, &fields) : gmtime_r(&value, &fields);
#endif
    return fields;
}

inline std::tm UtcFields(std::time_t value)
{
    return CalendarFields(value, false);
}
inline std::tm LocalFields(std::time_t value)
{
    return CalendarFields(value, true);
}

// Seconds since 1970 of a local wall time, as mktime reads it (-1 when it
// cannot); the zone's rules decide whether daylight time applies.
inline std::int64_t LocalSeconds(int year, int month, int day, int hour, int minute, int second)
{
    std::tm fields {};
    fields.tm_year = year - 1900;
    fields.tm_mon = month - 1;
    fields.tm_mday = day;
    fields.tm_hour = hour;
    fields.tm_min = minute;
    fields.tm_sec = second;
    fields.tm_isdst = -1;
#if defined(_WIN32)
    return _mktime64(&fields);
#else
    return std::mktime(&fields);
#endif
}

// The value with its status set: null and invalid dates and spans.
template <class Value, class Status> Value WithStatus(Value value, Status status)
{
    value.SetStatus(status);
    return value;
}

} // namespace orv_test

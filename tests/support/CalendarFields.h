// Test support: the C library's own breakdown of a time value, in UTC or in
// the process's zone, with the same call on every system.
#pragma once

#include <ctime>

namespace orv_test {

inline std::tm UtcFields(std::time_t value)
{
    std::tm fields {};
#if defined(_WIN32)
    gmtime_s(&fields, &value);
#else
    gmtime_r(&value, &fields);
#endif
    return fields;
}

inline std::tm LocalFields(std::time_t value)
{
    std::tm fields {};
#if defined(_WIN32)
    localtime_s(&fields, &value);
#else
    localtime_r(&value, &fields);
#endif
    return fields;
}

} // namespace orv_test

#include "platform/HostClock.h"

#include "Kestrel.h"

#include <cerrno>
#include <cstdlib>

namespace platform {

bool StartThreadTimer(unsigned int, unsigned int, void (*)())
{
    return false;
}

std::int32_t QueryHostClockOffset()
{
    char text[32] {};
    HostGetGlobalSetting("GlobalSettings", "ClockOffset", text, int(sizeof text), "0");
    char* end = nullptr;
    errno = 0;
    const long seconds = std::strtol(text, &end, 10);
    // Only a whole 32-bit number of seconds is an offset; anything else is
    // treated as no offset at all.
    if (end == text || *end != '\0' || errno != 0 || seconds < INT32_MIN || seconds > INT32_MAX)
        return 0;
    return std::int32_t(seconds);
}

} // namespace platform

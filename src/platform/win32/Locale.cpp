#include "platform/Locale.h"

#include "base/Types.h"

namespace {

bool QueryLocaleCharacter(LCTYPE item, char& separator)
{
    char answer[80] {};
    if (GetLocaleInfoA(GetThreadLocale(), item, answer, sizeof answer) <= 0 || answer[0] == '\0')
        return false;
    separator = answer[0];
    return true;
}

} // namespace

namespace platform {

bool QueryDecimalSeparator(char& separator)
{
    return QueryLocaleCharacter(LOCALE_SDECIMAL, separator);
}

bool QueryThousandsSeparator(char& separator)
{
    return QueryLocaleCharacter(LOCALE_STHOUSAND, separator);
}

} // namespace platform

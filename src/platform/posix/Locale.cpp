#include "platform/Locale.h"

#include <cstring>
#include <langinfo.h>
#include <locale.h>

namespace {

// Reads the numeric item of the environment's locale (LC_ALL, LC_NUMERIC,
// LANG) without changing the process's own locale.
bool QueryLocaleCharacter(nl_item item, char& separator)
{
    const locale_t locale = newlocale(LC_NUMERIC_MASK, "", locale_t(0));
    if (locale == locale_t(0))
        return false;
    const char* answer = nl_langinfo_l(item, locale);
    const bool usable = answer != nullptr && answer[0] != '\0' && std::strlen(answer) == 1;
    if (usable)
        separator = answer[0];
    freelocale(locale);
    return usable;
}

} // namespace

namespace platform {

bool QueryDecimalSeparator(char& separator)
{
    return QueryLocaleCharacter(RADIXCHAR, separator);
}

bool QueryThousandsSeparator(char& separator)
{
    return QueryLocaleCharacter(THOUSEP, separator);
}

} // namespace platform

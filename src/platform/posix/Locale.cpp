#include "platform/Locale.h"

#include <cstdio>
#include <cstring>
#include <langinfo.h>
#include <locale.h>

namespace {

// Reads an item of the environment's locale for one category without
// changing the process's own locale; false when the locale cannot be
// opened.
template <typename Use>
bool WithEnvironmentLocale(int categoryMask, Use use)
{
    const locale_t locale = newlocale(categoryMask, "", locale_t(0));
    if (locale == locale_t(0))
        return false;
    const bool answered = use(locale);
    freelocale(locale);
    return answered;
}

// The numeric item of the environment's locale (LC_ALL, LC_NUMERIC, LANG).
bool QueryLocaleCharacter(nl_item item, char& separator)
{
    return WithEnvironmentLocale(LC_NUMERIC_MASK, [&](locale_t locale) {
        const char* answer = nl_langinfo_l(item, locale);
        const bool usable = answer != nullptr && answer[0] != '\0' && std::strlen(answer) == 1;
        if (usable)
            separator = answer[0];
        return usable;
    });
}

bool IsSeparator(char ch)
{
    return ch == '/' || ch == '.' || ch == '-' || ch == ' ' || ch == ',';
}

// Reads the order and separator of a strftime date pattern such as
// "%d.%m.%Y" or "%m/%d/%y"; "%D" and "%F" stand for their expansions.
bool ReadDatePattern(const char* pattern, platform::DateLayout& layout)
{
    if (std::strcmp(pattern, "%D") == 0)
        pattern = "%m/%d/%y";
    else if (std::strcmp(pattern, "%F") == 0)
        pattern = "%Y-%m-%d";
    char fields[3] {};
    int count = 0;
    char separator = '\0';
    for (const char* p = pattern; *p != '\0'; ++p) {
        if (*p != '%') {
            if (count == 0 || count == 3 || !IsSeparator(*p) || (separator != '\0' && separator != *p))
                return false;
            separator = *p;
            continue;
        }
        ++p;
        while (*p == '-' || *p == '_' || *p == '0' || *p == 'E' || *p == 'O')
            ++p;
        char field;
        switch (*p) {
        case 'd': case 'e': field = 'd'; break;
        case 'm': field = 'm'; break;
        case 'Y': case 'y': field = 'y'; break;
        default: return false;
        }
        if (count == 3)
            return false;
        fields[count++] = field;
    }
    if (count != 3 || separator == '\0')
        return false;
    if (std::memcmp(fields, "mdy", 3) == 0)
        layout.order = platform::DateLayout::MonthDayYear;
    else if (std::memcmp(fields, "dmy", 3) == 0)
        layout.order = platform::DateLayout::DayMonthYear;
    else if (std::memcmp(fields, "ymd", 3) == 0)
        layout.order = platform::DateLayout::YearMonthDay;
    else
        return false;
    layout.separator = separator;
    layout.padded = false;
    return true;
}

bool IsUserLocale(unsigned long locale)
{
    return locale == 0 || locale == 0x0400 || locale == 0x0800;
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

bool QueryDateLayout(unsigned long locale, DateLayout& layout)
{
    // Read once: the environment's locale does not change while the
    // process runs, and opening a locale costs more than writing a date.
    struct UserLayout {
        DateLayout layout;
        bool known = false;
    };
    static const UserLayout user = [] {
        UserLayout read;
        read.known = WithEnvironmentLocale(LC_TIME_MASK, [&](locale_t environment) {
            const char* pattern = nl_langinfo_l(D_FMT, environment);
            return pattern != nullptr && ReadDatePattern(pattern, read.layout);
        });
        return read;
    }();
    if (!IsUserLocale(locale) || !user.known)
        return false;
    layout = user.layout;
    return true;
}

int FormatShortDate(unsigned long locale, int year, int month, int day, char* out, int capacity)
{
    DateLayout layout;
    if (!QueryDateLayout(locale, layout))
        return 0;
    return WriteDate(layout, year, month, day, out, capacity);
}

} // namespace platform

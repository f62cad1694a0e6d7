#include "platform/Locale.h"

#include "base/Types.h"

#include <cstring>

namespace {

bool QueryLocaleCharacter(LCTYPE item, char& separator)
{
    char answer[80] {};
    if (GetLocaleInfoA(GetThreadLocale(), item, answer, sizeof answer) <= 0 || answer[0] == '\0')
        return false;
    separator = answer[0];
    return true;
}

// 0 asks for the user's locale as 0x0400 does.
LCID SystemLocale(unsigned long locale)
{
    return locale == 0 ? LOCALE_USER_DEFAULT : static_cast<LCID>(locale);
}

// Reads the order, separator and padding of a short-date picture such as
// "dd.MM.yyyy" or "M/d/yyyy". Quoted text or a separator of more than one
// character is not a layout the date reader can follow.
bool ReadDatePicture(const char* picture, platform::DateLayout& layout)
{
    char fields[3] {};
    int count = 0;
    char separator = '\0';
    bool padded = false;
    for (const char* p = picture; *p != '\0';) {
        const char ch = *p;
        if (ch == 'd' || ch == 'M' || ch == 'y') {
            int run = 0;
            while (*p == ch) {
                ++p;
                ++run;
            }
            if (count == 3 || (ch != 'y' && run > 2))
                return false;
            padded = padded || (ch != 'y' && run == 2);
            fields[count++] = ch;
            if (*p == '\0')
                break;
            if (count == 3 || (separator != '\0' && separator != *p))
                return false;
            separator = *p++;
            continue;
        }
        return false;
    }
    if (count != 3 || separator == '\0')
        return false;
    if (std::memcmp(fields, "Mdy", 3) == 0)
        layout.order = platform::DateLayout::MonthDayYear;
    else if (std::memcmp(fields, "dMy", 3) == 0)
        layout.order = platform::DateLayout::DayMonthYear;
    else if (std::memcmp(fields, "yMd", 3) == 0)
        layout.order = platform::DateLayout::YearMonthDay;
    else
        return false;
    layout.separator = separator;
    layout.padded = padded;
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

bool QueryDateLayout(unsigned long locale, DateLayout& layout)
{
    char picture[80] {};
    if (GetLocaleInfoA(SystemLocale(locale), LOCALE_SSHORTDATE, picture, sizeof picture) <= 0)
        return false;
    DateLayout read;
    if (!ReadDatePicture(picture, read))
        return false;
    layout = read;
    return true;
}

int FormatShortDate(unsigned long locale, int year, int month, int day, char* out, int capacity)
{
    if (capacity <= 0)
        return 0;
    SYSTEMTIME date {};
    date.wYear = static_cast<WORD>(year);
    date.wMonth = static_cast<WORD>(month);
    date.wDay = static_cast<WORD>(day);
    const int written = GetDateFormatA(SystemLocale(locale), DATE_SHORTDATE, &date, nullptr, out, capacity);
    if (written > 1)
        return written - 1;
    // The system refuses some years (before 1601); the locale's layout
    // writes those.
    DateLayout layout;
    if (!QueryDateLayout(locale, layout))
        return 0;
    return WriteDate(layout, year, month, day, out, capacity);
}

} // namespace platform

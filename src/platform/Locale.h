// The user's number separators and short-date layout, as the operating
// system reports them for the calling thread's locale.
#pragma once

#include <cstddef>
#include <cstdio>

namespace platform {

// Sets `separator` to the locale's decimal (or thousands) separator and
// returns true; returns false, leaving it untouched, when the system has no
// answer or the answer is not a single-byte character.
bool QueryDecimalSeparator(char& separator);
bool QueryThousandsSeparator(char& separator);

// How a locale writes a date in numbers.
struct DateLayout {
    enum Order { MonthDayYear, DayMonthYear, YearMonthDay };
    Order order = MonthDayYear;
    // The one character between the fields ("/", ".", "-").
    char separator = '/';
    // Day and month written with two digits ("03.11.2012").
    bool padded = false;
};

// Writes year, month and day in the layout's order, terminated, and returns
// the length; 0 when the text does not fit.
inline int WriteDate(const DateLayout& layout, int year, int month, int day, char* out, int capacity)
{
    int fields[3] = {month, day, year};
    if (layout.order == DateLayout::DayMonthYear) {
        fields[0] = day;
        fields[1] = month;
    } else if (layout.order == DateLayout::YearMonthDay) {
        fields[0] = year;
        fields[2] = day;
    }
    const char* const format = layout.padded ? "%02d%c%02d%c%02d" : "%d%c%d%c%d";
    const int length = std::snprintf(out, static_cast<std::size_t>(capacity > 0 ? capacity : 0), format, fields[0],
                                     layout.separator, fields[1], layout.separator, fields[2]);
    return length > 0 && length < capacity ? length : 0;
}

// The short-date layout of a Windows locale id: 0, 0x0400 (user default) and
// 0x0800 (system default) ask for the user's locale. On Windows every locale
// id is asked of the system. Natively only the user's locale is known: its
// field order and separator come from the environment (LC_ALL, LC_TIME,
// LANG), and it is never padded. False, leaving `layout` untouched, when the
// locale is unknown or its short date does not have three numeric fields with
// one single-byte separator.
bool QueryDateLayout(unsigned long locale, DateLayout& layout);

// Writes the locale's short date of year, month and day (a valid date of the
// years 100-9999) into `out`, terminated, and returns its length; 0 when the
// locale is unknown or the text does not fit. On Windows the system writes
// it; natively it is built from QueryDateLayout, the year with all its digits.
int FormatShortDate(unsigned long locale, int year, int month, int day, char* out, int capacity);

} // namespace platform

// Price, money and integer texts.
#include "Kestrel.h"
#include "Output.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace {

constexpr double kPlainLimit = 1e15;   // beyond this, fixed-point digits stop being exact

std::string Grouped(std::string digits)
{
    for (int at = int(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(std::size_t(at), 1, ',');
    return digits;
}

bool IsAllZero(const std::string& text)
{
    return text.find_first_not_of("0.,") == std::string::npos;
}

// Texts for values that have no plain fixed-point form.
bool SpecialText(double value, std::string& text)
{
    if (std::isnan(value)) {
        text = "NaN";
    } else if (std::isinf(value)) {
        text = value < 0 ? "-Inf" : "Inf";
    } else if (std::fabs(value) >= kPlainLimit) {
        char exponent[32];
        std::snprintf(exponent, sizeof exponent, "%.6g", value);
        text = exponent;
    } else {
        return false;
    }
    return true;
}

// The digits of |value| with `decimals` decimals, rounded half up like every
// displayed number: floor(|value| * 10^decimals + 0.5). Where the scaled
// value is beyond exact integers the C library's rounding is used instead.
std::string RoundedDigits(double magnitude, int decimals)
{
    char digits[64];
    const double scaled = std::floor(magnitude * std::pow(10.0, decimals) + 0.5);
    if (scaled >= 9007199254740992.0) {
        std::snprintf(digits, sizeof digits, "%.*f", decimals, magnitude);
        return digits;
    }
    std::snprintf(digits, sizeof digits, "%0*lld", decimals + 1, (long long)scaled);
    std::string text = digits;
    if (decimals > 0)
        text.insert(text.size() - std::size_t(decimals), 1, '.');
    return text;
}

// Fixed-point text with `decimals` decimals, the whole part optionally
// grouped; a value that rounds to zero carries no sign.
std::string Fixed(double value, int decimals, bool group)
{
    std::string special;
    if (SpecialText(value, special))
        return special;
    std::string text = RoundedDigits(std::fabs(value), decimals);
    const std::size_t point = text.find('.');
    std::string whole = text.substr(0, point);
    const std::string fraction = point == std::string::npos ? "" : text.substr(point);
    text = (group ? Grouped(whole) : whole) + fraction;
    return value < 0 && !IsAllZero(text) ? "-" + text : text;
}

// A plain price shows at least 2 and at most 4 decimals.
std::string PlainPrice(double value)
{
    std::string text = Fixed(value, 4, true);
    const std::size_t point = text.find('.');
    if (point == std::string::npos)
        return text;
    while (text.size() > point + 3 && text.back() == '0')
        text.pop_back();
    return text;
}

struct FractionCode {
    int code;
    int denominator;   // ticks per whole unit
    int digits;        // digits written after the apostrophe (0: the 32nds-plus-digit form)
};

constexpr FractionCode kFractionCodes[] = {
    {17, 2, 1},   {18, 4, 1},   {19, 8, 1},   {20, 16, 2},  {21, 32, 2},  {22, 64, 2},
    {23, 128, 3}, {24, 256, 3}, {32, 64, 0},  {33, 128, 0}, {34, 128, 0},
};

const FractionCode* FindFractionCode(int code)
{
    for (const FractionCode& entry : kFractionCodes) {
        if (entry.code == code)
            return &entry;
    }
    return nullptr;
}

// The text after the apostrophe for the 32nds-plus-digit forms: two digits
// of 32nds, then a digit for the part of a 32nd (5 a half; 2, 5, 7 the
// quarters), omitted when there is none.
std::string ThirtySecondsText(long long ticks, int denominator)
{
    const int perThirtySecond = denominator / 32;
    char text[32];
    std::snprintf(text, sizeof text, "%02lld", ticks / perThirtySecond);
    const long long part = ticks % perThirtySecond;
    static const char* const kHalves[] = {"", "5"};
    static const char* const kQuarters[] = {"", "2", "5", "7"};
    return std::string(text) + (perThirtySecond == 2 ? kHalves[part] : kQuarters[part]);
}

std::string FractionPrice(double value, const FractionCode& format)
{
    std::string special;
    if (SpecialText(value, special))
        return special;
    const long long units = (long long)std::floor(std::fabs(value) * format.denominator + 0.5);
    const long long whole = units / format.denominator;
    const long long ticks = units % format.denominator;
    std::string after;
    if (format.digits == 0) {
        after = ThirtySecondsText(ticks, format.denominator);
    } else {
        char text[32];
        std::snprintf(text, sizeof text, "%0*lld", format.digits, ticks);
        after = text;
    }
    const std::string text = std::to_string(whole) + "'" + after;
    return value < 0 && units != 0 ? "-" + text : text;
}

} // namespace

extern "C" {

int HostFormatPrice(double value, char* buffer, int capacity)
{
    return kestrel::WriteNumber(PlainPrice(value), buffer, capacity);
}

int HostFormatMoney(double value, char* buffer, int capacity)
{
    return kestrel::WriteNumber(Fixed(value, 2, true), buffer, capacity);
}

int HostFormatLong(int32_t value, char* buffer, int capacity)
{
    const long long wide = value;
    const std::string digits = Grouped(std::to_string(wide < 0 ? -wide : wide));
    return kestrel::WriteNumber(wide < 0 ? "-" + digits : digits, buffer, capacity);
}

// Prices for editing carry no grouping, so that the edits read back exactly
// the number they were given.
int HostFormatPriceEx(double value, char* buffer, int capacity, int format)
{
    if (const FractionCode* fraction = FindFractionCode(format))
        return kestrel::WriteNumber(FractionPrice(value, *fraction), buffer, capacity);
    const int decimals = format < 0 ? 0 : (format > 15 ? 15 : format);
    return kestrel::WriteNumber(Fixed(value, decimals, false), buffer, capacity);
}

} // extern "C"

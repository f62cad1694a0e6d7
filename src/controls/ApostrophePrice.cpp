#include "controls/ApostrophePrice.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace orv::controls {

namespace {

struct FractionCode {
    int code;
    int denominator;    // ticks in one whole unit
    int countDigits;    // digits counting 1/denominator, or 32nds for the forms below
    const char* parts;  // third digits of the 32nds forms, each naming parts of a 32nd; null otherwise
};

// For the 32nds forms the third digit names a part of a 32nd: its position
// in `parts` is the count of 64ths (32) or 128ths (33, 34) it adds.
constexpr FractionCode kCodes[] = {
    {17, 2, 1, nullptr},   {18, 4, 1, nullptr},   {19, 8, 1, nullptr},   {20, 16, 2, nullptr},
    {21, 32, 2, nullptr},  {22, 64, 2, nullptr},  {23, 128, 3, nullptr}, {24, 256, 3, nullptr},
    {32, 64, 2, "05"},     {33, 128, 2, "0257"},  {34, 128, 2, "0257"},
};

const FractionCode* Find(int code)
{
    for (const FractionCode& entry : kCodes) {
        if (entry.code == code)
            return &entry;
    }
    return nullptr;
}

bool AllDigits(const std::string& text)
{
    return text.find_first_not_of("0123456789") == std::string::npos;
}

// The digits after the apostrophe as a count of 1/denominator; -1 when they
// do not form one.
long FractionTicks(const std::string& digits, const FractionCode& format)
{
    const std::size_t countDigits = std::size_t(format.countDigits);
    const std::size_t maxDigits = countDigits + (format.parts != nullptr ? 1 : 0);
    if (digits.size() > maxDigits || !AllDigits(digits))
        return -1;
    const std::string countText = digits.substr(0, countDigits);
    const long count = countText.empty() ? 0 : std::strtol(countText.c_str(), nullptr, 10);
    if (format.parts == nullptr)
        return count < format.denominator ? count : -1;
    const long perThirtySecond = format.denominator / 32;
    if (count >= 32)
        return -1;
    long part = 0;
    if (digits.size() > countDigits) {
        const char* found = std::strchr(format.parts, digits[countDigits]);
        if (found == nullptr)
            return -1;
        part = long(found - format.parts);
    }
    return count * perThirtySecond + part;
}

} // namespace

bool IsApostropheDecimalFormat(int code)
{
    return Find(code) != nullptr;
}

double ApostropheTick(int code)
{
    const FractionCode* format = Find(code);
    return format != nullptr ? 1.0 / format->denominator : 0.0;
}

bool ParseApostrophePrice(const char* text, int code, double& value)
{
    const FractionCode* format = Find(code);
    if (format == nullptr || text == nullptr)
        return false;
    std::string rest = text;
    const bool negative = !rest.empty() && rest[0] == '-';
    if (negative)
        rest.erase(0, 1);
    const std::size_t apostrophe = rest.find('\'');
    if (apostrophe == std::string::npos || rest.find('\'', apostrophe + 1) != std::string::npos)
        return false;
    const std::string whole = rest.substr(0, apostrophe);
    if (!AllDigits(whole))
        return false;
    const long ticks = FractionTicks(rest.substr(apostrophe + 1), *format);
    if (ticks < 0)
        return false;
    const double magnitude =
        (whole.empty() ? 0.0 : std::strtod(whole.c_str(), nullptr)) + double(ticks) / format->denominator;
    value = negative ? -magnitude : magnitude;
    return true;
}

} // namespace orv::controls

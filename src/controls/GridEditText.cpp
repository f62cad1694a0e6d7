#include "controls/GridEditText.h"

#include "controls/ApostrophePrice.h"
#include "controls/NumberText.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstring>
#include <string>

namespace orv::controls {

namespace {

struct FieldStyle {
    int fieldId;
    GHStyles style;
};

constexpr FieldStyle kEditableFields[] = {
    {1003, GHS_TEXT},    {9999, GHS_TEXT},                                             // symbol, notes
    {1002, GHS_INTEGER}, {9975, GHS_INTEGER}, {2041, GHS_INTEGER},                     // quantities, contract size
    {1004, GHS_DECIMAL}, {2035, GHS_DECIMAL}, {9925, GHS_DECIMAL}, {9951, GHS_DECIMAL}, // price, strike, %Mod, %
    {9986, GHS_DECIMAL},                                                               // basis per share
    {1001, GHS_PICKLIST}, {1007, GHS_PICKLIST},                                        // action, order type
    {9952, GHS_CHECK},   {9954, GHS_CHECK},                                            // active, lock
};

bool IsDigit(unsigned ch)
{
    return ch >= '0' && ch <= '9';
}

// "-", digits, point, digits at the start of the text; 0 when none is there.
double LeadingDecimal(const std::string& text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value,
                                              std::chars_format::fixed);
    return error == std::errc() ? value : 0.0;
}

// Whether a "-" may go in front of the text, or a digit may go at the
// selection, given that a leading "-" must stay first and single.
bool AcceptsSign(unsigned ch, const char* text, int selStart, int selEnd, double minimum)
{
    const bool leadingMinus = text[0] == '-';
    if (ch == '-')
        return minimum < 0 && selStart == 0 && (!leadingMinus || selEnd > 0);
    return !(leadingMinus && selStart == 0 && selEnd == 0);
}

} // namespace

GHStyles GridEditorStyle(int fieldId)
{
    for (const FieldStyle& entry : kEditableFields) {
        if (entry.fieldId == fieldId)
            return entry.style;
    }
    return GHS_NONE;
}

long ReadGridInteger(const char* text, NumberSeparators separators)
{
    std::string digits = text != nullptr ? text : "";
    digits.erase(std::remove(digits.begin(), digits.end(), separators.thousands), digits.end());
    const std::size_t start = std::min(digits.find_first_not_of(" \t"), digits.size());
    long long value = 0;
    const auto [end, error] = std::from_chars(digits.data() + start, digits.data() + digits.size(), value);
    if (error == std::errc::result_out_of_range)
        return digits[start] == '-' ? INT_MIN : INT_MAX;
    if (error != std::errc())
        return 0;
    return long(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

double ReadGridDecimal(const char* text, NumberSeparators separators)
{
    std::string number = text != nullptr ? text : "";
    number.erase(std::remove(number.begin(), number.end(), ' '), number.end());
    // The editor takes "." for the point where the separator is ",", so "."
    // groups digits only in a text that has the "," point as well.
    const bool dotIsPoint = separators.decimal == ',' && separators.thousands == '.' &&
                            number.find(',') == std::string::npos;
    if (!dotIsPoint)
        number.erase(std::remove(number.begin(), number.end(), separators.thousands), number.end());
    std::replace(number.begin(), number.end(), separators.decimal, '.');
    return LeadingDecimal(number);
}

double ReadGridValue(const char* text, int displayFormat, double defaultValue, NumberSeparators separators)
{
    if (text == nullptr || text[0] == '\0')
        return defaultValue;
    if (IsApostropheDecimalFormat(displayFormat) && std::strchr(text, '\'') != nullptr) {
        if (std::strpbrk(text, ".,") != nullptr)
            return 0;
        double value = 0;
        return ParseApostrophePrice(text, displayFormat, value) ? value : 0.0;
    }
    return ReadGridDecimal(text, separators);
}

bool AcceptsGridChar(GHStyles style, unsigned ch, const char* text, int selStart, int selEnd, double minimum,
                     int displayFormat, char decimalSeparator)
{
    if (style == GHS_TEXT)
        return true;
    if (style != GHS_INTEGER && style != GHS_DECIMAL)
        return false;
    if (text == nullptr)
        text = "";
    if (ch == '\b')
        return true;
    if (IsDigit(ch) || ch == '-')
        return AcceptsSign(ch, text, selStart, selEnd, minimum);
    if (style == GHS_INTEGER)
        return false;
    if (ch == static_cast<unsigned char>(decimalSeparator) || (decimalSeparator == ',' && ch == '.'))
        return true;
    return ch == '\'' && IsApostropheDecimalFormat(displayFormat);
}

bool StepGridValue(double value, int delta, double increment, double minimum, double maximum, double& stepped)
{
    const double next = delta * increment + value;
    if (!(next >= minimum && next <= maximum))
        return false;
    stepped = next;
    return true;
}

CString FormatGridValue(GHStyles style, double value, int displayFormat)
{
    CString text;
    if (style == GHS_INTEGER)
        text.Format("%d", int(std::clamp(value, double(INT_MIN), double(INT_MAX))));
    else if (style == GHS_DECIMAL)
        text = HostPriceText(value, displayFormat);
    return text;
}

} // namespace orv::controls

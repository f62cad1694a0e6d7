#include "market/DecimalPrice.h"

#include <cmath>

namespace orv::market {

namespace {

enum { kMaxScale = 9 };
// Whole numbers up to 2^53 are exact doubles.
const double kExactLimit = 9007199254740992.0;

double PowerOfTen(int exponent)
{
    double result = 1;
    for (int i = 0; i < exponent; ++i)
        result *= 10;
    return result;
}

} // namespace

DecimalPrice ToDecimal(double value)
{
    DecimalPrice price;
    price.value = value;
    if (!std::isfinite(value))
        return price;
    for (int scale = 0; scale <= kMaxScale; ++scale) {
        const double power = PowerOfTen(scale);
        const double units = std::nearbyint(value * power);
        if (std::fabs(units) >= kExactLimit)
            break;
        // Dividing two exact doubles rounds once, to the double nearest the
        // decimal; equality means `value` is that double.
        if (units / power == value) {
            price.units = units;
            price.scale = scale;
            price.exact = true;
            break;
        }
    }
    return price;
}

DecimalPrice Difference(const DecimalPrice& a, const DecimalPrice& b)
{
    DecimalPrice result;
    result.value = a.value - b.value;
    if (!a.exact || !b.exact)
        return result;
    const int scale = a.scale > b.scale ? a.scale : b.scale;
    const double left = a.units * PowerOfTen(scale - a.scale);
    const double right = b.units * PowerOfTen(scale - b.scale);
    if (std::fabs(left) >= kExactLimit || std::fabs(right) >= kExactLimit)
        return result;
    const double units = left - right;
    if (std::fabs(units) >= kExactLimit)
        return result;
    result.units = units;
    result.scale = scale;
    result.exact = true;
    result.value = units / PowerOfTen(scale);
    return result;
}

double Times(const DecimalPrice& a, const DecimalPrice& b)
{
    if (a.exact && b.exact) {
        const double units = a.units * b.units;
        if (std::fabs(units) < kExactLimit)
            return units / PowerOfTen(a.scale + b.scale);
    }
    return a.value * b.value;
}

double Times(const DecimalPrice& a, double b)
{
    return Times(a, ToDecimal(b));
}

} // namespace orv::market

// Prices as decimals, so that money computed from them carries no binary
// rounding noise: 10.40 - 10.00 is exactly 0.40, and 0.40 x 100 shares is
// exactly 40.
#pragma once

namespace orv::market {

// A price. When the double is the one nearest to a decimal with at most nine
// places, `exact` is set and the decimal is units x 10^-scale with whole
// `units`; otherwise only `value` is meaningful.
struct DecimalPrice {
    double value = 0;
    double units = 0;
    int scale = 0;
    bool exact = false;
};

DecimalPrice ToDecimal(double value);

// a - b, exact when both are exact and the result fits in 53 bits.
DecimalPrice Difference(const DecimalPrice& a, const DecimalPrice& b);

// a x b: the double nearest to the exact decimal product when both are
// exact and the product of their units fits in 53 bits; otherwise the plain
// product.
double Times(const DecimalPrice& a, const DecimalPrice& b);
// The same for a plain number (a quantity, a rate).
double Times(const DecimalPrice& a, double b);

} // namespace orv::market

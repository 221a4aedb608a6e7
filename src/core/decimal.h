#pragma once

#include <string>
#include <string_view>

// Decimal digits of doubles, independent of the C library's locale: reading a plain ASCII
// number, the 15 significant digits every stored figure keeps, and rounding to a number
// of decimals as the fixed formats do.
namespace torvane::detail {

// Exact in a double: the powers of ten up to 1e22.
inline constexpr double PowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

enum class AsciiNumber { Ok, Invalid, Overflow };

// Converts a plain ASCII number ("-12.5e3"); a value too small for a double reads as 0,
// one too large reports Overflow.
AsciiNumber parseAsciiNumber(std::string_view text, double& value);

// A finite, non-negative double rounded to 15 significant digits: the digits without
// trailing zeros, the decimal exponent of the first (0.1848 gives "1848" and -1) and the
// double nearest to that decimal number.
struct SignificantDigits {
    char digits[24];
    int count;
    int exponent;
    double rounded;
};
SignificantDigits significantDigits(double magnitude);

// The same rounding without the digits: what a figure stored as text and read back holds.
// Rounding past the largest double gives infinity.
double roundedToSignificant(double magnitude);

// The magnitude rounded as below, in units of the last decimal, when the quick route
// settles it (the usual case); false near a half of the 15th digit and far out of range.
bool fixedUnits(double magnitude, int decimals, unsigned long long& units);
// Those units as the double nearest to the number they stand for.
double unitsValue(unsigned long long units, int decimals);

// A finite double rounded half away from zero to a number of decimals, starting from its
// 15 significant digits (so 0.145 gives 0.15, as a person rounds what is written). The
// digits stand for digits x 10^(point - size): "1230" with point -2 is 0.001230.
struct FixedDecimal {
    std::string digits;    // at least the decimals' worth, or fewer after zeros (point < 0)
    int point = 0;         // digits before the decimal point; zeros follow it when negative
    bool negative = false; // below zero, and not rounded to zero
};
FixedDecimal fixedDecimal(double value, int decimals);

// The double nearest to the rounded decimal number: what its text reads back as.
double fixedValue(const FixedDecimal& fixed);

} // namespace torvane::detail

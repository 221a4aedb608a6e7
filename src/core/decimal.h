#pragma once

#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
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

// The powers of ten from 1e-9 to 1e38 as the nearest doubles: where a magnitude stands
// among them decides its first digit's place on the quick route.
inline constexpr int NearPowersFrom = -9;
inline constexpr double NearPowersOfTen[] = {
    1e-9, 1e-8, 1e-7, 1e-6, 1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,
    1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22,
    1e23, 1e24, 1e25, 1e26, 1e27, 1e28, 1e29, 1e30, 1e31, 1e32, 1e33, 1e34, 1e35, 1e36, 1e37, 1e38};

// The first digit's places that scaling to 15 digits reaches with an exact power of ten.
inline constexpr int MostTensBelow = 14 - 22;
inline constexpr int MostTensAbove = 14 + 22;
static_assert(MostTensBelow - NearPowersFrom >= 0 &&
              MostTensAbove - NearPowersFrom < static_cast<int>(std::size(NearPowersOfTen)));

// A magnitude rounded to 15 significant digits by scaling it to a whole number with one
// multiplication or division by an exact power of ten. That one rounding errs by at most
// half a unit in the last place of a number below 2^50, 1/16, so a fraction further than
// that from a half decides the rounding as the exact value would, and dividing the whole
// number back rounds correctly.
struct Scaled {
    double whole; // 1e14 <= whole < 1e15
    int scale;    // whole = value x 10^scale, rounded
    int exponent; // decimal exponent of the first digit
};

// The scaling tried again from the exponents on either side, for the rare magnitude
// whose first attempt lands just outside 15 digits.
bool scaleFromNeighbours(double magnitude, int exponent, Scaled& out);

// Near a half the one rounding of the scaling may have crossed it: a multiplication's
// exact error decides which side the magnitude is on. False for an exact half and after a
// division, whose error is not worked out.
bool settleNearHalf(double magnitude, double scaled, Scaled& out);

// False for an exact half (and near one after a division), for zero, subnormals,
// infinities and far out of range: the exact conversion decides those. Every figure
// passes through here, so it is kept short.
inline bool scaleToSignificant(double magnitude, Scaled& out)
{
    const auto binary = static_cast<int>(std::bit_cast<std::uint64_t>(magnitude) >> 52) - 1023;
    // floor(log10(2^binary)), exact over this range; the first digit's place is that or
    // one more.
    const int low = (binary * 78913) >> 18;
    // One test keeps the scale within the exact powers of ten, from -22 to 22, whichever
    // of the two places the first digit has; the few magnitudes at the ends go the exact
    // way.
    if (static_cast<unsigned>(low - MostTensBelow) > MostTensAbove - 1 - MostTensBelow)
        return false;
    const int exponent = magnitude >= NearPowersOfTen[low + 1 - NearPowersFrom] ? low + 1 : low;
    const int scale = 14 - exponent;
    const double scaled =
        scale >= 0 ? magnitude * PowersOfTen[scale] : magnitude / PowersOfTen[-scale];
    // To the nearest whole number, halves to even: the sum rounds away the fraction below
    // 2^52, and anything larger is out of range here anyway.
    const double whole = (scaled + 4503599627370496.0) - 4503599627370496.0;
    if (whole >= 1e15 || whole < 1e14)
        return scaleFromNeighbours(magnitude, exponent, out);
    out = {whole, scale, exponent};
    return std::fabs(scaled - whole) < 0.5 - 1.0 / 16 || settleNearHalf(magnitude, scaled, out);
}

// The double nearest to the scaled whole number's decimal value.
inline double unscaled(const Scaled& scaled)
{
    return scaled.scale >= 0 ? scaled.whole / PowersOfTen[scaled.scale]
                             : scaled.whole * PowersOfTen[-scaled.scale];
}

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

// The powers of ten that fit in 64 bits, up to 10^19.
inline constexpr auto WholePowersOfTen = [] {
    std::array<std::uint64_t, 20> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i)
        powers[i] = powers[i - 1] * 10;
    return powers;
}();

// The first quick route of fixedUnits(), for the usual figure, which has at most 11
// digits up to the last decimal. Then the 15-digit rounding moves magnitude x 10^decimals
// by at most 5e-5 and the one multiplication by less than 1e-5, so a fraction more than
// 1e-4 from a half rounds as the digits would. Below 10^11 units, a double holds them.
inline bool fewUnits(double magnitude, int decimals, unsigned long long& units)
{
    if (decimals < 0 || decimals > 22)
        return false;
    const double scaled = magnitude * PowersOfTen[decimals];
    if (!(scaled < 1e11))
        return false;
    const auto whole = static_cast<std::int64_t>(scaled);
    const double fraction = scaled - static_cast<double>(whole);
    if (std::fabs(fraction - 0.5) <= 1e-4)
        return false;
    units = static_cast<std::uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);
    return true;
}

// fixedUnits() past fewUnits(): worked out on the 15-digit whole number that scaling
// gives.
inline bool manyUnits(double magnitude, int decimals, unsigned long long& units)
{
    if (magnitude == 0.0) {
        units = 0;
        return true;
    }
    Scaled scaled;
    if (decimals < 0 || !scaleToSignificant(magnitude, scaled))
        return false;
    // Through a signed whole number, which converts in one step.
    const auto whole = static_cast<std::uint64_t>(static_cast<std::int64_t>(scaled.whole));
    const int after = scaled.scale; // digits of whole after the decimal point
    if (after <= decimals) {
        // Fits: below 10^15 times at most 10^4.
        if (decimals - after > 4)
            return false;
        units = whole * WholePowersOfTen[static_cast<std::size_t>(decimals - after)];
        return true;
    }
    const int dropped = after - decimals;
    if (dropped > 15) {
        units = 0;
        return true;
    }
    // Half away from zero, decided by the first digit dropped.
    units = whole / WholePowersOfTen[static_cast<std::size_t>(dropped)];
    if (whole / WholePowersOfTen[static_cast<std::size_t>(dropped - 1)] % 10 >= 5)
        ++units;
    return true;
}

// The magnitude rounded as below, in units of the last decimal, when the quick route
// settles it (the usual case); false near a half of the 15th digit and far out of range.
inline bool fixedUnits(double magnitude, int decimals, unsigned long long& units)
{
    return fewUnits(magnitude, decimals, units) || manyUnits(magnitude, decimals, units);
}

// Units too large for a double's exact whole numbers, through their text.
double unitsValueOfText(unsigned long long units, int decimals);

// Those units as the double nearest to the number they stand for.
inline double unitsValue(unsigned long long units, int decimals)
{
    // Exact units over an exact power of ten: one correctly rounded division, as reading
    // the written text gives.
    if (units < (1ULL << 53) && decimals <= 22)
        return static_cast<double>(units) / PowersOfTen[decimals];
    return unitsValueOfText(units, decimals);
}

// A finite double rounded half away from zero to a number of decimals, starting from its
// 15 significant digits (so 0.145 gives 0.15, as a person rounds what is written). The
// digits stand for digits x 10^(point - size): "1230" with point -2 is 0.001230.
struct FixedDecimal {
    std::string digits;    // at least the decimals' worth, or fewer after zeros (point < 0)
    int point = 0;         // digits before the decimal point; zeros follow it when negative
    bool negative = false; // below zero, and not rounded to zero
};
FixedDecimal fixedDecimal(double value, int decimals);
// The same from the exact 15 significant digits, without the quick routes: what the
// tests hold the quick routes to.
FixedDecimal fixedDecimalFromDigits(double value, int decimals);

// The double nearest to the rounded decimal number: what its text reads back as.
double fixedValue(const FixedDecimal& fixed);

} // namespace torvane::detail

#include "decimal.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

namespace torvane::detail {
namespace {

// Decimal order of magnitude of a well-formed number: positive means at least 1.
long long orderOfMagnitude(std::string_view text)
{
    long long exponent = 0;
    const std::size_t e = text.find_first_of("eE");
    if (e != std::string_view::npos) {
        std::string_view digits = text.substr(e + 1);
        const bool negative = !digits.empty() && digits.front() == '-';
        if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
            digits.remove_prefix(1);
        for (char c : digits) {
            exponent = std::min<long long>(exponent * 10 + (c - '0'), 1'000'000'000LL);
        }
        if (negative)
            exponent = -exponent;
        text = text.substr(0, e);
    }
    const std::size_t point = text.find('.');
    const std::string_view integer = text.substr(0, point);
    long long integerDigits = 0;
    bool significant = false;
    for (char c : integer) {
        if (c >= '1' && c <= '9')
            significant = true;
        if (significant && c >= '0' && c <= '9')
            ++integerDigits;
    }
    if (integerDigits > 0 || point == std::string_view::npos)
        return integerDigits + exponent;
    long long zeros = 0;
    for (char c : text.substr(point + 1)) {
        if (c != '0')
            break;
        ++zeros;
    }
    return exponent - zeros;
}

// The common case, short numbers of moderate size, without the general conversion: a
// mantissa below 2^53 times or divided by an exact power of ten rounds correctly in one
// operation. Returns false when the text needs the general conversion.
bool parseShort(std::string_view text, double& value)
{
    std::size_t i = 0;
    const bool negative = text[0] == '-';
    if (text[0] == '-' || text[0] == '+')
        ++i;
    std::uint64_t mantissa = 0;
    int digits = 0;
    int scale = 0;
    bool point = false;
    bool any = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            any = true;
            if (mantissa == 0 && c == '0') {
                if (point)
                    --scale;
                continue;
            }
            if (++digits > 15)
                return false;
            mantissa = mantissa * 10 + static_cast<std::uint64_t>(c - '0');
            if (point)
                --scale;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!any)
        return false;
    if (i < text.size()) {
        if (text[i] != 'e' && text[i] != 'E')
            return false;
        int exponent = 0;
        const char* begin = text.data() + i + 1;
        const char* end = text.data() + text.size();
        if (begin < end && *begin == '+')
            ++begin;
        const auto [ptr, ec] = std::from_chars(begin, end, exponent);
        if (ec != std::errc() || ptr != end || exponent > 400 || exponent < -400)
            return false;
        scale += exponent;
    }
    if (mantissa == 0) {
        value = negative ? -0.0 : 0.0;
        return true;
    }
    if (scale < -22 || scale > 22)
        return false;
    const double m = static_cast<double>(mantissa);
    value = scale >= 0 ? m * PowersOfTen[scale] : m / PowersOfTen[-scale];
    if (negative)
        value = -value;
    return true;
}

// Estimate of floor(log10(magnitude)) for a normal double, now and then one too low; the
// callers correct it.
int decimalExponentEstimate(double magnitude)
{
    const auto bits = std::bit_cast<std::uint64_t>(magnitude);
    const int binary = static_cast<int>((bits >> 52) & 0x7FF) - 1023;
    const double mantissa =
        std::bit_cast<double>((bits & 0x000FFFFFFFFFFFFFULL) | 0x3FF0000000000000ULL);
    // log2 of the mantissa (in [1, 2)) is a little above mantissa - 1.
    const double estimate = (binary + mantissa - 1.0) * 0.30102999566398120;
    const int whole = static_cast<int>(estimate);
    return estimate < whole ? whole - 1 : whole;
}

// The 15-digit rounding by scaling to a whole number with one multiplication or division
// by an exact power of ten. That one rounding errs by at most half a unit in the last
// place of a number below 2^50, 1/16, so a fraction further than that from a half
// decides the rounding as the exact value would, and dividing the whole number back
// rounds correctly. Returns false near a half, for subnormals and far out of range.
struct Scaled {
    double whole; // 1e14 <= whole < 1e15
    int scale;    // whole = value x 10^scale, rounded
    int exponent; // decimal exponent of the first digit
};

bool scaleToSignificant(double magnitude, Scaled& out)
{
    if (magnitude < std::numeric_limits<double>::min())
        return false;
    int exponent = decimalExponentEstimate(magnitude);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int scale = 14 - exponent;
        if (scale < -22 || scale > 22)
            return false;
        const double scaled =
            scale >= 0 ? magnitude * PowersOfTen[scale] : magnitude / PowersOfTen[-scale];
        // To the nearest whole number, halves to even: the sum rounds away the fraction
        // below 2^52, and anything larger is too large here anyway.
        const double whole = (scaled + 4503599627370496.0) - 4503599627370496.0;
        if (whole >= 1e15) {
            ++exponent;
            continue;
        }
        if (whole < 1e14) {
            --exponent;
            continue;
        }
        if (std::fabs(scaled - whole) >= 0.5 - 1.0 / 16)
            return false;
        out = {whole, scale, exponent};
        return true;
    }
    return false;
}

double unscale(const Scaled& scaled)
{
    return scaled.scale >= 0 ? scaled.whole / PowersOfTen[scaled.scale]
                             : scaled.whole * PowersOfTen[-scaled.scale];
}

} // namespace

SignificantDigits significantDigits(double magnitude)
{
    SignificantDigits result{};
    if (magnitude == 0.0) {
        result.digits[0] = '0';
        result.count = 1;
        return result;
    }
    Scaled scaled;
    if (scaleToSignificant(magnitude, scaled)) {
        char buffer[24];
        const auto written =
            std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::uint64_t>(scaled.whole));
        result.count = static_cast<int>(written.ptr - buffer);
        while (result.count > 1 && buffer[result.count - 1] == '0')
            --result.count;
        std::copy(buffer, buffer + result.count, result.digits);
        result.exponent = scaled.exponent;
        result.rounded = unscale(scaled);
        return result;
    }

    // Near a half, or far out of the usual range: the exact decimal conversion.
    char buffer[40];
    const auto written =
        std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14);
    const char* e = std::find(buffer, written.ptr, 'e');
    for (const char* c = buffer; c < e; ++c) {
        if (*c != '.')
            result.digits[result.count++] = *c;
    }
    while (result.count > 1 && result.digits[result.count - 1] == '0')
        --result.count;
    std::from_chars(e + (e[1] == '+' ? 2 : 1), written.ptr, result.exponent);
    // Rounding can carry the largest doubles past the range: that is an overflow.
    if (std::from_chars(buffer, written.ptr, result.rounded).ec == std::errc::result_out_of_range)
        result.rounded = result.exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return result;
}

double roundedToSignificant(double magnitude)
{
    Scaled scaled;
    if (magnitude != 0.0 && scaleToSignificant(magnitude, scaled))
        return unscale(scaled);
    return significantDigits(magnitude).rounded;
}

namespace {

constexpr std::uint64_t WholePowersOfTen[] = {1ULL,
                                              10ULL,
                                              100ULL,
                                              1000ULL,
                                              10000ULL,
                                              100000ULL,
                                              1000000ULL,
                                              10000000ULL,
                                              100000000ULL,
                                              1000000000ULL,
                                              10000000000ULL,
                                              100000000000ULL,
                                              1000000000000ULL,
                                              10000000000000ULL,
                                              100000000000000ULL,
                                              1000000000000000ULL};

} // namespace

// Worked out on the 15-digit whole number that scaling gives.
bool fixedUnits(double magnitude, int decimals, unsigned long long& units)
{
    if (magnitude == 0.0) {
        units = 0;
        return true;
    }
    Scaled scaled;
    if (decimals < 0 || !scaleToSignificant(magnitude, scaled))
        return false;
    const auto whole = static_cast<std::uint64_t>(scaled.whole);
    const int after = scaled.scale; // digits of whole after the decimal point
    if (after <= decimals) {
        // Fits: below 10^15 times at most 10^4.
        if (decimals - after > 4)
            return false;
        units = whole * WholePowersOfTen[decimals - after];
        return true;
    }
    const int dropped = after - decimals;
    if (dropped > 15) {
        units = 0;
        return true;
    }
    // Half away from zero, decided by the first digit dropped.
    units = whole / WholePowersOfTen[dropped];
    if (whole / WholePowersOfTen[dropped - 1] % 10 >= 5)
        ++units;
    return true;
}

double unitsValue(unsigned long long units, int decimals)
{
    // Exact units over an exact power of ten: one correctly rounded division, as reading
    // the written text gives.
    if (units < (1ULL << 53) && decimals <= 22)
        return static_cast<double>(units) / PowersOfTen[decimals];
    const std::string text = std::to_string(units) + 'e' + std::to_string(-decimals);
    double value = 0;
    parseAsciiNumber(text, value);
    return value;
}

FixedDecimal fixedDecimal(double value, int decimals)
{
    FixedDecimal fixed;
    unsigned long long units = 0;
    if (fixedUnits(std::fabs(value), decimals, units)) {
        char buffer[24];
        const auto written = std::to_chars(buffer, buffer + sizeof buffer, units);
        const auto count = static_cast<int>(written.ptr - buffer);
        if (count < decimals)
            fixed.digits.assign(static_cast<std::size_t>(decimals - count), '0');
        fixed.digits.append(buffer, written.ptr);
        fixed.point = static_cast<int>(fixed.digits.size()) - decimals;
        fixed.negative = std::signbit(value) && units != 0;
        return fixed;
    }

    // Near a half, or far out of the usual range: from the exact 15 significant digits.
    const SignificantDigits significant = significantDigits(std::fabs(value));
    fixed.digits.assign(significant.digits, static_cast<std::size_t>(significant.count));
    fixed.point = significant.exponent + 1;
    std::string& digits = fixed.digits;
    const int keep = fixed.point + decimals;
    if (keep < static_cast<int>(digits.size())) {
        const bool roundUp = keep >= 0 && digits[static_cast<std::size_t>(keep)] >= '5';
        digits.resize(static_cast<std::size_t>(std::max(keep, 0)));
        if (roundUp) {
            int at = keep - 1;
            while (at >= 0 && digits[static_cast<std::size_t>(at)] == '9')
                digits[static_cast<std::size_t>(at--)] = '0';
            if (at >= 0) {
                ++digits[static_cast<std::size_t>(at)];
            } else {
                digits.insert(digits.begin(), '1');
                ++fixed.point;
            }
        }
    }
    digits.resize(static_cast<std::size_t>(std::max(fixed.point + decimals, 0)), '0');
    fixed.negative = std::signbit(value) && digits.find_first_not_of('0') != std::string::npos;
    return fixed;
}

double fixedValue(const FixedDecimal& fixed)
{
    std::string text = fixed.digits.empty() ? std::string("0") : fixed.digits;
    text += 'e';
    text += std::to_string(fixed.point - static_cast<int>(fixed.digits.size()));
    double value = 0;
    if (parseAsciiNumber(text, value) == AsciiNumber::Overflow)
        value = std::numeric_limits<double>::infinity();
    return fixed.negative ? -value : value;
}

AsciiNumber parseAsciiNumber(std::string_view text, double& value)
{
    if (text.empty())
        return AsciiNumber::Invalid;
    if (parseShort(text, value))
        return AsciiNumber::Ok;
    const char* begin = text.data();
    const char* end = begin + text.size();
    if (*begin == '+')
        ++begin;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec == std::errc::result_out_of_range) {
        if (orderOfMagnitude(text) > 0)
            return AsciiNumber::Overflow;
        value = 0.0;
        return AsciiNumber::Ok;
    }
    if (ec != std::errc() || ptr != end)
        return AsciiNumber::Invalid;
    return AsciiNumber::Ok;
}

} // namespace torvane::detail

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

} // namespace

bool settleNearHalf(double magnitude, double scaled, Scaled& out)
{
    if (out.scale < 0)
        return false;
    // The product's error is a double itself, and fma gives it exactly; the distance from
    // the whole number is exact as both are multiples of the same small power of two.
    const double error = std::fma(magnitude, PowersOfTen[out.scale], -scaled);
    const double distance = scaled - out.whole;
    const double aboveHalf = distance - 0.5;
    const double belowHalf = distance + 0.5;
    if (aboveHalf + error == 0 || belowHalf + error == 0)
        return false; // an exact half: the exact conversion rounds it to even
    if (error > -aboveHalf)
        out.whole += 1;
    else if (error < -belowHalf)
        out.whole -= 1;
    return out.whole >= 1e14 && out.whole < 1e15;
}

bool scaleFromNeighbours(double magnitude, int exponent, Scaled& out)
{
    for (const int neighbour : {exponent - 1, exponent + 1}) {
        const int scale = 14 - neighbour;
        if (scale < -22 || scale > 22)
            continue;
        const double scaled =
            scale >= 0 ? magnitude * PowersOfTen[scale] : magnitude / PowersOfTen[-scale];
        const double whole = (scaled + 4503599627370496.0) - 4503599627370496.0;
        if (whole < 1e15 && whole >= 1e14) {
            out = {whole, scale, neighbour};
            return std::fabs(scaled - whole) < 0.5 - 1.0 / 16 ||
                   settleNearHalf(magnitude, scaled, out);
        }
    }
    return false;
}

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
        result.rounded = unscaled(scaled);
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
    if (scaleToSignificant(magnitude, scaled))
        return unscaled(scaled);
    return significantDigits(magnitude).rounded;
}

double unitsValueOfText(unsigned long long units, int decimals)
{
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
    // Near a half, or far out of the usual range.
    return fixedDecimalFromDigits(value, decimals);
}

FixedDecimal fixedDecimalFromDigits(double value, int decimals)
{
    FixedDecimal fixed;
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

#include "ascii_number.h"

#include <algorithm>
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

// Exact in a double: the powers of ten up to 1e22.
constexpr double PowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                  1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

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

SignificantDigits significantDigits(double magnitude)
{
    SignificantDigits result{};
    if (magnitude == 0.0) {
        result.digits[0] = '0';
        result.count = 1;
        return result;
    }
    // Scale to a 15-digit whole number with one multiplication and round it. The scaling
    // errs by far less than 0.25, so unless the fraction lies near a half the rounded
    // number is the decimal rounding, and dividing it back rounds correctly.
    int exponent = static_cast<int>(std::floor(std::log10(magnitude)));
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int scale = 14 - exponent;
        if (scale < -22 || scale > 22)
            break;
        const double scaled =
            scale >= 0 ? magnitude * PowersOfTen[scale] : magnitude / PowersOfTen[-scale];
        const double whole = std::nearbyint(scaled);
        if (whole >= 1e15) {
            ++exponent;
            continue;
        }
        if (whole < 1e14) {
            --exponent;
            continue;
        }
        if (std::fabs(scaled - whole) > 0.25)
            break;
        char buffer[24];
        const auto written =
            std::to_chars(buffer, buffer + sizeof buffer, static_cast<std::uint64_t>(whole));
        result.count = static_cast<int>(written.ptr - buffer);
        while (result.count > 1 && buffer[result.count - 1] == '0')
            --result.count;
        std::copy(buffer, buffer + result.count, result.digits);
        result.exponent = exponent;
        result.rounded = scale >= 0 ? whole / PowersOfTen[scale] : whole * PowersOfTen[-scale];
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

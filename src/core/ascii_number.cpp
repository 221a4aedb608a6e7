#include "ascii_number.h"

#include <charconv>
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

} // namespace

AsciiNumber parseAsciiNumber(std::string_view text, double& value)
{
    if (text.empty())
        return AsciiNumber::Invalid;
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

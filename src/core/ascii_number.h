#pragma once

#include <string_view>

namespace torvane::detail {

enum class AsciiNumber { Ok, Invalid, Overflow };

// Converts a plain ASCII number ("-12.5e3"); a value too small for a double reads as 0,
// one too large reports Overflow. Independent of the C library's locale.
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

} // namespace torvane::detail

#pragma once

#include <string_view>

namespace torvane::detail {

enum class AsciiNumber { Ok, Invalid, Overflow };

// Converts a plain ASCII number ("-12.5e3"); a value too small for a double reads as 0,
// one too large reports Overflow. Independent of the C library's locale.
AsciiNumber parseAsciiNumber(std::string_view text, double& value);

} // namespace torvane::detail

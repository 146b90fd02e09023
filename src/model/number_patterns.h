// Numbers written through a display pattern such as "####0.##": "#" an optional digit, "0" a
// required one; the decimals after the point are the most shown, no thousands separator.
#pragma once

#include <string>
#include <string_view>

namespace tavrine {

// Rounded to the pattern's decimals (exact value, ties to even), trailing optional zeros and a
// bare decimal point dropped: PatternNumber(90, "####0.##") = "90",
// PatternNumber(3.14159, "#####0.####") = "3.1416", PatternNumber(-0.001, "####0.##") = "0".
std::string PatternNumber(double value, std::string_view pattern);

}  // namespace tavrine

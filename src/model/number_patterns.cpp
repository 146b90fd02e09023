// Display patterns over the correctly rounded fixed-point digits of std::to_chars.
#include "model/number_patterns.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "model/text_rules.h"

namespace tavrine {

namespace {

struct PatternShape {
  size_t min_integer_digits = 0;
  int max_decimals = 0;
  int min_decimals = 0;
};

PatternShape ShapeOf(std::string_view pattern) {
  const size_t point = pattern.find('.');
  const std::string_view integer = pattern.substr(0, point);
  const std::string_view fraction =
      point == std::string_view::npos ? std::string_view{} : pattern.substr(point + 1);
  return {static_cast<size_t>(std::count(integer.begin(), integer.end(), '0')),
          static_cast<int>(fraction.size()),
          static_cast<int>(std::count(fraction.begin(), fraction.end(), '0'))};
}

std::string Fixed(double magnitude, int decimals) {
  // Enough for the largest double written without exponent.
  char buffer[400];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed, decimals);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string PatternNumber(double value, std::string_view pattern) {
  if (!std::isfinite(value)) {
    return ShortestDecimal(value);
  }
  const PatternShape shape = ShapeOf(pattern);
  std::string text = Fixed(std::abs(value), shape.max_decimals);
  const size_t point = text.find('.');
  if (point != std::string::npos) {
    size_t end = text.size();
    while (end > point + 1 + static_cast<size_t>(shape.min_decimals) && text[end - 1] == '0') {
      --end;
    }
    text.resize(end == point + 1 ? point : end);
  }
  const size_t integer_digits = std::min(text.find('.'), text.size());
  if (integer_digits < shape.min_integer_digits) {
    text.insert(0, shape.min_integer_digits - integer_digits, '0');
  } else if (shape.min_integer_digits == 0 && text.starts_with("0.")) {
    text.erase(0, 1);  // "#.##" writes .5 for 0.5
  }
  const bool all_zero = text.find_first_not_of("0.") == std::string::npos;
  return value < 0 && !all_zero ? "-" + text : text;
}

}  // namespace tavrine

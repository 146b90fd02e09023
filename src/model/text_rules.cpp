// Text input rules and number forms.
#include "model/text_rules.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <system_error>

namespace tavrine {

namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Copies the longest leading number of the text into a plain ASCII form without blanks.
std::string LeadingNumber(std::string_view text) {
  std::string out;
  size_t i = 0;
  auto skip_blanks = [&] {
    while (i < text.size() && IsBlank(text[i])) {
      ++i;
    }
  };
  skip_blanks();
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    out += text[i++];
  }
  bool digits = false, point = false;
  for (skip_blanks(); i < text.size(); skip_blanks()) {
    char c = text[i];
    if (IsDigit(c)) {
      digits = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
    out += c;
    ++i;
  }
  if (!digits) {
    return {};
  }
  // Exponent only when at least one digit follows the marker.
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    std::string exponent = "e";
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
      exponent += text[j++];
    }
    size_t first_digit = j;
    while (j < text.size() && (IsDigit(text[j]) || IsBlank(text[j]))) {
      if (IsDigit(text[j])) {
        exponent += text[j];
      }
      ++j;
    }
    if (j > first_digit && IsDigit(exponent.back())) {
      out += exponent;
    }
  }
  return out;
}

}  // namespace

double Pi() {
  return 4.0 * std::atan(1.0);
}

double NumericValue(std::string_view text) {
  std::string number = LeadingNumber(text);
  if (number.empty()) {
    return 0.0;
  }
  // from_chars reads "." whatever the C library's locale (a desktop session may set one that
  // writes decimals with a comma); it takes no "+".
  const char* first = number.data() + (number[0] == '+' ? 1 : 0);
  const char* last = number.data() + number.size();
  double value = 0.0;
  if (std::from_chars(first, last, value).ec == std::errc::result_out_of_range) {
    // Beyond the doubles: above the largest (clamped to it) or below the least (a subnormal or
    // zero); past even the long doubles the exponent's sign tells which.
    long double wide = 0.0L;
    const size_t e = number.find('e');
    const bool overflow = std::from_chars(first, last, wide).ec == std::errc{}
                              ? std::fabs(wide) > 1.0L
                              : e == std::string::npos || number[e + 1] != '-';
    const double sign = number[0] == '-' ? -1.0 : 1.0;
    value = overflow ? sign * std::numeric_limits<double>::max() : static_cast<double>(wide);
  }
  return value;
}

bool IsValidIntegerEntry(std::string_view text) {
  if (text.empty() || !((text[0] >= '1' && text[0] <= '9') || text[0] == '+')) {
    return false;
  }
  for (size_t i = 1; i < text.size(); ++i) {
    if (!IsDigit(text[i]) && text[i] != ',') {
      return false;
    }
  }
  return true;
}

bool IsValidRealEntry(std::string_view text) {
  if (text.empty()) {
    return true;
  }
  char first = text[0];
  if (!(IsDigit(first) || first == '+' || first == '-' || first == '.')) {
    return false;
  }
  for (size_t i = 1; i < text.size(); ++i) {
    if (!IsDigit(text[i]) && text[i] != '.') {
      return false;
    }
  }
  return true;
}

namespace {

template <class Int>
Int RoundHalfEven(double value) {
  if (std::isnan(value)) {
    return 0;
  }
  double rounded = std::nearbyint(value);  // default rounding mode: half to even
  if (rounded <= static_cast<double>(std::numeric_limits<Int>::min())) {
    return std::numeric_limits<Int>::min();
  }
  if (rounded >= static_cast<double>(std::numeric_limits<Int>::max())) {
    return std::numeric_limits<Int>::max();
  }
  return static_cast<Int>(rounded);
}

}  // namespace

int32_t RoundToInt32(double value) {
  return RoundHalfEven<int32_t>(value);
}
int16_t RoundToInt16(double value) {
  return RoundHalfEven<int16_t>(value);
}

std::string ShortestDecimal(double value) {
  if (value == 0.0) {
    return "0";
  }
  // As "%.15G" in the C locale, whatever the C library's locale.
  char buffer[40];
  const auto end =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15).ptr;
  std::string text(buffer, end);
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

std::string PlainDecimal(double value) {
  const std::string shortest = ShortestDecimal(value);
  const size_t e = shortest.find('E');
  if (e == std::string::npos) {
    return shortest;
  }
  const bool negative = shortest[0] == '-';
  std::string digits;
  int point = 0;  // digits before the decimal point in the mantissa
  for (size_t i = negative ? 1 : 0; i < e; ++i) {
    if (shortest[i] == '.') {
      point = static_cast<int>(digits.size());
    } else {
      digits.push_back(shortest[i]);
    }
  }
  if (shortest.find('.') == std::string::npos || shortest.find('.') > e) {
    point = static_cast<int>(digits.size());
  }
  point += std::stoi(shortest.substr(e + 1));
  std::string plain;
  if (point <= 0) {
    plain = "0." + std::string(static_cast<size_t>(-point), '0') + digits;
  } else if (point >= static_cast<int>(digits.size())) {
    plain = digits + std::string(static_cast<size_t>(point) - digits.size(), '0');
  } else {
    plain = digits.substr(0, static_cast<size_t>(point)) + "." +
            digits.substr(static_cast<size_t>(point));
  }
  return negative ? "-" + plain : plain;
}

double DegToRad(double degrees) {
  return degrees / 180.0 * Pi();
}
double RadToDeg(double radians) {
  return radians / Pi() * 180.0;
}

}  // namespace tavrine

// Number texts for files, built from the correctly rounded decimal digits of std::to_chars.
#include "model/number_formats.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string_view>

namespace tavrine {

namespace {

// Zero for NaN and -0, ±max for ±infinity: a file never holds a text that does not read back.
double Writable(double value) {
  if (std::isnan(value) || value == 0.0) {
    return 0.0;
  }
  if (std::isinf(value)) {
    return std::copysign(std::numeric_limits<double>::max(), value);
  }
  return value;
}

struct Decimal {
  bool negative = false;
  std::string digits;  // significant digits, trailing zeros dropped; "0" for zero
  int exponent = 0;    // value = 0.d1d2d3... × 10^(exponent + 1)
};

// |value| rounded to `significant` digits.
Decimal ToDecimal(double value, int significant) {
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, std::abs(value),
                              std::chars_format::scientific, significant - 1);
  std::string_view text(buffer, static_cast<size_t>(result.ptr - buffer));
  const size_t e = text.find('e');
  Decimal d;
  d.negative = std::signbit(value);
  for (char c : text.substr(0, e)) {
    if (c != '.') {
      d.digits += c;
    }
  }
  d.exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
  while (d.digits.size() > 1 && d.digits.back() == '0') {
    d.digits.pop_back();
  }
  return d;
}

void AppendExponent(std::string& out, int exponent, size_t min_digits) {
  out += exponent < 0 ? "E-" : "E+";
  std::string digits = std::to_string(std::abs(exponent));
  if (digits.size() < min_digits) {
    out.append(min_digits - digits.size(), '0');
  }
  out += digits;
}

std::string FixedForm(const Decimal& d) {
  std::string out;
  if (d.exponent < 0) {
    out += '.';
    out.append(static_cast<size_t>(-d.exponent - 1), '0');
    out += d.digits;
    return out;
  }
  const size_t integer_digits = static_cast<size_t>(d.exponent) + 1;
  if (d.digits.size() <= integer_digits) {
    out = d.digits;
    out.append(integer_digits - d.digits.size(), '0');
    return out;
  }
  out = d.digits.substr(0, integer_digits);
  out += '.';
  out += d.digits.substr(integer_digits);
  return out;
}

}  // namespace

std::string ModelFileNumber(double value) {
  const double v = Writable(value);
  if (v == 0.0) {
    return " 0";
  }
  const Decimal d = ToDecimal(v, 15);
  std::string out = d.negative ? "-" : " ";
  if (d.exponent >= -5 && d.exponent < 15) {
    return out + FixedForm(d);
  }
  out += d.digits[0];
  if (d.digits.size() > 1) {
    out += '.';
    out += d.digits.substr(1);
  }
  AppendExponent(out, d.exponent, 2);
  return out;
}

std::string ExponentForm(double value, int decimals) {
  const double v = Writable(value);
  char buffer[64];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, std::abs(v),
                              std::chars_format::scientific, decimals);
  std::string_view text(buffer, static_cast<size_t>(result.ptr - buffer));
  const size_t e = text.find('e');
  std::string out = std::signbit(v) ? "-" : "";
  out += text.substr(0, e);
  AppendExponent(out, std::atoi(std::string(text.substr(e + 1)).c_str()), 1);
  return out;
}

}  // namespace tavrine

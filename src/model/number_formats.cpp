// Number texts for files, built from the correctly rounded decimal digits of std::to_chars.
#include "model/number_formats.h"

#include <algorithm>
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

// Splits to_chars' scientific text "d.ddde±XX" into its digits and exponent.
int SplitScientific(const char* text, const char* end, char* digits, int& exponent) {
  int count = 0;
  const char* p = text;
  for (; *p != 'e'; ++p) {
    if (*p != '.') {
      digits[count++] = *p;
    }
  }
  ++p;
  std::from_chars(*p == '+' ? p + 1 : p, end, exponent);
  return count;
}

// Rounds the digits of the shortest text to 15. Only a 16-digit text ending in 5 can sit on a
// halfway point that the exact value is not on; false then.
bool RoundShortestToFifteen(char* digits, int& count, int& exponent) {
  if (count <= 15) {
    return true;
  }
  if (count == 16 && digits[15] == '5') {
    return false;
  }
  const bool up = digits[15] >= '5';
  count = 15;
  if (up) {
    int i = 14;
    while (i >= 0 && digits[i] == '9') {
      digits[i--] = '0';
    }
    if (i < 0) {
      digits[0] = '1';
      ++exponent;
    } else {
      ++digits[i];
    }
  }
  return true;
}

// The 15 correctly rounded significant digits of a positive value, trailing zeros dropped.
// The shortest text that reads back is within half a unit in the last place of the value, so
// for normal values it rounds to the same 15 digits as the exact value, and it is much cheaper
// to make than a fixed-precision text.
int FifteenDigits(double magnitude, char* digits, int& exponent) {
  char sci[32];
  int count = 0;
  bool done = false;
  if (magnitude >= std::numeric_limits<double>::min()) {
    const char* end =
        std::to_chars(sci, sci + sizeof sci, magnitude, std::chars_format::scientific).ptr;
    count = SplitScientific(sci, end, digits, exponent);
    done = RoundShortestToFifteen(digits, count, exponent);
  }
  if (!done) {
    const char* end =
        std::to_chars(sci, sci + sizeof sci, magnitude, std::chars_format::scientific, 14).ptr;
    count = SplitScientific(sci, end, digits, exponent);
  }
  while (count > 1 && digits[count - 1] == '0') {
    --count;
  }
  return count;
}

void AppendExponent(std::string& out, int exponent, size_t min_digits) {
  out += exponent < 0 ? "E-" : "E+";
  std::string digits = std::to_string(std::abs(exponent));
  if (digits.size() < min_digits) {
    out.append(min_digits - digits.size(), '0');
  }
  out += digits;
}

// Digits d1d2... with value 0.d1d2... × 10^(exponent + 1), in plain positional form.
char* FixedDigits(const char* digits, int count, int exponent, char* out) {
  if (exponent < 0) {
    *out++ = '.';
    out = std::fill_n(out, -exponent - 1, '0');
    return std::copy(digits, digits + count, out);
  }
  const int integer_digits = exponent + 1;
  if (count <= integer_digits) {
    out = std::copy(digits, digits + count, out);
    return std::fill_n(out, integer_digits - count, '0');
  }
  out = std::copy(digits, digits + integer_digits, out);
  *out++ = '.';
  return std::copy(digits + integer_digits, digits + count, out);
}

}  // namespace

char* WriteModelFileNumber(double value, char* out) {
  const double v = Writable(value);
  if (v == 0.0) {
    *out++ = ' ';
    *out++ = '0';
    return out;
  }
  char digits[17];
  int exponent = 0;
  const int count = FifteenDigits(std::abs(v), digits, exponent);
  *out++ = std::signbit(v) ? '-' : ' ';
  if (exponent >= -5 && exponent < 15) {
    return FixedDigits(digits, count, exponent, out);
  }
  *out++ = digits[0];
  if (count > 1) {
    *out++ = '.';
    out = std::copy(digits + 1, digits + count, out);
  }
  *out++ = 'E';
  *out++ = exponent < 0 ? '-' : '+';
  const int magnitude = std::abs(exponent);
  if (magnitude < 10) {
    *out++ = '0';
  }
  return std::to_chars(out, out + 3, magnitude).ptr;
}

std::string ModelFileNumber(double value) {
  char buffer[kModelFileNumberMaxChars];
  return std::string(buffer, WriteModelFileNumber(value, buffer));
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

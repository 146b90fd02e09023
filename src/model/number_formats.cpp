// Number texts for files, built from the correctly rounded decimal digits of std::to_chars.
#include "model/number_formats.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
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

// The 15 digits through to_chars, trailing zeros kept.
int ToCharsFifteen(double magnitude, char* digits, int& exponent) {
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
  return count;
}

__extension__ typedef unsigned __int128 Wide;

constexpr uint64_t kFifteenDigits = 100000000000000, kSixteenDigits = 1000000000000000;

constexpr std::array<uint64_t, 28> PowersOfFive() {
  std::array<uint64_t, 28> powers{1};
  for (size_t k = 1; k < powers.size(); ++k) {
    powers[k] = powers[k - 1] * 5;
  }
  return powers;
}
constexpr std::array<uint64_t, 28> kPowersOfFive = PowersOfFive();

// 10^n for n from -13 to 15; those below 1 are the nearest doubles, which only the check of
// the digits' count in ExactFifteen has to make up for.
constexpr std::array<double, 29> kPowersOfTen = {
    1e-13, 1e-12, 1e-11, 1e-10, 1e-9, 1e-8, 1e-7, 1e-6, 1e-5, 1e-4, 1e-3, 1e-2, 1e-1, 1e0, 1e1,
    1e2,   1e3,   1e4,   1e5,   1e6,  1e7,  1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15};

// The 15-digit integer nearest to magnitude × 10^(14 - exponent), ties to even: with
// magnitude = m × 2^e, it is m × 5^k × 2^(e + k) for k = 14 - exponent, exact in 128 bits.
uint64_t RoundedFifteen(uint64_t m, int e, int k) {
  const Wide scaled = Wide{m} * kPowersOfFive[static_cast<size_t>(k)];
  const int shift = e + k;
  if (shift >= 0) {
    return static_cast<uint64_t>(scaled << shift);
  }
  const uint64_t whole = static_cast<uint64_t>(scaled >> -shift);
  // The bits shifted out, moved to the top: above half, or half and an odd whole, rounds up.
  const Wide rest = scaled << (128 + shift), half = Wide{1} << 127;
  return whole + static_cast<uint64_t>((rest > half) | ((rest == half) & (whole & 1)));
}

// The 15 significant digits of a positive normal value from 1E-13 to below 1E+15, correctly
// rounded from its exact value, as an integer from 10^14 to below 10^15; false outside that
// range.
bool ExactFifteen(double magnitude, uint64_t& digits, int& exponent) {
  const auto bits = std::bit_cast<uint64_t>(magnitude);
  const int e = static_cast<int>(bits >> 52) - 1075;
  const uint64_t m = (bits & ((uint64_t{1} << 52) - 1)) | (uint64_t{1} << 52);
  // floor(log10(2^(e + 52))), which is the decimal exponent or one less.
  exponent = ((e + 52) * 78913) >> 18;
  if (exponent < -13 || exponent > 14) {
    return false;
  }
  exponent += magnitude >= kPowersOfTen[static_cast<size_t>(exponent + 14)];
  if (exponent > 14) {
    return false;
  }
  digits = RoundedFifteen(m, e, 14 - exponent);
  if (digits < kFifteenDigits || digits > kSixteenDigits) {
    return false;  // a power of ten misjudged through its nearest double: left to to_chars
  }
  if (digits == kSixteenDigits) {
    digits = kFifteenDigits;
    ++exponent;
  }
  return true;
}

// Words of text are read and written with the first character in the lowest byte.
static_assert(std::endian::native == std::endian::little);

// The eight decimal digits of a value below 10^8 as characters in a little-endian word, leading
// zeros written: halves of four digits, then pairs, then single digits, side by side in the
// word's lanes, each split by a multiply that stands for the division in every lane.
void WriteEightDigits(uint32_t value, char* out) {
  uint64_t lanes = (value / 10000) | (uint64_t{value % 10000} << 32);
  const uint64_t hundreds = ((lanes * 10486) >> 20) & 0x0000007F0000007F;
  lanes = hundreds | ((lanes - hundreds * 100) << 16);
  const uint64_t tens = ((lanes * 103) >> 10) & 0x000F000F000F000F;
  lanes = (tens | ((lanes - tens * 10) << 8)) + 0x3030303030303030;
  std::memcpy(out, &lanes, sizeof lanes);
}

// How many of the 16 digit characters at `text` are left once trailing zeros are dropped; at
// least one. Bytes that are not "0" are found a word at a time: adding 0x7F to the low seven
// bits of a byte never carries into the next.
int SignificantCount(const char* text) {
  constexpr uint64_t kEveryByte = 0x0101010101010101, kLow7 = kEveryByte * 0x7F;
  auto not_zero = [](const char* p) {
    uint64_t word = 0;
    std::memcpy(&word, p, sizeof word);
    const uint64_t x = word ^ (kEveryByte * '0');
    return (x | ((x & kLow7) + kLow7)) & (kEveryByte * 0x80);
  };
  const uint64_t first = not_zero(text), second = not_zero(text + 8);
  auto last = [](uint64_t marks) { return (63 - std::countl_zero(marks)) / 8; };
  return second != 0 ? 9 + last(second) : first != 0 ? 1 + last(first) : 1;
}

// The 15 correctly rounded significant digits of a positive value, trailing zeros dropped.
// Most values are rounded exactly in integers; the rest from the shortest text that reads back,
// which is within half a unit in the last place of the value, so for normal values it rounds
// to the same 15 digits as the exact value and is much cheaper to make than a fixed-precision
// text. `digits` must have room for 16 characters.
int FifteenDigits(double magnitude, char* digits, int& exponent) {
  uint64_t integer = 0;
  if (ExactFifteen(magnitude, integer, exponent)) {
    // The first eight digits, then the last seven and a zero.
    WriteEightDigits(static_cast<uint32_t>(integer / 10000000), digits);
    WriteEightDigits(static_cast<uint32_t>(integer % 10000000 * 10), digits + 8);
    return SignificantCount(digits);
  }
  int count = ToCharsFifteen(magnitude, digits, exponent);
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

// Digits d1d2... with value 0.d1d2... × 10^(exponent + 1), in plain positional form, for
// exponents from -5 to 14. Copies whole 16-byte runs and then moves on by the length wanted, so
// `digits` must have 32 bytes and `out` room for 31 characters.
char* FixedDigits(const char* digits, int count, int exponent, char* out) {
  constexpr const char* kZeros = "0000000000000000";
  if (exponent < 0) {
    *out++ = '.';
    std::memcpy(out, kZeros, 4);
    out += -exponent - 1;
    std::memcpy(out, digits, 16);
    return out + count;
  }
  const int integer_digits = exponent + 1;
  std::memcpy(out, digits, 16);
  if (count <= integer_digits) {
    std::memcpy(out + count, kZeros, 16);
    return out + integer_digits;
  }
  out += integer_digits;
  *out++ = '.';
  std::memcpy(out, digits + integer_digits, 16);
  return out + (count - integer_digits);
}

}  // namespace

char* WriteModelFileNumber(double value, char* out) {
  const double v = Writable(value);
  if (v == 0.0) {
    *out++ = ' ';
    *out++ = '0';
    return out;
  }
  char digits[32] = {};
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

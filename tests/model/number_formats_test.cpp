#include "model/number_formats.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>

#include "model/text_rules.h"

namespace tavrine {
namespace {

TEST(ModelFileNumber, CaseTable) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {
      {12000, " 12000"},
      {0.5, " .5"},
      {-0.25, "-.25"},
      {0, " 0"},
      {-0.0, " 0"},
      {3, " 3"},
      {-90, "-90"},
      {1.0 / 3, " .333333333333333"},
      {-2.0 / 3, "-.666666666666667"},
      {123456789012345, " 123456789012345"},
      {999999999999999.4, " 999999999999999"},
      {999999999999999.9, " 1E+15"},
      {1e15, " 1E+15"},
      {2.5e20, " 2.5E+20"},
      {0.00001, " .00001"},
      {0.0000123, " .0000123"},
      {0.000001, " 1E-06"},
      {-1e-7, "-1E-07"},
      {1.5e-300, " 1.5E-300"},
      {123456789012345678.0, " 1.23456789012346E+17"},
      {0.1 + 0.2, " .3"},
      {std::numeric_limits<double>::max(), " 1.79769313486232E+308"},
      {-std::numeric_limits<double>::infinity(), "-1.79769313486232E+308"},
      {std::nan(""), " 0"},
      {RadToDeg(DegToRad(-90)), "-90"},
      // Exact binary fractions with 16 digits ending in 5: ties, to even.
      {0.01000213623046875, " .0100021362304688"},
      {0.0001010894775390625, " .000101089477539062"},
      {std::ldexp(1.0, -22), " 2.38418579101562E-07"},
      {std::ldexp(3.0, -22), " 7.15255737304688E-07"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ModelFileNumber(c.value), c.text) << c.value;
  }
}

TEST(ModelFileNumber, ReadsBackToFifteenDigits) {
  std::mt19937_64 rng(3);
  std::uniform_real_distribution<double> mantissa(-1, 1);
  std::uniform_int_distribution<int> exponent(-300, 300);
  for (int i = 0; i < 5000; ++i) {
    const double v = mantissa(rng) * std::pow(10.0, exponent(rng));
    const std::string text = ModelFileNumber(v);
    EXPECT_NEAR(std::strtod(text.c_str(), nullptr), v, std::abs(v) * 5e-15) << text;
    EXPECT_EQ(text[0] == '-', v < 0) << text;
  }
}

// The model file's rules applied to printf's correctly rounded "%.14E" digits.
std::string PrintfReference(double v) {
  if (v == 0) {
    return " 0";
  }
  char sci[40];
  std::snprintf(sci, sizeof sci, "%.14E", std::abs(v));
  std::string digits(1, sci[0]);
  digits.append(sci + 2, 14);
  const int exponent = std::atoi(sci + 17);
  digits.erase(digits.find_last_not_of('0') + 1);
  std::string out = v < 0 ? "-" : " ";
  const int n = static_cast<int>(digits.size());
  if (exponent < -5 || exponent >= 15) {
    out += digits[0];
    if (n > 1) {
      out += '.';
      out.append(digits, 1);
    }
    char e[16];
    std::snprintf(e, sizeof e, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
    return out + e;
  }
  if (exponent < 0) {
    out += '.';
    out.append(static_cast<size_t>(-exponent - 1), '0');
    return out + digits;
  }
  if (n <= exponent + 1) {
    out += digits;
    out.append(static_cast<size_t>(exponent + 1 - n), '0');
    return out;
  }
  out.append(digits, 0, static_cast<size_t>(exponent + 1));
  out += '.';
  out.append(digits, static_cast<size_t>(exponent + 1));
  return out;
}

TEST(ModelFileNumber, MatchesPrintfDigitsOnRandomDoubles) {
  std::mt19937_64 rng(17);
  std::uniform_int_distribution<int> power(-20, 20);
  std::uniform_int_distribution<int64_t> integer(-9999999999999999, 9999999999999999);
  for (int i = 0; i < 200000; ++i) {
    double v = 0;
    if (i % 2 == 0) {
      const uint64_t bits = rng();
      std::memcpy(&v, &bits, sizeof v);
      if (!std::isfinite(v)) {
        continue;
      }
    } else {
      // Short decimals as typed by users, and 16 digits that round half to even.
      v = double(integer(rng) >> (rng() % 50)) * std::pow(10.0, power(rng));
    }
    ASSERT_EQ(ModelFileNumber(v), PrintfReference(v)) << v;
  }
}

TEST(ExponentForm, ThreeDecimals) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {
      {1234.6, "1.235E+3"},
      {-0.00125, "-1.250E-3"},
      {0, "0.000E+0"},
      {-0.0, "0.000E+0"},
      {5, "5.000E+0"},
      {9.9996, "1.000E+1"},
      {1e-10, "1.000E-10"},
      {-2.5e120, "-2.500E+120"},
      {0.5, "5.000E-1"},
      {100, "1.000E+2"},
      {std::nan(""), "0.000E+0"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ExponentForm(c.value, 3), c.text) << c.value;
  }
}

}  // namespace
}  // namespace tavrine

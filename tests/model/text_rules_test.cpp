#include "model/text_rules.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace tavrine {
namespace {

TEST(NumericValue, ReadsTheLongestLeadingNumber) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"", 0},
      {"abc", 0},
      {"+", 0},
      {"-", 0},
      {"1.2.3", 1.2},
      {"12,5", 12},
      {"1,000", 1},
      {"  42", 42},
      {"4 2", 42},
      {"-3.5", -3.5},
      {".5", 0.5},
      {"5.", 5},
      {"1e3", 1000},
      {"1E-2", 0.01},
      {"2e", 2},
      {"2e+", 2},
      {"1-2", 1},
      {"+7x", 7},
      {"0.25mm", 0.25},
      {"- 4", -4},
      {"1e400", std::numeric_limits<double>::max()},
      {"-1e99999", -std::numeric_limits<double>::max()},
      {"1e-400", 0},
      {"4e-320", 4e-320},
  };
  for (const Case& c : cases) {
    EXPECT_DOUBLE_EQ(NumericValue(c.text), c.value) << '"' << c.text << '"';
  }
}

TEST(EntryValidity, IntegerAndRealEntries) {
  for (const char* ok : {"1", "+", "9", "1,000", "+12", "100"}) {
    EXPECT_TRUE(IsValidIntegerEntry(ok)) << ok;
  }
  for (const char* bad : {"", "0", "-5", "1.5", "1-2", "a", " 1", "1 "}) {
    EXPECT_FALSE(IsValidIntegerEntry(bad)) << bad;
  }
  for (const char* ok : {"", "0", "-5", "1.5", ".5", "+3", "1.2.3", "-"}) {
    EXPECT_TRUE(IsValidRealEntry(ok)) << ok;
  }
  for (const char* bad : {"1-2", "a", "1e5", "1,5", " 1", "--1"}) {
    EXPECT_FALSE(IsValidRealEntry(bad)) << bad;
  }
}

TEST(Rounding, HalfToEvenAndSaturating) {
  EXPECT_EQ(RoundToInt32(2.5), 2);
  EXPECT_EQ(RoundToInt32(3.5), 4);
  EXPECT_EQ(RoundToInt32(-2.5), -2);
  EXPECT_EQ(RoundToInt32(2.4999), 2);
  EXPECT_EQ(RoundToInt32(1e20), std::numeric_limits<int32_t>::max());
  EXPECT_EQ(RoundToInt32(-1e20), std::numeric_limits<int32_t>::min());
  EXPECT_EQ(RoundToInt32(std::nan("")), 0);
  EXPECT_EQ(RoundToInt16(0.5), 0);
  EXPECT_EQ(RoundToInt16(1.5), 2);
  EXPECT_EQ(RoundToInt16(40000), 32767);
}

TEST(ShortestDecimal, FifteenDigitsWithoutTrailingZeros) {
  EXPECT_EQ(ShortestDecimal(13500), "13500");
  EXPECT_EQ(ShortestDecimal(0.5), "0.5");
  EXPECT_EQ(ShortestDecimal(-2.25), "-2.25");
  EXPECT_EQ(ShortestDecimal(0), "0");
  EXPECT_EQ(ShortestDecimal(-0.0), "0");
  EXPECT_EQ(ShortestDecimal(0.1 + 0.2), "0.3");
  EXPECT_EQ(ShortestDecimal(1.0 / 3.0), "0.333333333333333");
  EXPECT_EQ(ShortestDecimal(1e20), "1E+20");
  EXPECT_EQ(ShortestDecimal(RadToDeg(DegToRad(30))), "30");
}

TEST(PlainDecimal, SameDigitsWithoutExponentPassTheRealEntryCheck) {
  EXPECT_EQ(PlainDecimal(1e20), "100000000000000000000");
  EXPECT_EQ(PlainDecimal(-1.5e16), "-15000000000000000");
  EXPECT_EQ(PlainDecimal(1e-5), "0.00001");
  EXPECT_EQ(PlainDecimal(-2.5e-7), "-0.00000025");
  EXPECT_EQ(PlainDecimal(123.25), "123.25");
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<double> mantissa(-1, 1);
  std::uniform_int_distribution<int> exponent(-30, 30);
  for (int i = 0; i < 2000; ++i) {
    const double v = mantissa(rng) * std::pow(10.0, exponent(rng));
    const std::string plain = PlainDecimal(v);
    ASSERT_TRUE(IsValidRealEntry(plain)) << plain;
    EXPECT_EQ(NumericValue(plain), NumericValue(ShortestDecimal(v))) << plain;
  }
}

TEST(ShortestDecimal, IsTheCLocalesFifteenDigitForm) {
  std::mt19937_64 rng(5);
  for (int i = 0; i < 20000; ++i) {
    double v = 0;
    const uint64_t bits = rng();
    std::memcpy(&v, &bits, sizeof v);
    char expected[40];
    std::snprintf(expected, sizeof expected, "%.15G", v);
    if (v != 0) {
      ASSERT_EQ(ShortestDecimal(v), expected);
    }
  }
}

TEST(ShortestDecimal, ReadsBackToFifteenDigits) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> mantissa(-1, 1);
  std::uniform_int_distribution<int> exponent(-12, 12);
  for (int i = 0; i < 2000; ++i) {
    const double v = mantissa(rng) * std::pow(10.0, exponent(rng));
    const double back = NumericValue(ShortestDecimal(v));
    EXPECT_NEAR(back, v, std::abs(v) * 1e-14) << ShortestDecimal(v);
  }
}

TEST(Angles, ConversionUsesFourAtanOne) {
  EXPECT_EQ(Pi(), 4.0 * std::atan(1.0));
  EXPECT_DOUBLE_EQ(DegToRad(180), Pi());
  EXPECT_DOUBLE_EQ(RadToDeg(1), 57.295779513082323);
  EXPECT_EQ(DegToRad(5), 5.0 / 180.0 * Pi());
}

}  // namespace
}  // namespace tavrine

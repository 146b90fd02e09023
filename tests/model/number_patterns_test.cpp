#include "model/number_patterns.h"

#include <gtest/gtest.h>

namespace tavrine {
namespace {

struct PatternCase {
  double value;
  const char* pattern;
  const char* text;
};

TEST(PatternNumber, CaseTable) {
  const PatternCase cases[] = {
      {90, "####0.##", "90"},  // no trailing decimal point
      {89.99999999999999, "####0.##", "90"},
      {12.5, "####0.##", "12.5"},
      {-3.14159, "####0.##", "-3.14"},
      {3.14159265358979, "#####0.####", "3.1416"},
      {0.25, "####0.##", "0.25"},
      {0.125, "####0.##", "0.12"},  // an exact tie goes to even
      {0.375, "####0.##", "0.38"},
      {2.675, "####0.##", "2.67"},  // the double is below 2.675
      {-0.001, "####0.##", "0"},    // no "-0"
      {0, "####0.##", "0"},
      {1234567.891, "####0.##", "1234567.89"},  // no separators, no cap on digits
      {7, "###0", "7"},
      {1000, "###0", "1000"},
      {0.5, "0.00", "0.50"},
      {0.5, "#.##", ".5"},
      {3, "000", "003"},
  };
  for (const PatternCase& c : cases) {
    EXPECT_EQ(PatternNumber(c.value, c.pattern), c.text) << c.value << " " << c.pattern;
  }
}

}  // namespace
}  // namespace tavrine

// Rows read in one pass against the general rules: the items of the plain split, and numbers
// as strtod reads them.
#include "files/item_reader.h"

#include <bit>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <random>

#include "model/number_formats.h"

namespace tavrine {
namespace {

// strtod's reading of the whole item, blanks after it allowed, without its hexadecimal forms
// (the items below hold no other letters than "e" and "x"); out of range is refused.
std::optional<double> Expected(const std::string& item) {
  if (item.find('x') != std::string::npos) {
    return std::nullopt;
  }
  char* end = nullptr;
  const double value = std::strtod(item.c_str(), &end);
  if (end == item.c_str()) {
    return std::nullopt;
  }
  while (*end == ' ' || *end == '\t') {
    ++end;
  }
  return *end == '\0' && !std::isinf(value) ? std::optional(value) : std::nullopt;
}

// Number texts as written, long digit runs with leading zeros, and near misses.
std::string RandomItem(std::mt19937& rng) {
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  std::string text;
  switch (pick(3)) {
    case 0: {
      const double magnitude = std::pow(10.0, std::uniform_real_distribution<>(-25, 25)(rng));
      return ModelFileNumber(pick(2) ? magnitude : -magnitude);
    }
    case 1: {
      const int digits = 1 + pick(22), point = pick(digits + 1);
      text.push_back(pick(2) ? ' ' : '-');
      for (int i = 0; i < digits; ++i) {
        if (i == point) {
          text.push_back('.');
        }
        text.push_back(static_cast<char>('0' + (pick(3) ? pick(10) : 0)));
      }
      return text;
    }
    default:
      for (int i = pick(18); i > 0; --i) {
        text += " \t+-.0123456789eEx"[pick(18)];
      }
      return text;
  }
}

TEST(ItemReader, NumberRowsFollowThePlainSplitAndTheNumberForm) {
  std::mt19937 rng(17);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  constexpr size_t kWidth = 7;
  std::string text;
  for (int row = 0; row < 3000; ++row) {
    const int items = static_cast<int>(kWidth) + (pick(10) == 0 ? pick(3) - 1 : 0);
    for (int i = 0; i < items; ++i) {
      const std::string item = i == 0 ? std::to_string(row) : RandomItem(rng);
      const bool quoted = pick(8) != 0 || item.empty() || item.front() == ' ';
      text.append(i > 0 ? "," : "").append(pick(12) == 0 ? " " : "");
      text.append(quoted ? "\"" : "").append(item).append(quoted ? "\"" : "");
      text.append(quoted && pick(12) == 0 ? " " : "");
    }
    text += std::array<const char*, 3>{"\r\n", "\n", "\r"}[static_cast<size_t>(pick(3))];
  }
  text += "\"3000\"";  // the last row as written, up to the end of the bytes
  for (size_t i = 1; i < kWidth; ++i) {
    text.append(",\"").append(ModelFileNumber(static_cast<double>(i) / 2)).append("\"");
  }
  // Exactly sized, so that a read past the end is caught by the sanitizers.
  const auto bytes = std::make_unique<char[]>(text.size());
  std::copy(text.begin(), text.end(), bytes.get());
  ItemReader plain({bytes.get(), text.size()}), numbers({bytes.get(), text.size()});
  std::vector<std::string_view> items;
  std::array<double, kWidth> values{};
  while (plain.NextLine(items)) {
    const auto line = numbers.NextNumbers(1, values);
    ASSERT_TRUE(line);
    ASSERT_EQ(numbers.LineNumber(), plain.LineNumber());
    ASSERT_EQ(line->items, items.size());
    if (items.size() != kWidth) {
      continue;
    }
    size_t i = 1;
    for (; i < kWidth; ++i) {
      const auto expected = Expected(std::string(items[i]));
      if (!expected) {
        break;
      }
      EXPECT_EQ(std::bit_cast<uint64_t>(values[i]), std::bit_cast<uint64_t>(*expected)) << items[i];
    }
    EXPECT_EQ(line->refused, i < kWidth ? std::optional<size_t>(i) : std::nullopt);
    EXPECT_EQ(line->refused_text, i < kWidth ? items[i] : std::string_view());
  }
  EXPECT_FALSE(numbers.NextNumbers(1, values));
  EXPECT_EQ(numbers.LineNumber(), 3001);
}

}  // namespace
}  // namespace tavrine

// Line and item splitting, and the strict number reading of file items.
#include "files/item_reader.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace tavrine {

bool ItemReader::AtLineEnd() const {
  return pos_ >= bytes_.size() || bytes_[pos_] == '\r' || bytes_[pos_] == '\n';
}

bool ItemReader::ReadQuoted(std::vector<std::string_view>& items) {
  const size_t start = ++pos_;
  while (pos_ < bytes_.size() && bytes_[pos_] != '"' && bytes_[pos_] != '\r' &&
         bytes_[pos_] != '\n') {
    ++pos_;
  }
  if (pos_ >= bytes_.size() || bytes_[pos_] != '"') {
    error_ = "引用符で始まる項目が行末までに閉じていません";
    return false;
  }
  items.push_back(bytes_.substr(start, pos_ - start));
  ++pos_;
  while (pos_ < bytes_.size() && bytes_[pos_] == ' ') {
    ++pos_;
  }
  if (!AtLineEnd() && bytes_[pos_] != ',') {
    error_ = "引用符で閉じた項目の後に余分な文字があります";
    return false;
  }
  return true;
}

bool ItemReader::NextLine(std::vector<std::string_view>& items) {
  items.clear();
  if (error_ || AtEnd()) {
    return false;
  }
  ++line_;
  for (;;) {
    size_t probe = pos_;
    while (probe < bytes_.size() && bytes_[probe] == ' ') {
      ++probe;
    }
    if (probe < bytes_.size() && bytes_[probe] == '"') {
      pos_ = probe;
      if (!ReadQuoted(items)) {
        return false;
      }
    } else {
      const size_t start = pos_;
      while (!AtLineEnd() && bytes_[pos_] != ',') {
        ++pos_;
      }
      items.push_back(bytes_.substr(start, pos_ - start));
    }
    if (AtLineEnd()) {
      break;
    }
    ++pos_;  // the comma
  }
  if (pos_ < bytes_.size() && bytes_[pos_] == '\r') {
    ++pos_;
  }
  if (pos_ < bytes_.size() && bytes_[pos_] == '\n') {
    ++pos_;
  }
  return true;
}

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

size_t SkipDigits(std::string_view s, size_t i) {
  while (i < s.size() && IsDigit(s[i])) {
    ++i;
  }
  return i;
}

// The end of the number's text from `i`, or npos when it is not one.
size_t NumberEnd(std::string_view s, size_t i) {
  const size_t int_end = SkipDigits(s, i);
  size_t end = int_end;
  bool digits = int_end > i;
  if (end < s.size() && s[end] == '.') {
    const size_t frac_end = SkipDigits(s, end + 1);
    digits = digits || frac_end > end + 1;
    end = frac_end;
  }
  if (!digits) {
    return std::string_view::npos;
  }
  if (end < s.size() && (s[end] == 'E' || s[end] == 'e')) {
    size_t j = end + 1;
    if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
      ++j;
    }
    const size_t exp_end = SkipDigits(s, j);
    if (exp_end == j) {
      return std::string_view::npos;
    }
    end = exp_end;
  }
  return end;
}

// The largest double written with 15 significant digits, as the writer writes it.
constexpr long double kLargestWritten = 1.79769313486232e308L;
static_assert(std::numeric_limits<long double>::max_exponent10 > 308);

// A magnitude outside the doubles: underflow keeps strtod's subnormal or zero, the largest
// double as written reads as the largest double, and anything larger is no number of a file.
std::optional<double> OutOfRange(std::string_view digits) {
  const std::string text(digits);
  const long double wide = std::strtold(text.c_str(), nullptr);
  if (wide > kLargestWritten) {
    return std::nullopt;
  }
  if (wide > static_cast<long double>(std::numeric_limits<double>::max())) {
    return std::numeric_limits<double>::max();
  }
  return std::strtod(text.c_str(), nullptr);
}

}  // namespace

bool IsNumberShaped(std::string_view item) {
  size_t i = item.find_first_not_of(" \t");
  if (i == std::string_view::npos) {
    return false;
  }
  if (item[i] == '+' || item[i] == '-') {
    ++i;
  }
  const size_t end = NumberEnd(item, i);
  return end != std::string_view::npos &&
         item.find_first_not_of(" \t", end) == std::string_view::npos;
}

std::optional<double> ParseNumberItem(std::string_view item) {
  size_t i = 0;
  while (i < item.size() && (item[i] == ' ' || item[i] == '\t')) {
    ++i;
  }
  bool negative = false;
  if (i < item.size() && (item[i] == '+' || item[i] == '-')) {
    negative = item[i] == '-';
    ++i;
  }
  const size_t end = NumberEnd(item, i);
  if (end == std::string_view::npos) {
    return std::nullopt;
  }
  for (size_t j = end; j < item.size(); ++j) {
    if (item[j] != ' ' && item[j] != '\t') {
      return std::nullopt;
    }
  }
  double value = 0;
  const auto result = std::from_chars(item.data() + i, item.data() + end, value);
  if (result.ec == std::errc::result_out_of_range) {
    const auto beyond = OutOfRange(item.substr(i, end - i));
    if (!beyond) {
      return std::nullopt;
    }
    value = *beyond;
  } else if (result.ec != std::errc() || result.ptr != item.data() + end) {
    return std::nullopt;
  }
  return negative ? -value : value;
}

}  // namespace tavrine

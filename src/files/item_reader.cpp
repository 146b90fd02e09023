// Line and item splitting, and the strict number reading of file items.
#include "files/item_reader.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace tavrine {

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

// A magnitude outside the doubles (from_chars gave up): one that rounds to zero is zero, the
// largest double as written reads as the largest double, and anything larger is no number of a
// file. from_chars, not strtod: a comma locale must not cut the text at its point.
std::optional<double> OutOfRange(std::string_view digits) {
  long double wide = 0;
  if (std::from_chars(digits.data(), digits.data() + digits.size(), wide).ec != std::errc{}) {
    // Past even the long doubles: only a negative exponent makes it small.
    const size_t e = digits.find_first_of("eE");
    const bool tiny = e != std::string_view::npos && e + 1 < digits.size() && digits[e + 1] == '-';
    return tiny ? std::optional<double>(0.0) : std::nullopt;
  }
  if (wide > kLargestWritten) {
    return std::nullopt;
  }
  if (wide > static_cast<long double>(std::numeric_limits<double>::max())) {
    return std::numeric_limits<double>::max();
  }
  return static_cast<double>(wide);
}

// Powers of ten that are exact doubles.
constexpr std::array<double, 23> kExactTens = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                               1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                               1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Words of text are read and written with the first character in the lowest byte.
static_assert(std::endian::native == std::endian::little);

__extension__ typedef unsigned __int128 Bytes16;

constexpr uint64_t kEveryByte = 0x0101010101010101;

// The position of the first byte equal to `c` in a little-endian word, 8 when there is none.
// A borrow only starts at a matching byte, so the lowest mark is exact.
int FirstByte(uint64_t word, char c) {
  const uint64_t x = word ^ (kEveryByte * static_cast<unsigned char>(c));
  return std::countr_zero((x - kEveryByte) & ~x & (kEveryByte * 0x80)) / 8;
}

// The value of eight digit values, one a byte, the first the most significant: pairs, fours
// and the whole combined, one multiply each.
uint64_t EightDigits(uint64_t word) {
  constexpr uint64_t kMask = 0x000000FF000000FF;
  word = word * 10 + (word >> 8);
  return ((word & kMask) * (100 + (1000000ULL << 32)) +
          ((word >> 16) & kMask) * (1 + (10000ULL << 32))) >>
         32;
}

// Digits from `p` appended to `mantissa`; their count. Past 19 digits the mantissa wraps and
// the caller gives up.
int AppendDigits(const char*& p, const char* end, uint64_t& mantissa) {
  const char* const start = p;
  for (; p != end && IsDigit(*p); ++p) {
    mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
  }
  return static_cast<int>(p - start);
}

const char* SkipZeros(const char* p, const char* end) {
  while (p != end && *p == '0') {
    ++p;
  }
  return p;
}

// An exponent's digits, saturated well beyond any double's range.
int ExponentDigits(const char*& p, const char* end) {
  int exponent = 0;
  for (; p != end && IsDigit(*p); ++p) {
    exponent = std::min(exponent * 10 + (*p - '0'), 100000);
  }
  return exponent;
}

// The value of mantissa × 10^exponent when one correctly rounded operation gives it: both
// factors are exact doubles, so the product or quotient is the nearest double, as from_chars'.
std::optional<double> ExactValue(uint64_t mantissa, int exponent) {
  if (mantissa == 0) {
    return 0.0;
  }
  if (mantissa > (uint64_t{1} << 53) || exponent < -22 || exponent > 22) {
    return std::nullopt;
  }
  const double m = static_cast<double>(mantissa);
  return exponent < 0 ? m / kExactTens[-exponent] : m * kExactTens[exponent];
}

// Masks of the bytes before each position of a 16-byte text, and of all 16.
constexpr std::array<Bytes16, 17> BytesBefore() {
  std::array<Bytes16, 17> masks{};
  for (int i = 0; i <= 16; ++i) {
    masks[static_cast<size_t>(i)] = i == 16 ? ~Bytes16{0} : (Bytes16{1} << (8 * i)) - 1;
  }
  return masks;
}
constexpr std::array<Bytes16, 17> kBytesBefore = BytesBefore();

// Whether every byte of the word is below 10. A carry between bytes only starts at a byte of
// 0x8A or more, which is caught by its own high bit.
bool AllBelowTen(uint64_t word) {
  return (((word + kEveryByte * 0x76) | word) & (kEveryByte * 0x80)) == 0;
}

// The number item [p, last) in the form this program writes most numbers: " " or "-", then at
// most 16 characters of digits and one point. Read as one 16-byte word without a branch per
// character, so `p` must have 16 bytes after it before `bytes_end`. False for any other text,
// which is left to the general reading.
bool ReadPlainNumber(const char* p, const char* last, const char* bytes_end, double& value) {
  if (p == last) {
    return false;
  }
  const bool negative = *p == '-';
  p += negative || *p == ' ';
  const auto length = static_cast<int>(last - p);
  if (length == 0 || length > 16 || bytes_end - p < 16) {
    return false;
  }
  Bytes16 text = 0;
  std::memcpy(&text, p, sizeof text);
  const int low_point = FirstByte(static_cast<uint64_t>(text), '.');
  const int point =
      low_point < 8 ? low_point : 8 + FirstByte(static_cast<uint64_t>(text >> 64), '.');
  const bool has_point = point < length;
  const int count = length - static_cast<int>(has_point);
  if (count == 0) {
    return false;
  }
  // The point taken out and the bytes after it moved down; then the digits' values moved up
  // so that zeros lead and the bytes past the item drop out.
  const Bytes16 before = kBytesBefore[static_cast<size_t>(has_point ? point : 16)];
  text = (text & before) | ((text >> 8) & ~before);
  text = (text - Bytes16{kEveryByte * '0'} * ((Bytes16{1} << 64) + 1)) << (8 * (16 - count));
  // The first eight bytes hold the leading digits.
  const auto leading = static_cast<uint64_t>(text), trailing = static_cast<uint64_t>(text >> 64);
  if (!AllBelowTen(leading) || !AllBelowTen(trailing)) {
    return false;
  }
  const uint64_t mantissa = EightDigits(leading) * 100000000 + EightDigits(trailing);
  if (mantissa > (uint64_t{1} << 53)) {
    return false;
  }
  // Both exact, so the quotient is the nearest double, as from_chars gives.
  const int fraction = has_point ? length - point - 1 : 0;
  const double magnitude =
      static_cast<double>(mantissa) / kExactTens[static_cast<size_t>(fraction)];
  value = std::bit_cast<double>(std::bit_cast<uint64_t>(magnitude) | uint64_t{negative} << 63);
  return true;
}

// Reads a number item's text from `p` as ParseNumberItem does, when its value comes out of
// one exact operation (every number this program writes but the very large and very small);
// returns the position after the blanks that follow it, or nullptr.
const char* ReadQuickNumber(const char* p, const char* end, double& value) {
  while (p != end && (*p == ' ' || *p == '\t')) {
    ++p;
  }
  const bool negative = p != end && *p == '-';
  p += p != end && (*p == '+' || *p == '-');
  uint64_t mantissa = 0;
  const char* const int_start = p;
  p = SkipZeros(p, end);
  int significant = AppendDigits(p, end, mantissa);
  bool digits = p != int_start;
  int exponent = 0;
  if (p != end && *p == '.') {
    const char* const frac_start = ++p;
    if (significant == 0) {
      p = SkipZeros(p, end);
    }
    significant += AppendDigits(p, end, mantissa);
    digits = digits || p != frac_start;
    exponent = -static_cast<int>(p - frac_start);
  }
  if (!digits || significant > 19) {
    return nullptr;
  }
  if (p != end && (*p == 'E' || *p == 'e')) {
    ++p;
    const bool negative_exponent = p != end && *p == '-';
    p += p != end && (*p == '+' || *p == '-');
    const char* const exp_start = p;
    const int e = ExponentDigits(p, end);
    if (p == exp_start) {
      return nullptr;
    }
    exponent += negative_exponent ? -e : e;
  }
  const auto magnitude = ExactValue(mantissa, exponent);
  if (!magnitude) {
    return nullptr;
  }
  while (p != end && (*p == ' ' || *p == '\t')) {
    ++p;
  }
  value = negative ? -*magnitude : *magnitude;
  return p;
}

// The quotes of the bytes from a position on, as bits of 64-byte blocks: the next one is a
// bit operation away.
class QuoteBits {
 public:
  QuoteBits(std::string_view bytes, size_t from) : bytes_(bytes), base_(from) { Load(); }

  // The position of the next quote, or npos past the last.
  size_t Next() {
    while (bits_ == 0) {
      if (bytes_.size() - base_ <= 64) {
        return std::string_view::npos;
      }
      base_ += 64;
      Load();
    }
    const size_t at = base_ + static_cast<size_t>(std::countr_zero(bits_));
    bits_ &= bits_ - 1;
    return at;
  }

 private:
  void Load() {
    const char* const block = bytes_.data() + base_;
    const size_t size = std::min<size_t>(64, bytes_.size() - base_);
#if defined(__SSE2__)
    if (size == 64) {
      bits_ = 0;
      const __m128i quote = _mm_set1_epi8('"');
      for (int i = 0; i < 4; ++i) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * i));
        const auto found = static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, quote)));
        bits_ |= uint64_t{found} << (16 * i);
      }
      return;
    }
#endif
    bits_ = 0;
    for (size_t i = 0; i < size; ++i) {
      bits_ |= uint64_t{block[i] == '"'} << i;
    }
  }

  std::string_view bytes_;
  size_t base_;
  uint64_t bits_ = 0;
};

bool HasLineEnd(std::string_view item) {
  return std::any_of(item.begin(), item.end(), [](char c) { return c == '\r' || c == '\n'; });
}

// A quoted number item that ends at its closing quote; `bytes_end` ends the whole text.
bool ReadItemNumber(std::string_view item, const char* bytes_end, double& value) {
  const char* const last = item.data() + item.size();
  return ReadPlainNumber(item.data(), last, bytes_end, value) ||
         ReadQuickNumber(item.data(), bytes_end, value) == last;
}

}  // namespace

bool ItemReader::AtLineEnd() const {
  return pos_ >= bytes_.size() || bytes_[pos_] == '\r' || bytes_[pos_] == '\n';
}

// A quoted item from just after its opening quote, handed to `take`.
template <class Take>
bool ItemReader::QuotedItem(size_t index, Take& take) {
  const size_t start = pos_;
  while (pos_ < bytes_.size() && bytes_[pos_] != '"' && bytes_[pos_] != '\r' &&
         bytes_[pos_] != '\n') {
    ++pos_;
  }
  if (pos_ >= bytes_.size() || bytes_[pos_] != '"') {
    error_ = "引用符で始まる項目が行末までに閉じていません";
    return false;
  }
  take(index, bytes_.substr(start, pos_ - start));
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

// The next line, item by item through `take(index, item)`; the number of items, or 0 at the
// end of the bytes or on a malformed line.
template <class Take>
size_t ItemReader::SplitLine(Take&& take) {
  if (error_ || AtEnd()) {
    return 0;
  }
  ++line_;
  size_t index = 0;
  for (;; ++index) {
    size_t probe = pos_;
    while (probe < bytes_.size() && bytes_[probe] == ' ') {
      ++probe;
    }
    if (probe < bytes_.size() && bytes_[probe] == '"') {
      pos_ = probe + 1;
      if (!QuotedItem(index, take)) {
        return 0;
      }
    } else {
      const size_t start = pos_;
      while (!AtLineEnd() && bytes_[pos_] != ',') {
        ++pos_;
      }
      take(index, bytes_.substr(start, pos_ - start));
    }
    if (AtLineEnd()) {
      break;
    }
    ++pos_;  // the comma
  }
  SkipLineEnd();
  return index + 1;
}

void ItemReader::SkipLineEnd() {
  if (pos_ < bytes_.size() && bytes_[pos_] == '\r') {
    ++pos_;
  }
  if (pos_ < bytes_.size() && bytes_[pos_] == '\n') {
    ++pos_;
  }
}

bool ItemReader::NextLine(std::vector<std::string_view>& items) {
  items.clear();
  return SplitLine([&items](size_t, std::string_view item) { items.push_back(item); }) > 0;
}

// A row as this program writes it: every item quoted, commas between, nothing else; items
// before `first` free of line ends, the others numbers that end at their closing quote. The
// quotes are found from a bit mask, so no item waits for the one before it to be read. False,
// with nothing consumed, for any other line.
bool ItemReader::QuickRow(size_t first, std::span<double> values) {
  const char* const data = bytes_.data();
  QuoteBits quotes(bytes_, pos_);
  size_t at = pos_;
  for (size_t index = 0; index < values.size(); ++index) {
    const size_t open = quotes.Next();
    const size_t close = quotes.Next();
    if (open != at || close == std::string_view::npos) {
      return false;
    }
    const std::string_view item = bytes_.substr(open + 1, close - open - 1);
    const bool read = index >= first ? ReadItemNumber(item, data + bytes_.size(), values[index])
                                     : !HasLineEnd(item);
    at = close + 1;
    const bool more = index + 1 < values.size();
    if (!read || (more && (at >= bytes_.size() || data[at++] != ','))) {
      return false;
    }
  }
  if (at < bytes_.size() && data[at] != '\r' && data[at] != '\n') {
    return false;
  }
  ++line_;
  pos_ = at;
  SkipLineEnd();
  return true;
}

std::optional<ItemReader::NumberLine> ItemReader::NextNumbers(size_t first,
                                                              std::span<double> values) {
  NumberLine line;
  if (!error_ && !AtEnd() && QuickRow(first, values)) {
    line.items = values.size();
    return line;
  }
  line.items = SplitLine([&](size_t index, std::string_view item) {
    if (index < first || index >= values.size() || line.refused) {
      return;
    }
    if (const auto value = ParseNumberItem(item)) {
      values[index] = *value;
    } else {
      line.refused = index;
      line.refused_text = item;
    }
  });
  if (line.items == 0) {
    return std::nullopt;
  }
  return line;
}

bool ItemReader::NextWrittenRow(size_t first, std::span<double> values) {
  return !error_ && !AtEnd() && QuickRow(first, values);
}

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
  double quick = 0;
  const char* const item_end = item.data() + item.size();
  if (const char* read = ReadQuickNumber(item.data(), item_end, quick);
      read != nullptr && read == item_end) {
    return quick;
  }
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

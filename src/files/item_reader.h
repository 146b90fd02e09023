// Splits the raw bytes of a comma-separated file into lines of items without decoding them:
// ",", '"', CR and LF are below 0x40 and so never the trail byte of a code page 932 character.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tavrine {

class ItemReader {
 public:
  explicit ItemReader(std::string_view bytes) : bytes_(bytes) {}

  // Reads the next line (ended by CR LF, LF, CR or the end of the bytes) into `items`: a quoted
  // item is the text between its quotes, spaces kept; an unquoted item is taken as written.
  // False at the end of the bytes or on a malformed line (see Error()).
  bool NextLine(std::vector<std::string_view>& items);

  // A line read for its numbers: how many items it holds, and the first item within reach that
  // is not a number, with its text.
  struct NumberLine {
    size_t items = 0;
    std::optional<size_t> refused;
    std::string_view refused_text;
  };
  // Reads the next line as NextLine does, and reads items [first, values.size()) into `values`
  // as ParseNumberItem would, in the same pass; items past `values` are only counted.
  std::optional<NumberLine> NextNumbers(size_t first, std::span<double> values);
  // Reads the next line into `values` only if it is a row as this program writes it (every item
  // quoted, exactly values.size() of them, items from `first` on plain numbers); otherwise
  // false with nothing consumed, leaving the line to NextNumbers.
  bool NextWrittenRow(size_t first, std::span<double> values);
  // Where the next line starts, and a move to a line start found by other means (a reader
  // of part of the bytes on another thread), with the number of the line before it.
  size_t Position() const { return pos_; }
  void MoveTo(size_t pos, int line_before) { pos_ = pos, line_ = line_before; }
  bool AtEnd() const { return pos_ >= bytes_.size(); }
  // Number of the line last read, from 1.
  int LineNumber() const { return line_; }
  const std::optional<std::string>& Error() const { return error_; }

 private:
  template <class Take>
  size_t SplitLine(Take&& take);
  template <class Take>
  bool QuotedItem(size_t index, Take& take);
  bool QuickRow(size_t first, std::span<double> values);
  void SkipLineEnd();
  bool AtLineEnd() const;

  std::string_view bytes_;
  size_t pos_ = 0;
  int line_ = 0;
  std::optional<std::string> error_;
};

// A number item: optional blanks, an optional sign, digits with an optional "." (or "." and
// digits), an optional exponent, optional blanks. 1.79769313486232E+308, the largest double
// written with 15 digits, reads as the largest double; larger magnitudes are refused.
std::optional<double> ParseNumberItem(std::string_view item);
// Whether the item has the form of a number, so that a refusal means it is out of range.
bool IsNumberShaped(std::string_view item);

}  // namespace tavrine

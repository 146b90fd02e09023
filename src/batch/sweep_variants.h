// The variants of a sweep: value ranges and their product, or one row per variant from a table,
// and the comma-separated files a sweep folder holds (code page 932, CR LF).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tavrine::sweep {

inline constexpr size_t kMaxVariants = 100000;

struct VaryRange {
  std::string key;
  std::vector<double> values;
};

// "KEY=FROM:TO:STEP" (FROM, FROM+STEP, … up to TO, each rounded to 15 significant digits so
// that 0.1 steps land on the decimal values) or "KEY=VALUE"; or why the text is not one.
std::variant<VaryRange, std::string> ParseVary(std::string_view text);

struct VariantTable {
  std::vector<std::string> keys;
  std::vector<std::vector<double>> rows;  // one value per key
};

// Every combination, the first range varying slowest.
std::variant<VariantTable, std::string> ProductOf(const std::vector<VaryRange>& ranges);

// A table file: a heading line of keys, then one row of numbers per variant. Code page 932 or
// UTF-8 text; an optional first column headed `kVariantHeading` names the variants.
std::variant<VariantTable, std::string> ParseVariantTable(std::string_view bytes);

inline constexpr std::string_view kVariantHeading = "変形";

// "v001" …: the variant's file stem, zero-padded to the width of the count.
std::string VariantName(size_t index, size_t count);

// One line of comma-separated cells with CR LF; cells holding ",", '"' or a line end quoted.
std::string CsvLine(const std::vector<std::string>& cells);
// UTF-8 lines to code page 932; nothing when a character has no code page 932 form.
std::optional<std::string> ToFileText(const std::string& utf8);

// The rows of a comma-separated file as UTF-8 cells, or why it cannot be read.
std::variant<std::vector<std::vector<std::string>>, std::string> ReadCsvRows(
    std::string_view bytes);

}  // namespace tavrine::sweep

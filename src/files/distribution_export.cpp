// Four blocks (Hx, Hy, Hz, |H|), each with the first grid row's coordinates above the values
// and each grid row's first point beside them; one line holding a space between blocks.
#include "files/distribution_export.h"

#include <array>
#include <cmath>
#include <functional>

#include "files/cp932.h"
#include "files/safe_write.h"
#include "model/capacity.h"
#include "model/number_formats.h"

namespace tavrine {

namespace {

std::string Format(double value) {
  return ExponentForm(value, 3);
}

using Quantity = double (*)(const RectCalPoint&);

struct Block {
  std::string_view heading;
  Quantity value;
};

const std::array<Block, 4>& Blocks() {
  static const std::array<Block, 4> kBlocks{{
      {"Hxの分布 Unit[Gauss]", [](const RectCalPoint& p) { return p.Hx; }},
      {"Hyの分布 Unit[Gauss]", [](const RectCalPoint& p) { return p.Hy; }},
      {"Hzの分布 Unit[Gauss]", [](const RectCalPoint& p) { return p.Hz; }},
      {"Hの大きさ分布 Unit[Gauss]",
       [](const RectCalPoint& p) { return std::sqrt(p.Hx * p.Hx + p.Hy * p.Hy + p.Hz * p.Hz); }},
  }};
  return kBlocks;
}

// Lines 2 to 5 of a block: the first grid row's coordinates, then the three column labels.
void CoordinateLines(std::string& out, const RectPointSet& set, int columns) {
  const std::array<std::string_view, 3> labels = {"X座標値(mm)", "Y座標値(mm)", "Z座標値(mm)"};
  for (int axis = 0; axis < 3; ++axis) {
    out += ",,,";
    out += labels[axis];
    for (int j = 0; j < columns; ++j) {
      const RectCalPoint& p = set.Points[static_cast<size_t>(j)];
      out += ',';
      out += Format(axis == 0 ? p.PGroX : axis == 1 ? p.PGroY : p.PGroZ);
    }
    out += "\r\n";
  }
  out += "X座標値(mm),Y座標値(mm),Z座標値(mm)\r\n";
}

void DataLines(std::string& out, const RectPointSet& set, int columns, int rows, Quantity value) {
  for (int i = 0; i < rows; ++i) {
    const size_t k0 = static_cast<size_t>(columns) * static_cast<size_t>(i);
    const RectCalPoint& first = set.Points[k0];
    out += Format(first.PGroX) + ',' + Format(first.PGroY) + ',' + Format(first.PGroZ) + ',';
    for (int j = 0; j < columns; ++j) {
      out += ',';
      out += Format(value(set.Points[k0 + static_cast<size_t>(j)]));
    }
    out += "\r\n";
  }
}

}  // namespace

ExportBytes FormatDistributionExport(const ElementModel& model) {
  ExportBytes result;
  const RectPointSet& set = model.RectCalPointSet;
  const int64_t columns = int64_t{set.DivX} + 1, rows = int64_t{set.DivY} + 1;
  if (set.DivX < 0 || set.DivY < 0) {
    result.error = FileError{0, "分割数 " + std::to_string(set.DivX) + " × " +
                                    std::to_string(set.DivY) + " の格子は分割数が負です"};
    return result;
  }
  // Every point k = columns × i + j must lie in the set.
  if (!FitsPointCount(columns * rows)) {
    result.error = FileError{0, "分割数 " + std::to_string(set.DivX) + " × " +
                                    std::to_string(set.DivY) + " の格子は計算点の上限を超えます"};
    return result;
  }
  std::string text;
  text.reserve(static_cast<size_t>(columns * rows) * 4 * 11 + 4096);
  for (size_t b = 0; b < Blocks().size(); ++b) {
    if (b > 0) {
      text += " \r\n";
    }
    text += Blocks()[b].heading;
    text += "\r\n";
    CoordinateLines(text, set, static_cast<int>(columns));
    DataLines(text, set, static_cast<int>(columns), static_cast<int>(rows), Blocks()[b].value);
  }
  auto bytes = Utf8ToCp932(text);
  if (!bytes) {
    result.error = FileError{0, "文字コードの変換に失敗しました"};
    return result;
  }
  result.bytes = std::move(*bytes);
  return result;
}

std::optional<FileError> WriteDistributionExport(const ElementModel& model,
                                                 const std::string& path) {
  ExportBytes file = FormatDistributionExport(model);
  if (file.error) {
    return file.error;
  }
  if (auto failure = ReplaceFileContents(path, file.bytes)) {
    return FileError{0, *failure};
  }
  return std::nullopt;
}

std::optional<FileError> DistributionExportCommand(ElementModel& model,
                                                   const std::string& path,
                                                   Notices& notices) {
  model.ModelFilePath = path;
  auto error = WriteDistributionExport(model, path);
  if (error) {
    RaiseFileError(notices, path, *error);
  }
  return error;
}

}  // namespace tavrine

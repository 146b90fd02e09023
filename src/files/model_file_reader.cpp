// Reading the model file into a fresh model. Every line must hold exactly the layout's number
// of items; each failure names its line.
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>
#include <new>
#include <span>
#include <vector>

#include "files/cp932.h"
#include "files/item_reader.h"
#include "files/model_file.h"
#include "files/model_file_layout.h"
#include "files/row_chunks.h"
#include "files/safe_write.h"
#include "geometry/transforms.h"
#include "model/capacity.h"
#include "model/resets.h"
#include "model/text_rules.h"

namespace tavrine {

namespace {

using model_file::Sections;

constexpr size_t kMaxRowItems = 13;
using Row = std::array<double, kMaxRowItems>;

class ModelFileParser {
 public:
  ModelFileParser(std::string_view bytes, ElementModel& model)
      : bytes_(bytes), reader_(bytes), m_(model) {}

  std::optional<FileError> Parse();

 private:
  bool Line(size_t expected, std::string_view what);
  bool Missing(std::string_view what);
  bool Count(size_t expected, size_t items, std::string_view what);
  bool Fail(std::string message, int line = -1);
  bool Integer(size_t item, int64_t min, int64_t max, std::string_view what, int64_t& out);
  bool Head(int section);
  bool ElementCount(int section, int64_t& count);
  bool Columns(int section);
  bool DataRow(size_t items, Row& row);
  bool CrossSection(double area, double current, double& density);
  bool Magnets();
  bool Coils();
  bool ArcCoils();
  bool RectPoints();
  bool SectPoints();
  bool PointCount(int32_t& last_index);
  template <class Store>
  bool PointRows(int32_t last_index, const Store& store);
  template <class Store>
  bool RowsInChunks(int64_t count, const Store& store);
  bool GridMagnets();
  bool Rest();

  std::string_view bytes_;
  ItemReader reader_;
  ElementModel& m_;
  std::vector<std::string_view> items_;
  std::optional<FileError> error_;
};

// Why an item is not read as a number, after the name of the item.
std::string NotANumber(std::string_view item) {
  std::string text = IsNumberShaped(item) ? "の数値が大きすぎます: \"" : "が数値ではありません: \"";
  text.append(item);
  text.push_back('"');
  return text;
}

bool ModelFileParser::Fail(std::string message, int line) {
  if (!error_) {
    error_ = FileError{line < 0 ? reader_.LineNumber() : line, std::move(message)};
  }
  return false;
}

// The next line, which must hold `expected` items.
bool ModelFileParser::Line(size_t expected, std::string_view what) {
  if (!reader_.NextLine(items_)) {
    return Missing(what);
  }
  return Count(expected, items_.size(), what);
}

// Why no line was read: a malformed one, or the end of the file.
bool ModelFileParser::Missing(std::string_view what) {
  if (reader_.Error()) {
    return Fail(*reader_.Error());
  }
  return Fail("ファイルが途中で終わっています（" + std::string(what) + "がありません）",
              reader_.LineNumber() + 1);
}

bool ModelFileParser::Count(size_t expected, size_t items, std::string_view what) {
  if (items != expected) {
    return Fail(std::string(what) + "の項目数が違います（" + std::to_string(expected) +
                " 個のはずが " + std::to_string(items) + " 個）");
  }
  return true;
}

bool ModelFileParser::Integer(
    size_t item, int64_t min, int64_t max, std::string_view what, int64_t& out) {
  const auto value = ParseNumberItem(items_[item]);
  if (!value) {
    return Fail(std::string(what) + NotANumber(items_[item]));
  }
  if (*value != std::floor(*value) || *value < double(min) || *value > double(max)) {
    return Fail(std::string(what) + "が範囲外です（" + std::to_string(min) + "〜" +
                std::to_string(max) + " の整数）: " + std::string(items_[item]));
  }
  out = static_cast<int64_t>(*value);
  return true;
}

// Two empty lines before every section but the first, then the heading.
bool ModelFileParser::Head(int section) {
  if (section > 0 && !(Line(1, "区切りの空行") && Line(1, "区切りの空行"))) {
    return false;
  }
  return Line(1, "見出し「" + std::string(Sections()[section].heading) + "」");
}

bool ModelFileParser::ElementCount(int section, int64_t& count) {
  const std::string label(model_file::CountLabels()[section]);
  return Head(section) && Line(2, "「" + label + "」の行") &&
         Integer(1, 0, kElementCapacity, label, count) && Columns(section);
}

bool ModelFileParser::Columns(int section) {
  return Line(Sections()[section].columns1.size(), "列見出し") &&
         Line(Sections()[section].columns2.size(), "列見出し");
}

// A data row's values, read as the line is split; the first item, the row's number, is not used.
bool ModelFileParser::DataRow(size_t items, Row& row) {
  constexpr std::string_view kWhat = "データ行";
  const auto line = reader_.NextNumbers(1, std::span<double>(row.data(), items));
  if (!line) {
    return Missing(kWhat);
  }
  if (!Count(items, line->items, kWhat)) {
    return false;
  }
  if (line->refused) {
    return Fail(std::to_string(*line->refused + 1) + " 番目の項目" +
                NotANumber(line->refused_text));
  }
  return true;
}

bool ModelFileParser::CrossSection(double area, double current, double& density) {
  // A wire entered without a cross-section (the dialog warned, then kept the current as its
  // density) is written with the current 0 A: read back as the current-free wire it is, so that
  // the program's own file stays readable. A current through nothing is still an error.
  if (area == 0.0 && current == 0.0) {
    density = 0;
    return true;
  }
  if (area == 0.0) {
    return Fail("電流要素の断面積がゼロです");
  }
  density = current / area;
  if (!std::isfinite(density)) {
    return Fail("電流密度が数値の範囲を超えます");
  }
  return true;
}

bool ModelFileParser::Magnets() {
  Row v{};
  int64_t count = 0;
  if (!ElementCount(model_file::kRecMag, count)) {
    return false;
  }
  m_.RecMagCount = static_cast<int32_t>(count);
  for (int64_t i = 1; i <= count; ++i) {
    if (!DataRow(13, v)) {
      return false;
    }
    RecMag& r = m_.RecMagTable[static_cast<size_t>(i)];
    r.Br = v[1], r.Hcj = v[2], r.a = v[3], r.b = v[4], r.l = v[5];
    r.Ox = v[6], r.Oy = v[7], r.Oz = v[8];
    r.AngX = DegToRad(v[9]), r.AngY = DegToRad(v[10]), r.AngZ = DegToRad(v[11]);
    r.BrAngle = DegToRad(v[12]);
  }
  if (!ElementCount(model_file::kSecMag, count)) {
    return false;
  }
  m_.SecMagCount = static_cast<double>(count);
  for (int64_t i = 1; i <= count; ++i) {
    if (!DataRow(13, v)) {
      return false;
    }
    SecMag& r = m_.SecMagTable[static_cast<size_t>(i)];
    r.Br = v[1], r.Hcj = v[2], r.Ri = v[3], r.Ro = v[4], r.T = v[5];
    r.OpenAngle = DegToRad(v[6]);
    r.Ox = v[7], r.Oy = v[8], r.Oz = v[9];
    r.AngX = DegToRad(v[10]), r.AngY = DegToRad(v[11]), r.AngZ = DegToRad(v[12]);
  }
  if (!ElementCount(model_file::kRhMag, count)) {
    return false;
  }
  m_.RhMagCount = static_cast<int32_t>(count);
  for (int64_t i = 1; i <= count; ++i) {
    if (!DataRow(11, v)) {
      return false;
    }
    RhMag& r = m_.RhMagTable[static_cast<size_t>(i)];
    r.Br = v[1], r.Hcj = v[2], r.R = v[3], r.HT = v[4];
    r.Ox = v[5], r.Oy = v[6], r.Oz = v[7];
    r.AngX = DegToRad(v[8]), r.AngY = DegToRad(v[9]), r.AngZ = DegToRad(v[10]);
  }
  return true;
}

bool ModelFileParser::Coils() {
  Row v{};
  int64_t count = 0;
  if (!ElementCount(model_file::kStrRec, count)) {
    return false;
  }
  m_.StrRecCoilCount = static_cast<int32_t>(count);
  for (int64_t i = 1; i <= count; ++i) {
    StrRecCoil& c = m_.StrRecCoilTable[static_cast<size_t>(i)];
    if (!DataRow(11, v) || !CrossSection(v[3] * v[4], v[1], c.CurrentDensity)) {
      return false;
    }
    c.Lx = v[2], c.W = v[3], c.T = v[4];
    c.Ox = v[5], c.Oy = v[6], c.Oz = v[7];
    c.AngX = DegToRad(v[8]), c.AngY = DegToRad(v[9]), c.AngZ = DegToRad(v[10]);
  }
  if (!ElementCount(model_file::kStrCyl, count)) {
    return false;
  }
  m_.StrCylCoilCount = static_cast<int32_t>(count);
  for (int64_t i = 1; i <= count; ++i) {
    if (!DataRow(10, v)) {
      return false;
    }
    StrCylCoil& c = m_.StrCylCoilTable[static_cast<size_t>(i)];
    c.CurrentDensity = v[1], c.Lx = v[2], c.R = v[3];
    c.Ox = v[4], c.Oy = v[5], c.Oz = v[6];
    c.AngX = DegToRad(v[7]), c.AngY = DegToRad(v[8]), c.AngZ = DegToRad(v[9]);
  }
  return ArcCoils();
}

bool ModelFileParser::ArcCoils() {
  Row v{};
  int64_t count = 0;
  if (!ElementCount(model_file::kSecRec, count)) {
    return false;
  }
  m_.SecRecCoilCount = static_cast<int32_t>(count);
  for (int64_t i = 1; i <= count; ++i) {
    SecRecCoil& c = m_.SecRecCoilTable[static_cast<size_t>(i)];
    if (!DataRow(12, v) || !CrossSection((v[3] - v[2]) * v[4], v[1], c.CurrentDensity)) {
      return false;
    }
    c.Ri = v[2], c.Ro = v[3], c.T = v[4], c.Angle = DegToRad(v[5]);
    c.Ox = v[6], c.Oy = v[7], c.Oz = v[8];
    c.AngX = DegToRad(v[9]), c.AngY = DegToRad(v[10]), c.AngZ = DegToRad(v[11]);
  }
  if (!ElementCount(model_file::kSecCyl, count)) {
    return false;
  }
  m_.SecCylCoilCount = static_cast<int32_t>(count);
  for (int64_t i = 1; i <= count; ++i) {
    SecCylCoil& c = m_.SecCylCoilTable[static_cast<size_t>(i)];
    if (!DataRow(11, v) || !CrossSection(v[3] * v[3] * m_.Pi, v[1], c.CurrentDensity)) {
      return false;
    }
    c.R = v[2], c.rwire = v[3], c.Angle = DegToRad(v[4]);
    c.Ox = v[5], c.Oy = v[6], c.Oz = v[7];
    c.AngX = DegToRad(v[8]), c.AngY = DegToRad(v[9]), c.AngZ = DegToRad(v[10]);
  }
  return true;
}

bool ModelFileParser::PointCount(int32_t& last_index) {
  int64_t value = 0;
  if (!Line(2, "「計算点の数」の行") ||
      !Integer(1, 0, kCalPointCapacity, model_file::kPointCountLabel, value)) {
    return false;
  }
  last_index = static_cast<int32_t>(value);
  return true;
}

constexpr int64_t kIntMin = INT32_MIN, kIntMax = INT32_MAX;
constexpr size_t kPointRowItems = 7;

// Rows 0..last_index of a point table through store(index, row). A large table is first tried
// in chunks on several threads; a row that cannot be read in full there sends the
// whole table to the reading line by line, which alone names lines at fault.
template <class Store>
bool ModelFileParser::PointRows(int32_t last_index, const Store& store) {
  const int64_t count = int64_t{last_index} + 1;
  if (count >= 2 * kMinRowsPerChunk && RowsInChunks(count, store)) {
    return true;
  }
  Row v{};
  for (int64_t i = 0; i < count; ++i) {
    if (!DataRow(kPointRowItems, v)) {
      return false;
    }
    store(i, v);
  }
  return true;
}

// Where a chunk of rows starts in the bytes, and the index of its first row.
struct RowChunk {
  size_t begin = 0;
  int64_t first_row = 0;
};

// Line feeds in the text, found a line at a time by memchr, much faster than byte by byte.
int64_t LineFeeds(std::string_view text) {
  int64_t count = 0;
  const char* const end = text.data() + text.size();
  const char* p = text.data();
  while ((p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p))))) {
    ++count, ++p;
  }
  return count;
}

// Chunks of about equal size from `start`, `count` rows in all, each beginning just after a
// line feed; sized from the first row's length, since rows of one table are of similar length.
// Fewer than asked (even one) where the bytes do not allow a split.
std::vector<RowChunk> SplitRows(std::string_view bytes, size_t start, int64_t count, int wanted) {
  std::vector<RowChunk> chunks{{start, 0}};
  const size_t first_end = bytes.find('\n', start);
  if (first_end == std::string_view::npos) {
    return chunks;
  }
  const auto row_bytes = static_cast<double>(first_end + 1 - start);
  for (int c = 1; c < wanted; ++c) {
    const double offset = row_bytes * static_cast<double>(count) * c / wanted;
    const size_t line_feed = offset < static_cast<double>(bytes.size() - start)
                                 ? bytes.find('\n', start + static_cast<size_t>(offset))
                                 : std::string_view::npos;
    if (line_feed == std::string_view::npos) {
      break;
    }
    const RowChunk& last = chunks.back();
    const size_t begin = line_feed + 1;
    const int64_t first_row =
        last.first_row + LineFeeds(bytes.substr(last.begin, begin - last.begin));
    if (first_row >= count) {
      break;
    }
    chunks.push_back({begin, first_row});
  }
  return chunks;
}

// A row read in full with every number taken.
bool GoodRow(const std::optional<ItemReader::NumberLine>& line) {
  return line && line->items == kPointRowItems && !line->refused;
}

// Each chunk on its own reader, row by row as the reading line by line does. The first chunk
// starts where that reading stands, and every other where the one before it ended, so each
// row has the index and line that reading would give it. False, with the reader unmoved, at
// any row that is not read in full, which is left to that reading to name.
template <class Store>
bool ModelFileParser::RowsInChunks(int64_t count, const Store& store) {
  const std::vector<RowChunk> chunks =
      SplitRows(bytes_, reader_.Position(), count, RowChunkCount(count));
  if (chunks.size() < 2) {
    return false;
  }
  std::vector<size_t> ends(chunks.size());
  std::atomic<bool> all_read{true};
  RunSharedTasks(static_cast<int>(chunks.size()), [&](int c) {
    const auto chunk = static_cast<size_t>(c);
    const int64_t end_row = chunk + 1 < chunks.size() ? chunks[chunk + 1].first_row : count;
    ItemReader reader(bytes_);
    reader.MoveTo(chunks[chunk].begin, 0);
    Row v{};
    const std::span<double> values(v.data(), kPointRowItems);
    for (int64_t i = chunks[chunk].first_row; i < end_row; ++i) {
      if (!reader.NextWrittenRow(1, values) && !GoodRow(reader.NextNumbers(1, values))) {
        all_read = false;
        return;
      }
      store(i, v);
    }
    ends[chunk] = reader.Position();
  });
  if (!all_read) {
    return false;
  }
  for (size_t c = 0; c + 1 < chunks.size(); ++c) {
    if (ends[c] != chunks[c + 1].begin) {
      return false;
    }
  }
  reader_.MoveTo(ends.back(), reader_.LineNumber() + static_cast<int>(count));
  return true;
}

bool ModelFileParser::RectPoints() {
  RectPointSet& set = m_.RectCalPointSet;
  std::array<int64_t, 4> settings{};
  if (!Head(model_file::kRect) || !Line(8, "分割数の行")) {
    return false;
  }
  for (size_t i = 0; i < 4; ++i) {
    if (!Integer(2 * i + 1, kIntMin, kIntMax, model_file::kRectSettingLabels[i], settings[i])) {
      return false;
    }
  }
  set.DivX = static_cast<int32_t>(settings[0]), set.XSymmetric = static_cast<int32_t>(settings[1]);
  set.DivY = static_cast<int32_t>(settings[2]), set.YSymmetric = static_cast<int32_t>(settings[3]);
  if (!PointCount(set.LastIndex) || !Columns(model_file::kRect)) {
    return false;
  }
  return PointRows(set.LastIndex, [&set](int64_t i, const Row& v) {
    RectCalPoint& p = set.Points[static_cast<size_t>(i)];
    p.PGroX = v[1], p.PGroY = v[2], p.PGroZ = v[3], p.Hx = v[4], p.Hy = v[5], p.Hz = v[6];
  });
}

bool ModelFileParser::SectPoints() {
  SectPointSet& set = m_.SectCalPointSet;
  std::array<int64_t, 2> settings{};
  if (!Head(model_file::kSect) || !Line(4, "分割数の行")) {
    return false;
  }
  for (size_t i = 0; i < 2; ++i) {
    if (!Integer(2 * i + 1, kIntMin, kIntMax, model_file::kSectSettingLabels[i], settings[i])) {
      return false;
    }
  }
  set.RDiv = static_cast<int32_t>(settings[0]), set.AngleDiv = static_cast<int32_t>(settings[1]);
  if (!PointCount(set.LastIndex) || !Columns(model_file::kSect)) {
    return false;
  }
  return PointRows(set.LastIndex, [&set](int64_t i, const Row& v) {
    SectCalPoint& p = set.Points[static_cast<size_t>(i)];
    p.R = v[1], p.Theta = DegToRad(v[2]), p.Z = v[3], p.Hx = v[4], p.Hy = v[5], p.Hz = v[6];
  });
}

bool ModelFileParser::GridMagnets() {
  std::array<int64_t, 2> slots{};
  const auto& labels = model_file::kGridMagnetLabels;
  if (!Line(4, "「" + std::string(model_file::kGridMagnetHeading) + "」の行") ||
      !Integer(1, 0, kElementCapacity, labels[0], slots[0]) ||
      !Integer(3, 0, kElementCapacity, labels[1], slots[1])) {
    return false;
  }
  m_.RectCalPointSet.MagN = static_cast<int32_t>(slots[0]);
  m_.SectCalPointSet.MagN = static_cast<int32_t>(slots[1]);
  return true;
}

// After the last row: the grid-magnet section if the file has one, and otherwise only empty
// lines (an editor may have added a line end).
bool ModelFileParser::Rest() {
  static const std::string heading = Utf8ToCp932(model_file::kGridMagnetHeading).value_or("");
  bool magnets_read = false;
  while (reader_.NextLine(items_)) {
    if (items_.size() == 1 && items_[0].empty()) {
      continue;
    }
    if (magnets_read || items_.size() != 1 || items_[0] != heading) {
      return Fail("最後の計算点の後に余分な行があります");
    }
    if (!GridMagnets()) {
      return false;
    }
    magnets_read = true;
  }
  if (reader_.Error()) {
    return Fail(*reader_.Error());
  }
  return true;
}

// A position derived from 15-digit global values, to the picometre: far below anything a grid
// resolves, and enough to show a point laid at 2 mm as 2 rather than 1.99999999999998.
double Picometres(double mm) {
  constexpr double kPerMm = 1e9;
  return std::abs(mm) < 1e6 ? std::nearbyint(mm * kPerMm) / kPerMm : mm;
}

// The file holds the rectangular points' global positions only; the readouts show their
// positions in the frame of the magnet the grid was laid on.
void DeriveRectLocals(ElementModel& m) {
  RectPointSet& set = m.RectCalPointSet;
  if (set.MagN < 0 || set.MagN > kElementCapacity) {
    return;
  }
  const ElementFrame frame(PlacementOf(m.RecMagTable[static_cast<size_t>(set.MagN)]));
  const int count = std::clamp(set.LastIndex, 0, kCalPointCapacity) + 1;
  const int chunks = RowChunkCount(count);
  RunSharedTasks(chunks, [&](int c) {
    for (int i = count * c / chunks; i < count * (c + 1) / chunks; ++i) {
      RectCalPoint& p = set.Points[static_cast<size_t>(i)];
      const Vec3 local = frame.PointToLocal({p.PGroX, p.PGroY, p.PGroZ});
      p.LocalX = Picometres(local.x);
      p.LocalY = Picometres(local.y);
      p.LocalZ = Picometres(local.z);
    }
  });
}

std::optional<FileError> ModelFileParser::Parse() {
  if (Magnets() && Coils() && RectPoints() && SectPoints()) {
    Rest();
  }
  return error_;
}

}  // namespace

std::optional<FileError> ParseModelFileInto(std::string_view bytes, ElementModel& model) {
  auto error = ModelFileParser(bytes, model).Parse();
  if (!error) {
    DeriveRectLocals(model);
  }
  return error;
}

namespace {

// Reads the bytes over `fresh` (consumed), which provides what the file does not hold.
ModelReadResult ParseModelFileOver(std::string_view bytes, std::unique_ptr<ElementModel> fresh) {
  ModelReset(*fresh);
  ModelReadResult result;
  result.error = ParseModelFileInto(bytes, *fresh);
  if (!result.error) {
    result.model = std::move(fresh);
  }
  return result;
}

// The file read whole, then parsed over the model `make_start` gives. The start model, ten
// megabytes whose pages the system must provide, is made on another core while the file is read.
template <class MakeStart>
ModelReadResult ReadModelFileOver(const std::string& path, const MakeStart& make_start) {
  ModelReadResult result;
  try {
    std::unique_ptr<ElementModel> start;
    FileBytes file;
    RunSharedTasks(2, [&](int task) {
      if (task == 0) {
        start = make_start();
      } else {
        file = ReadWholeFile(path, kMaxModelFileBytes);
      }
    });
    if (!file.error) {
      result = ParseModelFileOver(file.bytes, std::move(start));
      result.bytes = std::move(file.bytes);
      return result;
    }
    result.error = FileError{0, *file.error};
  } catch (const std::bad_alloc&) {
    result.error = FileError{0, "メモリが足りないため読み込めません"};
  }
  return result;
}

}  // namespace

ModelReadResult ParseModelFile(std::string_view bytes, const ElementModel& current) {
  return ParseModelFileOver(bytes, std::make_unique<ElementModel>(current));
}

ModelReadResult ReadModelFile(const std::string& path, const ElementModel& current) {
  return ReadModelFileOver(path, [&current] { return std::make_unique<ElementModel>(current); });
}

ModelReadResult ReadModelFileAfterStartUp(const std::string& path) {
  return ReadModelFileOver(path, [] {
    auto start = std::make_unique<ElementModel>();
    FullReset(*start);
    return start;
  });
}

std::optional<FileError> ReadModelFileCommand(ElementModel& model,
                                              const std::string& path,
                                              Notices& notices) {
  model.ModelFilePath = path;
  ModelReadResult result = ReadModelFile(path, model);
  if (!result.ok()) {
    RaiseFileError(notices, path, *result.error);
    return result.error;
  }
  model = *result.model;
  return std::nullopt;
}

}  // namespace tavrine

// Writing the model file: nine sections, two empty lines between them, no empty line at the end.
#include <algorithm>
#include <array>
#include <initializer_list>
#include <numeric>
#include <vector>

#include "files/cp932.h"
#include "files/model_file.h"
#include "files/model_file_layout.h"
#include "files/row_chunks.h"
#include "files/safe_write.h"
#include "model/capacity.h"
#include "model/number_formats.h"
#include "model/page_memory.h"
#include "model/resets.h"
#include "model/text_rules.h"

namespace tavrine {

namespace {

using model_file::Sections;

// Appends code page 932 bytes. ASCII is the same bytes in both encodings, so numbers and ASCII
// texts go in as they are; the other fixed texts are converted item by item. The text may end
// up in several pieces, to be written one after another.
class FileBuilder {
 public:
  // Builds in `buffer`'s storage, whatever it holds. Rows built elsewhere are kept as pieces of
  // their own, or copied in when the text is `whole`.
  explicit FileBuilder(std::string buffer = {}, bool whole = false)
      : out_(std::move(buffer)), whole_(whole) {
    out_.clear();
  }
  bool Whole() const { return whole_; }

  void Quoted(std::string_view utf8) {
    Separator();
    out_ += '"';
    if (std::all_of(utf8.begin(), utf8.end(), [](char c) { return (c & 0x80) == 0; })) {
      out_ += utf8;
    } else if (auto bytes = Utf8ToCp932(utf8)) {
      out_ += *bytes;
    } else {
      failed_ = true;
    }
    out_ += '"';
  }
  void Bare(int64_t value) {
    Separator();
    out_ += std::to_string(value);
  }
  // Numbers are written straight into the room made at the end, then the rest is cut off.
  void Row(std::initializer_list<double> values) {
    const size_t start = out_.size();
    out_.resize(start + values.size() * (kModelFileNumberMaxChars + 3) + 2);
    char* const first = out_.data() + start;
    char* p = first;
    for (double v : values) {
      if (p != first) {
        *p++ = ',';
      }
      *p++ = '"';
      p = WriteModelFileNumber(v, p);
      *p++ = '"';
    }
    *p++ = '\r';
    *p++ = '\n';
    out_.resize(static_cast<size_t>(p - out_.data()));
    line_open_ = false;
  }
  void QuotedLine(const std::vector<std::string_view>& texts) {
    for (std::string_view t : texts) {
      Quoted(t);
    }
    EndLine();
  }
  void EndLine() {
    out_ += "\r\n";
    line_open_ = false;
  }
  // Room for `bytes` more, its memory put in place at once: cheaper than a page fault per
  // page even where the estimate runs over.
  void Reserve(size_t bytes) {
    out_.reserve(out_.size() + bytes);
    PrefaultPages(out_.data() + out_.size(), out_.capacity() - out_.size());
  }
  // Whole lines built elsewhere, copied in.
  void Lines(std::string_view lines) { out_ += lines; }
  // Whole lines built elsewhere, as a piece of their own: they are not copied.
  void Piece(std::string lines) {
    pieces_.push_back(std::move(out_));
    pieces_.push_back(std::move(lines));
    out_ = std::string();
  }
  bool Failed() const { return failed_; }
  std::vector<std::string> TakePieces() {
    pieces_.push_back(std::move(out_));
    return std::move(pieces_);
  }

 private:
  void Separator() {
    if (line_open_) {
      out_ += ',';
    }
    line_open_ = true;
  }
  std::string out_;
  std::vector<std::string> pieces_;
  bool whole_ = false;
  bool line_open_ = false;
  bool failed_ = false;
};

// Heading (after the two empty lines that separate sections), then the count line if any.
void Head(FileBuilder& f, int section) {
  if (section > 0) {
    f.EndLine();
    f.EndLine();
  }
  f.Quoted(Sections()[section].heading);
  f.EndLine();
}

void CountLine(FileBuilder& f, std::string_view label, int64_t count) {
  f.Quoted(label);
  f.Bare(count);
  f.EndLine();
}

void Columns(FileBuilder& f, int section) {
  f.QuotedLine(Sections()[section].columns1);
  f.QuotedLine(Sections()[section].columns2);
}

void ElementHead(FileBuilder& f, int section, int64_t count) {
  Head(f, section);
  CountLine(f, model_file::CountLabels()[section], count);
  Columns(f, section);
}

void MagnetSections(FileBuilder& f, const ElementModel& m) {
  ElementHead(f, model_file::kRecMag, m.RecMagCount);
  for (int i = 1; i <= m.RecMagCount; ++i) {
    const RecMag& r = m.RecMagTable[i];
    f.Row({double(i), r.Br, r.Hcj, r.a, r.b, r.l, r.Ox, r.Oy, r.Oz, RadToDeg(r.AngX),
           RadToDeg(r.AngY), RadToDeg(r.AngZ), RadToDeg(r.BrAngle)});
  }
  const int sec_count = SecMagLoopCount(m);
  ElementHead(f, model_file::kSecMag, sec_count);
  for (int i = 1; i <= sec_count; ++i) {
    const SecMag& r = m.SecMagTable[i];
    f.Row({double(i), r.Br, r.Hcj, r.Ri, r.Ro, r.T, RadToDeg(r.OpenAngle), r.Ox, r.Oy, r.Oz,
           RadToDeg(r.AngX), RadToDeg(r.AngY), RadToDeg(r.AngZ)});
  }
  ElementHead(f, model_file::kRhMag, m.RhMagCount);
  for (int i = 1; i <= m.RhMagCount; ++i) {
    const RhMag& r = m.RhMagTable[i];
    f.Row({double(i), r.Br, r.Hcj, r.R, r.HT, r.Ox, r.Oy, r.Oz, RadToDeg(r.AngX), RadToDeg(r.AngY),
           RadToDeg(r.AngZ)});
  }
}

// Currents are written as amperes except the straight round wire's density.
void CoilSections(FileBuilder& f, const ElementModel& m) {
  ElementHead(f, model_file::kStrRec, m.StrRecCoilCount);
  for (int i = 1; i <= m.StrRecCoilCount; ++i) {
    const StrRecCoil& c = m.StrRecCoilTable[i];
    f.Row({double(i), c.CurrentDensity * c.W * c.T, c.Lx, c.W, c.T, c.Ox, c.Oy, c.Oz,
           RadToDeg(c.AngX), RadToDeg(c.AngY), RadToDeg(c.AngZ)});
  }
  ElementHead(f, model_file::kStrCyl, m.StrCylCoilCount);
  for (int i = 1; i <= m.StrCylCoilCount; ++i) {
    const StrCylCoil& c = m.StrCylCoilTable[i];
    f.Row({double(i), c.CurrentDensity, c.Lx, c.R, c.Ox, c.Oy, c.Oz, RadToDeg(c.AngX),
           RadToDeg(c.AngY), RadToDeg(c.AngZ)});
  }
  ElementHead(f, model_file::kSecRec, m.SecRecCoilCount);
  for (int i = 1; i <= m.SecRecCoilCount; ++i) {
    const SecRecCoil& c = m.SecRecCoilTable[i];
    f.Row({double(i), c.CurrentDensity * (c.Ro - c.Ri) * c.T, c.Ri, c.Ro, c.T, RadToDeg(c.Angle),
           c.Ox, c.Oy, c.Oz, RadToDeg(c.AngX), RadToDeg(c.AngY), RadToDeg(c.AngZ)});
  }
  ElementHead(f, model_file::kSecCyl, m.SecCylCoilCount);
  for (int i = 1; i <= m.SecCylCoilCount; ++i) {
    const SecCylCoil& c = m.SecCylCoilTable[i];
    f.Row({double(i), c.CurrentDensity * m.Pi * (c.rwire * c.rwire), c.R, c.rwire,
           RadToDeg(c.Angle), c.Ox, c.Oy, c.Oz, RadToDeg(c.AngX), RadToDeg(c.AngY),
           RadToDeg(c.AngZ)});
  }
}

// Bytes a point row usually takes, to size the buffers.
constexpr size_t kPointRowBytes = 7 * 24;

// Rows 0..last_index of a point table through write(builder, index). A large table is written
// in chunks on several threads, each after the first into a builder of its own, which then
// follows as a piece or copied in.
template <class WriteRow>
void PointRows(FileBuilder& f, int last_index, const WriteRow& write) {
  const int64_t count = int64_t{last_index} + 1;
  const int chunks = RowChunkCount(count);
  auto first_row = [&](int c) { return static_cast<int>(count * c / chunks); };
  std::vector<FileBuilder> later(static_cast<size_t>(chunks - 1));
  RunSharedTasks(chunks, [&](int c) {
    FileBuilder& out = c == 0 ? f : later[static_cast<size_t>(c - 1)];
    if (c > 0 || !f.Whole()) {
      out.Reserve(static_cast<size_t>(first_row(c + 1) - first_row(c)) * kPointRowBytes);
    }
    for (int i = first_row(c); i < first_row(c + 1); ++i) {
      write(out, i);
    }
  });
  for (FileBuilder& part : later) {
    for (std::string& piece : part.TakePieces()) {
      if (f.Whole()) {
        f.Lines(piece);
      } else {
        f.Piece(std::move(piece));
      }
    }
  }
}

void PointSections(FileBuilder& f, const ElementModel& m) {
  const RectPointSet& rect = m.RectCalPointSet;
  Head(f, model_file::kRect);
  const auto& rl = model_file::kRectSettingLabels;
  f.Quoted(rl[0]);
  f.Bare(rect.DivX);
  f.Quoted(rl[1]);
  f.Bare(rect.XSymmetric);
  f.Quoted(rl[2]);
  f.Bare(rect.DivY);
  f.Quoted(rl[3]);
  f.Bare(rect.YSymmetric);
  f.EndLine();
  CountLine(f, model_file::kPointCountLabel, rect.LastIndex);
  Columns(f, model_file::kRect);
  PointRows(f, rect.LastIndex, [&rect](FileBuilder& out, int i) {
    const RectCalPoint& p = rect.Points[i];
    out.Row({double(i), p.PGroX, p.PGroY, p.PGroZ, p.Hx, p.Hy, p.Hz});
  });
  const SectPointSet& sect = m.SectCalPointSet;
  Head(f, model_file::kSect);
  f.Quoted(model_file::kSectSettingLabels[0]);
  f.Bare(sect.RDiv);
  f.Quoted(model_file::kSectSettingLabels[1]);
  f.Bare(sect.AngleDiv);
  f.EndLine();
  CountLine(f, model_file::kPointCountLabel, sect.LastIndex);
  Columns(f, model_file::kSect);
  PointRows(f, sect.LastIndex, [&sect](FileBuilder& out, int i) {
    const SectCalPoint& p = sect.Points[i];
    out.Row({double(i), p.R, RadToDeg(p.Theta), p.Z, p.Hx, p.Hy, p.Hz});
  });
}

void GridMagnetSection(FileBuilder& f, const ElementModel& m) {
  const int32_t rect = m.RectCalPointSet.MagN, sect = m.SectCalPointSet.MagN;
  if (rect == 1 && sect == 1) {
    return;
  }
  f.EndLine();
  f.EndLine();
  f.Quoted(model_file::kGridMagnetHeading);
  f.EndLine();
  f.Quoted(model_file::kGridMagnetLabels[0]);
  f.Bare(rect);
  f.Quoted(model_file::kGridMagnetLabels[1]);
  f.Bare(sect);
  f.EndLine();
}

std::array<int64_t, 7> ElementCounts(const ElementModel& m) {
  return {m.RecMagCount,     SecMagLoopCount(m), m.RhMagCount,     m.StrRecCoilCount,
          m.StrCylCoilCount, m.SecRecCoilCount,  m.SecCylCoilCount};
}

bool CountsFit(const ElementModel& m) {
  const auto counts = ElementCounts(m);
  return std::all_of(counts.begin(), counts.end(), FitsElementCount) &&
         FitsLastIndex(m.RectCalPointSet.LastIndex) && FitsLastIndex(m.SectCalPointSet.LastIndex);
}

// Element rows the file holds, once the counts are known to fit.
size_t ElementRows(const ElementModel& m) {
  const auto counts = ElementCounts(m);
  return static_cast<size_t>(std::accumulate(counts.begin(), counts.end(), int64_t{0}));
}

}  // namespace

namespace {

// The file's text in pieces to be written in order, built in `buffer`'s storage first; one
// piece when `whole`, its room made for the whole file at the start.
struct ModelFilePieces {
  std::vector<std::string> pieces;
  std::optional<FileError> error;
};
ModelFilePieces FormatModelFilePieces(const ElementModel& model, std::string buffer, bool whole) {
  ModelFilePieces result;
  if (!CountsFit(model)) {
    result.error = FileError{0, "要素数または計算点数がモデルの上限を超えています"};
    return result;
  }
  FileBuilder f(std::move(buffer), whole);
  const size_t points = static_cast<size_t>(model.RectCalPointSet.LastIndex) +
                        static_cast<size_t>(model.SectCalPointSet.LastIndex) + 2;
  f.Reserve(4096 + ElementRows(model) * 13 * 24 + (whole ? points * kPointRowBytes : 0));
  MagnetSections(f, model);
  CoilSections(f, model);
  PointSections(f, model);
  GridMagnetSection(f, model);
  if (f.Failed()) {
    result.error = FileError{0, "文字コードの変換に失敗しました"};
    return result;
  }
  result.pieces = f.TakePieces();
  return result;
}

}  // namespace

ModelFileBytes FormatModelFile(const ElementModel& model) {
  ModelFilePieces file = FormatModelFilePieces(model, {}, true);
  ModelFileBytes result;
  result.error = file.error;
  if (!file.error) {
    result.bytes = std::move(file.pieces.front());
  }
  return result;
}

std::optional<FileError> WriteModelFile(const ElementModel& model,
                                        const std::string& path,
                                        std::string buffer) {
  const ModelFilePieces file = FormatModelFilePieces(model, std::move(buffer), false);
  if (file.error) {
    return file.error;
  }
  const std::vector<std::string_view> pieces(file.pieces.begin(), file.pieces.end());
  if (auto failure = ReplaceFileContents(path, pieces)) {
    return FileError{0, *failure};
  }
  return std::nullopt;
}

std::optional<FileError> SaveModelFileCommand(ElementModel& model,
                                              const std::string& path,
                                              Notices& notices) {
  model.ModelFilePath = path;
  auto error = WriteModelFile(model, path);
  if (error) {
    RaiseFileError(notices, path, *error);
  }
  return error;
}

}  // namespace tavrine

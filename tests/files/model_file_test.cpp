#include "files/model_file.h"

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

#include "files/cp932.h"
#include "files/item_reader.h"
#include "model/notices.h"
#include "sample_models.h"

namespace tavrine {
namespace {

using testing::DataPath;
using testing::FreshModel;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Fresh 10 MB models are slow to fault in on some machines: tests that read many files reuse
// one model, reset before each read as the reader's own copy is.
ElementModel& Scratch() {
  static std::unique_ptr<ElementModel> model = FreshModel();
  return *model;
}
std::optional<FileError> ParseScratch(std::string_view bytes) {
  ModelReset(Scratch());
  return ParseModelFileInto(bytes, Scratch());
}

TEST(ModelFileGolden, SmallModelWritesByteForByteAndReadsBack) {
  const std::string golden = Slurp(DataPath("model_small.csv"));
  ASSERT_FALSE(golden.empty());
  auto model = testing::SmallModel();
  ModelFileBytes file = FormatModelFile(*model);
  ASSERT_FALSE(file.error);
  EXPECT_EQ(file.bytes, golden);

  ModelReadResult read = ParseModelFile(golden, *FreshModel());
  ASSERT_TRUE(read.ok()) << read.error->line << ": " << read.error->message;
  testing::ExpectSameFileContent(*read.model, *model);
  // The straight round wire's column is the density itself; the others are currents in A.
  EXPECT_NEAR(read.model->StrCylCoilTable[1].CurrentDensity, 13500 / Pi(), 1e-10);
  EXPECT_DOUBLE_EQ(read.model->StrRecCoilTable[1].CurrentDensity, 10);
  EXPECT_DOUBLE_EQ(read.model->SectCalPointSet.Points[0].Theta, DegToRad(30));
}

TEST(ModelFileGolden, AllZeroModel) {
  const std::string golden = Slurp(DataPath("model_zero.csv"));
  auto model = FreshModel();
  EXPECT_EQ(FormatModelFile(*model).bytes, golden);
  ModelReadResult read = ParseModelFile(golden, *testing::SmallModel());
  ASSERT_TRUE(read.ok());
  testing::ExpectSameFileContent(*read.model, *model);
}

TEST(ModelFileGolden, HeadingsAreCp932WithCrLf) {
  const std::string golden = Slurp(DataPath("model_small.csv"));
  auto utf8 = Cp932ToUtf8(golden);
  ASSERT_TRUE(utf8);
  EXPECT_NE(utf8->find("\"　　ｺｲﾙ位置　　\""), std::string::npos);
  EXPECT_NE(utf8->find("\"ｒwire(i)\""), std::string::npos);
  EXPECT_EQ(golden.substr(golden.size() - 2), "\r\n");
  EXPECT_NE(golden.substr(golden.size() - 4), "\r\n\r\n");
}

TEST(ModelFileRead, KeepsWhatTheFileDoesNotHold) {
  auto current = testing::SmallModel();
  current->RecMagTable[2].MaterialIndex = 7;
  current->RecMagTable[5].Hcj = 123;  // beyond the loaded count: stale, kept
  current->RectCalPointSet.MagN = 4;
  current->RectCalPointSet.Points[1].LocalX = 9;
  current->RectCalPointSet.XL = 3;
  current->View.ZoomFactor = 2.5;
  current->Kt.StepAngle = 0.25;
  current->CylinderCount = 2;
  ModelReadResult read = ParseModelFile(Slurp(DataPath("model_small.csv")), *current);
  ASSERT_TRUE(read.ok());
  const ElementModel& m = *read.model;
  EXPECT_EQ(m.RecMagTable[2].MaterialIndex, 7);
  EXPECT_EQ(m.RecMagTable[5].Hcj, 123);
  EXPECT_EQ(m.RecMagTable[5].a, 0);
  EXPECT_EQ(m.RectCalPointSet.MagN, 4);
  // Derived on magnet 4, an empty slot placed at the origin.
  EXPECT_EQ(m.RectCalPointSet.Points[1].LocalX, m.RectCalPointSet.Points[1].PGroX);
  EXPECT_EQ(m.RectCalPointSet.XL, 1.0);
  EXPECT_EQ(m.RectCalPointSet.DisZ, 0.5);
  EXPECT_EQ(m.View.ZoomFactor, 2.5);
  EXPECT_EQ(m.Kt.StepAngle, 0.25);
  EXPECT_EQ(m.CylinderCount, 0.0);
  EXPECT_EQ(m.SectCalPointSet.Points[0].PGroX, 0);
}

TEST(ModelFileRead, AcceptsLfLineEndsAndATrailingEmptyLine) {
  std::string golden = Slurp(DataPath("model_small.csv"));
  std::string lf;
  for (char c : golden) {
    if (c != '\r') {
      lf += c;
    }
  }
  EXPECT_FALSE(ParseScratch(lf));
  EXPECT_FALSE(ParseScratch(golden + "\r\n"));
  EXPECT_FALSE(ParseScratch(golden.substr(0, golden.size() - 2)));
  auto extra = ParseScratch(golden + "\" 2\"\r\n");
  ASSERT_TRUE(extra);
  EXPECT_EQ(extra->line, 69);
}

// Replaces the first occurrence of `from` by `to`.
// Texts in UTF-8, the file in code page 932.
std::string Edit(std::string bytes, const std::string& from, const std::string& to) {
  const size_t at = bytes.find(*Utf8ToCp932(from));
  EXPECT_NE(at, std::string::npos) << from;
  if (at == std::string::npos) {
    return bytes;
  }
  return bytes.replace(at, Utf8ToCp932(from)->size(), *Utf8ToCp932(to));
}

int LineOf(const std::string& bytes, const std::string& text) {
  const size_t at = bytes.find(*Utf8ToCp932(text));
  return 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + long(at), '\n'));
}

TEST(ModelFileRead, ErrorsNameTheLine) {
  const std::string golden = Slurp(DataPath("model_small.csv"));
  struct Case {
    std::string from, to;
    std::string expect_in_message;
  } cases[] = {
      {"\" 12000\"", "\"abc\"", "数値ではありません"},
      {"\" 12000\"", "\"12,000\"", "数値ではありません"},
      {"\" 12000\"", "\" 12000\",\" 1\"", "項目数"},
      {"\" 1E+15\"\r\n", "\" 1E+15\r\n", "閉じていません"},
      {"\" 12000\"", "\"\"", "数値ではありません"},
      {"\" 12000\"", "\" 1 2\"", "数値ではありません"},
      {"\" 12000\"", "\"inf\"", "数値ではありません"},
      {"\" 12000\"", "\"0x10\"", "数値ではありません"},
      {"\" 12000\"", "\" 1e400\"", "大きすぎます"},
      {"\"角柱磁石個数\",2", "\"角柱磁石個数\",1e400", "大きすぎます"},
      {"\" 12000\"", "\" 12000\"x", "余分な文字"},
      {"\" 2\",\" .5\"", "\" 0\",\" .5\"", "断面積がゼロ"},    // straight rectangular W
      {"\" 10\",\" 14\"", "\" 10\",\" 10\"", "断面積がゼロ"},  // arc rectangular Ro = Ri
      {"\" 30\",\" .5\"", "\" 30\",\" 0\"", "断面積がゼロ"},   // arc round rwire
      {"\"角柱磁石個数\",2", "\"角柱磁石個数\",1001", "範囲外"},
      {"\"角柱磁石個数\",2", "\"角柱磁石個数\",-1", "範囲外"},
      {"\"角柱磁石個数\",2", "\"角柱磁石個数\",1.5", "範囲外"},
      {"\"計算点の数\",3", "\"計算点の数\",50001", "範囲外"},
      {"\"X分割数\",1", "\"X分割数\",x", "数値ではありません"},
  };
  for (const Case& c : cases) {
    const auto error = ParseScratch(Edit(golden, c.from, c.to));
    ASSERT_TRUE(error) << c.to;
    EXPECT_EQ(error->line, LineOf(golden, c.from)) << c.to;
    EXPECT_NE(error->message.find(c.expect_in_message), std::string::npos)
        << c.to << ": " << error->message;
  }
}

// The dialogs keep a wire entered without a cross-section after their notice; the file then
// says 0 A through it, and must still read back whole.
TEST(ModelFileRead, AWireWithoutCrossSectionAsTheDialogsLeaveItReadsBack) {
  auto model = testing::SmallModel();
  model->SecCylCoilTable[1].rwire = 0;
  model->SecCylCoilTable[1].CurrentDensity = 2;  // the current itself, as the dialog stores it
  model->StrRecCoilTable[1].W = 0;
  const ModelFileBytes file = FormatModelFile(*model);
  ASSERT_FALSE(file.error);
  ModelReadResult read = ParseModelFile(file.bytes, *FreshModel());
  ASSERT_TRUE(read.ok()) << read.error->line << ": " << read.error->message;
  EXPECT_EQ(read.model->SecCylCoilCount, model->SecCylCoilCount);
  EXPECT_EQ(read.model->SecCylCoilTable[1].CurrentDensity, 0.0);
  EXPECT_EQ(read.model->StrRecCoilTable[1].CurrentDensity, 0.0);
  EXPECT_EQ(read.model->SectCalPointSet.LastIndex, model->SectCalPointSet.LastIndex);
}

TEST(ModelFileRead, TruncationFailsOrReadsTheSameModel) {
  const std::string golden = Slurp(DataPath("model_small.csv"));
  auto full = ParseModelFile(golden, *FreshModel());
  ASSERT_TRUE(full.ok());
  auto check = [&](size_t size) {
    const auto error = ParseScratch(golden.substr(0, size));
    if (!error) {
      // Only the last row's line end may be missing.
      EXPECT_GE(size, golden.size() - 2) << size;
      testing::ExpectSameFileContent(Scratch(), *full.model);
    } else {
      EXPECT_GT(error->line, 0) << size;
    }
  };
  for (size_t at = golden.find('\n'); at != std::string::npos; at = golden.find('\n', at + 1)) {
    check(at + 1);
  }
  std::mt19937 rng(5);
  for (int i = 0; i < 300; ++i) {
    check(std::uniform_int_distribution<size_t>(0, golden.size() - 1)(rng));
  }
}

TEST(ModelFileRead, CapacityLimitsAreErrorsWithoutWritingBeyondTheTables) {
  std::string bytes = Slurp(DataPath("model_zero.csv"));
  bytes = Edit(bytes, "\"角柱磁石個数\",0", "\"角柱磁石個数\",1001");
  const auto error = ParseScratch(bytes);
  ASSERT_TRUE(error);
  EXPECT_EQ(error->line, 2);
  // The 1000 slots that exist are never overrun; row 1001 is not even reached.
  EXPECT_EQ(Scratch().RecMagCount, 0);
}

TEST(ModelFileRead, LargestWrittenDoublesReadBackAndLargerAreRefused) {
  EXPECT_EQ(ParseNumberItem(" 1.79769313486232E+308"), std::numeric_limits<double>::max());
  EXPECT_EQ(ParseNumberItem("-1.79769313486232E+308"), -std::numeric_limits<double>::max());
  for (const char* huge : {" 1E+999", " 1e400", "-1.79769313486233E+308", "2e308"}) {
    EXPECT_FALSE(ParseNumberItem(huge)) << huge;
  }
  EXPECT_EQ(ParseNumberItem(" 4.94065645841247E-324"), std::numeric_limits<double>::denorm_min());
  EXPECT_EQ(ParseNumberItem(" .5"), 0.5);
  EXPECT_EQ(ParseNumberItem("-.25"), -0.25);
  EXPECT_EQ(ParseNumberItem("+3."), 3.0);
  EXPECT_EQ(ParseNumberItem("7"), 7.0);
  EXPECT_EQ(ParseNumberItem(" 1e3 "), 1000.0);
  for (const char* bad : {"", " ", ".", "-", "1e", "1e+", "nan", "1.2.3", "--1", "1 2", "１"}) {
    EXPECT_FALSE(ParseNumberItem(bad)) << bad;
  }
}

TEST(ModelFileCommand, FailedReadLeavesTheModelAndRaisesTheNotice) {
  const std::string dir = ::testing::TempDir();
  const std::string path = dir + "/tavrine_truncated.csv";
  const std::string golden = Slurp(DataPath("model_small.csv"));
  {
    std::ofstream out(path, std::ios::binary);
    out << golden.substr(0, golden.size() / 2);
  }
  auto model = testing::SmallModel();
  model->RecMagTable[2].Br = 777;
  NoticeBoard notices;
  auto error = ReadModelFileCommand(*model, path, notices);
  ASSERT_TRUE(error);
  EXPECT_TRUE(notices.IsOpen(NoticeId::CautionFileInOut));
  EXPECT_EQ(model->RecMagTable[2].Br, 777);
  EXPECT_EQ(model->RecMagCount, 2);
  EXPECT_EQ(model->ModelFilePath, path);

  NoticeBoard missing;
  EXPECT_TRUE(ReadModelFileCommand(*model, dir + "/no_such_file.csv", missing));
  EXPECT_TRUE(missing.IsOpen(NoticeId::CautionFileInOut));
  EXPECT_EQ(model->RecMagTable[2].Br, 777);

  NoticeBoard fine;
  EXPECT_FALSE(ReadModelFileCommand(*model, DataPath("model_zero.csv"), fine));
  EXPECT_FALSE(fine.IsOpen(NoticeId::CautionFileInOut));
  EXPECT_EQ(model->RecMagCount, 0);
  EXPECT_EQ(model->RectCalPointSet.DivX, 40);
  EXPECT_EQ(model->ModelFilePath, DataPath("model_zero.csv"));
}

// What is not a model file is refused at once, without reading it, and the model is kept.
TEST(ModelFileCommand, RefusesDevicesFoldersPipesAndHugeFilesAtOnce) {
  const std::string dir = ::testing::TempDir();
  const std::string sparse = dir + "/tavrine_sparse.csv", pipe = dir + "/tavrine_pipe.csv";
  const int fd = open(sparse.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(ftruncate(fd, off_t{3} << 30), 0);
  close(fd);
  unlink(pipe.c_str());
  ASSERT_EQ(mkfifo(pipe.c_str(), 0644), 0);
  auto model = testing::SmallModel();
  const std::string before = FormatModelFile(*model).bytes;
  for (const std::string& path : {std::string("/dev/zero"), sparse, dir, pipe}) {
    NoticeBoard notices;
    const auto start = std::chrono::steady_clock::now();
    const auto error = ReadModelFileCommand(*model, path, notices);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << path;
    ASSERT_TRUE(error) << path;
    EXPECT_TRUE(notices.IsOpen(NoticeId::CautionFileInOut));
    EXPECT_NE(notices.Detail(NoticeId::CautionFileInOut).find(error->message), std::string::npos);
    EXPECT_TRUE(FormatModelFile(*model).bytes == before) << path;
  }
  unlink(sparse.c_str());
  unlink(pipe.c_str());
}

// The fullest model with every number at its longest stays well under the reader's limit.
TEST(ModelFileWrite, LargestFileFitsTheReadersLimit) {
  auto model = FreshModel();
  const double longest = -1.23456789012345e-100;
  for (auto* count : {&model->RecMagCount, &model->RhMagCount, &model->StrRecCoilCount,
                      &model->StrCylCoilCount, &model->SecRecCoilCount, &model->SecCylCoilCount}) {
    *count = kElementCapacity;
  }
  model->SecMagCount = kElementCapacity;
  model->RecMagTable.fill({longest, longest, longest, longest, longest, longest, longest, longest,
                           longest, longest, longest, longest});
  model->RectCalPointSet.LastIndex = model->SectCalPointSet.LastIndex = kCalPointCapacity;
  model->RectCalPointSet.Points.fill(
      {0, 0, 0, longest, longest, longest, longest, longest, longest});
  model->SectCalPointSet.Points.fill(
      {longest, longest, longest, 0, 0, 0, longest, longest, longest});
  const size_t size = FormatModelFile(*model).bytes.size();
  EXPECT_GT(size, size_t{15} << 20);
  EXPECT_LT(size * 2, kMaxModelFileBytes);
}

// Random models of every kind round-trip through the file.
void RandomModel(std::mt19937_64& rng, ElementModel* m) {
  FullReset(*m);
  std::uniform_real_distribution<double> unit(-1, 1);
  std::uniform_int_distribution<int> exp10(-8, 8), count(0, 6);
  auto value = [&] { return unit(rng) * std::pow(10.0, exp10(rng)); };
  auto positive = [&] { return 0.1 + std::abs(value()); };
  auto angle = [&] { return unit(rng) * 4; };
  auto place = [&](auto& r) {
    r.Ox = value(), r.Oy = value(), r.Oz = value();
    r.AngX = angle(), r.AngY = angle(), r.AngZ = angle();
  };
  m->RecMagCount = count(rng);
  for (int i = 1; i <= m->RecMagCount; ++i) {
    RecMag& r = m->RecMagTable[i];
    r.a = value(), r.b = value(), r.l = value(), r.Br = value(), r.Hcj = value();
    r.BrAngle = angle();
    place(r);
  }
  m->SecMagCount = count(rng);
  for (int i = 1; i <= SecMagLoopCount(*m); ++i) {
    SecMag& r = m->SecMagTable[i];
    r.Ri = value(), r.Ro = value(), r.T = value(), r.OpenAngle = angle(), r.Br = value();
    r.Hcj = value();
    place(r);
  }
  m->RhMagCount = count(rng);
  for (int i = 1; i <= m->RhMagCount; ++i) {
    RhMag& r = m->RhMagTable[i];
    r.R = value(), r.HT = value(), r.Br = value(), r.Hcj = value();
    place(r);
  }
  m->StrRecCoilCount = count(rng);
  for (int i = 1; i <= m->StrRecCoilCount; ++i) {
    StrRecCoil& c = m->StrRecCoilTable[i];
    c.Lx = value(), c.W = positive(), c.T = positive(), c.CurrentDensity = value();
    place(c);
  }
  m->StrCylCoilCount = count(rng);
  for (int i = 1; i <= m->StrCylCoilCount; ++i) {
    StrCylCoil& c = m->StrCylCoilTable[i];
    c.Lx = value(), c.R = value(), c.CurrentDensity = value();
    place(c);
  }
  m->SecRecCoilCount = count(rng);
  for (int i = 1; i <= m->SecRecCoilCount; ++i) {
    SecRecCoil& c = m->SecRecCoilTable[i];
    c.Ri = positive(), c.Ro = c.Ri * (2.5 + 0.5 * unit(rng)), c.T = positive(), c.Angle = angle();
    c.CurrentDensity = value();
    place(c);
  }
  m->SecCylCoilCount = count(rng);
  for (int i = 1; i <= m->SecCylCoilCount; ++i) {
    SecCylCoil& c = m->SecCylCoilTable[i];
    c.R = value(), c.rwire = positive(), c.Angle = angle(), c.CurrentDensity = value();
    place(c);
  }
  m->RectCalPointSet.LastIndex = count(rng) * 10;
  m->RectCalPointSet.DivX = count(rng), m->RectCalPointSet.YSymmetric = 1;
  for (int i = 0; i <= m->RectCalPointSet.LastIndex; ++i) {
    m->RectCalPointSet.Points[i] = {0, 0, 0, value(), value(), value(), value(), value(), value()};
  }
  m->SectCalPointSet.LastIndex = count(rng) * 10;
  m->SectCalPointSet.AngleDiv = count(rng);
  for (int i = 0; i <= m->SectCalPointSet.LastIndex; ++i) {
    m->SectCalPointSet.Points[i] = {value(), angle(), value(), 0, 0, 0, value(), value(), value()};
  }
}

TEST(ModelFileRoundTrip, RandomModelsComeBack) {
  std::mt19937_64 rng(11);
  auto model = FreshModel();
  for (int round = 0; round < 100; ++round) {
    RandomModel(rng, model.get());
    ModelFileBytes file = FormatModelFile(*model);
    ASSERT_FALSE(file.error);
    const auto error = ParseScratch(file.bytes);
    ASSERT_FALSE(error) << error->line << ": " << error->message;
    testing::ExpectSameFileContent(Scratch(), *model);
    // Written again, the model read back gives the same bytes.
    EXPECT_EQ(FormatModelFile(Scratch()).bytes, file.bytes);
  }
}

// Tables large enough to be read and written in chunks on several threads read exactly as
// line by line: the same values, and the same messages and lines for rows written by hand.
TEST(ModelFileRead, LargePointTablesReadAsLineByLine) {
  std::mt19937_64 rng(3);
  std::uniform_real_distribution<double> unit(-1, 1);
  auto model = FreshModel();
  model->RectCalPointSet.LastIndex = model->SectCalPointSet.LastIndex = 20000;
  for (int i = 0; i <= 20000; ++i) {
    model->RectCalPointSet.Points[i] = {0,
                                        0,
                                        0,
                                        unit(rng),
                                        unit(rng) * 1e3,
                                        unit(rng) * 1e-7,
                                        unit(rng),
                                        unit(rng),
                                        unit(rng) * 1e20};
    model->SectCalPointSet.Points[i] = {unit(rng), unit(rng), unit(rng), 0,        0,
                                        0,         unit(rng), unit(rng), unit(rng)};
  }
  const std::string golden = FormatModelFile(*model).bytes;
  ASSERT_FALSE(ParseScratch(golden));
  testing::ExpectSameFileContent(Scratch(), *model);
  EXPECT_EQ(FormatModelFile(Scratch()).bytes, golden);
  const double next_x = Scratch().RectCalPointSet.Points[15001].PGroX;

  // Row 15000 of each table, where another thread reads; the sector table's lines are counted
  // on from the rectangular table read in chunks.
  const std::string row = "\r\n\" 15000\",";
  auto line_of = [&](size_t at) {
    return 1 + static_cast<int>(std::count(golden.begin(), golden.begin() + long(at), '\n'));
  };
  auto with_item = [&](size_t at, const std::string& text) {
    const size_t item = golden.find(',', at) + 1;
    std::string edited = golden;
    return edited.replace(item, golden.find(',', item) - item, text);
  };
  const size_t at = golden.find(row) + 2, sect_at = golden.find(row, at) + 2;
  const int line = line_of(at);
  for (size_t row_at : {at, sect_at}) {
    const auto refused = ParseScratch(with_item(row_at, "\"abc\""));
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->line, line_of(row_at));
    EXPECT_NE(refused->message.find("数値ではありません"), std::string::npos) << refused->message;
  }
  ASSERT_FALSE(ParseScratch(with_item(at, " 2.5 ")));
  EXPECT_EQ(Scratch().RectCalPointSet.Points[15000].PGroX, 2.5);
  EXPECT_EQ(Scratch().RectCalPointSet.Points[15001].PGroX, next_x);

  const auto missing = ParseScratch(std::string(golden).erase(at, golden.find('\n', at) + 1 - at));
  ASSERT_TRUE(missing);
  EXPECT_EQ(missing->line, line + 20000 - 15000);  // the empty line after the table
  for (const std::string& ends : {std::string("\n"), std::string("\r")}) {
    std::string other;
    for (size_t i = 0; i < golden.size(); ++i) {
      if (golden.compare(i, 2, "\r\n") == 0) {
        other += ends, ++i;
      } else {
        other += golden[i];
      }
    }
    ASSERT_FALSE(ParseScratch(other));
    testing::ExpectSameFileContent(Scratch(), *model);
  }
}

TEST(ModelFileWrite, RefusesCountsBeyondCapacity) {
  auto model = FreshModel();
  model->RhMagCount = 1001;
  EXPECT_TRUE(FormatModelFile(*model).error);
  model->RhMagCount = 0;
  model->SectCalPointSet.LastIndex = 50001;
  EXPECT_TRUE(FormatModelFile(*model).error);
}

TEST(Cp932, StrictBothWays) {
  EXPECT_EQ(Utf8ToCp932("ｺｲﾙ"), std::string("\xba\xb2\xd9"));
  EXPECT_EQ(Utf8ToCp932("ソ"), std::string("\x83\x5c"));
  EXPECT_EQ(Cp932ToUtf8("\x83\x5c"), "ソ");
  EXPECT_EQ(Utf8ToCp932(""), "");
  std::string ascii;  // the writer copies ASCII texts as they are
  for (int c = 1; c < 128; ++c) {
    ascii.push_back(static_cast<char>(c));
  }
  EXPECT_EQ(Utf8ToCp932(ascii), ascii);
  EXPECT_FALSE(Utf8ToCp932("\xf0\x9f\x98\x80"));  // an emoji: no code page 932 form
  EXPECT_FALSE(Utf8ToCp932("\xc3"));              // truncated UTF-8
  EXPECT_FALSE(Cp932ToUtf8("\x83"));              // a lead byte with no trail byte
  EXPECT_FALSE(Cp932ToUtf8("a\x80z"));
}

}  // namespace
}  // namespace tavrine

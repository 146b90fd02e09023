// The magnets the grids were laid on survive a save and a read: the sector run computes at the
// same places, and the rectangular points get back their positions on their magnet.
#include <gtest/gtest.h>

#include "calcpoints/field_runs.h"
#include "calcpoints/grids.h"
#include "calcpoints/result_tables.h"
#include "display/field_vectors.h"
#include "files/cp932.h"
#include "files/model_file.h"
#include "sample_models.h"

namespace tavrine {
namespace {

using testing::FreshModel;

// Sector magnets 1 to 3, the third off the origin and turned; a turned rectangular magnet 2.
std::unique_ptr<ElementModel> PlacedModel() {
  auto m = FreshModel();
  m->RecMagCount = 2;
  m->RecMagTable[1] = {.a = 100, .b = 100, .l = 100};
  m->RecMagTable[2] = {.a = 10, .b = 6, .l = 4, .Br = 12000};
  testing::Place(m->RecMagTable[2], 30, -12, 5, 25, -40, 65);
  m->SecMagCount = 3;
  for (int i = 1; i <= 3; ++i) {
    m->SecMagTable[i] = {.Ri = 4, .Ro = 9, .T = 3, .OpenAngle = DegToRad(120), .Br = 11000};
    testing::Place(m->SecMagTable[i], 0, 0, -60.0 * i, 0, 0, 0);
  }
  testing::Place(m->SecMagTable[3], -25, 40, 12, 70, -20, 35);
  NullNotices quiet;
  GenerateSectGrid(*m, {.MagN = 3, .DivR = 3, .DivT = 8, .Ri = 1, .Ro = 8, .DisZ = 1.5}, quiet);
  GenerateRectGrid(*m, {.MagN = 2, .DivX = 4, .DivY = 4, .HalfX = false, .HalfY = false}, quiet);
  return m;
}

std::unique_ptr<ElementModel> ReadBack(const ElementModel& saved) {
  ModelReadResult read = ParseModelFile(FormatModelFile(saved).bytes, *FreshModel());
  EXPECT_TRUE(read.ok()) << read.error->line << ": " << read.error->message;
  return read.ok() ? std::move(read.model) : FreshModel();
}

TEST(GridMagnets, SectorGridReadByAFreshModelRunsAtTheSamePlaces) {
  auto model = PlacedModel();
  NullProgress progress;
  NullNotices notices;
  SectPointDistFieldCaluculation(*model, progress, notices);
  auto read = ReadBack(*model);
  EXPECT_EQ(read->SectCalPointSet.MagN, 3);
  EXPECT_EQ(read->RectCalPointSet.MagN, 2);
  SectPointDistFieldCaluculation(*read, progress, notices);
  const auto& before = model->SectCalPointSet.Points;
  const auto& after = read->SectCalPointSet.Points;
  ASSERT_EQ(read->SectCalPointSet.LastIndex, 35);
  double largest = 0;
  for (int i = 0; i <= 35; ++i) {
    const Vec3 h{before[i].Hx, before[i].Hy, before[i].Hz};
    largest = std::max(largest, std::abs(h.z));
    EXPECT_THAT((Vec3{after[i].Hx, after[i].Hy, after[i].Hz}), testing::VecNear(h, 1e-9, 1e-9))
        << i;
  }
  EXPECT_GT(largest, 1000);  // over the magnet's face, not somewhere far from it
  EXPECT_EQ(SectResultRows(*read), SectResultRows(*model));
}

TEST(GridMagnets, RectangularPointsGetTheirPositionsOnTheirMagnetBack) {
  auto model = PlacedModel();
  auto read = ReadBack(*model);
  for (int i = 0; i <= 24; ++i) {
    const RectCalPoint& a = model->RectCalPointSet.Points[i];
    const RectCalPoint& b = read->RectCalPointSet.Points[i];
    EXPECT_THAT((Vec3{b.LocalX, b.LocalY, b.LocalZ}),
                testing::VecNear((Vec3{a.LocalX, a.LocalY, a.LocalZ}), 0, 1e-9))
        << i;
  }
  // The last point is the grid's corner (a/2, b/2) at the distance above the face, shown
  // without the noise of the turn there and back.
  const auto texts = ExtremeReadoutTexts(*read, PointSetKind::kRect, 24);
  EXPECT_EQ(texts[3], "Px=5");
  EXPECT_EQ(texts[4], "Py=3");
  EXPECT_EQ(texts[5], "Pz=1");
}

TEST(GridMagnets, TrailingSectionOnlyWhenAMagnetIsNotTheFirst) {
  auto model = testing::SmallModel();
  const std::string plain = FormatModelFile(*model).bytes;
  model->SectCalPointSet.MagN = 3;
  const std::string with = FormatModelFile(*model).bytes;
  ASSERT_EQ(with.substr(0, plain.size()), plain);
  EXPECT_EQ(Cp932ToUtf8(with.substr(plain.size())),
            "\r\n\r\n\"計算点の磁石番号\"\r\n"
            "\"四角型計算点の磁石番号\",1,\"扇型計算点の磁石番号\",3\r\n");
  ModelReadResult read = ParseModelFile(with + "\r\n", *FreshModel());
  ASSERT_TRUE(read.ok());
  EXPECT_EQ(read.model->SectCalPointSet.MagN, 3);

  std::string bad = with;
  bad.replace(bad.size() - 3, 1, "-");
  read = ParseModelFile(bad, *FreshModel());
  ASSERT_FALSE(read.ok());
  EXPECT_EQ(read.error->line, 72);
  read = ParseModelFile(with + with.substr(plain.size()), *FreshModel());
  ASSERT_FALSE(read.ok());
}

}  // namespace
}  // namespace tavrine

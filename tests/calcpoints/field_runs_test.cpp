#include "calcpoints/field_runs.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

#include "calcpoints/grids.h"
#include "field/local_fields.h"
#include "geometry/transforms.h"
#include "model/text_rules.h"
#include "model/world_frame.h"
#include "support/matchers.h"
#include "support/recording_progress.h"

namespace tavrine {
namespace {

using testing::FreshModel;
using testing::RecordingProgress;

std::unique_ptr<ElementModel> WorldModel() {
  auto model = FreshModel();
  MakeWorldBox(*model, 100);
  return model;
}

void SmallRectGrid(ElementModel& model, int mag, int div) {
  NullNotices quiet;
  GenerateRectGrid(model, {.MagN = mag, .DivX = div, .DivY = div, .HalfX = false, .HalfY = false},
                   quiet);
}

void SmallSectGrid(ElementModel& model) {
  NullNotices quiet;
  GenerateSectGrid(model, {.MagN = 1, .DivR = 3, .DivT = 8, .Ri = 2, .Ro = 30, .DisZ = 1.5}, quiet);
}

// A model with elements of every kind, placed and turned.
void AddEveryKind(ElementModel& m) {
  m.RecMagCount = 3;
  m.RecMagTable[2] = {
      .a = 10, .b = 6, .l = 4, .Ox = 3, .Oy = -2, .Oz = -5, .AngX = 0.3, .Br = 12000};
  m.RecMagTable[3] = {.a = 4, .b = 4, .l = 8, .Ox = -20, .AngZ = 1, .Br = -11000};
  m.SecMagCount = 1;
  m.SecMagTable[1] = {
      .Ri = 5, .Ro = 9, .T = 3, .OpenAngle = DegToRad(100), .Oz = -12, .AngY = 0.2, .Br = 13000};
  m.RhMagCount = 1;
  m.RhMagTable[1] = {.R = 5, .HT = 4, .Ox = 15, .Oy = 10, .Oz = -3, .Br = 12500};
  m.StrCylCoilCount = 1;
  m.StrCylCoilTable[1] = {.Lx = 30, .R = 1, .CurrentDensity = 3, .Oy = 25, .Oz = 4};
  m.StrRecCoilCount = 1;
  m.StrRecCoilTable[1] = {
      .Lx = 20, .W = 4, .T = 2, .CurrentDensity = -2, .Ox = -10, .Oz = 6, .AngZ = 0.7};
  m.SecCylCoilCount = 1;
  m.SecCylCoilTable[1] = {
      .R = 12, .Angle = DegToRad(120), .rwire = 1, .CurrentDensity = 1, .Oz = 8};
  m.SecRecCoilCount = 1;
  m.SecRecCoilTable[1] = {
      .Ri = 5, .Ro = 8, .T = 2, .Angle = DegToRad(90), .CurrentDensity = 1, .Oy = -15, .AngX = 0.5};
}

Vec3 RectField(const ElementModel& m, int i) {
  const RectCalPoint& p = m.RectCalPointSet.Points[i];
  return {p.Hx, p.Hy, p.Hz};
}

TEST(FieldRuns, WorldBoxAloneGivesZeroField) {
  auto model = WorldModel();
  SmallRectGrid(*model, 1, 6);
  model->RectCalPointSet.Points[50000].Hx = 5;  // stale result beyond the grid
  NoticeBoard notices;
  NullProgress progress;
  RectPointDistFieldCaluculation(*model, progress, notices);
  for (int i = 0; i < kPointSlots; ++i) {
    ASSERT_EQ(RectField(*model, i), Vec3{}) << i;
  }
  SmallSectGrid(*model);
  SectPointDistFieldCaluculation(*model, progress, notices);
  for (int i = 0; i <= model->SectCalPointSet.LastIndex; ++i) {
    EXPECT_EQ(model->SectCalPointSet.Points[i].Hz, 0);
  }
}

TEST(FieldRuns, FieldAboveTheFaceCentreFollowsTheMagnetAxis) {
  auto model = WorldModel();
  model->RecMagCount = 2;
  model->RecMagTable[2] = {.a = 10,
                           .b = 10,
                           .l = 5,
                           .Ox = 7,
                           .Oy = 1,
                           .Oz = -3,
                           .AngX = 0.4,
                           .AngY = -0.9,
                           .AngZ = 2,
                           .Br = 12000};
  SmallRectGrid(*model, 2, 4);  // point 12 is over the centre
  NoticeBoard notices;
  NullProgress progress;
  RectPointDistFieldCaluculation(*model, progress, notices);
  const Vec3 h = RectField(*model, 12);
  const Vec3 axis = VectorToGlobal(model->RecMagTable, 2, {0, 0, 1});
  const double along = h.x * axis.x + h.y * axis.y + h.z * axis.z;
  EXPECT_GT(along, 1000);
  EXPECT_THAT(h, testing::VecNear(along * axis, 1e-9, 1e-9));
}

TEST(FieldRuns, EveryPointIsTheOrderedSumOfRotatedLocalFields) {
  auto model = WorldModel();
  AddEveryKind(*model);
  SmallRectGrid(*model, 2, 3);
  NoticeBoard notices;
  NullProgress progress;
  RectPointDistFieldCaluculation(*model, progress, notices, {.threads = 2});
  const FieldQuadrature q;
  NullNotices quiet;
  for (int i = 0; i <= model->RectCalPointSet.LastIndex; ++i) {
    const RectCalPoint& p = model->RectCalPointSet.Points[i];
    const Vec3 P{p.PGroX, p.PGroY, p.PGroZ};
    Vec3 sum;
    auto add = [&](const auto& table, int e, Vec3 local_field) {
      sum += VectorToGlobal(table, e, local_field);
    };
    auto local = [&](const auto& table, int e) { return PointToLocal(table, e, P); };
    const ElementModel& m = *model;
    for (int e = 2; e <= 3; ++e) {
      add(m.RecMagTable, e, RecMagLocalField(m.RecMagTable[e], local(m.RecMagTable, e), quiet));
    }
    add(m.SecMagTable, 1, SecMagLocalField(m.SecMagTable[1], local(m.SecMagTable, 1), q, quiet));
    add(m.RhMagTable, 1, RhMagLocalField(m.RhMagTable[1], local(m.RhMagTable, 1), q, quiet));
    add(m.StrCylCoilTable, 1,
        StrCylCoilLocalField(m.StrCylCoilTable[1], local(m.StrCylCoilTable, 1), q));
    add(m.StrRecCoilTable, 1,
        StrRecCoilLocalField(m.StrRecCoilTable[1], local(m.StrRecCoilTable, 1), q));
    add(m.SecCylCoilTable, 1,
        SecCylCoilLocalField(m.SecCylCoilTable[1], local(m.SecCylCoilTable, 1), q));
    add(m.SecRecCoilTable, 1,
        SecRecCoilLocalField(m.SecRecCoilTable[1], local(m.SecRecCoilTable, 1), q));
    EXPECT_EQ(RectField(m, i), sum) << i;
  }
}

TEST(FieldRuns, ResultsAreBitIdenticalForOneTwoAndThreeThreads) {
  auto model = WorldModel();
  AddEveryKind(*model);
  model->SectCalPointSet.MagN = 1;
  SmallRectGrid(*model, 2, 9);
  SmallSectGrid(*model);
  NoticeBoard notices;
  NullProgress progress;
  // Both point sets as raw bytes, so that "identical" means every bit.
  auto run = [&](int threads) {
    RectPointDistFieldCaluculation(*model, progress, notices, {.threads = threads});
    SectPointDistFieldCaluculation(*model, progress, notices, {.threads = threads});
    const auto& rect = model->RectCalPointSet.Points;
    const auto& sect = model->SectCalPointSet.Points;
    std::vector<char> bytes(sizeof rect + sizeof sect);
    std::memcpy(bytes.data(), &rect, sizeof rect);
    std::memcpy(bytes.data() + sizeof rect, &sect, sizeof sect);
    return bytes;
  };
  const std::vector<char> one = run(1);
  EXPECT_TRUE(one == run(2));
  EXPECT_TRUE(one == run(3));
}

TEST(FieldRuns, SectorRunSumsEveryKindAsTheRectangularRunDoes) {
  auto model = WorldModel();
  AddEveryKind(*model);
  SmallSectGrid(*model);
  NoticeBoard notices;
  NullProgress progress;
  // The rectangular run at the same global points is the reference: it sums every kind.
  auto compare = [&] {
    SectPointDistFieldCaluculation(*model, progress, notices);
    const SectPointSet& sect = model->SectCalPointSet;
    RectPointSet& rect = model->RectCalPointSet;
    rect.LastIndex = sect.LastIndex;
    for (int i = 0; i <= sect.LastIndex; ++i) {
      rect.Points[i] = {.PGroX = sect.Points[i].PGroX,
                        .PGroY = sect.Points[i].PGroY,
                        .PGroZ = sect.Points[i].PGroZ};
    }
    RectPointDistFieldCaluculation(*model, progress, notices);
    for (int i : {0, 20, sect.LastIndex}) {
      const SectCalPoint& p = sect.Points[i];
      EXPECT_THAT((Vec3{p.Hx, p.Hy, p.Hz}), testing::VecNear(RectField(*model, i), 1e-12, 1e-9))
          << i;
    }
  };
  compare();
  model->RecMagCount = 1;
  model->SecMagCount = 0;
  model->StrCylCoilCount = model->StrRecCoilCount = 0;
  compare();  // only the RH magnet and the arcs left
  EXPECT_NE(model->SectCalPointSet.Points[20].Hz, 0);
}

TEST(FieldRuns, SectorCountOfTwoVisitsTwoMagnets) {
  auto model = WorldModel();
  model->SecMagTable[1] = {.Ri = 5, .Ro = 9, .T = 3, .OpenAngle = 1, .Br = 12000};
  model->SecMagTable[2] = {.Ri = 5, .Ro = 9, .T = 3, .OpenAngle = 1, .AngZ = 2, .Br = 12000};
  SmallSectGrid(*model);
  NoticeBoard notices;
  NullProgress progress;
  double hz[3];
  for (int count = 0; count <= 2; ++count) {
    model->SecMagCount = count;
    SectPointDistFieldCaluculation(*model, progress, notices);
    hz[count] = model->SectCalPointSet.Points[30].Hz;
  }
  model->SecMagTable[1].Br = 0;
  SectPointDistFieldCaluculation(*model, progress, notices);
  EXPECT_EQ(hz[0], 0);
  EXPECT_NE(hz[1], 0);
  EXPECT_NEAR(hz[2], hz[1] + model->SectCalPointSet.Points[30].Hz, 1e-9 * std::abs(hz[2]));
}

// With no rectangular magnet too, the sector run lays its points on the magnet as it is now: a
// magnet moved and turned after its grid was made carries its field pattern along.
TEST(FieldRuns, SectorPointsFollowTheirMagnetWithoutRectangularMagnets) {
  auto model = FreshModel();
  model->SecMagCount = 1;
  model->SecMagTable[1] = {.Ri = 5, .Ro = 9, .T = 3, .OpenAngle = 1, .Br = 12000};
  SmallSectGrid(*model);
  NoticeBoard notices;
  NullProgress progress;
  SectPointDistFieldCaluculation(*model, progress, notices);
  const auto& points = model->SectCalPointSet.Points;
  std::vector<Vec3> unmoved;
  for (int i = 0; i <= model->SectCalPointSet.LastIndex; ++i) {
    unmoved.push_back({points[i].Hx, points[i].Hy, points[i].Hz});
  }
  SecMag& magnet = model->SecMagTable[1];
  magnet.Ox = 40, magnet.Oy = -15, magnet.Oz = 7, magnet.AngX = 0.6, magnet.AngY = -0.3;
  magnet.AngZ = 2;
  SectPointDistFieldCaluculation(*model, progress, notices);
  const ElementFrame frame(PlacementOf(magnet));
  for (size_t i = 0; i < unmoved.size(); ++i) {
    const Vec3 own = frame.VectorToLocal({points[i].Hx, points[i].Hy, points[i].Hz});
    EXPECT_THAT(own, testing::VecNear(unmoved[i], 1e-9, 1e-9)) << i;
  }
  EXPECT_GT(std::abs(unmoved[20].z), 5);
}

TEST(FieldRuns, EdgeProlongationRaisesCaution3OnceAndTheRunCompletes) {
  auto model = WorldModel();
  model->RecMagCount = 2;
  model->RecMagTable[2] = {.a = 10, .b = 6, .l = 2, .Br = 12000};
  RectPointSet& set = model->RectCalPointSet;
  set.LastIndex = 200;
  for (int i = 0; i <= 200; ++i) {
    set.Points[i] = {.PGroX = -5, .PGroY = 3.5 + i, .PGroZ = 0};  // x = −a/2, y > b/2
  }
  set.Points[200] = {.PGroX = 1, .PGroY = 1, .PGroZ = 4};
  NoticeBoard notices;
  NullProgress progress;
  RectPointDistFieldCaluculation(*model, progress, notices, {.threads = 2});
  EXPECT_EQ(notices.RaiseCount(NoticeId::Caution3), 1);
  EXPECT_EQ(notices.Title(NoticeId::Caution3), "ﾛｹｰｼｮﾝ  RecMagFieldX!!!");
  for (int i = 0; i <= 200; ++i) {
    const Vec3 h = RectField(*model, i);
    ASSERT_TRUE(std::isfinite(h.x) && std::isfinite(h.y) && std::isfinite(h.z)) << i;
  }
  EXPECT_GT(set.Points[200].Hz, 0);
}

TEST(FieldRuns, ProgressWindowsAndStepTexts) {
  auto model = WorldModel();
  AddEveryKind(*model);
  model->RhMagCount = 0;
  NoticeBoard notices;
  RecordingProgress rect;
  RectPointDistFieldCaluculation(*model, rect, notices);
  const std::vector<std::string> expected_rect{
      "open ProgressMagField 磁界計算中",         "title １．角柱磁石からの磁界計算中",
      "bar １．角柱磁石からの磁界計算中",         "title ２．(中空)円柱型磁石からの磁界計算中",
      "bar ２．(中空)円柱型磁石からの磁界計算中", "title ４．円柱ｺｲﾙからの磁界計算中",
      "bar ４．円柱ｺｲﾙからの磁界計算中",          "title ５．角柱ｺｲﾙからの磁界計算中",
      "bar ５．角柱ｺｲﾙからの磁界計算中",          "title ６．円柱扇型ｺｲﾙからの磁界計算中",
      "bar ６．円柱扇型ｺｲﾙからの磁界計算中",      "title ７．角柱扇型ｺｲﾙからの磁界計算中",
      "bar ７．角柱扇型ｺｲﾙからの磁界計算中",      "close"};
  EXPECT_EQ(rect.Events(), expected_rect);
  EXPECT_EQ(rect.LastFraction(), 1);

  RecordingProgress sect;
  SectPointDistFieldCaluculation(*model, sect, notices);
  const std::vector<std::string> expected_sect{
      "open ProgressRecMag 角柱型磁石からの磁界計算中",
      "bar 角柱型磁石からの磁界計算中",
      "close",
      "open ProgressSecMag （中空）円柱型磁石からの磁界計算中",
      "bar （中空）円柱型磁石からの磁界計算中",
      "close",
      "open ProgressCoil ｺｲﾙからの磁界計算中",
      "bar ｺｲﾙからの磁界計算中",
      "close",
      "open ProgressCoil ｺｲﾙからの磁界計算中",
      "bar ｺｲﾙからの磁界計算中",
      "close",
      "open ProgressCoil 円柱扇型ｺｲﾙからの磁界計算中",
      "bar 円柱扇型ｺｲﾙからの磁界計算中",
      "close",
      "open ProgressCoil 角柱扇型ｺｲﾙからの磁界計算中",
      "bar 角柱扇型ｺｲﾙからの磁界計算中",
      "close"};
  EXPECT_EQ(sect.Events(), expected_sect);
}

}  // namespace
}  // namespace tavrine

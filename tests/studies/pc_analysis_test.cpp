// Pc cell grids, the layer run against independent field values, and the distribution.
#include "studies/pc_analysis.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numeric>

#include "calcpoints/field_runs.h"
#include "support/matchers.h"
#include "support/recording_progress.h"

namespace tavrine {
namespace {

using testing::FreshModel;

constexpr double kPi = 3.14159265358979323846;

// The world box as magnet 1 (no remanence) and one rectangular magnet in slot 2.
std::unique_ptr<ElementModel> ModelWithRecMag(const RecMag& magnet) {
  auto model = FreshModel();
  model->RecMagTable[1] = RecMag{.a = 100, .b = 100, .l = 100};
  model->RecMagTable[2] = magnet;
  model->RecMagCount = 2;
  return model;
}

RecMag Prism(double a, double b, double l, double br) {
  return RecMag{.a = a, .b = b, .l = l, .Br = br};
}

SecMag Sector(double ri, double ro, double t, double open_degrees, double br) {
  return SecMag{.Ri = ri, .Ro = ro, .T = t, .OpenAngle = open_degrees / 180 * kPi, .Br = br};
}

std::unique_ptr<ElementModel> ModelWithSecMag(const SecMag& magnet) {
  auto model = FreshModel();
  model->RecMagTable[1] = RecMag{.a = 100, .b = 100, .l = 100};
  model->RecMagCount = 1;
  model->SecMagTable[1] = magnet;
  model->SecMagCount = 1;
  return model;
}

PcRunResult RunPc(
    ElementModel& model, PcShape shape, int n, PcDivisions div, double depth, int threads = 2) {
  NullProgress progress;
  NullNotices notices;
  return RunPcCalculation(model, {shape, n, div, depth}, progress, notices, {threads});
}

// Solid angle of a 2A × 2B rectangle seen from height h above its centre.
double RectangleSolidAngle(double A, double B, double h) {
  return 4 * std::atan(A * B / (h * std::sqrt(A * A + B * B + h * h)));
}

TEST(PcGrid, RectangularCellsAreEqualStripsOfTheAnalysedSlab) {
  const RecMag magnet = Prism(30, 12, 8, 12000);
  const PcCellGrid grid = RecPcGrid(magnet, {20, 20, 5}, -8);
  ASSERT_EQ(grid.inner_centres.size(), 20u);
  ASSERT_EQ(grid.outer_centres.size(), 20u);
  for (int j = 0; j < 20; ++j) {
    EXPECT_NEAR(grid.inner_centres[static_cast<size_t>(j)], -15 + (j + 0.5) * 1.5, 1e-12);
    EXPECT_NEAR(grid.outer_centres[static_cast<size_t>(j)], -6 + (j + 0.5) * 0.6, 1e-12);
  }
  ASSERT_EQ(grid.layer_z.size(), 5u);
  EXPECT_DOUBLE_EQ(grid.layer_z.front(), -0.8);
  EXPECT_DOUBLE_EQ(grid.layer_z.back(), -7.2);
  // 2000 equal cells filling a·b·|D|.
  for (double v : grid.outer_volume) {
    EXPECT_NEAR(v, 30.0 * 12 * 8 / 2000, 1e-12);
  }
}

TEST(PcGrid, SingleDivisionIsOneCentredCellOverTheWholeSide) {
  const PcCellGrid grid = RecPcGrid(Prism(10, 4, 2, 12000), {1, 1, 1}, -2);
  EXPECT_EQ(grid.inner_centres, std::vector<double>{0.0});
  EXPECT_EQ(grid.outer_centres, std::vector<double>{0.0});
  EXPECT_DOUBLE_EQ(grid.outer_volume[0], 80);
  EXPECT_EQ(StepCentres(2, 6, 1), std::vector<double>{4.0});
}

TEST(PcGrid, SectorRingsGrowWithRadiusAndFillTheSector) {
  const SecMag magnet = Sector(10, 20, 5, 60, 12000);
  const PcCellGrid grid = SecPcGrid(magnet, {30, 10, 5}, -5);
  ASSERT_EQ(grid.outer_volume.size(), 10u);
  EXPECT_NEAR(grid.outer_centres.front(), 10.5, 1e-12);
  EXPECT_NEAR(grid.outer_centres.back(), 19.5, 1e-12);
  EXPECT_NEAR(grid.inner_centres.front(), -kPi / 6 + kPi / 180, 1e-12);
  double total = 0;
  for (size_t i = 0; i < 10; ++i) {
    EXPECT_NEAR(grid.outer_volume[i] / grid.outer_centres[i],
                grid.outer_volume[0] / grid.outer_centres[0], 1e-12);
    total += grid.outer_volume[i] * 30 * 5;
  }
  EXPECT_LT(grid.outer_volume.front(), grid.outer_volume.back());
  EXPECT_NEAR(total, (400.0 - 100.0) / 2 * (kPi / 3) * 5, 1e-9);
}

TEST(PcRun, IsolatedPrismMatchesTheSolidAngleFieldOnItsAxis) {
  const double a = 10, b = 6, l = 4, br = 12000;
  auto model = ModelWithRecMag(Prism(a, b, l, br));
  const PcRunResult result = RunPc(*model, PcShape::kRect, 2, {3, 3, 4}, -l);
  ASSERT_EQ(result.cell_pc.size(), 36u);
  for (int layer = 0; layer < 4; ++layer) {
    const double d = l / 4 * (layer + 0.5);  // depth below the north face
    const double hz =
        -br / (4 * kPi) *
        (RectangleSolidAngle(a / 2, b / 2, d) + RectangleSolidAngle(a / 2, b / 2, l - d));
    const double expected = -(br + hz) / hz;
    const size_t centre = static_cast<size_t>(9 * layer + 1 + 3 * 1);
    EXPECT_NEAR(result.cell_pc[centre], expected, 1e-9 * expected) << "layer " << layer;
    EXPECT_NEAR(result.cell_volume[centre], a * b * l / 36, 1e-12);
  }
}

TEST(PcRun, CubeAverageFieldIsAThirdOfTheRemanence) {
  // The volume average of the demagnetising field of a uniformly magnetised cube is −Br/3.
  const double br = 12000;
  auto model = ModelWithRecMag(Prism(10, 10, 10, br));
  const PcRunResult result = RunPc(*model, PcShape::kRect, 2, {20, 20, 20}, -10);
  double weighted = 0, volume = 0;
  for (size_t k = 0; k < result.cell_pc.size(); ++k) {
    weighted += -br / (result.cell_pc[k] + 1) * result.cell_volume[k];
    volume += result.cell_volume[k];
  }
  EXPECT_NEAR(volume, 1000, 1e-9);
  EXPECT_NEAR(weighted / volume, -br / 3, 0.005 * br / 3);
}

TEST(PcRun, PcFollowsTheMagnetsOwnAxisWhereverItIsPlaced) {
  auto plain = ModelWithRecMag(Prism(8, 5, 3, 13000));
  const PcRunResult a = RunPc(*plain, PcShape::kRect, 2, {4, 3, 2}, -3);
  // Turned upside down, on its side, or about the global z axis and moved away.
  for (const auto& [ang_x, ang_z] : {std::pair{kPi, 0.0}, {kPi / 2, 0.0}, {0.3, 0.7}}) {
    RecMag moved = Prism(8, 5, 3, 13000);
    moved.Ox = 40;
    moved.Oy = -25;
    moved.Oz = 7;
    moved.AngX = ang_x;
    moved.AngZ = ang_z;
    auto turned = ModelWithRecMag(moved);
    const PcRunResult b = RunPc(*turned, PcShape::kRect, 2, {4, 3, 2}, -3);
    for (size_t k = 0; k < a.cell_pc.size(); ++k) {
      ASSERT_NEAR(a.cell_pc[k], b.cell_pc[k], 1e-9 * std::abs(a.cell_pc[k])) << k << " " << ang_x;
    }
  }
  SecMag upside_down = Sector(8, 20, 6, 120, 12000);
  upside_down.AngX = kPi;
  auto sect_plain = ModelWithSecMag(Sector(8, 20, 6, 120, 12000));
  auto sect_turned = ModelWithSecMag(upside_down);
  const PcRunResult c = RunPc(*sect_plain, PcShape::kSect, 1, {5, 3, 2}, -6);
  const PcRunResult d = RunPc(*sect_turned, PcShape::kSect, 1, {5, 3, 2}, -6);
  for (size_t k = 0; k < c.cell_pc.size(); ++k) {
    ASSERT_NEAR(c.cell_pc[k], d.cell_pc[k], 1e-9 * std::abs(c.cell_pc[k])) << k;
  }
}

TEST(PcRun, ResultsAreBitIdenticalForAnyThreadCount) {
  auto model = ModelWithRecMag(Prism(12, 9, 5, 12500));
  model->SecMagTable[1] = Sector(15, 25, 4, 90, 11000);
  model->SecMagCount = 1;
  model->StrRecCoilTable[1] = StrRecCoil{.Lx = 30, .W = 2, .T = 2, .CurrentDensity = 5, .Oz = 8};
  model->StrRecCoilCount = 1;
  const PcRunResult one = RunPc(*model, PcShape::kRect, 2, {13, 11, 3}, -5, 1);
  const PcRunResult three = RunPc(*model, PcShape::kRect, 2, {13, 11, 3}, -5, 3);
  EXPECT_EQ(one.cell_pc, three.cell_pc);
  const PcRunResult sect_one = RunPc(*model, PcShape::kSect, 1, {17, 5, 2}, -4, 1);
  const PcRunResult sect_four = RunPc(*model, PcShape::kSect, 1, {17, 5, 2}, -4, 4);
  EXPECT_EQ(sect_one.cell_pc, sect_four.cell_pc);
}

TEST(PcRun, LayerFieldsAgreeWithTheRectangularFieldRun) {
  auto model = ModelWithRecMag(Prism(12, 9, 5, 12500));
  model->RecMagTable[3] = Prism(6, 6, 3, 11000);
  model->RecMagTable[3].Oz = 6;
  model->RecMagTable[3].AngX = 0.3;
  model->RecMagCount = 3;
  model->StrCylCoilTable[1] = StrCylCoil{.Lx = 20, .R = 1, .CurrentDensity = 4, .Oy = 9};
  model->StrCylCoilCount = 1;
  // The RH magnet and the arc wire count as every other element does.
  model->RhMagTable[1] = RhMag{.R = 5, .HT = 4, .Ox = 15, .Oz = 2, .Br = 12500};
  model->RhMagCount = 1;
  model->SecRecCoilTable[1] =
      SecRecCoil{.Ri = 9, .Ro = 11, .T = 2, .Angle = 2, .CurrentDensity = 30, .Oz = 3};
  model->SecRecCoilCount = 1;
  model->RectCalPointSet.LastIndex = 1680;
  const PcRunResult result = RunPc(*model, PcShape::kRect, 2, {6, 5, 3}, -5);
  // The set keeps its point count and holds the last layer's 30 centres with their fields.
  EXPECT_EQ(model->RectCalPointSet.LastIndex, 1680);
  EXPECT_DOUBLE_EQ(model->RectCalPointSet.Points[0].LocalZ, -5.0 / 3 * 2.5);
  EXPECT_EQ(model->RectCalPointSet.Points[30].Hz, 0.0);
  std::vector<double> pc_hz;
  for (int k = 0; k < 30; ++k) {
    pc_hz.push_back(model->RectCalPointSet.Points[static_cast<size_t>(k)].Hz);
  }
  ASSERT_EQ(result.vectors.size(), 90u);
  EXPECT_EQ(result.vectors[60].h.z, pc_hz[0]);
  model->RectCalPointSet.LastIndex = 29;
  NullProgress progress;
  NullNotices notices;
  RectPointDistFieldCaluculation(*model, progress, notices);
  for (int k = 0; k < 30; ++k) {
    const double hz = model->RectCalPointSet.Points[static_cast<size_t>(k)].Hz;
    EXPECT_NEAR(pc_hz[static_cast<size_t>(k)], hz, 1e-9 * std::abs(hz));
    EXPECT_NEAR(result.cell_pc[static_cast<size_t>(60 + k)], -(12500 + hz) / hz, 1e-8);
  }
}

TEST(PcRun, SectorLayerAgreesWithTheSectorFieldRunAndLeavesTheRectSetAlone) {
  auto model = ModelWithSecMag(Sector(8, 20, 6, 120, 12000));
  model->SecMagTable[2] = Sector(8, 20, 6, 120, 12000);
  model->SecMagTable[2].AngZ = kPi;
  model->SecMagTable[2].Oz = 1;
  model->SecMagCount = 2;
  model->RectCalPointSet.Points[0].Hz = 77;
  const PcRunResult result = RunPc(*model, PcShape::kSect, 1, {9, 4, 2}, -6);
  EXPECT_EQ(model->RectCalPointSet.Points[0].Hz, 77);
  EXPECT_TRUE(result.vectors.empty());
  std::vector<double> pc_hz;
  for (int k = 0; k < 36; ++k) {
    pc_hz.push_back(model->SectCalPointSet.Points[static_cast<size_t>(k)].Hz);
  }
  EXPECT_DOUBLE_EQ(model->SectCalPointSet.Points[9].R, 12.5);
  model->SectCalPointSet.LastIndex = 35;
  model->SectCalPointSet.MagN = 1;
  NullProgress progress;
  NullNotices notices;
  SectPointDistFieldCaluculation(*model, progress, notices);
  for (int k = 0; k < 36; ++k) {
    const double hz = model->SectCalPointSet.Points[static_cast<size_t>(k)].Hz;
    EXPECT_NEAR(pc_hz[static_cast<size_t>(k)], hz, 1e-9 * std::abs(hz));
    // Cells of one ring share a volume; the ring index is k ÷ 9.
    EXPECT_EQ(result.cell_volume[static_cast<size_t>(36 + k)],
              result.cell_volume[static_cast<size_t>(36 + k / 9 * 9)]);
  }
}

TEST(PcRun, EachKindHasItsOwnProgressWindowPerLayer) {
  auto model = ModelWithSecMag(Sector(8, 20, 6, 120, 12000));
  model->StrCylCoilTable[1] = StrCylCoil{.Lx = 20, .R = 1, .CurrentDensity = 4, .Oz = 9};
  model->StrCylCoilCount = 1;
  testing::RecordingProgress progress;
  NullNotices notices;
  RunPcCalculation(*model, {PcShape::kSect, 1, {4, 3, 2}, -6}, progress, notices, {2});
  const std::vector<std::string> layer = {"open ProgressRecMag 角柱型磁石からの磁界計算中",
                                          "bar 角柱型磁石からの磁界計算中",
                                          "close",
                                          "open ProgressSecMag （中空）円柱型磁石からの磁界計算中",
                                          "bar （中空）円柱型磁石からの磁界計算中",
                                          "close",
                                          "open ProgressCoil ｺｲﾙからの磁界計算中",
                                          "bar ｺｲﾙからの磁界計算中",
                                          "close"};
  std::vector<std::string> both = layer;
  both.insert(both.end(), layer.begin(), layer.end());
  EXPECT_EQ(progress.Events(), both);
  EXPECT_EQ(progress.LastFraction(), 1.0);
}

TEST(PcRun, CellsWithoutFieldHaveNoPcAndNoVolume) {
  // Nothing magnetised: Hz is zero everywhere.
  auto model = ModelWithRecMag(Prism(10, 10, 5, 0));
  NullProgress progress;
  NoticeBoard board;
  const PcRunResult result =
      RunPcCalculation(*model, {PcShape::kRect, 2, {2, 2, 1}, -5}, progress, board, {1});
  EXPECT_TRUE(board.IsOpen(NoticeId::Caution3));
  EXPECT_EQ(result.cell_volume, std::vector<double>(4, 0.0));
  EXPECT_FALSE(CellPc(12000, 0).has_value());
  EXPECT_FALSE(CellPc(12000, NAN).has_value());
  EXPECT_DOUBLE_EQ(*CellPc(12000, -6000), 1.0);
}

TEST(PcRun, RefusesGridsBeyondCapacity) {
  auto model = ModelWithRecMag(Prism(10, 10, 5, 12000));
  EXPECT_TRUE(RunPc(*model, PcShape::kRect, 2, {0, 5, 5}, -5).cell_pc.empty());
  EXPECT_TRUE(RunPc(*model, PcShape::kRect, 2, {60, 60, 20}, -5).cell_pc.empty());
  EXPECT_TRUE(RunPc(*model, PcShape::kRect, 1001, {2, 2, 2}, -5).cell_pc.empty());
}

PcAnalysis AnalysisOf(const std::vector<double>& pc, const std::vector<double>& volume) {
  PcAnalysis analysis;
  analysis.StoreRun({pc, volume, {}});
  return analysis;
}

TEST(PcDistributionTest, SortsWithVolumesAndWeighsTheMean) {
  PcAnalysis analysis = AnalysisOf({3, 1, 2, 5}, {1, 2, 3, 4});
  NoticeBoard board;
  const PcDistribution d = ComputePcDistribution(analysis, board);
  EXPECT_EQ(std::vector<double>(analysis.cell_pc.begin(), analysis.cell_pc.begin() + 4),
            (std::vector<double>{1, 2, 3, 5}));
  EXPECT_EQ(std::vector<double>(analysis.cell_volume.begin(), analysis.cell_volume.begin() + 4),
            (std::vector<double>{2, 3, 1, 4}));
  EXPECT_DOUBLE_EQ(d.mean, (3 + 2 + 6 + 20) / 10.0);
  EXPECT_EQ(d.min, 1);
  EXPECT_EQ(d.max, 5);
  EXPECT_EQ(d.volume, 10);
  // x_k = k/100·2·mean = 0.062·k; F counts the volume of cells strictly below x.
  EXPECT_EQ(d.rows[0].x, 0);
  EXPECT_EQ(d.rows[0].y, 0);
  EXPECT_DOUBLE_EQ(d.rows[100].x, 6.2);
  EXPECT_DOUBLE_EQ(d.rows[17].y, 0.2);   // x = 1.054: the cell at 1
  EXPECT_DOUBLE_EQ(d.rows[40].y, 0.5);   // x = 2.48
  EXPECT_DOUBLE_EQ(d.rows[60].y, 0.6);   // x = 3.72
  EXPECT_DOUBLE_EQ(d.rows[100].y, 1.0);  // beyond the largest Pc: the whole volume
  EXPECT_FALSE(board.IsOpen(NoticeId::Caution12));
}

TEST(PcDistributionTest, EqualVolumesCountCellsBelowAndRepeatsGiveTheSameCurve) {
  std::vector<double> pc, volume(2000, 0.5);
  for (int k = 0; k < 2000; ++k) {
    pc.push_back(static_cast<double>((k * 7919) % 2000) / 1000);  // 0 … 1.999, shuffled
  }
  PcAnalysis analysis = AnalysisOf(pc, volume);
  NullNotices notices;
  const PcDistribution first = ComputePcDistribution(analysis, notices);
  const PcDistribution second = ComputePcDistribution(analysis, notices);
  EXPECT_NEAR(first.mean, 0.9995, 1e-12);
  for (int k = 0; k < kPcCurveRows; ++k) {
    const size_t r = static_cast<size_t>(k);
    const double x = first.rows[r].x;
    const double below = std::min(2000.0, std::ceil(x * 1000 - 1e-9));
    EXPECT_NEAR(first.rows[r].y, below / 2000, 1e-12) << "x " << x;
    EXPECT_EQ(first.rows[r].x, second.rows[r].x);
    EXPECT_EQ(first.rows[r].y, second.rows[r].y);
  }
}

TEST(PcDistributionTest, NoVolumeRaisesCaution12AndLeavesTheMeanUndivided) {
  PcAnalysis analysis = AnalysisOf({2, 4}, {0, 0});
  NoticeBoard board;
  const PcDistribution d = ComputePcDistribution(analysis, board);
  EXPECT_TRUE(board.IsOpen(NoticeId::Caution12));
  EXPECT_EQ(d.mean, 0);
  EXPECT_EQ(d.rows[50].y, 0);
  PcAnalysis empty;
  const PcDistribution none = ComputePcDistribution(empty, board);
  EXPECT_EQ(none.min, 0);
  EXPECT_EQ(none.max, 0);
  EXPECT_EQ(none.volume, 0);
}

}  // namespace
}  // namespace tavrine

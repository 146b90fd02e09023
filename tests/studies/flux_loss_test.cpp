// The per-cell loss ratio and the loss-against-temperature curve.
#include "studies/flux_loss.h"

#include <gtest/gtest.h>

namespace tavrine {
namespace {

FluxLossInputs Inputs(double hcj20, double br = 12000, double tmax = 120) {
  return {.alpha = 0.115, .beta = 0.64, .tmax = tmax, .hcj20 = hcj20, .br = br};
}

TEST(CellLossRatioTest, WorkingPointAgainstCoercivityAt20Degrees) {
  // Pc 1: h = Br/2 = 6000 Oe.
  EXPECT_DOUBLE_EQ(CellLossRatio(1, 20, Inputs(5000)), 0.2);
  EXPECT_EQ(CellLossRatio(1, 20, Inputs(17000)), 0);
  // Exactly at the coercivity there is no loss yet.
  EXPECT_EQ(CellLossRatio(1, 20, Inputs(6000)), 0);
}

TEST(CellLossRatioTest, BothFallLinearlyWithTemperature) {
  // At 70 °C: Br(T) = (1 − 0.0575)·12000 = 11310, Hcj(T) = (1 − 0.32)·5000 = 3400.
  const double h = 11310 / 2.0;
  EXPECT_NEAR(CellLossRatio(1, 70, Inputs(5000)), (h - 3400) / 3400, 1e-12);
}

TEST(CellLossRatioTest, NeverMoreThanTheWholeCellNorLessThanNothing) {
  // h = 12000/1.1 ≈ 10909 against 3000 Oe: the ratio would be 2.6.
  EXPECT_EQ(CellLossRatio(0.1, 20, Inputs(3000)), 1);
  // Beyond 176.25 °C the coercivity factor is negative: the whole cell is lost.
  EXPECT_EQ(CellLossRatio(5, 200, Inputs(17000)), 1);
  EXPECT_EQ(CellLossRatio(5, 20, Inputs(0)), 1);
  // No working point (Pc −1, the value of every cell of a magnet without Br).
  EXPECT_EQ(CellLossRatio(-1, 120, Inputs(17000, 0)), 0);
  // Pc below −1: the field aids the magnet.
  EXPECT_EQ(CellLossRatio(-3, 120, Inputs(1000)), 0);
}

TEST(FluxLossCurveTest, RowsRunFrom20DegreesToTmaxAndWeighVolumes) {
  const std::vector<double> pc = {1, 10};
  const std::vector<double> volume = {1, 3};
  NoticeBoard board;
  const FluxLossCurve curve = EstimateFluxLoss(Inputs(5000), pc, volume, board);
  EXPECT_EQ(curve.volume, 4);
  EXPECT_EQ(curve.rows[0].x, 20);
  EXPECT_DOUBLE_EQ(curve.rows[50].x, 70);
  EXPECT_DOUBLE_EQ(curve.rows[100].x, 120);
  // At 20 °C only the Pc 1 cell (a quarter of the volume) loses 20 %.
  EXPECT_DOUBLE_EQ(curve.rows[0].y, -0.2 * 1 / 4 * 100);
  for (int j = 1; j < kPcCurveRows; ++j) {
    EXPECT_LE(curve.rows[static_cast<size_t>(j)].y, curve.rows[static_cast<size_t>(j - 1)].y);
  }
  EXPECT_FALSE(board.IsOpen(NoticeId::Caution12));
}

TEST(FluxLossCurveTest, StrongMagnetStaysFlatAndTmax20GivesOneTemperature) {
  const std::vector<double> pc(50, 4.0);
  const std::vector<double> volume(50, 0.2);
  NullNotices notices;
  const FluxLossCurve flat = EstimateFluxLoss(Inputs(30000), pc, volume, notices);
  for (const PcCurvePoint& row : flat.rows) {
    EXPECT_EQ(row.y, 0);
  }
  const FluxLossCurve still = EstimateFluxLoss(Inputs(30000, 12000, 20), pc, volume, notices);
  for (const PcCurvePoint& row : still.rows) {
    EXPECT_EQ(row.x, 20);
  }
}

TEST(FluxLossCurveTest, HighTemperaturesLoseEverythingInsteadOfGaining) {
  const std::vector<double> pc = {2, 3};
  const std::vector<double> volume = {1, 1};
  NullNotices notices;
  const FluxLossCurve curve = EstimateFluxLoss(Inputs(17000, 12000, 300), pc, volume, notices);
  EXPECT_EQ(curve.rows[100].y, -100);
  for (const PcCurvePoint& row : curve.rows) {
    EXPECT_LE(row.y, 0);
    EXPECT_GE(row.y, -100);
  }
}

TEST(FluxLossCurveTest, NoVolumeRaisesCaution12AndShowsZeros) {
  const std::vector<double> pc(10, 0.0);
  const std::vector<double> volume(10, 0.0);
  NoticeBoard board;
  const FluxLossCurve curve = EstimateFluxLoss(Inputs(1000), pc, volume, board);
  EXPECT_TRUE(board.IsOpen(NoticeId::Caution12));
  EXPECT_EQ(curve.volume, 0);
  EXPECT_EQ(curve.rows[100].y, 0);
}

}  // namespace
}  // namespace tavrine

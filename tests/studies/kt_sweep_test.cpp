// The Kt sweep against physics (I·L × B on wires and arcs in a near-uniform field, r × F,
// symmetry of a turned rotor), its angle loop and numbering, progress, and thread independence.
#include "studies/kt_sweep.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <utility>

#include "field/local_fields.h"
#include "geometry/transforms.h"
#include "model/text_rules.h"
#include "model/world_frame.h"
#include "support/matchers.h"
#include "support/recording_progress.h"

namespace tavrine {
namespace {

using testing::FreshModel;
using testing::VecNear;

constexpr double kBr = 12000;  // G; the field just above the huge magnet's face is Br/2

// Magnet 2: a slab so wide and deep that the field a few mm above the centre of its face is
// Br/2 along +z to well under 0.1 %.
void AddHugeMagnet(ElementModel& model) {
  MakeWorldBox(model, 100);
  model.RecMagCount = 2;
  RecMag& m = model.RecMagTable[2];
  m.a = m.b = 20000;
  m.l = 1e6;
  m.Br = kBr;
}

int AddStraight(ElementModel& model, const StrRecCoil& coil, int div_l, int div_w, int div_t) {
  model.StrRecCoilTable[static_cast<size_t>(++model.StrRecCoilCount)] = coil;
  KtState& kt = model.Kt;
  const size_t p = static_cast<size_t>(++kt.KtSelectionCount[0]);
  kt.KtSelection[0][p] = model.StrRecCoilCount;
  kt.DivL[0][p] = div_l;
  kt.DivW[0][p] = div_w;
  kt.DivT[0][p] = div_t;
  return model.StrRecCoilCount;
}

int AddArc(ElementModel& model, const SecRecCoil& coil, int div_l, int div_w, int div_t) {
  model.SecRecCoilTable[static_cast<size_t>(++model.SecRecCoilCount)] = coil;
  KtState& kt = model.Kt;
  const size_t p = static_cast<size_t>(++kt.KtSelectionCount[1]);
  kt.KtSelection[1][p] = model.SecRecCoilCount;
  kt.DivL[1][p] = div_l;
  kt.DivW[1][p] = div_w;
  kt.DivT[1][p] = div_t;
  return model.SecRecCoilCount;
}

void SetAngles(ElementModel& model, double start_deg, double end_deg, double step_deg) {
  model.Kt.StartAngle = DegToRad(start_deg);
  model.Kt.EndAngle = DegToRad(end_deg);
  model.Kt.StepAngle = DegToRad(step_deg);
}

StrRecCoil Wire(double x, double y, double z) {
  StrRecCoil c;
  c.Lx = 10;
  c.W = 2;
  c.T = 2;
  c.CurrentDensity = 10;
  c.Ox = x;
  c.Oy = y;
  c.Oz = z;
  return c;
}

Vec3 Force(const KtStepTotals& t, int s) {
  const size_t i = static_cast<size_t>(s);
  return {t.ForceX[i], t.ForceY[i], t.ForceZ[i]};
}
Vec3 Torque(const KtStepTotals& t, int s) {
  const size_t i = static_cast<size_t>(s);
  return {t.TorqueX[i], t.TorqueY[i], t.TorqueZ[i]};
}

KtStepTotals Sweep(ElementModel& model, int threads = 0) {
  KtStepTotals totals;
  NullProgress progress;
  NullNotices notices;
  EXPECT_EQ(RunKtSweep(model, totals, progress, notices, nullptr, {threads}),
            KtSweepOutcome::kDone);
  return totals;
}

TEST(KtAngles, RepeatedAdditionDecidesTheLastAngleAndStepsAreNumberedFromOne) {
  const KtAngles nine = KtSweepAngles(DegToRad(0), DegToRad(40), DegToRad(5));
  ASSERT_EQ(nine.phi.size(), 9u);
  EXPECT_EQ(nine.caption_steps, 9);
  for (size_t k = 0; k < nine.phi.size(); ++k) {
    EXPECT_EQ(KtStepNumber(nine.phi[k], 0, DegToRad(5)), static_cast<int>(k) + 1);
  }
  EXPECT_NEAR(RadToDeg(nine.phi.back()), 40, 1e-9);
  // The additions pass 30° before reaching it.
  EXPECT_EQ(KtSweepAngles(DegToRad(0), DegToRad(30), DegToRad(0.5)).phi.size(), 60u);
  const KtAngles backwards = KtSweepAngles(DegToRad(40), DegToRad(0), DegToRad(5));
  EXPECT_TRUE(backwards.phi.empty());
  EXPECT_FALSE(backwards.refused);
}

TEST(KtAngles, SweepsWithoutAFiniteOrAcceptableCountAreRefused) {
  EXPECT_TRUE(KtSweepAngles(0, DegToRad(360), DegToRad(0.01)).refused);
  EXPECT_TRUE(KtSweepAngles(0, DegToRad(360), 0).refused);
  EXPECT_TRUE(KtSweepAngles(-INFINITY, 0, DegToRad(5)).refused);
  EXPECT_TRUE(KtSweepAngles(0, DegToRad(10), -DegToRad(5)).refused);
  // A full turn in whole degrees has 361 steps, one more than the dialog's first 360 slots.
  const KtAngles full = KtSweepAngles(0, DegToRad(360), DegToRad(1));
  EXPECT_FALSE(full.refused);
  EXPECT_EQ(full.phi.size(), 361u);
}

TEST(KtSweep, RefusedSweepRaisesCapacityAndChangesNothing) {
  auto model = FreshModel();
  AddHugeMagnet(*model);
  AddStraight(*model, Wire(0, 0, 4), 2, 1, 1);
  SetAngles(*model, 0, 360, 0.01);
  model->RectCalPointSet.Points[3].Hx = 7;
  KtStepTotals totals;
  totals.ForceX[1] = 5;
  NullProgress progress;
  NoticeBoard board;
  EXPECT_EQ(RunKtSweep(*model, totals, progress, board), KtSweepOutcome::kRefused);
  EXPECT_TRUE(board.IsOpen(NoticeId::CautionCapacity));
  EXPECT_EQ(totals.ForceX[1], 5);
  EXPECT_EQ(model->RectCalPointSet.Points[3].Hx, 7);
}

TEST(KtSweep, StraightWireInUniformFieldFeelsCurrentTimesLengthCrossB) {
  auto model = FreshModel();
  AddHugeMagnet(*model);
  AddStraight(*model, Wire(0, 0, 4), 8, 2, 2);  // z from 2 to 4 mm above the face
  SetAngles(*model, 0, 90, 90);
  const KtStepTotals totals = Sweep(*model);
  // I·L = J·Lx·W·T = 400 A·mm; B = 6000 G = 0.6 T along +z; x × z = −y.
  const double expected = 10 * 10 * 2 * 2 * 1e-3 * (kBr / 2) * 1e-4;
  EXPECT_THAT(Force(totals, 1), VecNear(Vec3{0, -expected, 0}, 1e-3, 0));
  // Turned a quarter about the Kt axis, the force is −y of the turned frame again.
  EXPECT_THAT(Force(totals, 2), VecNear(Vec3{0, -expected, 0}, 1e-3, 0));
  // The field at the pieces is in the Kt frame, and here along +z.
  EXPECT_NEAR(model->Kt.KtHz[0], kBr / 2, kBr * 1e-3);
}

// The model's own field (G) at a global point: every rectangular and RH magnet, by its kernel.
Vec3 MagnetField(const ElementModel& model, const Vec3& p) {
  static const FieldQuadrature q;
  NullNotices quiet;
  Vec3 sum;
  for (int m = 1; m <= model.RecMagCount; ++m) {
    const ElementFrame f(PlacementOf(model.RecMagTable[m]));
    sum += f.VectorToGlobal(RecMagLocalField(model.RecMagTable[m], f.PointToLocal(p), quiet));
  }
  for (int m = 1; m <= model.RhMagCount; ++m) {
    const ElementFrame f(PlacementOf(model.RhMagTable[m]));
    sum += f.VectorToGlobal(RhMagLocalField(model.RhMagTable[m], f.PointToLocal(p), q, quiet));
  }
  return sum;
}

Vec3 CrossOf(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// I·dl × B and r × dF along a thin wire's centre line, by a fine midpoint rule: N and N·m.
struct LineForce {
  Vec3 force, torque;
};
template <class Path>
LineForce ThinWireForce(const ElementModel& model, double current, Path path) {
  constexpr int kSteps = 4000;
  LineForce out;
  for (int i = 0; i < kSteps; ++i) {
    const auto [point, dl] = path((i + 0.5) / kSteps, 1.0 / kSteps);  // mm
    const Vec3 df = current * 1e-3 * 1e-4 * CrossOf(dl, MagnetField(model, point));
    out.force += df;
    out.torque += CrossOf(1e-3 * point, df);
  }
  return out;
}

TEST(KtSweep, RoundWiresOverMagnetsFeelCurrentTimesLengthCrossTheModelsField) {
  auto model = FreshModel();
  MakeWorldBox(*model, 100);
  model->RecMagCount = 2;
  model->RecMagTable[2] = {.a = 20, .b = 12, .l = 6, .AngZ = 0.3, .Br = 12000};
  model->RhMagCount = 1;
  model->RhMagTable[1] = {.R = 6, .HT = 4, .Ox = 8, .Oy = -3, .Oz = -1, .Br = 11000};
  const double r_wire = 0.05, j = 40, current = j * Pi() * r_wire * r_wire;
  model->StrCylCoilCount = 1;
  model->StrCylCoilTable[1] = {
      .Lx = 24, .R = r_wire, .CurrentDensity = j, .Ox = 2, .Oy = 1, .Oz = 3, .AngZ = 0.5};
  model->SecCylCoilCount = 1;
  model->SecCylCoilTable[1] = {
      .R = 7, .Angle = 2, .rwire = r_wire, .CurrentDensity = j, .Ox = 1, .Oz = 4, .AngZ = 0.2};
  KtState& kt = model->Kt;
  for (int kind : {kKtStrCyl, kKtSecCyl}) {
    kt.KtSelectionCount[kind] = 1;
    kt.KtSelection[kind][1] = 1;
    kt.DivL[kind][1] = 400;
    kt.DivW[kind][1] = 2;
    kt.DivT[kind][1] = 4;
  }
  SetAngles(*model, 0, 0, 5);
  Sweep(*model);
  const StrCylCoil& w = model->StrCylCoilTable[1];
  const ElementFrame wf(PlacementOf(w));
  const LineForce straight = ThinWireForce(*model, current, [&](double t, double dt) {
    return std::pair{wf.PointToGlobal({(t - 0.5) * w.Lx, 0, 0}),
                     wf.VectorToGlobal({w.Lx * dt, 0, 0})};
  });
  const SecCylCoil& a = model->SecCylCoilTable[1];
  const ElementFrame af(PlacementOf(a));
  const LineForce arc = ThinWireForce(*model, current, [&](double t, double dt) {
    const double th = (t - 0.5) * a.Angle, dth = a.Angle * dt;
    return std::pair{af.PointToGlobal({a.R * std::cos(th), a.R * std::sin(th), 0}),
                     af.VectorToGlobal({-a.R * std::sin(th) * dth, a.R * std::cos(th) * dth, 0})};
  });
  const double f_scale = std::hypot(straight.force.x, straight.force.y, straight.force.z);
  ASSERT_GT(f_scale, 1e-4);
  const Vec3 f_straight{kt.Fx[kKtStrCyl][1], kt.Fy[kKtStrCyl][1], kt.Fz[kKtStrCyl][1]};
  const Vec3 t_straight{kt.Tx[kKtStrCyl][1], kt.Ty[kKtStrCyl][1], kt.Tz[kKtStrCyl][1]};
  const Vec3 f_arc{kt.Fx[kKtSecCyl][1], kt.Fy[kKtSecCyl][1], kt.Fz[kKtSecCyl][1]};
  const Vec3 t_arc{kt.Tx[kKtSecCyl][1], kt.Ty[kKtSecCyl][1], kt.Tz[kKtSecCyl][1]};
  EXPECT_THAT(f_straight, VecNear(straight.force, 1e-3, 1e-3 * f_scale));
  EXPECT_THAT(t_straight, VecNear(straight.torque, 1e-3, 1e-6 * f_scale));
  EXPECT_THAT(f_arc, VecNear(arc.force, 1e-3, 1e-3 * f_scale));
  EXPECT_THAT(t_arc, VecNear(arc.torque, 1e-3, 1e-6 * f_scale));
}

TEST(KtSweep, TorqueIsTheLeverArmAboutTheKtOriginCrossTheForce) {
  auto model = FreshModel();
  AddHugeMagnet(*model);
  model->Kt.Orx = -20;
  model->Kt.Ory = 5;
  AddStraight(*model, Wire(100, 0, 4), 4, 1, 2);
  SetAngles(*model, 0, 0, 5);
  const KtStepTotals totals = Sweep(*model);
  const Vec3 f = Force(totals, 1);
  const Vec3 r{(100 + 20) * 1e-3, -5 * 1e-3, 3 * 1e-3};  // wire centre from Or, m
  const Vec3 expected{r.y * f.z - r.z * f.y, r.z * f.x - r.x * f.z, r.x * f.y - r.y * f.x};
  EXPECT_THAT(Torque(totals, 1), VecNear(expected, 1e-3, 1e-12));
  EXPECT_LT(Torque(totals, 1).z, 0);  // pushed along −y at +x: clockwise about z
}

TEST(KtSweep, PieceOnTheKtAxisGivesNoTorqueAboutIt) {
  auto model = FreshModel();
  AddHugeMagnet(*model);
  model->Kt.Orx = 3;
  model->Kt.Ory = -4;
  AddStraight(*model, Wire(3, -4, 4), 1, 1, 1);
  SetAngles(*model, 0, 60, 30);
  const KtStepTotals totals = Sweep(*model);
  for (int s = 1; s <= 3; ++s) {
    EXPECT_NE(Force(totals, s).y, 0);
    EXPECT_EQ(Torque(totals, s).z, 0);
  }
}

TEST(KtSweep, ArcWireInUniformFieldIsPushedOutwardByIntegralOfTangentCrossB) {
  auto model = FreshModel();
  AddHugeMagnet(*model);
  SecRecCoil arc;
  arc.Ri = 20;
  arc.Ro = 30;
  arc.T = 2;
  arc.Angle = DegToRad(90);
  arc.CurrentDensity = 5;
  arc.Oz = 3;
  AddArc(*model, arc, 32, 4, 1);
  SetAngles(*model, 0, 0, 5);
  const KtStepTotals totals = Sweep(*model);
  // ∫ J (t̂ × B) dV over the sector = J·B·T·(Ro² − Ri²)/2 · 2 sin(α/2) along the bisector.
  const double b = kBr / 2 * 1e-4;
  const double expected =
      5 * b * 2e-3 * (0.03 * 0.03 - 0.02 * 0.02) / 2 * 2 * std::sin(DegToRad(45)) * 1e6;
  EXPECT_THAT(Force(totals, 1), VecNear(Vec3{expected, 0, 0}, 2e-3, 0));
}

TEST(KtSweep, ArcWireAcrossAFieldAlongYIsTwistedAboutX) {
  auto model = FreshModel();
  AddHugeMagnet(*model);
  RecMag& slab = model->RecMagTable[2];
  slab.AngX = -Pi() / 2;  // magnetised along +y, its face the plane y = −40
  slab.Oy = -40;
  SecRecCoil arc;
  arc.Ri = 20;
  arc.Ro = 30;
  arc.T = 2;
  arc.Angle = DegToRad(90);
  arc.CurrentDensity = 5;
  AddArc(*model, arc, 32, 8, 1);
  SetAngles(*model, 0, 0, 5);
  const KtStepTotals totals = Sweep(*model);
  // dF = J dV (t̂ × B ŷ) = −J B sin θ ẑ dV; about the centre Tx = −J B T (Ro³ − Ri³)/3 ·
  // (α/2 − sin α / 2), and the net force vanishes (to the field's slight fall with distance).
  const double b = kBr / 2 * 1e-4;
  const double expected =
      -5e6 * b * 2e-3 * (0.03 * 0.03 * 0.03 - 0.02 * 0.02 * 0.02) / 3 * (Pi() / 4 - 0.5);
  EXPECT_NEAR(Torque(totals, 1).x, expected, 0.01 * std::abs(expected));
  EXPECT_NEAR(Torque(totals, 1).y, 0, 0.01 * std::abs(expected));
  EXPECT_NEAR(Force(totals, 1).z, 0, 5e-3);
}

// Four magnets round the Kt axis, alternately north and south up: turning the rotor a quarter
// reverses the field it sees, half a turn gives it back.
std::unique_ptr<ElementModel> AlternatingRotor() {
  auto model = FreshModel();
  MakeWorldBox(*model, 100);
  model->RecMagCount = 5;
  for (int k = 0; k < 4; ++k) {
    RecMag& m = model->RecMagTable[static_cast<size_t>(k + 2)];
    const double angle = k * Pi() / 2;
    m.a = 30;
    m.b = 20;
    m.l = 10;
    m.Ox = 60 * std::cos(angle);
    m.Oy = 60 * std::sin(angle);
    m.AngZ = angle;
    m.Br = k % 2 == 0 ? kBr : -kBr;
  }
  StrRecCoil spoke = Wire(50, 10, 6);
  spoke.Lx = 40;
  spoke.AngZ = Pi() / 2;  // current across the magnets, tangential to the turn
  AddStraight(*model, spoke, 6, 2, 1);
  SetAngles(*model, 0, 360, 15);
  return model;
}

TEST(KtSweep, FullTurnOfAlternatingRotorGivesPeriodicTorque) {
  auto model = AlternatingRotor();
  const KtStepTotals totals = Sweep(*model);
  double largest = 0;
  for (int s = 1; s <= 25; ++s) {
    largest = std::max(largest, std::abs(Torque(totals, s).z));
  }
  ASSERT_GT(largest, 1e-6);
  const double tol = 1e-7 * largest;
  for (int s = 1; s <= 19; ++s) {
    EXPECT_NEAR(Torque(totals, s + 6).z, -Torque(totals, s).z, tol) << "step " << s;
  }
  for (int s = 1; s <= 13; ++s) {
    EXPECT_NEAR(Torque(totals, s + 12).z, Torque(totals, s).z, tol) << "step " << s;
  }
}

TEST(KtSweep, ResultsAreBitIdenticalForAnyThreadCount) {
  auto model = AlternatingRotor();
  model->SecMagCount = 1;
  SecMag& ring = model->SecMagTable[1];
  ring.Ri = 80;
  ring.Ro = 95;
  ring.T = 8;
  ring.OpenAngle = DegToRad(120);
  ring.Br = 9000;
  SecRecCoil arc;
  arc.Ri = 30;
  arc.Ro = 40;
  arc.T = 3;
  arc.Angle = DegToRad(60);
  arc.CurrentDensity = -4;
  arc.Oz = 8;
  arc.AngX = 0.1;
  AddArc(*model, arc, 40, 3, 2);
  model->Kt.ThetaRx = 0.05;
  SetAngles(*model, 0, 60, 20);
  auto other = std::make_unique<ElementModel>(*model);
  const KtStepTotals one = Sweep(*model, 1);
  const KtStepTotals three = Sweep(*other, 3);
  EXPECT_EQ(one.ForceX, three.ForceX);
  EXPECT_EQ(one.TorqueZ, three.TorqueZ);
  EXPECT_EQ(one.ForceZ, three.ForceZ);
  EXPECT_EQ(std::memcmp(&model->Kt, &other->Kt, sizeof(KtState)), 0);
  EXPECT_NE(one.ForceX[2], 0);
}

TEST(KtSweep, WithoutMagnetFieldEveryForceAndTorqueIsZero) {
  auto model = FreshModel();
  MakeWorldBox(*model, 100);  // magnet 1, with Br 0
  AddStraight(*model, Wire(10, 0, 0), 2, 2, 2);
  SetAngles(*model, 0, 40, 5);
  const KtStepTotals totals = Sweep(*model);
  for (int s = 0; s < kKtStepSlots; ++s) {
    EXPECT_EQ(Force(totals, s), Vec3{});
    EXPECT_EQ(Torque(totals, s), Vec3{});
  }
}

TEST(KtSweep, StepTotalsSumTheElementsAndElementResultsKeepTheLastStep) {
  auto model = FreshModel();
  AddHugeMagnet(*model);
  AddStraight(*model, Wire(0, 0, 4), 2, 1, 1);
  StrRecCoil other = Wire(20, 0, 4);
  other.CurrentDensity = -3;
  AddStraight(*model, other, 3, 1, 1);
  SetAngles(*model, 0, 10, 10);
  model->RectCalPointSet.Points[0].Hx = 1;
  model->SectCalPointSet.Points[0].Hz = 1;
  const KtStepTotals totals = Sweep(*model);
  const KtState& kt = model->Kt;
  EXPECT_DOUBLE_EQ(totals.ForceY[2], kt.Fy[0][1] + kt.Fy[0][2]);
  EXPECT_DOUBLE_EQ(totals.TorqueZ[2], kt.Tz[0][1] + kt.Tz[0][2]);
  EXPECT_GT(kt.Fy[0][2], 0);  // negative current: pushed the other way
  EXPECT_EQ(model->RectCalPointSet.Points[0].Hx, 0);
  EXPECT_EQ(model->SectCalPointSet.Points[0].Hz, 0);
  EXPECT_EQ(totals.ForceY[3], 0);
}

TEST(KtSweep, EntriesWithoutDivisionCountsAreSkippedInsteadOfDividingByZero) {
  auto model = FreshModel();
  AddHugeMagnet(*model);
  AddStraight(*model, Wire(0, 0, 4), 0, 2, 2);
  AddStraight(*model, Wire(0, 0, 4), 2, 2, 2);
  SetAngles(*model, 0, 0, 5);
  const KtStepTotals totals = Sweep(*model);
  EXPECT_TRUE(std::isfinite(totals.ForceY[1]));
  EXPECT_DOUBLE_EQ(totals.ForceY[1], model->Kt.Fy[0][2]);
  EXPECT_EQ(model->Kt.Fy[0][1], 0);
}

TEST(KtSweep, FullTurnInDegreesKeepsItsLastStep) {
  auto model = FreshModel();
  AddHugeMagnet(*model);
  AddStraight(*model, Wire(0, 0, 4), 1, 1, 1);
  SetAngles(*model, 0, 360, 1);
  const KtStepTotals totals = Sweep(*model);
  ASSERT_GE(totals.Slots(), 362u);
  EXPECT_NEAR(totals.ForceY[361], totals.ForceY[1], 1e-9 * std::abs(totals.ForceY[1]));
}

TEST(KtSweep, ProgressNamesKindElementAndStepForSectorMagnets) {
  auto model = FreshModel();
  model->RecMagCount = 0;
  model->SecMagCount = 1;
  SecMag& ring = model->SecMagTable[1];
  ring.Ri = 10;
  ring.Ro = 20;
  ring.T = 5;
  ring.OpenAngle = DegToRad(360);
  ring.Br = 10000;
  AddStraight(*model, Wire(0, 0, 10), 1, 1, 1);
  SetAngles(*model, 0, 40, 5);
  KtStepTotals totals;
  testing::RecordingProgress progress;
  NullNotices notices;
  RunKtSweep(*model, totals, progress, notices);
  const auto events = progress.Events();
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events[events.size() - 3],
            "open ProgressSecMag Kt計算中    ｺｲﾙﾀｲﾌﾟ番号0　 ｺｲﾙ番号1  9/9回目");
  for (const std::string& e : events) {
    EXPECT_EQ(e.find("ProgressRecMag"), std::string::npos);
  }
}

TEST(KtSweep, OnlyRectangularMagnetsUseTheirOwnProgressTitle) {
  auto model = FreshModel();
  AddHugeMagnet(*model);
  AddStraight(*model, Wire(0, 0, 4), 1, 1, 1);
  SetAngles(*model, 0, 5, 5);
  KtStepTotals totals;
  testing::RecordingProgress progress;
  NullNotices notices;
  RunKtSweep(*model, totals, progress, notices);
  const std::vector<std::string> expected = {"open ProgressRecMag 角柱型磁石からの磁界計算中",
                                             "bar 角柱型磁石からの磁界計算中", "close"};
  std::vector<std::string> events = progress.Events();
  ASSERT_EQ(events.size(), 6u);
  events.resize(3);
  EXPECT_EQ(events, expected);
  EXPECT_DOUBLE_EQ(progress.LastFraction(), 1.0);
}

class RecordingListener : public KtSweepListener {
 public:
  void ElementEvaluated(KtElementDisplay display) override { seen.push_back(std::move(display)); }
  std::vector<KtElementDisplay> seen;
};

TEST(KtSweep, ListenerGetsVectorsFromTurnedPiecesAndReadoutsOfTheExtremes) {
  auto model = FreshModel();
  AddHugeMagnet(*model);
  model->View.VectorScale = 0.01;
  AddStraight(*model, Wire(30, 0, 4), 4, 1, 1);
  SetAngles(*model, 0, 90, 90);
  KtStepTotals totals;
  NullProgress progress;
  NullNotices notices;
  RecordingListener listener;
  RunKtSweep(*model, totals, progress, notices, &listener);
  ASSERT_EQ(listener.seen.size(), 2u);
  const KtElementDisplay& turned = listener.seen[1];
  ASSERT_EQ(turned.vectors.size(), 4u);
  // Piece 0 lies at own x = −3.75 mm: at +x 26.25 before the turn, at +y 26.25 after it.
  EXPECT_THAT(turned.vectors[0].a, VecNear(Vec3{0, 26.25, 3}, 1e-12, 1e-12));
  EXPECT_NEAR(turned.vectors[0].b.z - turned.vectors[0].a.z, 0.01 * model->Kt.KtHz[0], 1e-9);
  EXPECT_EQ(turned.vectors[0].colour, kKtVectorColour);
  EXPECT_EQ(turned.readouts[0][0].substr(0, 3), "Hx=");
  EXPECT_EQ(
      turned.readouts[3][2],
      "Hz=" + ShortestDecimal(std::floor(
                  model->Kt.KtHz[static_cast<size_t>(KtMagFieldNormalize(model->Kt, 3).hz_max)])));
}

TEST(KtSweep, NormalizeLetsTheLastOfEqualPiecesWin) {
  auto model = FreshModel();
  KtState& kt = model->Kt;
  kt.KtHx[0] = 5;
  kt.KtHx[1] = 5;
  kt.KtHx[2] = -1;
  kt.KtHy[0] = -2;
  kt.KtHy[2] = -2;
  const KtFieldExtremes x = KtMagFieldNormalize(kt, 2);
  EXPECT_EQ(x.hx_max, 1);
  EXPECT_EQ(x.hx_min, 2);
  EXPECT_EQ(x.hy_min, 2);
  EXPECT_EQ(x.hy_max, 1);
  EXPECT_EQ(x.magnitude, 0);  // √29 beats 5
}

}  // namespace
}  // namespace tavrine

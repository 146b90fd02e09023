#include "studies/force_study.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

#include "field/local_fields.h"
#include "geometry/transforms.h"
#include "model/text_rules.h"
#include "model/world_frame.h"
#include "studies/force_study_surfaces.h"
#include "support/matchers.h"
#include "support/recording_progress.h"

namespace tavrine {
namespace {

using testing::FreshModel;
using testing::RecordingProgress;
using testing::VecNear;

std::unique_ptr<ElementModel> WorldModel() {
  auto model = FreshModel();
  MakeWorldBox(*model, 100);
  return model;
}

int AddRecMag(ElementModel& model, const RecMag& magnet) {
  model.RecMagTable[static_cast<size_t>(++model.RecMagCount)] = magnet;
  return model.RecMagCount;
}

Vec3 ForceOn(const ElementModel& model, int n, int threads = 2) {
  ForceStudy study;
  NullProgress progress;
  NullNotices notices;
  const auto result = study.Run(model, n, progress, notices, {.threads = threads});
  EXPECT_TRUE(result.has_value());
  return result ? result->total : Vec3{};
}

double Norm(const Vec3& v) {
  return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

// Force (N) on unrotated magnet t from unrotated magnet s, by point charges at the centres of
// m × m patches of every face of both: the sheets' field is never taken from a kernel.
Vec3 BruteForceBetween(const RecMag& t, const RecMag& s, int m) {
  Vec3 force;
  const double pi = Pi();
  for (int tf = 0; tf < 2; ++tf) {
    const double tz = t.Oz - (tf == 0 ? 0 : t.l), tw = tf == 0 ? 1 : -1;
    for (int ti = 0; ti < m * m; ++ti) {
      const Vec3 pt{t.Ox + t.a * ((ti % m + 0.5) / m - 0.5),
                    t.Oy + t.b * ((ti / m + 0.5) / m - 0.5), tz};
      Vec3 h;
      for (int sf = 0; sf < 2; ++sf) {
        const double sz = s.Oz - (sf == 0 ? 0 : s.l), sw = sf == 0 ? 1 : -1;
        const double q = sw * s.Br / (4 * pi) * (s.a / m) * (s.b / m);
        for (int si = 0; si < m * m; ++si) {
          const Vec3 r = pt - Vec3{s.Ox + s.a * ((si % m + 0.5) / m - 0.5),
                                   s.Oy + s.b * ((si / m + 0.5) / m - 0.5), sz};
          const double d = Norm(r);
          h += (q / (d * d * d)) * r;
        }
      }
      const double area = (t.a / 1000 / m) * (t.b / 1000 / m);
      force += (tw * t.Br / 10000 * area * 1000 / (4 * pi)) * h;
    }
  }
  return force;
}

TEST(ForceSurfaces, UniformFieldGivesChargeTimesAreaOnEveryShape) {
  // 1 T (Br 10000 G) in 1000 Oe: charge × area (m²) × 1000 Oe in A/m.
  const double h_am = 1000 * 1000 / (4 * Pi());
  const FieldAtPoints uniform = [](std::span<const Vec3>, std::span<Vec3> h) {
    std::fill(h.begin(), h.end(), Vec3{0, 0, 1000});
  };
  const ElementFrame frame(Placement{});
  struct Case {
    ChargedSurface surface;
    double area_mm2;
  };
  const MagnetSurfaces rect = SurfacesOf(RecMag{.a = 10, .b = 20, .l = 5, .Br = 10000});
  const MagnetSurfaces sect =
      SurfacesOf(SecMag{.Ri = 3, .Ro = 7, .T = 2, .OpenAngle = 1.5, .Br = 10000});
  const MagnetSurfaces rh = SurfacesOf(RhMag{.R = 4, .HT = 3, .Br = 10000});
  for (const Case& c :
       {Case{rect.north, 200}, Case{rect.south, -200}, Case{sect.north, (49.0 - 9.0) / 2 * 1.5},
        Case{rh.north, 2 * 4 * 3}, Case{rh.south, -2 * 4 * 3}}) {
    const SurfaceIntegral result = IntegrateSurface(c.surface, frame, uniform, Pi());
    const double expected = c.area_mm2 * 1e-6 * h_am;
    EXPECT_NEAR(result.value.force.z, expected, 1e-12 * std::abs(expected));
    EXPECT_EQ(result.levels, 0);  // a smooth field needs no refinement
  }
}

// The charge model's closed form for Fz on coaxial-faced parallel prisms: every pair of faces
// is a pair of parallel uniformly charged rectangles, whose interaction integral
// ∫∫ w ÷ r³ dA dA is Φ summed over the corner differences, with ∂u∂v Φ = atan(uv ÷ wr).
double Phi(double u, double v, double w) {
  const double r = std::sqrt(u * u + v * v + w * w);
  // ln((r − s) ÷ (r + s)) without cancellation for large s.
  auto log_ratio = [&](double s, double other2) {
    return s >= 0 ? std::log(other2 / ((r + s) * (r + s)))
                  : -std::log(other2 / ((r - s) * (r - s)));
  };
  return u * v * std::atan(u * v / (w * r)) - u * w / 2 * log_ratio(u, v * v + w * w) -
         v * w / 2 * log_ratio(v, u * u + w * w) - w * r;
}

double RectanglePair(const RecMag& t, const RecMag& s, double w) {
  const double ta[2] = {t.Ox - t.a / 2, t.Ox + t.a / 2}, sa[2] = {s.Ox - s.a / 2, s.Ox + s.a / 2};
  const double tb[2] = {t.Oy - t.b / 2, t.Oy + t.b / 2}, sb[2] = {s.Oy - s.b / 2, s.Oy + s.b / 2};
  double sum = 0;
  for (int i = 0; i < 2; ++i) {
    for (int j = 0; j < 2; ++j) {
      for (int k = 0; k < 2; ++k) {
        for (int l = 0; l < 2; ++l) {
          const double sign = ((i + j + k + l) % 2 == 0) ? -1 : 1;
          sum += sign * Phi(ta[i] - sa[j], tb[k] - sb[l], w);
        }
      }
    }
  }
  return -sum;  // corner (1, 0) of both differences counts +
}

double ClosedFormFz(const RecMag& t, const RecMag& s) {
  double fz = 0;
  for (int tf = 0; tf < 2; ++tf) {
    for (int sf = 0; sf < 2; ++sf) {
      const double w = (t.Oz - tf * t.l) - (s.Oz - sf * s.l);
      const double sign = (tf + sf) % 2 == 0 ? 1 : -1;
      fz += sign * RectanglePair(t, s, w);
    }
  }
  return fz * t.Br * s.Br * 1e-7 / (16 * Pi() * Pi());
}

TEST(ForceStudy, ParallelPrismsMatchTheClosedFormDownToATenthOfAMillimetre) {
  const RecMag lower{.a = 10, .b = 8, .l = 4, .Br = 12000};
  for (double gap : {0.1, 1.0, 10.0}) {
    auto model = WorldModel();
    AddRecMag(*model, lower);
    const RecMag upper{.a = 9, .b = 8, .l = 3, .Ox = 1.5, .Oy = 0.5, .Oz = gap + 3, .Br = 11000};
    const int n = AddRecMag(*model, upper);
    const double expected = ClosedFormFz(upper, lower);
    EXPECT_LT(expected, 0);
    EXPECT_NEAR(ForceOn(*model, n).z, expected, 1e-6 * std::abs(expected)) << gap;
  }
}

TEST(ForceStudy, MagnetsInContactEndWithABoundedNumberOfFieldPoints) {
  auto model = WorldModel();
  AddRecMag(*model, {.a = 10, .b = 8, .l = 4, .Br = 12000});
  const int n = AddRecMag(*model, {.a = 6, .b = 6, .l = 3, .Ox = 4, .Oz = 3, .Br = 11000});
  ForceStudy study;
  NullProgress progress;
  NullNotices notices;
  const ForceResult r = *study.Run(*model, n, progress, notices);
  EXPECT_LE(r.points, 2 * 2'000'000);
  EXPECT_TRUE(std::isfinite(r.total.z) && r.total.z < 0) << r.points;
}

TEST(ForceStudy, WellSeparatedMagnetsCostLessThanFourFixedFaceGrids) {
  auto model = WorldModel();
  AddRecMag(*model, {.a = 10, .b = 8, .l = 4, .Br = 12000});
  const int n = AddRecMag(*model, {.a = 10, .b = 8, .l = 4, .Ox = 3, .Oz = 14, .Br = 11000});
  ForceStudy study;
  NullProgress progress;
  NullNotices notices;
  EXPECT_LE(study.Run(*model, n, progress, notices)->points, 4 * 2 * 51 * 51);
}

TEST(ForceStudy, MagnetNeverActsOnItselfAndTheWorldBoxFeelsNothing) {
  auto model = WorldModel();
  const int n = AddRecMag(*model, {.a = 10, .b = 10, .l = 5, .Br = 12000});
  EXPECT_EQ(ForceOn(*model, n), Vec3{});
  AddRecMag(*model, {.a = 10, .b = 10, .l = 5, .Oz = -8, .Br = 12000});
  EXPECT_EQ(ForceOn(*model, 1), Vec3{});  // Br 0
}

TEST(ForceStudy, NoResultForANumberThatIsNoRectangularMagnet) {
  auto model = WorldModel();
  AddRecMag(*model, {.a = 10, .b = 10, .l = 5, .Br = 12000});
  ForceStudy study;
  RecordingProgress progress;
  NullNotices notices;
  for (int n : {0, -1, 3, 1001}) {
    EXPECT_FALSE(study.Run(*model, n, progress, notices).has_value()) << n;
  }
  EXPECT_TRUE(progress.Events().empty());
}

TEST(ForceStudy, StackedMagnetsAttractAsABruteForceIntegrationSays) {
  // Sides 10 × 8, 4 thick; the upper one's negative face 5 mm above the lower one's positive face.
  const RecMag lower{.a = 10, .b = 8, .l = 4, .Br = 12000};
  struct Case {
    double x, y, z;
  };
  for (const Case& c : {Case{0, 0, 9}, Case{4, -3, 7}}) {
    auto model = WorldModel();
    AddRecMag(*model, lower);
    const RecMag upper{.a = 10, .b = 8, .l = 4, .Ox = c.x, .Oy = c.y, .Oz = c.z, .Br = 11000};
    const int n = AddRecMag(*model, upper);
    const Vec3 force = ForceOn(*model, n);
    EXPECT_LT(force.z, 0);
    const Vec3 expected = BruteForceBetween(upper, lower, 40);
    EXPECT_THAT(force, VecNear(expected, 3e-3, 0)) << c.x;
  }
}

TEST(ForceStudy, ForcesBetweenTwoTurnedMagnetsAreOppositeAndEqual) {
  auto model = WorldModel();
  const int a = AddRecMag(*model, {.a = 10, .b = 6, .l = 4, .AngX = 0.3, .Br = 12000});
  const int b = AddRecMag(*model, {.a = 8,
                                   .b = 8,
                                   .l = 5,
                                   .Ox = 6,
                                   .Oy = -3,
                                   .Oz = -12,
                                   .AngY = 0.2,
                                   .AngZ = 0.7,
                                   .Br = -11500});
  const Vec3 on_a = ForceOn(*model, a);
  const Vec3 on_b = ForceOn(*model, b);
  ASSERT_GT(Norm(on_a), 0.1);
  EXPECT_THAT(on_b, VecNear(-1.0 * on_a, 2e-3, 0));
}

TEST(ForceStudy, MagnetBetweenMirrorSourcesFeelsNoLateralForce) {
  auto model = WorldModel();
  const int n = AddRecMag(*model, {.a = 10, .b = 6, .l = 4, .Br = 12000});
  AddRecMag(*model, {.a = 6, .b = 6, .l = 8, .Ox = 15, .Oz = 2, .Br = 11000});
  const Vec3 one_side = ForceOn(*model, n);
  ASSERT_GT(std::abs(one_side.x), 0.01);
  AddRecMag(*model, {.a = 6, .b = 6, .l = 8, .Ox = -15, .Oz = 2, .Br = 11000});
  const Vec3 both = ForceOn(*model, n);
  EXPECT_LT(std::abs(both.x), 1e-9 * std::abs(one_side.x));
  EXPECT_LT(std::abs(both.y), 1e-9 * std::abs(one_side.x));
  EXPECT_NEAR(both.z, 2 * one_side.z, 1e-9 * std::abs(one_side.z));
}

TEST(ForceStudy, ReversedSourceGivesReversedForce) {
  auto model = WorldModel();
  const int n = AddRecMag(*model, {.a = 10, .b = 6, .l = 4, .AngZ = 0.4, .Br = 12000});
  model->RhMagCount = 1;
  model->RhMagTable[1] = {.R = 5, .HT = 4, .Ox = 14, .Oy = 3, .Oz = -3, .Br = 12500};
  model->StrRecCoilCount = 1;
  model->StrRecCoilTable[1] = {
      .Lx = 20, .W = 4, .T = 2, .CurrentDensity = 20, .Ox = -10, .Oy = 5, .Oz = 6, .AngZ = 0.7};
  const Vec3 forward = ForceOn(*model, n);
  model->RhMagTable[1].Br = -12500;
  model->StrRecCoilTable[1].CurrentDensity = -20;
  EXPECT_THAT(ForceOn(*model, n), VecNear(-1.0 * forward, 1e-12, 0));
  // The coil alone: its force reverses with its current.
  model->RhMagCount = 0;
  const Vec3 coil_back = ForceOn(*model, n);
  ASSERT_GT(Norm(coil_back), 1e-6);
  model->StrRecCoilTable[1].CurrentDensity = 20;
  EXPECT_THAT(ForceOn(*model, n), VecNear(-1.0 * coil_back, 1e-12, 0));
}

// A model with a source of every kind around magnet 3.
std::unique_ptr<ElementModel> EveryKindModel() {
  auto m = WorldModel();
  AddRecMag(*m, {.a = 10, .b = 6, .l = 4, .Ox = 3, .Oy = -2, .Oz = -15, .AngX = 0.3, .Br = 12000});
  AddRecMag(*m, {.a = 8, .b = 5, .l = 3, .Oz = 1, .AngZ = 0.2, .Br = 11000});
  m->SecMagCount = 1;
  m->SecMagTable[1] = {
      .Ri = 5, .Ro = 9, .T = 3, .OpenAngle = DegToRad(100), .Oz = 12, .AngY = 0.2, .Br = 13000};
  m->RhMagCount = 1;
  m->RhMagTable[1] = {.R = 5, .HT = 4, .Ox = 15, .Oy = 10, .Oz = -3, .Br = 12500};
  m->StrCylCoilCount = 1;
  m->StrCylCoilTable[1] = {.Lx = 30, .R = 1, .CurrentDensity = 3, .Oy = 25, .Oz = 4};
  m->StrRecCoilCount = 1;
  m->StrRecCoilTable[1] = {
      .Lx = 20, .W = 4, .T = 2, .CurrentDensity = -2, .Ox = -10, .Oz = 6, .AngZ = 0.7};
  m->SecCylCoilCount = 1;
  m->SecCylCoilTable[1] = {
      .R = 12, .Angle = DegToRad(120), .rwire = 1, .CurrentDensity = 1, .Oz = 8};
  m->SecRecCoilCount = 1;
  m->SecRecCoilTable[1] = {
      .Ri = 5, .Ro = 8, .T = 2, .Angle = DegToRad(90), .CurrentDensity = 1, .Oy = -15, .AngX = 0.5};
  return m;
}

TEST(ForceStudy, ForceAndTorqueAreBitIdenticalForOneAndSeveralThreads) {
  const auto model = EveryKindModel();
  NullProgress progress;
  NullNotices notices;
  for (const ForceTarget target :
       {ForceTarget{ForceMagnetKind::kRec, 3}, ForceTarget{ForceMagnetKind::kSec, 1},
        ForceTarget{ForceMagnetKind::kRh, 1}}) {
    ForceStudy one, three;
    const ForceResult r1 = *one.Run(*model, target, progress, notices, {.threads = 1});
    const ForceResult r3 = *three.Run(*model, target, progress, notices, {.threads = 3});
    EXPECT_TRUE(r1.total == r3.total && r1.torque == r3.torque && r1.north == r3.north);
    EXPECT_GT(Norm(r1.total), 0);
  }
}

// Newton's third law between magnets a and b, force and torque, each about its own origin.
void ExpectActionAndReaction(const ElementModel& model,
                             const ForceTarget& a,
                             const Vec3& origin_a,
                             const ForceTarget& b,
                             const Vec3& origin_b,
                             double rel) {
  ForceStudy study;
  NullProgress progress;
  NullNotices notices;
  const ForceResult on_a = *study.Run(model, a, progress, notices);
  const ForceResult on_b = *study.Run(model, b, progress, notices);
  ASSERT_GT(Norm(on_a.total), 0.01);
  EXPECT_THAT(on_b.total, VecNear(-1.0 * on_a.total, 0, rel * Norm(on_a.total)))
      << Norm(on_b.total + on_a.total) / Norm(on_a.total);
  const Vec3 lever = 1e-3 * (origin_a - origin_b);
  const Vec3 arm{lever.y * on_a.total.z - lever.z * on_a.total.y,
                 lever.z * on_a.total.x - lever.x * on_a.total.z,
                 lever.x * on_a.total.y - lever.y * on_a.total.x};
  const double scale = Norm(on_a.torque) + Norm(arm);
  EXPECT_THAT(on_a.torque + on_b.torque + arm, VecNear(Vec3{}, 0, rel * scale));
}

TEST(ForceStudy, SectorAndRhMagnetsFeelTheReactionOfTheForceOnAPrism) {
  auto model = WorldModel();
  const int prism =
      AddRecMag(*model, {.a = 10, .b = 6, .l = 4, .Ox = 2, .Oy = 1, .AngZ = 0.3, .Br = 12000});
  model->SecMagCount = 1;
  model->SecMagTable[1] = {
      .Ri = 5, .Ro = 9, .T = 3, .OpenAngle = 1.4, .Ox = 1, .Oz = -7, .AngY = 0.2, .Br = 13000};
  ExpectActionAndReaction(*model, {ForceMagnetKind::kSec, 1}, {1, 0, -7},
                          {ForceMagnetKind::kRec, prism}, {2, 1, 0}, 1e-5);
  model->SecMagCount = 0;
  model->RhMagCount = 1;
  model->RhMagTable[1] = {.R = 4, .HT = 5, .Ox = 14, .Oy = -2, .Oz = 1, .AngX = 0.4, .Br = 12500};
  ExpectActionAndReaction(*model, {ForceMagnetKind::kRh, 1}, {14, -2, 1},
                          {ForceMagnetKind::kRec, prism}, {2, 1, 0}, 1e-5);
}

TEST(ForceStudy, MovingTheReferencePointAddsTheLeverArmCrossTheForce) {
  // The same prism twice: unturned with its reference point on the top face, and turned upside
  // down with reversed Br, so that its reference point sits on the bottom face, l lower.
  const RecMag source{.a = 8, .b = 8, .l = 5, .Ox = 6, .Oy = -4, .Oz = -9, .Br = 12000};
  const RecMag up{.a = 10, .b = 6, .l = 4, .AngZ = 0.2, .Br = 11000};
  RecMag down = up;
  down.AngX = Pi();
  down.AngZ = -0.2;
  down.Oz = -up.l;
  down.Br = -up.Br;
  ForceResult results[2];
  for (int k = 0; k < 2; ++k) {
    auto model = WorldModel();
    AddRecMag(*model, source);
    const int n = AddRecMag(*model, k == 0 ? up : down);
    ForceStudy study;
    NullProgress progress;
    NullNotices notices;
    results[k] = *study.Run(*model, n, progress, notices);
  }
  const Vec3 f = results[0].total, r{0, 0, -up.l * 1e-3};
  ASSERT_GT(std::hypot(f.x, f.y), 0.01);
  EXPECT_THAT(results[1].total, VecNear(f, 1e-9, 0));
  const Vec3 r_cross_f{r.y * f.z - r.z * f.y, r.z * f.x - r.x * f.z, r.x * f.y - r.y * f.x};
  EXPECT_THAT(results[0].torque - results[1].torque, VecNear(r_cross_f, 1e-7, 1e-12));
}

TEST(ForceStudy, ProgressShowsOneStepPerVisitedKindAndFace) {
  auto model = WorldModel();
  const int n = AddRecMag(*model, {.a = 10, .b = 6, .l = 4, .Br = 12000});
  AddRecMag(*model, {.a = 10, .b = 6, .l = 4, .Oz = -10, .Br = 12000});
  model->StrRecCoilCount = 1;
  model->StrRecCoilTable[1] = {.Lx = 20, .W = 4, .T = 2, .CurrentDensity = 1, .Oz = 6};
  ForceStudy study;
  RecordingProgress progress;
  NullNotices notices;
  ASSERT_TRUE(study.Run(*model, n, progress, notices).has_value());
  const std::vector<std::string> expected = {"open ProgressMagField 磁界計算中",
                                             "title １．Ｎ極側の計算　-　角柱磁石からの磁界計算中",
                                             "bar １．Ｎ極側の計算　-　角柱磁石からの磁界計算中",
                                             "title ５．Ｎ極側の計算　-　角柱ｺｲﾙからの磁界計算中",
                                             "bar ５．Ｎ極側の計算　-　角柱ｺｲﾙからの磁界計算中",
                                             "title ８．Ｓ極側の計算　-　角柱磁石からの磁界計算中",
                                             "bar ８．Ｓ極側の計算　-　角柱磁石からの磁界計算中",
                                             "title １２．Ｓ極側の計算　-　角柱ｺｲﾙからの磁界計算中",
                                             "bar １２．Ｓ極側の計算　-　角柱ｺｲﾙからの磁界計算中",
                                             "close"};
  EXPECT_EQ(progress.Events(), expected);
  EXPECT_EQ(progress.LastFraction(), 1.0);
}

TEST(ForceStudy, ANewRunClearsTheFieldsOfTheLastOne) {
  auto model = WorldModel();
  const int n = AddRecMag(*model, {.a = 10, .b = 6, .l = 4, .Br = 12000});
  AddRecMag(*model, {.a = 10, .b = 6, .l = 4, .Oz = -10, .Br = 12000});
  ForceStudy study;
  NullProgress progress;
  NullNotices notices;
  const ForceResult first = *study.Run(*model, n, progress, notices);
  const ForceResult again = *study.Run(*model, n, progress, notices);
  EXPECT_TRUE(first.total == again.total && first.torque == again.torque);
  model->RecMagCount = 2;
  EXPECT_EQ(study.Run(*model, n, progress, notices)->total, Vec3{});
}

}  // namespace
}  // namespace tavrine

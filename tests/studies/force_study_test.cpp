#include "studies/force_study.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>

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

TEST(ForceStudy, FacePointsAreRectangleCentresCarriedByThePose) {
  const RecMag m{.a = 51, .b = 102, .l = 7, .Ox = 10, .Oy = 1, .Oz = -2, .AngZ = Pi() / 2};
  EXPECT_THAT(ForceFacePoint(m, 0, 0, true), VecNear(Vec3{-25, -50, 0}, 1e-15, 1e-13));
  EXPECT_THAT(ForceFacePoint(m, 50, 25, false), VecNear(Vec3{25, 0, -7}, 1e-15, 1e-13));
  auto model = WorldModel();
  const int n = AddRecMag(*model, m);
  ForceStudy study;
  NullProgress progress;
  NullNotices notices;
  ASSERT_TRUE(study.Run(*model, n, progress, notices).has_value());
  // k = j + 51·i: column 50 of row 25 is local (25, 0, 0); a quarter turn about z takes it to +y.
  const size_t k = 50 + 51 * 25;
  EXPECT_THAT(study.PositiveFace().global[k], VecNear(Vec3{10, 26, -2}, 0, 1e-12));
  EXPECT_THAT(study.NegativeFace().global[k], VecNear(Vec3{10, 26, -9}, 0, 1e-12));
}

TEST(ForceStudy, AreaElementsAndChargeSumToTheWholeFace) {
  const RecMag m{.a = 10, .b = 20, .l = 5, .Br = 10000};
  const std::vector<Vec3> uniform(kForceFacePoints, Vec3{0, 0, 1000});
  const std::vector<Vec3> none(kForceFacePoints, Vec3{});
  // 1 T × 2e-4 m² × 1000 Oe in A/m.
  const double expected = 1.0 * 2e-4 * 1000 * 1000 / (4 * Pi());
  const ForceResult north_only = ForceFromFaceFields(m, uniform, none, Pi());
  EXPECT_NEAR(north_only.total.z, expected, 1e-12 * expected);
  EXPECT_NEAR(ForceFromFaceFields(m, none, uniform, Pi()).south.z, -expected, 1e-12 * expected);
  // A uniform field pulls both faces equally and oppositely.
  EXPECT_THAT(ForceFromFaceFields(m, uniform, uniform, Pi()).total, VecNear(Vec3{}, 0, 1e-12));
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

TEST(ForceStudy, FieldsAndForcesAreBitIdenticalForOneAndSeveralThreads) {
  const auto model = EveryKindModel();
  NullProgress progress;
  NullNotices notices;
  ForceStudy one, three;
  const ForceResult r1 = *one.Run(*model, 3, progress, notices, {.threads = 1});
  const ForceResult r3 = *three.Run(*model, 3, progress, notices, {.threads = 3});
  EXPECT_EQ(std::memcmp(&r1, &r3, sizeof r1), 0);
  for (const auto face : {&ForceStudy::PositiveFace, &ForceStudy::NegativeFace}) {
    const auto& a = (one.*face)().field;
    const auto& b = (three.*face)().field;
    EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(Vec3)), 0);
  }
  EXPECT_GT(Norm(r1.total), 0);
}

TEST(ForceStudy, FaceFieldIsTheOrderedSumOfEveryOtherElement) {
  const auto model = EveryKindModel();
  ForceStudy study;
  NullProgress progress;
  NullNotices notices;
  ASSERT_TRUE(study.Run(*model, 3, progress, notices).has_value());
  const FieldQuadrature q;
  const Vec3 p = study.NegativeFace().global[1234];
  auto add = [&p](Vec3& sum, const auto& record, auto field) {
    const ElementFrame frame(PlacementOf(record));
    sum += frame.VectorToGlobal(field(record, frame.PointToLocal(p)));
  };
  Vec3 sum;
  add(sum, model->RecMagTable[2],
      [&](const RecMag& r, const Vec3& l) { return RecMagLocalField(r, l, notices); });
  add(sum, model->SecMagTable[1],
      [&](const SecMag& r, const Vec3& l) { return SecMagLocalField(r, l, q, notices); });
  add(sum, model->RhMagTable[1],
      [&](const RhMag& r, const Vec3& l) { return RhMagLocalField(r, l, q, notices); });
  add(sum, model->StrCylCoilTable[1],
      [&](auto& r, const Vec3& l) { return StrCylCoilLocalField(r, l, q); });
  add(sum, model->StrRecCoilTable[1],
      [&](auto& r, const Vec3& l) { return StrRecCoilLocalField(r, l, q); });
  add(sum, model->SecCylCoilTable[1],
      [&](auto& r, const Vec3& l) { return SecCylCoilLocalField(r, l, q); });
  add(sum, model->SecRecCoilTable[1],
      [&](auto& r, const Vec3& l) { return SecRecCoilLocalField(r, l, q); });
  EXPECT_EQ(study.NegativeFace().field[1234], sum);
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
  EXPECT_EQ(std::memcmp(&first, &again, sizeof first), 0);
  model->RecMagCount = 2;
  EXPECT_EQ(study.Run(*model, n, progress, notices)->total, Vec3{});
}

}  // namespace
}  // namespace tavrine

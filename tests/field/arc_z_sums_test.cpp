// The row sums of the rectangular-wire arc's z double sum: the plain form against the bracket
// written out in extended precision, the AVX-512 form against the plain one over many scales.
#include "field/arc_z_sums.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

#include "field/field_test_support.h"

namespace tavrine {
namespace {

using testing::PointSource;

// Node data of one row for a point (x, y) and random angles, padded to a multiple of 8 with
// weight 0; the scale sets the size of the coordinates.
struct Row {
  std::vector<double> a, ee, weight;
  ArcRows View() const { return {a.data(), ee.data(), weight.data(), static_cast<int>(a.size())}; }
};

Row RandomRow(PointSource& source, int count, double scale) {
  Row row;
  const double x = source.Uniform(-scale, scale), y = source.Uniform(-scale, scale);
  const int padded = (count + 7) / 8 * 8;
  for (int k = 0; k < padded; ++k) {
    const double theta = source.Uniform(-3, 3);
    const double e = x * std::sin(theta) - y * std::cos(theta);
    row.a.push_back(x * std::cos(theta) + y * std::sin(theta));
    row.ee.push_back(e * e);
    row.weight.push_back(k < count ? source.Uniform(0.01, 1) : 0.0);
  }
  return row;
}

// Σ w·u·(z0/(q·E0) − z1/(q·E1)) in long double, with q = 0 nodes left out, and Σ of the
// magnitudes of its terms, the scale any rounding is measured against.
struct Reference {
  long double sum = 0, magnitude = 0;
};

Reference Direct(const Row& row, double r, double z0, double z1) {
  Reference ref;
  for (size_t k = 0; k < row.a.size(); ++k) {
    const long double u = static_cast<long double>(r) - row.a[k];
    const long double q = u * u + row.ee[k];
    if (q == 0) {
      continue;
    }
    const long double e0 = std::sqrt(q + static_cast<long double>(z0) * z0);
    const long double e1 = std::sqrt(q + static_cast<long double>(z1) * z1);
    const long double term = row.weight[k] * u * (z0 / (q * e0) - z1 / (q * e1));
    ref.sum += term;
    ref.magnitude += std::abs(term);
  }
  return ref;
}

// The row sum as the z double sum uses it: times z0² − z1² for a point above or below.
double Scaled(double row_sum, double z0, double z1) {
  return z0 * z1 > 0 ? (z0 - z1) * (z0 + z1) * row_sum : row_sum;
}

// Heights of the point's top and bottom face offsets: above, below, inside, in either face.
void Heights(PointSource& source, int i, double scale, double& z0, double& z1) {
  const double t = source.Uniform(0.05, 1) * scale;
  switch (i % 5) {
    case 0:
      z0 = source.Uniform(0.01, 2) * scale;
      break;
    case 1:
      z0 = -t - source.Uniform(0.01, 2) * scale;
      break;
    case 2:
      z0 = -source.Uniform(0, 1) * t;
      break;
    case 3:
      z0 = 0;
      break;
    default:
      z0 = -t;
      break;
  }
  z1 = z0 + t;
}

TEST(ArcZRows, PlainSumMatchesTheBracketWrittenOut) {
  PointSource source(71);
  for (int i = 0; i < 2000; ++i) {
    const Row row = RandomRow(source, 1 + source.Pick(60), 10);
    double z0 = 0, z1 = 0;
    Heights(source, i, 10, z0, z1);
    const double r = source.Uniform(0, 20);
    const Reference ref = Direct(row, r, z0, z1);
    const double plain = Scaled(SecRecZRowPlain(row.View(), r, z0, z1, z0 * z1 > 0), z0, z1);
    ASSERT_LE(std::abs(plain - static_cast<double>(ref.sum)), 1e-12 * ref.magnitude + 1e-300)
        << i << " z0 " << z0 << " z1 " << z1;
  }
}

TEST(ArcZRows, WideSumAgreesWithPlainSumOverManyScales) {
  if (!HasWideArcZRows()) {
    GTEST_SKIP() << "no AVX-512: both names run the plain form";
  }
  PointSource source(72);
  for (double scale : {1e-5, 1e-2, 1.0, 30.0, 1e4, 1e7}) {
    for (int i = 0; i < 1000; ++i) {
      const Row row = RandomRow(source, 50, scale);
      double z0 = 0, z1 = 0;
      Heights(source, i, scale, z0, z1);
      const double r = source.Uniform(0, 2) * scale;
      const bool same_side = z0 * z1 > 0;
      const double wide = SecRecZRow(row.View(), r, z0, z1, same_side);
      const double plain = SecRecZRowPlain(row.View(), r, z0, z1, same_side);
      const double magnitude = static_cast<double>(Direct(row, r, z0, z1).magnitude);
      ASSERT_LE(std::abs(Scaled(wide - plain, z0, z1)), 1e-14 * magnitude + 1e-300)
          << "scale " << scale << " row " << i;
    }
  }
}

// A point horizontally on a node filament (q = 0) in a face plane has no bracket there: that
// node adds nothing, in either form, and the padding adds nothing either.
TEST(ArcZRows, NodesOnTheFilamentAndPaddingAddNothing) {
  PointSource source(73);
  Row row = RandomRow(source, 13, 10);  // padded to 16
  const double r = 7.5;
  const std::vector<double> weights = row.weight;
  for (double z0 : {0.0, -2.0, 1.0, -3.5}) {
    const double z1 = z0 + 2;
    const bool same = z0 * z1 > 0;
    row.a[4] = 3;
    row.ee[4] = 1;
    row.weight[4] = 0;
    const double without = SecRecZRowPlain(row.View(), r, z0, z1, same);
    row.a[4] = r;
    row.ee[4] = 0;
    row.weight[4] = weights[4];
    for (double sum :
         {SecRecZRowPlain(row.View(), r, z0, z1, same), SecRecZRow(row.View(), r, z0, z1, same)}) {
      ASSERT_TRUE(std::isfinite(sum)) << z0;
      EXPECT_NEAR(sum, without, 1e-14 * std::abs(without)) << z0;
    }
    row.ee[13] = 0;  // a padding node on the filament as well
    row.a[13] = r;
    EXPECT_NEAR(SecRecZRow(row.View(), r, z0, z1, same), without, 1e-14 * std::abs(without));
  }
}

}  // namespace
}  // namespace tavrine

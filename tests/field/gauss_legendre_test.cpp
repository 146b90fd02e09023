#include "field/gauss_legendre.h"

#include <cmath>
#include <gtest/gtest.h>

#include "field/local_fields.h"

namespace tavrine {
namespace {

TEST(GaussLegendre, SmallRulesMatchTheKnownNodesAndWeights) {
  const GaussLegendreTable two = GaussLegendre(2);
  ASSERT_EQ(two.Size(), 2);
  EXPECT_NEAR(two.Nodes()[0], -0.5773503, 1e-7);
  EXPECT_NEAR(two.Nodes()[1], 0.5773503, 1e-7);
  EXPECT_NEAR(two.Weights()[0], 1.0, 1e-9);
  EXPECT_NEAR(two.Weights()[1], 1.0, 1e-9);

  const GaussLegendreTable four = GaussLegendre(4);
  const double nodes[] = {-0.8611363, -0.3399810, 0.3399810, 0.8611363};
  const double weights[] = {0.3478548, 0.6521452, 0.6521452, 0.3478548};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(four.Nodes()[i], nodes[i], 1e-7);
    EXPECT_NEAR(four.Weights()[i], weights[i], 1e-7);
  }
}

TEST(GaussLegendre, OddRuleKeepsTheMiddleNodeAtZero) {
  const GaussLegendreTable five = GaussLegendre(5);
  EXPECT_EQ(five.Nodes()[2], 0.0);
  EXPECT_NEAR(five.Weights()[2], 128.0 / 225.0, 1e-9);
}

// A rule of N nodes integrates polynomials up to degree 2N − 1 exactly; the bisection leaves
// the nodes within about 1e-10.
TEST(GaussLegendre, RunTablesAreSymmetricAndIntegratePolynomials) {
  const FieldQuadrature quadrature;
  for (const GaussLegendreTable* table : {&quadrature.sector, &quadrature.rh, &quadrature.coil}) {
    const int n = table->Size();
    double weight_sum = 0, x20 = 0;
    for (int i = 0; i < n; ++i) {
      EXPECT_EQ(table->Nodes()[i], -table->Nodes()[n - 1 - i]);
      if (i > 0) {
        EXPECT_LT(table->Nodes()[i - 1], table->Nodes()[i]);
      }
      weight_sum += table->Weights()[i];
      x20 += table->Weights()[i] * std::pow(table->Nodes()[i], 20);
      EXPECT_DOUBLE_EQ(table->TurnCos()[i], std::cos(M_PI + M_PI * table->Nodes()[i]));
    }
    EXPECT_NEAR(weight_sum, 2.0, 1e-9) << n;
    EXPECT_NEAR(x20, 2.0 / 21.0, 1e-9) << n;
  }
  EXPECT_EQ(quadrature.sector.Size(), 500);
  EXPECT_EQ(quadrature.rh.Size(), 100);
  EXPECT_EQ(quadrature.coil.Size(), 50);
}

// Sizes whose half rule does not fill whole groups of roots: every node placed, and the rule
// exact up to degree 2N − 2.
TEST(GaussLegendre, RulesOfAnySizeAreExactToTheirDegree) {
  for (int n : {3, 13, 37, 129}) {
    const GaussLegendreTable table = GaussLegendre(n);
    double moment = 0;
    for (int i = 0; i < n; ++i) {
      if (i > 0) {
        EXPECT_LT(table.Nodes()[i - 1], table.Nodes()[i]) << n;
      }
      moment += table.Weights()[i] * std::pow(table.Nodes()[i], 2 * n - 2);
    }
    EXPECT_NEAR(moment, 2.0 / (2 * n - 1), 1e-13) << n;
  }
}

}  // namespace
}  // namespace tavrine

// Own-frame field (Oe) of one element of each kind at one own-frame point (mm), all three
// components in one pass. Quadrature tables are built once per process and shared read-only.
#pragma once

#include <vector>

#include "field/gauss_legendre.h"
#include "field/graded_rule.h"
#include "geometry/vec3.h"
#include "model/element_model.h"
#include "model/notices.h"

namespace tavrine {

// The node tables every kernel needs: 500 nodes for sector magnets, 100 for RH magnets and
// 50 for the current elements, built once and read by any number of threads.
struct FieldQuadrature {
  // With a runner the node tables are built on its threads, to the same bits.
  explicit FieldQuadrature(const TaskRunner& run = {});
  GaussLegendreTable sector;  // kGaussPoints nodes
  GradedRule graded;          // the magnets' rule near their charged surfaces
  GaussLegendreTable rh;      // 100 nodes
  GaussLegendreTable coil;    // 50 nodes
  // Node angles π + π·x_k over a full turn, for the RH magnet (100) and the round wire (50).
  std::vector<double> rh_cos, rh_sin, coil_turn_cos, coil_turn_sin;
};

// The tables depend on nothing but their sizes, so a process builds them once, on the first
// caller's runner, and every later run and study reads the same ones.
const FieldQuadrature& SharedFieldQuadrature(const TaskRunner& run = {});

// What a sector magnet's field depends on besides the point: cos θ_k, sin θ_k, w_k·cos θ_k and
// w_k·sin θ_k of its node angles θ_k = (α/2)·x_k, one block of the node count each. The plain
// call prepares one per call; a caller visiting many points per magnet may prepare it once, with
// bit-identical results.
struct PreparedSecMag {
  SecMag magnet;
  const GaussLegendreTable* table = nullptr;
  std::vector<double> node_values;
  const GradedRule* graded = nullptr;
};
PreparedSecMag PrepareSecMag(const SecMag& magnet, const FieldQuadrature& quadrature);
Vec3 SecMagLocalField(const PreparedSecMag& prepared, const Vec3& p, Notices& notices);

// How near a point is to a magnet's charged surfaces (mm), whether its kernel takes the graded
// rule there, and whether the point lies exactly on an edge or rim of a charged face, where the
// field is undefined. Far from the surfaces the fixed node rules are exact to rounding.
struct MagnetReach {
  double distance = 0;
  bool near = false, on_edge = false;
};
MagnetReach SecMagReachOf(const SecMag& magnet, const Vec3& p);
MagnetReach RhMagReachOf(const RhMag& magnet, const Vec3& p);

Vec3 RecMagLocalField(const RecMag& magnet, const Vec3& p, Notices& notices);
Vec3 SecMagLocalField(const SecMag& magnet,
                      const Vec3& p,
                      const FieldQuadrature& quadrature,
                      Notices& notices);
Vec3 RhMagLocalField(const RhMag& magnet,
                     const Vec3& p,
                     const FieldQuadrature& quadrature,
                     Notices& notices);
Vec3 StrCylCoilLocalField(const StrCylCoil& coil, const Vec3& p, const FieldQuadrature& quadrature);
Vec3 StrRecCoilLocalField(const StrRecCoil& coil, const Vec3& p, const FieldQuadrature& quadrature);
Vec3 SecCylCoilLocalField(const SecCylCoil& coil, const Vec3& p, const FieldQuadrature& quadrature);
Vec3 SecRecCoilLocalField(const SecRecCoil& coil, const Vec3& p, const FieldQuadrature& quadrature);

}  // namespace tavrine

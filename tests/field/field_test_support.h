// Helpers of the field tests: random points, notice-free comparison with the literal kernels.
#pragma once

#include <cmath>
#include <random>

#include "field/local_fields.h"
#include "geometry/vec3.h"

namespace tavrine::testing {

// One set of quadrature tables for all the field tests, built once.
inline const FieldQuadrature& Quadrature() {
  static const FieldQuadrature q;
  return q;
}

inline double Norm(const Vec3& v) {
  return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

inline double MaxDiff(const Vec3& a, const Vec3& b) {
  return std::fmax(std::abs(a.x - b.x), std::fmax(std::abs(a.y - b.y), std::abs(a.z - b.z)));
}

class PointSource {
 public:
  explicit PointSource(unsigned seed) : engine_(seed) {}
  double Uniform(double lo, double hi) { return std::uniform_real_distribution<>(lo, hi)(engine_); }
  int Pick(int count) { return std::uniform_int_distribution<>(0, count - 1)(engine_); }

 private:
  std::mt19937_64 engine_;
};

}  // namespace tavrine::testing

// Row sums of the rectangular-wire arc's z double sum: the plain vectorised loop, and the AVX-512
// loop with reciprocal square roots from hardware estimates refined to full precision.
#include "field/arc_z_sums.h"

#include <cmath>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace tavrine {
namespace {

__attribute__((target_clones("avx2", "default"))) double SecRecZRowOf(
    const ArcRows& rows, double r, double z0, double z1, bool same_side) {
  const double* __restrict a = rows.a;
  const double* __restrict ee = rows.ee;
  const double* __restrict weight = rows.weight;
  const double zz0 = z0 * z0, zz1 = z1 * z1;
  double sum = 0;
  if (same_side) {
#pragma omp simd reduction(+ : sum)
    for (int k = 0; k < rows.n; ++k) {
      const double u = r - a[k], q = u * u + ee[k];
      const double e0 = std::sqrt(q + zz0), e1 = std::sqrt(q + zz1);
      const double g = weight[k] * u / (e0 * e1 * (z0 * e1 + z1 * e0));
      sum += q != 0 ? g : 0.0;
    }
  } else {
#pragma omp simd reduction(+ : sum)
    for (int k = 0; k < rows.n; ++k) {
      const double u = r - a[k], q = u * u + ee[k];
      const bool ok = q != 0;
      const double e0 = std::sqrt(q + zz0), e1 = std::sqrt(q + zz1);
      const double g = weight[k] * u * (z0 * e1 - z1 * e0) / ((ok ? q : 1.0) * e0 * e1);
      sum += ok ? g : 0.0;
    }
  }
  return sum;
}

#if defined(__x86_64__)
// 1/sqrt(v) from the 14-bit estimate and one third-order correction: with e = 1 − v·y²,
// 1/sqrt(v) = y·(1 + e/2 + 3e²/8 + 5e³/16 + O(e⁴)), and e⁴ < 2⁻⁵⁶ leaves a few ulp at most.
__attribute__((target("avx512f"))) inline __m512d InvSqrt(__m512d v) {
  const __m512d y = _mm512_maskz_rsqrt14_pd(0xff, v);  // maskz: no undefined source
  const __m512d e = _mm512_fnmadd_pd(_mm512_mul_pd(v, y), y, _mm512_set1_pd(1.0));
  __m512d p = _mm512_fmadd_pd(e, _mm512_set1_pd(5.0 / 16), _mm512_set1_pd(3.0 / 8));
  p = _mm512_fmadd_pd(p, e, _mm512_set1_pd(0.5));
  return _mm512_fmadd_pd(y, _mm512_mul_pd(p, e), y);
}

// 1/v the same way: with e = 1 − v·y, 1/v = y·(1 + e + e² + e³ + O(e⁴)).
__attribute__((target("avx512f"))) inline __m512d Inv(__m512d v) {
  const __m512d y = _mm512_maskz_rcp14_pd(0xff, v);
  const __m512d e = _mm512_fnmadd_pd(v, y, _mm512_set1_pd(1.0));
  const __m512d p = _mm512_fmadd_pd(_mm512_fmadd_pd(e, e, e), e, e);
  return _mm512_fmadd_pd(y, p, y);
}

// The plain row with the square roots and the division on the multiply-add units (the divider is
// what bounds the plain form): the same brackets in 1/E0 and 1/E1.
__attribute__((target("avx512f"))) double WideRow(
    const ArcRows& rows, double r, double z0, double z1, bool same_side) {
  const __m512d zero = _mm512_setzero_pd(), vr = _mm512_set1_pd(r);
  const __m512d vz0 = _mm512_set1_pd(z0), vz1 = _mm512_set1_pd(z1);
  const __m512d zz0 = _mm512_set1_pd(z0 * z0), zz1 = _mm512_set1_pd(z1 * z1);
  __m512d sum = zero;
  for (int k = 0; k < rows.n; k += 8) {
    const __m512d u = _mm512_sub_pd(vr, _mm512_loadu_pd(rows.a + k));
    const __m512d q = _mm512_fmadd_pd(u, u, _mm512_loadu_pd(rows.ee + k));
    const __mmask8 ok = _mm512_cmp_pd_mask(q, zero, _CMP_NEQ_OQ);
    const __m512d r0 = InvSqrt(_mm512_add_pd(q, zz0)), r1 = InvSqrt(_mm512_add_pd(q, zz1));
    __m512d g;
    if (same_side) {  // 1/(E0·E1·(z0·E1 + z1·E0)) = (r0·r1)²/(z0·r0 + z1·r1)
      const __m512d m = _mm512_mul_pd(r0, r1);
      g = _mm512_mul_pd(_mm512_mul_pd(m, m), Inv(_mm512_fmadd_pd(vz0, r0, _mm512_mul_pd(vz1, r1))));
    } else {  // (z0·r0 − z1·r1)/q
      g = _mm512_mul_pd(_mm512_fmsub_pd(vz0, r0, _mm512_mul_pd(vz1, r1)), Inv(q));
    }
    const __m512d wu = _mm512_mul_pd(_mm512_loadu_pd(rows.weight + k), u);
    sum = _mm512_mask3_fmadd_pd(wu, g, sum, ok);
  }
  alignas(64) double lanes[8];
  _mm512_store_pd(lanes, sum);
  return ((lanes[0] + lanes[4]) + (lanes[1] + lanes[5])) +
         ((lanes[2] + lanes[6]) + (lanes[3] + lanes[7]));
}

bool HasAvx512F() {
  static const bool has = __builtin_cpu_supports("avx512f");
  return has;
}
#endif

}  // namespace

double SecRecZRowPlain(const ArcRows& rows, double r, double z0, double z1, bool same_side) {
  return SecRecZRowOf(rows, r, z0, z1, same_side);
}

#if defined(__x86_64__)
bool HasWideArcZRows() {
  return HasAvx512F();
}

double SecRecZRow(const ArcRows& rows, double r, double z0, double z1, bool same_side) {
  return HasAvx512F() ? WideRow(rows, r, z0, z1, same_side)
                      : SecRecZRowOf(rows, r, z0, z1, same_side);
}
#else
bool HasWideArcZRows() {
  return false;
}

double SecRecZRow(const ArcRows& rows, double r, double z0, double z1, bool same_side) {
  return SecRecZRowOf(rows, r, z0, z1, same_side);
}
#endif

}  // namespace tavrine

// Row sums of the rectangular-wire arc's z double sum over its node angles, one radius at a time:
// a plain form and, on processors with AVX-512, a form that keeps the divider out of the loop.
#pragma once

namespace tavrine {

// What a row needs of the node angles θ_k for the point (x, y): a_k = x·cosθ_k + y·sinθ_k,
// ee_k = (x·sinθ_k − y·cosθ_k)² and the weights w_k; n is a multiple of 8, padding weights 0.
struct ArcRows {
  const double* a;
  const double* ee;
  const double* weight;
  int n;
};

// Σ_k w_k·u_k·B_k at radius r, with u = r − a, q = u² + ee (the squared horizontal distance to
// the filament), E0 = sqrt(q + z0²), E1 = sqrt(q + z1²) and, for z0, z1 of one sign
// (same_side), B = 1/(E0·E1·(z0·E1 + z1·E0)), else B = (z0·E1 − z1·E0)/(q·E0·E1). A node with
// q = 0 adds 0. Times (z0² − z1²) on one side, B is z0/(q·E0) − z1/(q·E1) without its cancellation.
double SecRecZRowPlain(const ArcRows& rows, double r, double z0, double z1, bool same_side);
// The same sum to within a few ulp per node, on the wide form where the processor has AVX-512
// (HasWideArcZRows), else on the plain one; a pure function either way.
double SecRecZRow(const ArcRows& rows, double r, double z0, double z1, bool same_side);
bool HasWideArcZRows();

}  // namespace tavrine

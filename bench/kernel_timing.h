// Thread CPU time of one kernel over a point list, shared by the field-kernel benchmark's files.
#pragma once

#include <algorithm>
#include <benchmark/benchmark.h>
#include <time.h>
#include <vector>

#include "geometry/vec3.h"

namespace tavrine {

// Thread CPU nanoseconds per pair of one pass over the points, the best of `rounds`.
template <class Kernel>
double BestNsPerPair(const std::vector<Vec3>& points, Kernel kernel, int rounds) {
  double best = 1e300;
  for (int r = 0; r < rounds; ++r) {
    timespec start{}, end{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &start);
    for (const Vec3& p : points) {
      benchmark::DoNotOptimize(kernel(p));
    }
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &end);
    const double ns = (end.tv_sec - start.tv_sec) * 1e9 + (end.tv_nsec - start.tv_nsec);
    best = std::min(best, ns / static_cast<double>(points.size()));
  }
  return best;
}

}  // namespace tavrine

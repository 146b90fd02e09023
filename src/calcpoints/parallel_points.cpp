// Thread count and block size of the point-parallel loops.
#include "calcpoints/parallel_points.h"

namespace tavrine {

int ResolveThreadCount(int requested) {
  if (requested > 0) {
    return requested;
  }
  return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

int PointBlockSize(int point_count, int threads) {
  const int per_thread = point_count / std::max(1, 4 * threads);
  const int rounded = (per_thread + 7) / 8 * 8;
  return std::clamp(rounded, 8, 256);
}

}  // namespace tavrine

// Block size of the point-parallel loops, and node-table tasks on a run's threads.
#include "calcpoints/parallel_points.h"

namespace tavrine {

int PointBlockSize(int point_count, int threads) {
  const int per_thread = point_count / std::max(1, 32 * threads);
  const int rounded = (per_thread + 7) / 8 * 8;
  return std::clamp(rounded, 8, kMaxPointBlock);
}

TaskRunner TasksOn(WorkerPool& pool) {
  return [&pool](int count, const std::function<void(int)>& task) { RunTasks(pool, count, task); };
}

}  // namespace tavrine

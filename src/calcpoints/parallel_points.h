// Work over a point set split into line-aligned blocks, shared by the threads of a pool that a
// run or study borrows once and reuses for every step.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>

#include "field/gauss_legendre.h"
#include "model/progress.h"
#include "model/worker_pool.h"

namespace tavrine {

// Points per block: a multiple of 8, since 8 points of 72 bytes fill exactly 9 cache lines, so
// blocks of line-aligned point arrays never share a line; small sets get small blocks so that
// every thread has work and the last blocks even out the threads' finishing times.
inline constexpr int kMaxPointBlock = 256;
int PointBlockSize(int point_count, int threads);

// The (point, element) pairs of a step done so far, for its bar. Each thread hands in its own
// count in batches of at least kBatch, so cheap kernels do not all queue on one shared counter;
// only the lead moves the bar.
class PairTally {
 public:
  static constexpr int64_t kBatch = 4096;
  PairTally(Progress& progress, double total) : progress_(progress), total_(total) {}
  // Adds `pending` to the tally once it reaches `at_least`, and zeroes it.
  void HandIn(int64_t& pending, bool is_lead, int64_t at_least = kBatch) {
    if (pending < at_least || pending == 0) {
      return;
    }
    const int64_t now = done_.fetch_add(pending, std::memory_order_relaxed) + pending;
    pending = 0;
    if (is_lead) {
      progress_.SetBarFraction(static_cast<double>(now) / total_);
    }
  }

 private:
  Progress& progress_;
  double total_;
  std::atomic<int64_t> done_{0};
};

// Calls work(first, last, is_lead) for every block [first, last) of points 0..point_count-1,
// on the pool's threads.
template <class Work>
void ForEachPointBlock(WorkerPool& pool, int point_count, Work&& work) {
  if (point_count <= 0) {
    return;
  }
  const int block = PointBlockSize(point_count, pool.Threads());
  const int blocks = (point_count + block - 1) / block;
  std::atomic<int> next{0};
  const std::function<void(bool)> worker = [&](bool is_lead) {
    for (int b = next.fetch_add(1); b < blocks; b = next.fetch_add(1)) {
      work(b * block, std::min(point_count, (b + 1) * block), is_lead);
    }
  };
  pool.Run(std::min(pool.Threads(), blocks) - 1, worker);
}

// Tasks 0..count-1 shared out over the pool's threads one by one.
TaskRunner TasksOn(WorkerPool& pool);

}  // namespace tavrine

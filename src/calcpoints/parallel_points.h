// Work over a point set split into line-aligned blocks, shared by worker threads that a run or
// study starts once and reuses for every step.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "field/gauss_legendre.h"
#include "model/progress.h"

namespace tavrine {

int ResolveThreadCount(int requested);

// Points per block: a multiple of 8, since 8 points of 72 bytes fill exactly 9 cache lines, so
// blocks of line-aligned point arrays never share a line; small sets get small blocks so that
// every thread has work and the last blocks even out the threads' finishing times.
inline constexpr int kMaxPointBlock = 256;
int PointBlockSize(int point_count, int threads);

// Helper threads started once for a run or a study: a step then costs a wake-up, not thread
// starts. The calling thread always takes part as the lead.
class WorkerPool {
 public:
  explicit WorkerPool(int threads);
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  int Threads() const { return threads_; }
  // Runs job(is_lead) on the caller and on up to `helpers` helper threads (at most
  // Threads() − 1); returns when every one that took part has returned. A helper that has not
  // woken by the time the caller's job returns is left out, so that a short step never waits
  // for a wake-up: the job must share its work out by claiming it, as the block loops do.
  void Run(int helpers, const std::function<void(bool is_lead)>& job);

 private:
  int StartHelpers(int wanted);
  void Serve(int index, uint64_t seen);

  int threads_;
  std::mutex mutex_;
  std::condition_variable wake_, done_;
  const std::function<void(bool)>* job_ = nullptr;
  // Written under the mutex; atomic so that a thread may watch them briefly before it sleeps.
  std::atomic<uint64_t> generation_{0};
  std::atomic<int> running_{0};  // helpers in the current job and not yet done
  int called_ = 0;               // helpers asked to join the current job
  bool open_ = false;            // whether a helper may still join it
  bool stop_ = false;
  std::vector<std::thread> helpers_;
};

// A pool of the given size kept for the whole process and lent to one run at a time, so that a
// run does not start threads, which takes milliseconds on some machines; while it is lent out,
// a run asking for the same size gets a pool of its own.
class PoolLease {
 public:
  struct Kept;  // a pool kept for the process, and whether it is lent
  explicit PoolLease(int threads);
  ~PoolLease();
  PoolLease(const PoolLease&) = delete;
  PoolLease& operator=(const PoolLease&) = delete;
  WorkerPool& Pool() const { return *pool_; }

 private:
  Kept* kept_ = nullptr;
  std::unique_ptr<WorkerPool> own_;
  WorkerPool* pool_ = nullptr;
};

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

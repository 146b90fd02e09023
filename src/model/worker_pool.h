// Helper threads kept asleep between the steps of a run, and the process's kept pools: starting
// a thread takes milliseconds on some virtual machines, waking a waiting one microseconds.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tavrine {

// The machine's cores, at least 1.
int CoreCount();
// `requested` threads, or one per core for 0 or less.
int ResolveThreadCount(int requested);

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
  enum class IfLent { kOwnPool, kNoPool };
  explicit PoolLease(int threads, IfLent if_lent = IfLent::kOwnPool);
  ~PoolLease();
  PoolLease(const PoolLease&) = delete;
  PoolLease& operator=(const PoolLease&) = delete;
  // False only for kNoPool while the kept pool is lent.
  bool HasPool() const { return pool_ != nullptr; }
  WorkerPool& Pool() const { return *pool_; }

 private:
  Kept* kept_ = nullptr;
  std::unique_ptr<WorkerPool> own_;
  WorkerPool* pool_ = nullptr;
};

// Calls task(t) for every t in [0, count) on the pool's threads, each task claimed by one
// thread, and returns once all have ended, rethrowing the first exception a task threw.
void RunTasks(WorkerPool& pool, int count, const std::function<void(int)>& task);

// Threads of the process's shared tasks: one per core, at most 8.
int SharedTaskThreads();

// Calls task(t) for every t in [0, count) on the pool of SharedTaskThreads() kept for the
// process, and returns once all have ended, rethrowing the first exception a task threw. While
// that pool is lent to a run, the caller runs every task itself.
void RunSharedTasks(int count, const std::function<void(int)>& task);

}  // namespace tavrine

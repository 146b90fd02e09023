// The helper threads, the kept pools and the process's shared tasks.
#include "model/worker_pool.h"

#include <algorithm>
#include <chrono>
#include <exception>
#include <map>
#include <system_error>

namespace tavrine {

int CoreCount() {
  // Asked once: the C library reads it from a system file every time.
  static const int cores = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
  return cores;
}

int ResolveThreadCount(int requested) {
  return requested > 0 ? requested : CoreCount();
}

WorkerPool::WorkerPool(int threads) : threads_(std::max(1, threads)) {}

WorkerPool::~WorkerPool() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  for (std::thread& helper : helpers_) {
    helper.join();
  }
}

namespace {

// Steps of a study follow one another within microseconds: a thread that has just finished
// watches for the next change this long before it sleeps, which a wake-up would cost again.
constexpr std::chrono::microseconds kWatch{50};

template <class Ready>
bool WatchBriefly(Ready ready) {
  const auto until = std::chrono::steady_clock::now() + kWatch;
  for (int i = 1;; ++i) {
    if (ready()) {
      return true;
    }
    if (i % 64 == 0 && std::chrono::steady_clock::now() > until) {
      return false;
    }
  }
}

}  // namespace

// Helpers start when a step first needs them, so a pool asked for more threads than its steps
// have blocks never starts the rest. Only the lead writes generation_, so it reads it unlocked.
int WorkerPool::StartHelpers(int wanted) {
  try {
    while (static_cast<int>(helpers_.size()) < wanted) {
      const int index = static_cast<int>(helpers_.size());
      helpers_.emplace_back([this, index, seen = generation_.load()] { Serve(index, seen); });
    }
  } catch (const std::system_error&) {
    // The system gave fewer threads than asked: the blocks go to those, with the same results.
  }
  return std::min(wanted, static_cast<int>(helpers_.size()));
}

void WorkerPool::Run(int helpers, const std::function<void(bool)>& job) {
  const int called = StartHelpers(std::clamp(helpers, 0, threads_ - 1));
  if (called > 0) {
    {
      std::lock_guard lock(mutex_);
      job_ = &job;
      called_ = called;
      running_ = 0;
      open_ = true;
      ++generation_;
    }
    wake_.notify_all();
  }
  job(true);
  if (called > 0) {
    std::unique_lock lock(mutex_);
    open_ = false;
    if (running_ > 0) {
      lock.unlock();
      WatchBriefly([this] { return running_.load() == 0; });
      lock.lock();
      done_.wait(lock, [this] { return running_ == 0; });
    }
    job_ = nullptr;
  }
}

void WorkerPool::Serve(int index, uint64_t seen) {
  std::unique_lock lock(mutex_);
  for (;;) {
    if (generation_ == seen && !stop_) {
      lock.unlock();
      WatchBriefly([&] { return generation_.load() != seen; });
      lock.lock();
    }
    wake_.wait(lock, [&] { return stop_ || generation_ != seen; });
    if (stop_) {
      return;
    }
    seen = generation_;
    if (index >= called_ || !open_) {
      continue;
    }
    ++running_;
    const std::function<void(bool)>& job = *job_;
    lock.unlock();
    job(false);
    lock.lock();
    if (--running_ == 0) {
      done_.notify_one();
    }
  }
}

struct PoolLease::Kept {
  std::unique_ptr<WorkerPool> pool;
  bool lent = false;
};

namespace {

std::mutex& KeptPoolsMutex() {
  static std::mutex mutex;
  return mutex;
}

// By size; never destroyed, so that no helper is stopped under a run still ending at exit.
std::map<int, PoolLease::Kept>& KeptPools() {
  static auto* pools = new std::map<int, PoolLease::Kept>;
  return *pools;
}

}  // namespace

PoolLease::PoolLease(int threads, IfLent if_lent) {
  {
    std::lock_guard lock(KeptPoolsMutex());
    Kept& kept = KeptPools()[threads];
    if (!kept.lent) {
      if (!kept.pool) {
        kept.pool = std::make_unique<WorkerPool>(threads);
      }
      kept.lent = true;
      kept_ = &kept;
      pool_ = kept.pool.get();
      return;
    }
  }
  if (if_lent == IfLent::kOwnPool) {
    own_ = std::make_unique<WorkerPool>(threads);
  }
  pool_ = own_.get();
}

PoolLease::~PoolLease() {
  if (kept_ != nullptr) {
    std::lock_guard lock(KeptPoolsMutex());
    kept_->lent = false;
  }
}

int SharedTaskThreads() {
  return std::min(CoreCount(), 8);
}

void RunTasks(WorkerPool& pool, int count, const std::function<void(int)>& task) {
  std::atomic<int> next{0};
  std::mutex error_mutex;
  std::exception_ptr error;
  pool.Run(std::min(pool.Threads(), count) - 1, [&](bool) {
    for (int t = next.fetch_add(1); t < count; t = next.fetch_add(1)) {
      try {
        task(t);
      } catch (...) {
        const std::lock_guard lock(error_mutex);
        if (!error) {
          error = std::current_exception();
        }
      }
    }
  });
  if (error) {
    std::rethrow_exception(error);
  }
}

void RunSharedTasks(int count, const std::function<void(int)>& task) {
  const PoolLease lease(SharedTaskThreads(), PoolLease::IfLent::kNoPool);
  if (!lease.HasPool() || count < 2) {
    for (int t = 0; t < count; ++t) {
      task(t);
    }
    return;
  }
  RunTasks(lease.Pool(), count, task);
}

}  // namespace tavrine

// The process's helper threads for the chunks of large tables.
#include "files/row_chunks.h"

#include <system_error>
#include <utility>

namespace tavrine {

RowThreads& RowThreads::Shared() {
  static RowThreads threads;
  return threads;
}

RowThreads::RowThreads() {
  const unsigned cores = std::clamp(std::thread::hardware_concurrency(), 1U, 8U);
  for (unsigned i = 1; i < cores; ++i) {
    try {
      helpers_.emplace_back([this] { Serve(); });
    } catch (const std::system_error&) {
      break;  // fewer helpers: the chunks are shared out over those there are
    }
  }
}

RowThreads::~RowThreads() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  for (std::thread& helper : helpers_) {
    helper.join();
  }
}

void RowThreads::Work(const std::function<void(int)>& job, int chunks) {
  for (int c = next_.fetch_add(1); c < chunks; c = next_.fetch_add(1)) {
    try {
      job(c);
    } catch (...) {
      std::lock_guard lock(mutex_);
      if (!error_) {
        error_ = std::current_exception();
      }
    }
  }
}

void RowThreads::Serve() {
  uint64_t seen = 0;
  for (;;) {
    const std::function<void(int)>* job = nullptr;
    int chunks = 0;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [&] { return stop_ || generation_ != seen; });
      if (stop_) {
        return;
      }
      seen = generation_;
      job = job_;
      chunks = chunks_;
    }
    Work(*job, chunks);
    std::lock_guard lock(mutex_);
    if (--running_ == 0) {
      done_.notify_one();
    }
  }
}

void RowThreads::Run(int chunks, const std::function<void(int)>& job) {
  std::unique_lock run(run_mutex_, std::try_to_lock);
  if (!run || helpers_.empty() || chunks < 2) {
    for (int c = 0; c < chunks; ++c) {
      job(c);
    }
    return;
  }
  {
    std::lock_guard lock(mutex_);
    job_ = &job;
    chunks_ = chunks;
    next_ = 0;
    running_ = static_cast<int>(helpers_.size());
    error_ = nullptr;
    ++generation_;
  }
  wake_.notify_all();
  Work(job, chunks);
  std::exception_ptr error;
  {
    std::unique_lock lock(mutex_);
    done_.wait(lock, [&] { return running_ == 0; });
    job_ = nullptr;
    error = std::exchange(error_, nullptr);
  }
  if (error) {
    std::rethrow_exception(error);
  }
}

}  // namespace tavrine

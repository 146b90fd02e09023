// The rows of a large point table split between threads: every row stands on its own, so the
// result is the same whatever the split and however many threads take part.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace tavrine {

// Rows below which another thread costs more than it saves.
inline constexpr int64_t kMinRowsPerChunk = 4096;

// Helper threads for the chunks, one per further core (at most 7), started once and kept for
// the process: starting a thread takes milliseconds on some virtual machines, waking a waiting
// one some microseconds.
class RowThreads {
 public:
  static RowThreads& Shared();
  int Threads() const { return static_cast<int>(helpers_.size()) + 1; }
  // Runs job(c) for every c in [0, chunks) on the caller and the helpers, and returns once all
  // have finished, rethrowing the first exception a job threw. While another caller's chunks
  // run, or without helpers, the caller runs them all itself.
  void Run(int chunks, const std::function<void(int)>& job);

  RowThreads(const RowThreads&) = delete;
  RowThreads& operator=(const RowThreads&) = delete;

 private:
  RowThreads();
  ~RowThreads();
  void Serve();
  void Work(const std::function<void(int)>& job, int chunks);

  std::mutex run_mutex_;  // one caller's chunks at a time
  std::mutex mutex_;
  std::condition_variable wake_, done_;
  const std::function<void(int)>* job_ = nullptr;
  int chunks_ = 0;
  std::atomic<int> next_{0};
  int running_ = 0;
  uint64_t generation_ = 0;
  bool stop_ = false;
  std::exception_ptr error_;
  std::vector<std::thread> helpers_;
};

// One chunk per thread, none smaller than kMinRowsPerChunk rows.
inline int RowChunkCount(int64_t rows) {
  const int64_t threads = RowThreads::Shared().Threads();
  return static_cast<int>(std::clamp<int64_t>(rows / kMinRowsPerChunk, 1, threads));
}

template <class Job>
void RunRowChunks(int chunks, const Job& job) {
  RowThreads::Shared().Run(chunks, std::function<void(int)>(std::cref(job)));
}

}  // namespace tavrine

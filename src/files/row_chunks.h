// The rows of a large point table split between threads: every row stands on its own, so the
// result is the same whatever the split and however many threads take part.
#pragma once

#include <algorithm>
#include <cstdint>
#include <future>
#include <system_error>
#include <thread>
#include <vector>

namespace tavrine {

// Rows below which another thread costs more than it saves.
inline constexpr int64_t kMinRowsPerChunk = 4096;

// One chunk per core, at most 8, none smaller than kMinRowsPerChunk rows.
inline int RowChunkCount(int64_t rows) {
  // Asked once: the system answers from a file each time.
  static const auto cores =
      static_cast<int64_t>(std::clamp(std::thread::hardware_concurrency(), 1U, 8U));
  return static_cast<int>(std::clamp<int64_t>(rows / kMinRowsPerChunk, 1, cores));
}

// Runs job(c) for every c in [0, chunks): chunk 0 on the calling thread, each other on a thread
// of its own, or afterwards on the caller when no thread can be started. An exception thrown
// by a job reaches the caller once every thread has finished.
template <class Job>
void RunRowChunks(int chunks, const Job& job) {
  std::vector<std::future<void>> others;
  others.reserve(static_cast<size_t>(std::max(chunks - 1, 0)));
  for (int c = 1; c < chunks; ++c) {
    try {
      others.push_back(std::async(std::launch::async, [&job, c] { job(c); }));
    } catch (const std::system_error&) {
      others.push_back(std::async(std::launch::deferred, [&job, c] { job(c); }));
    }
  }
  job(0);
  for (std::future<void>& other : others) {
    other.get();
  }
}

}  // namespace tavrine

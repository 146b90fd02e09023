// The rows of a large point table split between threads: every row stands on its own, so the
// result is the same whatever the split and however many threads take part.
#pragma once

#include <algorithm>
#include <cstdint>

#include "model/worker_pool.h"

namespace tavrine {

// Rows below which another thread costs more than it saves.
inline constexpr int64_t kMinRowsPerChunk = 4096;

// One chunk per thread, none smaller than kMinRowsPerChunk rows; the chunks run as the
// process's shared tasks.
inline int RowChunkCount(int64_t rows) {
  return static_cast<int>(std::clamp<int64_t>(rows / kMinRowsPerChunk, 1, SharedTaskThreads()));
}

}  // namespace tavrine

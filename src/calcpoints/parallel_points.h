// Work over a point set split into line-aligned blocks, shared by worker threads.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

namespace tavrine {

int ResolveThreadCount(int requested);

// Points per block: a multiple of 8, since 8 points of 72 bytes fill exactly 9 cache lines, so
// blocks of line-aligned point arrays never share a line; small sets get small blocks so that
// every thread has work.
int PointBlockSize(int point_count, int threads);

// Calls work(first, last, is_lead) for every block [first, last) of points 0..point_count-1,
// on `threads` threads; the calling thread takes part and is the lead.
template <class Work>
void ForEachPointBlock(int point_count, int threads, Work&& work) {
  const int block = PointBlockSize(point_count, threads);
  const int blocks = (point_count + block - 1) / block;
  std::atomic<int> next{0};
  auto worker = [&](bool is_lead) {
    for (int b = next.fetch_add(1); b < blocks; b = next.fetch_add(1)) {
      work(b * block, std::min(point_count, (b + 1) * block), is_lead);
    }
  };
  const int helpers = std::min(threads, blocks) - 1;
  std::vector<std::jthread> pool;
  pool.reserve(static_cast<size_t>(std::max(0, helpers)));
  for (int t = 0; t < helpers; ++t) {
    pool.emplace_back(worker, false);
  }
  worker(true);
}

}  // namespace tavrine

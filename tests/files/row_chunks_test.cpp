#include "files/row_chunks.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>
#include <vector>

namespace tavrine {
namespace {

// Every chunk runs exactly once, also with more chunks than threads and with two callers at
// once (one of them then runs its chunks itself); a job's exception reaches the caller, and
// the threads serve the next call after it.
TEST(RowThreads, EveryChunkOnceAndExceptionsReachTheCaller) {
  auto run = [](int chunks) {
    std::vector<std::atomic<int>> runs(static_cast<size_t>(chunks));
    RunRowChunks(chunks, [&](int c) { runs[static_cast<size_t>(c)]++; });
    for (const auto& r : runs) {
      EXPECT_EQ(r.load(), 1);
    }
  };
  for (int chunks : {1, 2, 3, 17}) {
    run(chunks);
  }
  std::thread other([&] { run(64); });
  run(64);
  other.join();
  EXPECT_THROW(RunRowChunks(5,
                            [](int c) {
                              if (c == 3) {
                                throw std::runtime_error("chunk");
                              }
                            }),
               std::runtime_error);
  run(9);
}

}  // namespace
}  // namespace tavrine

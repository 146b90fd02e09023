#include "model/worker_pool.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <thread>
#include <vector>

namespace tavrine {
namespace {

// Every task runs exactly once, also with more tasks than threads and with two callers at once
// (one of them then runs its tasks itself); a task's exception reaches the caller, and the
// threads serve the next call after it.
TEST(SharedTasks, EveryTaskOnceAndExceptionsReachTheCaller) {
  auto run = [](int tasks) {
    std::vector<std::atomic<int>> runs(static_cast<size_t>(tasks));
    RunSharedTasks(tasks, [&](int t) { runs[static_cast<size_t>(t)]++; });
    for (const auto& r : runs) {
      EXPECT_EQ(r.load(), 1);
    }
  };
  for (int tasks : {1, 2, 3, 17}) {
    run(tasks);
  }
  std::thread other([&] { run(64); });
  run(64);
  other.join();
  EXPECT_THROW(RunSharedTasks(5,
                              [](int t) {
                                if (t == 3) {
                                  throw std::runtime_error("task");
                                }
                              }),
               std::runtime_error);
  run(9);
}

}  // namespace
}  // namespace tavrine

// The reused helper threads: every block of every step visited once, and node tables built on
// them equal to the serial build.
#include "calcpoints/parallel_points.h"

#include <atomic>
#include <gtest/gtest.h>
#include <vector>

#include "field/local_fields.h"

namespace tavrine {
namespace {

TEST(WorkerPool, ManyStepsOfAnySizeVisitEveryPointExactlyOnce) {
  WorkerPool pool(3);
  for (int step = 0; step < 300; ++step) {
    const int n = (step * 37) % 1200;  // includes 0 and sets smaller than one block
    std::vector<std::atomic<int>> visits(static_cast<size_t>(n));
    std::atomic<int> leads{0};
    ForEachPointBlock(pool, n, [&](int first, int last, bool is_lead) {
      for (int i = first; i < last; ++i) {
        visits[static_cast<size_t>(i)].fetch_add(1);
      }
      leads += is_lead ? 1 : 0;
    });
    for (int i = 0; i < n; ++i) {
      ASSERT_EQ(visits[static_cast<size_t>(i)].load(), 1) << "step " << step << " point " << i;
    }
  }
}

TEST(WorkerPool, NodeTablesBuiltOnThreadsEqualTheSerialBuild) {
  WorkerPool pool(3);
  const FieldQuadrature serial, threaded(TasksOn(pool));
  EXPECT_EQ(serial.sector.Nodes(), threaded.sector.Nodes());
  EXPECT_EQ(serial.sector.Weights(), threaded.sector.Weights());
  EXPECT_EQ(serial.rh.Nodes(), threaded.rh.Nodes());
  EXPECT_EQ(serial.coil.Weights(), threaded.coil.Weights());
}

}  // namespace
}  // namespace tavrine

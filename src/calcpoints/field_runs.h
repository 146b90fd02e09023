// The two field runs: the field (Oe, global components) at every point of a calculation-point
// set, summed step by step and element by element, split over worker threads by points.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "calcpoints/parallel_points.h"
#include "field/local_fields.h"
#include "model/element_model.h"
#include "model/notices.h"
#include "model/progress.h"

namespace tavrine {

struct RunOptions {
  int threads = 0;  // 0: one per core
  // Set-up a caller may give; without tables a run reads the process's shared ones, and
  // without a pool it borrows one of `threads` threads. With a pool, `threads` is the pool's.
  const FieldQuadrature* quadrature = nullptr;
  WorkerPool* pool = nullptr;
};

// The node tables and the threads of a run: the caller's when given, else the shared tables and
// a pool lent to the run.
class RunSetUp {
 public:
  explicit RunSetUp(const RunOptions& options);
  const FieldQuadrature& Quadrature() const { return *quadrature_; }
  WorkerPool& Pool() const { return *pool_; }

 private:
  std::optional<PoolLease> lease_;
  WorkerPool* pool_ = nullptr;
  const FieldQuadrature* quadrature_ = nullptr;
};

// The model's sector magnets (sector-table slots 1..count), prepared once for a whole run.
std::vector<PreparedSecMag> PrepareModelSectors(const ElementModel& model,
                                                const FieldQuadrature& quadrature);

// Clears the set's results and fills Hx, Hy, Hz of points 0..LastIndex. Bit-identical for any
// number of threads. Vectors and extremes are drawn by the caller afterwards.
void RectPointDistFieldCaluculation(ElementModel& model,
                                    Progress& progress,
                                    Notices& notices,
                                    const RunOptions& options = {});
void SectPointDistFieldCaluculation(ElementModel& model,
                                    Progress& progress,
                                    Notices& notices,
                                    const RunOptions& options = {});

}  // namespace tavrine

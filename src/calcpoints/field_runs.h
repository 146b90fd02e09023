// The two field runs: the field (Oe, global components) at every point of a calculation-point
// set, summed step by step and element by element, split over worker threads by points.
#pragma once

#include <vector>

#include "calcpoints/parallel_points.h"
#include "field/local_fields.h"
#include "model/element_model.h"
#include "model/notices.h"
#include "model/progress.h"

namespace tavrine {

struct RunOptions {
  int threads = 0;  // 0: one per core
};

// The node tables and the threads of a run: the process's shared tables and a pool lent to the
// run.
class RunSetUp {
 public:
  explicit RunSetUp(const RunOptions& options);
  const FieldQuadrature& Quadrature() const { return quadrature_; }
  WorkerPool& Pool() const { return lease_.Pool(); }

 private:
  PoolLease lease_;
  const FieldQuadrature& quadrature_;
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

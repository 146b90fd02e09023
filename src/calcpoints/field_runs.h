// The two field runs: the field (Oe, global components) at every point of a calculation-point
// set, summed step by step and element by element, split over worker threads by points.
#pragma once

#include "model/element_model.h"
#include "model/notices.h"
#include "model/progress.h"

namespace tavrine {

struct RunOptions {
  int threads = 0;  // 0: one per core
};

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

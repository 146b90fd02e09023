// Force (N, global components) and torque about the magnet's own origin (N·m) that the rest of
// the model exerts on one rectangular, sector (hollow-cylinder) or RH magnet: the field (Oe) of
// every other element integrated against the magnet's surface charge (mm, T).
#pragma once

#include <memory>
#include <optional>

#include "calcpoints/field_runs.h"
#include "geometry/vec3.h"
#include "model/element_model.h"
#include "model/notices.h"
#include "model/progress.h"
#include "studies/force_study_surfaces.h"

namespace tavrine {

enum class ForceMagnetKind { kRec, kSec, kRh };

struct ForceTarget {
  ForceMagnetKind kind = ForceMagnetKind::kRec;
  int n = 0;  // slot in the kind's table
};

struct ForceResult {
  Vec3 north;      // on the positive (north) charge
  Vec3 south;      // on the negative (south) charge
  Vec3 total;      // north + south
  Vec3 torque;     // about the magnet's own origin, N·m
  int points = 0;  // field evaluations spent
};

// The study's state between runs: the last result, and the room its field points took, kept for
// the next run unless it grew large.
class ForceStudy {
 public:
  // Integrates the field of every element other than the target over the target's north and
  // south charge, refining where another body comes close. Nothing is computed, and nullopt
  // returned, when the target is not an element of the model. Bit-identical for any number of
  // threads.
  std::optional<ForceResult> Run(const ElementModel& model,
                                 const ForceTarget& target,
                                 Progress& progress,
                                 Notices& notices,
                                 const RunOptions& options = {});
  // The rectangular magnet n.
  std::optional<ForceResult> Run(const ElementModel& model,
                                 int n,
                                 Progress& progress,
                                 Notices& notices,
                                 const RunOptions& options = {}) {
    return Run(model, {ForceMagnetKind::kRec, n}, progress, notices, options);
  }

  const ForceResult& Result() const { return result_; }

 private:
  ForceResult result_;
  std::unique_ptr<SurfaceBuffers> buffers_ = std::make_unique<SurfaceBuffers>();
};

}  // namespace tavrine

// Force (N, global components) that the rest of the model exerts on one rectangular magnet: the
// field (Oe) of every other element at the centres of a 51 × 51 grid on each pole face (mm).
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "calcpoints/field_runs.h"
#include "geometry/vec3.h"
#include "model/element_model.h"
#include "model/notices.h"
#include "model/progress.h"

namespace tavrine {

// NA′ and NB′: each face is cut into (NA′ + 1) × (NB′ + 1) equal rectangles.
inline constexpr double kForceDivA = 50;
inline constexpr double kForceDivB = 50;
inline constexpr int kForceColumns = 51;  // j along local x (side a)
inline constexpr int kForceRows = 51;     // i along local y (side b)
inline constexpr int kForceFacePoints = kForceColumns * kForceRows;

// One pole face: point k = j + 51·i in the magnet's frame, in global coordinates, and the summed
// global field there.
struct ForceFace {
  std::vector<Vec3> local, global, field;
};

struct ForceResult {
  Vec3 north;  // F_N, on the positive-face charge
  Vec3 south;  // F_S, on the negative-face charge
  Vec3 total;
};

// Own-frame centre of rectangle (j, i) of the positive (z = 0) or negative (z = −l) face.
Vec3 ForceFacePoint(const RecMag& magnet, int j, int i, bool positive_face);

// The study's state between runs: the last face grids, fields and forces. All storage is taken
// when it is created.
class ForceStudy {
 public:
  ForceStudy();

  // Sums the field of every element other than rectangular magnet n over both faces and the
  // force on n. Nothing is computed, and nullopt returned, when n is not a rectangular magnet
  // of the model. Bit-identical for any number of threads.
  std::optional<ForceResult> Run(const ElementModel& model,
                                 int n,
                                 Progress& progress,
                                 Notices& notices,
                                 const RunOptions& options = {});

  const ForceFace& PositiveFace() const { return faces_[0]; }
  const ForceFace& NegativeFace() const { return faces_[1]; }
  const ForceResult& Result() const { return result_; }

 private:
  std::array<ForceFace, 2> faces_;
  ForceResult result_;
};

// The forces on the magnet's two face charges (Br in G, sides in mm) from the fields (Oe) at its
// face points, each point weighted by its area element in m²; π is the model's.
ForceResult ForceFromFaceFields(const RecMag& magnet,
                                const std::vector<Vec3>& positive_field,
                                const std::vector<Vec3>& negative_field,
                                double pi);

}  // namespace tavrine

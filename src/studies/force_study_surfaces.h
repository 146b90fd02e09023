// The charged surfaces of a magnet in the charge model (own frame, mm; charge in T) and the
// adaptive integral of charge × field over them: force in N, torque about the own origin in N·m.
#pragma once

#include <functional>
#include <span>
#include <vector>

#include "calcpoints/parallel_points.h"
#include "geometry/transforms.h"
#include "geometry/vec3.h"
#include "model/element_model.h"

namespace tavrine {

// One surface over the parameter rectangle [u0, u1] × [v0, v1]:
// plane face (u, v) = (x, y) at z; annular face (u, v) = (r, θ) at z; curved side of a cylinder
// (u, v) = (θ, z) at `radius`, with a charge that varies as cos θ.
struct ChargedSurface {
  enum class Shape { kPlane, kAnnular, kCylinder };
  Shape shape = Shape::kPlane;
  double u0 = 0, u1 = 0, v0 = 0, v1 = 0;
  double z = 0, radius = 0;
  double sigma = 0;  // T: Br ÷ 10000 with the face's sign

  struct Sample {
    Vec3 local;
    double density = 0;  // charge × area per unit of u·v, T·mm²
  };
  Sample At(double u, double v) const;
};

// The north (positive) and south (negative) charge of a magnet.
struct MagnetSurfaces {
  ChargedSurface north, south;
};
MagnetSurfaces SurfacesOf(const RecMag& magnet);
MagnetSurfaces SurfacesOf(const SecMag& magnet);
// An RH magnet's side: the half facing own +x is its north charge.
MagnetSurfaces SurfacesOf(const RhMag& magnet);

struct ForceTorque {
  Vec3 force, torque;
};

// Adds the field (Oe, global) at the global points to `field`, which comes zeroed; called with
// batches of points.
using FieldAtPoints = std::function<void(std::span<const Vec3> points, std::span<Vec3> field)>;

struct SurfaceIntegral {
  ForceTorque value;
  int points = 0;  // field evaluations spent
  int levels = 0;  // refinement levels after the first batch
};

// ∫ σ·H dA and ∫ r × σ·H dA over the surface, r from the magnet's origin, by 6 × 6-point Gauss
// panels halved where the estimate of a panel and of its four halves differ by more than its
// share of 1e-9 of the integral of |σ·H|, at most 14 levels deep and within about two million
// field points. The order of every sum is fixed, so the result does not depend on how `field`
// shares out its work. `pi` is the model's; with a pool the panels' nodes are laid out and
// summed on its threads.
SurfaceIntegral IntegrateSurface(const ChargedSurface& surface,
                                 const ElementFrame& frame,
                                 const FieldAtPoints& field,
                                 double pi,
                                 const std::function<void(int level)>& on_level = {},
                                 WorkerPool* pool = nullptr);

}  // namespace tavrine

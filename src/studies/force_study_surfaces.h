// The charged surfaces of a magnet in the charge model (own frame, mm; charge in T) and the
// adaptive integral of charge × field over them: force in N, torque about the own origin in N·m.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <span>
#include <type_traits>
#include <vector>

#include "calcpoints/parallel_points.h"
#include "geometry/transforms.h"
#include "geometry/vec3.h"
#include "model/element_model.h"
#include "model/page_memory.h"

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

// Room for a batch's nodes that is neither cleared nor shrunk, kept from one batch, face and
// run to the next: bodies in contact ask for megabytes, and faulting their pages in, which the
// system does one thread at a time, costs more than the nodes' own work. Every node is written
// before it is read.
template <class T>
class NodeBuffer {
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

 public:
  std::span<T> Take(size_t count) {
    if (count > capacity_) {
      capacity_ = std::max(count, capacity_ + capacity_ / 2);
      data_.reset(static_cast<T*>(::operator new(capacity_ * sizeof(T))));
      PrefaultPages(data_.get(), capacity_ * sizeof(T));
    }
    return {data_.get(), count};
  }
  size_t Bytes() const { return capacity_ * sizeof(T); }

 private:
  struct Free {
    void operator()(T* p) const { ::operator delete(p); }
  };
  std::unique_ptr<T, Free> data_;
  size_t capacity_ = 0;
};

struct SurfaceBuffers {
  NodeBuffer<Vec3> global, h;
  NodeBuffer<ChargedSurface::Sample> samples;
  NodeBuffer<double> weights;
  size_t Bytes() const { return global.Bytes() + h.Bytes() + samples.Bytes() + weights.Bytes(); }
};

// ∫ σ·H dA and ∫ r × σ·H dA over the surface, r from the magnet's origin, by 6 × 6-point Gauss
// panels halved where the estimate of a panel and of its four halves differ by more than its
// share of 1e-9 of the integral of |σ·H|, at most 14 levels deep and within about two million
// field points. The order of every sum is fixed, so the result does not depend on how `field`
// shares out its work. `pi` is the model's; with a pool the panels' nodes are laid out and
// summed on its threads; with `buffers` the nodes' room is theirs.
SurfaceIntegral IntegrateSurface(const ChargedSurface& surface,
                                 const ElementFrame& frame,
                                 const FieldAtPoints& field,
                                 double pi,
                                 const std::function<void(int level)>& on_level = {},
                                 WorkerPool* pool = nullptr,
                                 SurfaceBuffers* buffers = nullptr);

}  // namespace tavrine

// Charged surfaces of the three magnet kinds and the adaptive Gauss panels over them.
#include "studies/force_study_surfaces.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "model/text_rules.h"

namespace tavrine {

namespace {

constexpr int kGaussOrder = 6;
constexpr int kRootSplit = 2;    // root panels per parameter direction
constexpr int kMaxLevels = 14;   // a panel is never smaller than 2^-15 of its surface's side
constexpr double kShare = 1e-9;  // of the integral of |σ·H| over the surface
// Bodies in contact never converge along the line where they touch; past this many field
// points the panels left are taken as they are.
constexpr int kMaxPoints = 2'000'000;

struct Panel {
  double u0 = 0, u1 = 0, v0 = 0, v1 = 0;
  double Area() const { return (u1 - u0) * (v1 - v0); }
};

struct Estimate {
  ForceTorque value;
  double force_abs = 0, torque_abs = 0;
};

Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

double Largest(const Vec3& v) {
  return std::max({std::abs(v.x), std::abs(v.y), std::abs(v.z)});
}

double Length(const Vec3& v) {
  return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

// The 6-point Gauss–Legendre rule on [−1, 1], to full double precision.
constexpr std::array<double, kGaussOrder> kNodes = {-0.9324695142031520278, -0.6612093864662645137,
                                                    -0.2386191860831969086, 0.2386191860831969086,
                                                    0.6612093864662645137,  0.9324695142031520278};
constexpr std::array<double, kGaussOrder> kWeights = {0.1713244923791703450, 0.3607615730481386076,
                                                      0.4679139345726910474, 0.4679139345726910474,
                                                      0.3607615730481386076, 0.1713244923791703450};

constexpr size_t kPanelNodes = kGaussOrder * kGaussOrder;

// visit(p) for panels 0..count-1, on the pool when there is one.
template <class Visit>
void ForEachPanel(WorkerPool* pool, size_t count, Visit visit) {
  if (pool == nullptr) {
    for (size_t p = 0; p < count; ++p) {
      visit(p);
    }
    return;
  }
  ForEachPointBlock(*pool, static_cast<int>(count), [&](int first, int last, bool) {
    for (int p = first; p < last; ++p) {
      visit(static_cast<size_t>(p));
    }
  });
}

class PanelRule {
 public:
  PanelRule(const ChargedSurface& surface,
            const ElementFrame& frame,
            double pi,
            SurfaceBuffers& buffers)
      : surface_(surface), frame_(frame), pi_(pi), buffers_(buffers) {}

  // The estimates of the panels, all their points evaluated in one batch; the nodes are laid
  // out and summed panel by panel on the pool, each panel's sum in node order.
  std::vector<Estimate> Evaluate(const std::vector<Panel>& panels,
                                 const FieldAtPoints& field,
                                 int& points,
                                 WorkerPool* pool) {
    const size_t count = panels.size() * kPanelNodes;
    const std::span<Vec3> global = buffers_.global.Take(count), h = buffers_.h.Take(count);
    const std::span<ChargedSurface::Sample> samples = buffers_.samples.Take(count);
    const std::span<double> weights = buffers_.weights.Take(count);
    ForEachPanel(pool, panels.size(), [&](size_t p) {
      size_t k = p * kPanelNodes;
      ForEachNode(panels[p], [&](double u, double v, double w) {
        samples[k] = surface_.At(u, v);
        global[k] = frame_.PointToGlobal(samples[k].local);
        h[k] = {};
        weights[k++] = w;
      });
    });
    field(global, h);
    points += static_cast<int>(count);
    std::vector<Estimate> out(panels.size());
    ForEachPanel(pool, panels.size(), [&](size_t p) {
      for (size_t k = p * kPanelNodes; k < (p + 1) * kPanelNodes; ++k) {
        Add(out[p], samples[k], weights[k], h[k]);
      }
    });
    return out;
  }

 private:
  template <class Visit>
  void ForEachNode(const Panel& p, Visit visit) const {
    const double hu = (p.u1 - p.u0) / 2, hv = (p.v1 - p.v0) / 2;
    for (int i = 0; i < kGaussOrder; ++i) {
      for (int j = 0; j < kGaussOrder; ++j) {
        const size_t a = static_cast<size_t>(i), b = static_cast<size_t>(j);
        visit(p.u0 + hu * (1 + kNodes[a]), p.v0 + hv * (1 + kNodes[b]),
              hu * hv * kWeights[a] * kWeights[b]);
      }
    }
  }

  // Charge (T) × area (m²) × H (A/m) in N; the lever arm in m.
  void Add(Estimate& e, const ChargedSurface::Sample& s, double w, const Vec3& h_oe) const {
    const double scale = s.density * w * 1e-6 * 1000 / 4 / pi_;
    const Vec3 df = scale * h_oe;
    const Vec3 r = 1e-3 * frame_.VectorToGlobal(s.local);
    e.value.force += df;
    e.value.torque += Cross(r, df);
    e.force_abs += std::abs(scale) * Length(h_oe);
    e.torque_abs += Length(r) * std::abs(scale) * Length(h_oe);
  }

  const ChargedSurface& surface_;
  const ElementFrame& frame_;
  double pi_;
  SurfaceBuffers& buffers_;
};

std::vector<Panel> Quarters(const Panel& p) {
  const double um = (p.u0 + p.u1) / 2, vm = (p.v0 + p.v1) / 2;
  return {{p.u0, um, p.v0, vm}, {um, p.u1, p.v0, vm}, {p.u0, um, vm, p.v1}, {um, p.u1, vm, p.v1}};
}

std::vector<Panel> QuartersOf(const std::vector<Panel>& panels) {
  std::vector<Panel> out;
  for (const Panel& p : panels) {
    for (const Panel& q : Quarters(p)) {
      out.push_back(q);
    }
  }
  return out;
}

std::vector<Panel> RootPanels(const ChargedSurface& s) {
  std::vector<Panel> roots;
  const double du = (s.u1 - s.u0) / kRootSplit, dv = (s.v1 - s.v0) / kRootSplit;
  for (int i = 0; i < kRootSplit; ++i) {
    for (int j = 0; j < kRootSplit; ++j) {
      roots.push_back({s.u0 + du * i, s.u0 + du * (i + 1), s.v0 + dv * j, s.v0 + dv * (j + 1)});
    }
  }
  return roots;
}

Estimate SumOf(const std::vector<Estimate>& e, size_t first, size_t count) {
  Estimate sum;
  for (size_t k = first; k < first + count; ++k) {
    sum.value.force += e[k].value.force;
    sum.value.torque += e[k].value.torque;
    sum.force_abs += e[k].force_abs;
    sum.torque_abs += e[k].torque_abs;
  }
  return sum;
}

}  // namespace

ChargedSurface::Sample ChargedSurface::At(double u, double v) const {
  switch (shape) {
    case Shape::kPlane:
      return {{u, v, z}, sigma};
    case Shape::kAnnular:
      return {{u * std::cos(v), u * std::sin(v), z}, sigma * u};
    case Shape::kCylinder:
      return {{radius * std::cos(u), radius * std::sin(u), v}, sigma * std::cos(u) * radius};
  }
  return {};
}

MagnetSurfaces SurfacesOf(const RecMag& m) {
  const double a = m.a / 2, b = m.b / 2, sigma = m.Br / 10000;
  using S = ChargedSurface::Shape;
  return {{S::kPlane, -a, a, -b, b, 0, 0, sigma}, {S::kPlane, -a, a, -b, b, -m.l, 0, -sigma}};
}

MagnetSurfaces SurfacesOf(const SecMag& m) {
  const double half = m.OpenAngle / 2, sigma = m.Br / 10000;
  using S = ChargedSurface::Shape;
  return {{S::kAnnular, m.Ri, m.Ro, -half, half, 0, 0, sigma},
          {S::kAnnular, m.Ri, m.Ro, -half, half, -m.T, 0, -sigma}};
}

MagnetSurfaces SurfacesOf(const RhMag& m) {
  const double pi = Pi(), sigma = m.Br / 10000;
  using S = ChargedSurface::Shape;
  return {{S::kCylinder, -pi / 2, pi / 2, -m.HT, 0, 0, m.R, sigma},
          {S::kCylinder, pi / 2, 3 * pi / 2, -m.HT, 0, 0, m.R, sigma}};
}

SurfaceIntegral IntegrateSurface(const ChargedSurface& surface,
                                 const ElementFrame& frame,
                                 const FieldAtPoints& field,
                                 double pi,
                                 const std::function<void(int level)>& on_level,
                                 WorkerPool* pool,
                                 SurfaceBuffers* buffers) {
  SurfaceIntegral result;
  SurfaceBuffers own;
  PanelRule rule(surface, frame, pi, buffers ? *buffers : own);
  std::vector<Panel> active = RootPanels(surface);
  // The roots and their quarters in one first batch: for well-separated bodies that is all.
  std::vector<Panel> first = active;
  std::vector<Panel> children = QuartersOf(active);
  first.insert(first.end(), children.begin(), children.end());
  std::vector<Estimate> both = rule.Evaluate(first, field, result.points, pool);
  std::vector<Estimate> estimates(both.begin(), both.begin() + static_cast<long>(active.size()));
  std::vector<Estimate> halves(both.begin() + static_cast<long>(active.size()), both.end());
  const Estimate whole = SumOf(estimates, 0, estimates.size());
  const double area = Panel{surface.u0, surface.u1, surface.v0, surface.v1}.Area();
  std::vector<Estimate> accepted;
  for (int level = 0; !active.empty(); ++level) {
    if (level > 0) {
      if (on_level) {
        on_level(level);
      }
      const size_t batch = 4 * active.size() * kGaussOrder * kGaussOrder;
      if (static_cast<size_t>(result.points) + batch > kMaxPoints) {
        accepted.insert(accepted.end(), estimates.begin(), estimates.end());
        break;
      }
      children = QuartersOf(active);
      halves = rule.Evaluate(children, field, result.points, pool);
    }
    std::vector<Panel> next;
    std::vector<Estimate> next_estimates;
    for (size_t k = 0; k < active.size(); ++k) {
      const Estimate finer = SumOf(halves, 4 * k, 4);
      const double share = kShare * active[k].Area() / area;
      const bool converged =
          Largest(finer.value.force - estimates[k].value.force) <= share * whole.force_abs &&
          Largest(finer.value.torque - estimates[k].value.torque) <= share * whole.torque_abs;
      if (converged || level + 1 >= kMaxLevels) {
        accepted.push_back(finer);
        continue;
      }
      for (size_t c = 0; c < 4; ++c) {
        next.push_back(children[4 * k + c]);
        next_estimates.push_back(halves[4 * k + c]);
      }
    }
    active = std::move(next);
    estimates = std::move(next_estimates);
    result.levels = level;
  }
  const Estimate total = SumOf(accepted, 0, accepted.size());
  result.value = total.value;
  return result;
}

}  // namespace tavrine

// The sweep step by step and element by element. The field at the pieces is split over worker
// threads by pieces; each piece sums its magnets in table order, rectangular, sector, RH, and
// force and torque are summed over the pieces in order, so no result depends on the threads.
#include "studies/kt_sweep.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <mutex>
#include <set>
#include <utility>

#include "calcpoints/parallel_points.h"
#include "calcpoints/point_fields.h"
#include "field/local_fields.h"
#include "geometry/transforms.h"
#include "model/resets.h"
#include "model/text_rules.h"

namespace tavrine {

namespace {

// Force factor: A/mm² × mm³ × Oe to N; the torque factor also takes the lever arm from mm to m.
constexpr double kForceFactor = 0.001 / 10000;
constexpr double kTorqueFactor = 0.001 / 10000 / 1000;

struct Divisions {
  int l = 0, w = 0, t = 0;
  int64_t Count() const { return int64_t{l} * w * t; }
};

// One list entry being swept at one angle.
struct ElementStep {
  int kind = 0, e = 0, s = 0;
  double phi = 0;
  Divisions div;
  int pieces = 0;
};

struct SweepContext {
  ElementModel& model;
  KtStepTotals& totals;
  Progress& progress;
  Notices& notices;
  KtSweepListener* listener;
  WorkerPool& pool;
  int caption_steps;
  const FieldQuadrature& quadrature;
  ElementFrame kt_frame;
  std::vector<ElementFrame> rec_frames, sec_frames, rh_frames;
  std::vector<PreparedSecMag> sec_magnets;
  int touched = 0;  // pieces whose field slots may be non-zero since the sweep cleared them all
};

struct PieceGeometry {
  Vec3 local;
  double rho = 0, theta = 0;  // arc pieces: radius and angle of the centre in the own frame
  double volume = 0;          // round-wire pieces, mm³
};

// A round wire's cross-section is cut into `div.w` rings of equal width and `div.t` equal
// sectors about the wire's axis; (a, ψ) is the centre of ring j, sector k, and a·Δa·Δψ its area.
struct DiscCell {
  double a = 0, psi = 0, area = 0;
};
DiscCell CrossSectionCell(double radius, const Divisions& div, int j, int k) {
  const double da = radius / div.w, dpsi = 2 * Pi() / div.t;
  const double a = da * (j + 0.5);
  return {a, dpsi * (k + 0.5), a * da * dpsi};
}

PieceGeometry RoundPieceCentre(
    const ElementModel& model, const ElementStep& es, int i, int j, int k) {
  const size_t e = static_cast<size_t>(es.e);
  const double fi = (i + 0.5) / es.div.l - 0.5;
  if (es.kind == kKtStrCyl) {
    // Along the own x axis, the cross-section about it.
    const StrCylCoil& c = model.StrCylCoilTable[e];
    const DiscCell cell = CrossSectionCell(c.R, es.div, j, k);
    return {{fi * c.Lx, cell.a * std::cos(cell.psi), cell.a * std::sin(cell.psi)},
            0,
            0,
            cell.area * c.Lx / es.div.l};
  }
  // Along the arc's angle; the cross-section centred on radius R in the own z = 0 plane.
  const SecCylCoil& c = model.SecCylCoilTable[e];
  const DiscCell cell = CrossSectionCell(c.rwire, es.div, j, k);
  const double theta = fi * c.Angle;
  const double rho = c.R + cell.a * std::cos(cell.psi);
  return {{rho * std::cos(theta), rho * std::sin(theta), cell.a * std::sin(cell.psi)},
          rho,
          theta,
          rho * c.Angle / es.div.l * cell.area};
}

PieceGeometry PieceCentre(const ElementModel& model, const ElementStep& es, int i, int j, int k) {
  const size_t e = static_cast<size_t>(es.e);
  const double fi = (i + 0.5) / es.div.l - 0.5;
  if (es.kind == kKtStrCyl || es.kind == kKtSecCyl) {
    return RoundPieceCentre(model, es, i, j, k);
  }
  if (es.kind == kKtStrRec) {
    const StrRecCoil& c = model.StrRecCoilTable[e];
    return {{fi * c.Lx, ((j + 0.5) / es.div.w - 0.5) * c.W, -c.T / es.div.t * (k + 0.5)}};
  }
  const SecRecCoil& c = model.SecRecCoilTable[e];
  const double theta = fi * c.Angle;
  const double rho = c.Ri + (c.Ro - c.Ri) / es.div.w * (j + 0.5);
  return {{rho * std::cos(theta), rho * std::sin(theta), -c.T / es.div.t * (k + 0.5)}, rho, theta};
}

// visit(q, i, j, k) for every piece q = (i·t + k)·w + j, on the sweep's threads; pieces do not
// depend on one another.
template <class Visit>
void ForEachPiece(const SweepContext& run, const ElementStep& es, Visit visit) {
  ForEachPointBlock(run.pool, es.pieces, [&](int first, int last, bool) {
    for (int q = first; q < last; ++q) {
      const int j = q % es.div.w, k = q / es.div.w % es.div.t, i = q / (es.div.w * es.div.t);
      visit(q, i, j, k);
    }
  });
}

void PlacePieces(SweepContext& run, const ElementStep& es) {
  KtState& kt = run.model.Kt;
  ForEachPiece(run, es, [&](int q, int i, int j, int k) {
    const Vec3 p = PieceCentre(run.model, es, i, j, k).local;
    const Vec3 g = KtRotatedPoint(run.model, es.kind, es.e, es.phi, p, run.notices);
    const size_t n = static_cast<size_t>(q);
    kt.KtX[n] = g.x;
    kt.KtY[n] = g.y;
    kt.KtZ[n] = g.z;
  });
}

// Adds every magnet of one table to the field of the pieces, in one progress window.
template <class Field>
void AddMagnets(SweepContext& run,
                const ElementStep& es,
                const std::vector<ElementFrame>& frames,
                Field field) {
  KtState& kt = run.model.Kt;
  AddSourceFields(
      run.pool, es.pieces, frames.size(), run.progress,
      [&](int q) {
        const size_t n = static_cast<size_t>(q);
        return Vec3{kt.KtHx[n], kt.KtHy[n], kt.KtHz[n]};
      },
      [&](size_t m, int q) {
        const size_t n = static_cast<size_t>(q);
        const Vec3 local = frames[m].PointToLocal({kt.KtX[n], kt.KtY[n], kt.KtZ[n]});
        return run.kt_frame.VectorToLocal(frames[m].VectorToGlobal(field(m, local)));
      },
      [&](int q, const Vec3& sum) {
        const size_t n = static_cast<size_t>(q);
        kt.KtHx[n] = sum.x;
        kt.KtHy[n] = sum.y;
        kt.KtHz[n] = sum.z;
      });
}

std::string SectorCaption(const SweepContext& run, const ElementStep& es) {
  return "Kt計算中    ｺｲﾙﾀｲﾌﾟ番号" + ShortestDecimal(es.kind) + "　 ｺｲﾙ番号" +
         ShortestDecimal(es.e) + "  " + ShortestDecimal(es.s) + "/" +
         ShortestDecimal(run.caption_steps) + "回目";
}

// Zero the field slots any earlier element step wrote: the rest are still zero.
void ClearTouchedPieces(SweepContext& run, const ElementStep& es) {
  KtState& kt = run.model.Kt;
  const size_t count = static_cast<size_t>(run.touched);
  std::fill_n(kt.KtHx.begin(), count, 0.0);
  std::fill_n(kt.KtHy.begin(), count, 0.0);
  std::fill_n(kt.KtHz.begin(), count, 0.0);
  run.touched = std::max(run.touched, es.pieces);
}

void FieldAtPieces(SweepContext& run, const ElementStep& es) {
  ClearTouchedPieces(run, es);
  if (!run.rec_frames.empty()) {
    run.progress.Open("ProgressRecMag", "角柱型磁石からの磁界計算中");
    run.progress.StartBar("角柱型磁石からの磁界計算中");
    AddMagnets(run, es, run.rec_frames, [&](size_t m, const Vec3& p) {
      return RecMagLocalField(run.model.RecMagTable[m + 1], p, run.notices);
    });
    run.progress.Close();
  }
  if (!run.sec_frames.empty()) {
    const std::string caption = SectorCaption(run, es);
    run.progress.Open("ProgressSecMag", caption);
    run.progress.StartBar(caption);
    AddMagnets(run, es, run.sec_frames, [&](size_t m, const Vec3& p) {
      return SecMagLocalField(run.sec_magnets[m], p, run.notices);
    });
    run.progress.Close();
  }
  // RH magnets after the kinds above, so their sums keep their order.
  if (!run.rh_frames.empty()) {
    run.progress.Open("ProgressRhMag", "RH型磁石からの磁界計算中");
    run.progress.StartBar("RH型磁石からの磁界計算中");
    AddMagnets(run, es, run.rh_frames, [&](size_t m, const Vec3& p) {
      return RhMagLocalField(run.model.RhMagTable[m + 1], p, run.quadrature, run.notices);
    });
    run.progress.Close();
  }
}

Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}

// d × H with d turned by φ with the element, expressed in the turned Kt frame.
Vec3 TurnedForce(const Vec3& d, const Vec3& h, double c, double s) {
  const Vec3 turned{c * d.x - s * d.y, s * d.x + c * d.y, d.z};
  const Vec3 g = Cross(turned, h);
  return {c * g.x + s * g.y, -s * g.x + c * g.y, g.z};
}

struct ForceTorque {
  Vec3 force, torque;
};

double ElementFactor(const StrRecCoil& c, const ElementStep& es) {
  return c.CurrentDensity * c.Lx * c.W * c.T / static_cast<double>(es.div.Count());
}
double ElementFactor(const SecRecCoil& c, const ElementStep& es) {
  return c.CurrentDensity * (c.Ro - c.Ri) * c.Angle * c.T / static_cast<double>(es.div.Count());
}
// Round-wire pieces carry their own volume, so only the current density is common.
double ElementFactor(const ElementModel& model, const ElementStep& es) {
  const size_t e = static_cast<size_t>(es.e);
  switch (es.kind) {
    case kKtStrRec:
      return ElementFactor(model.StrRecCoilTable[e], es);
    case kKtSecRec:
      return ElementFactor(model.SecRecCoilTable[e], es);
    case kKtStrCyl:
      return model.StrCylCoilTable[e].CurrentDensity;
    default:
      return model.SecCylCoilTable[e].CurrentDensity;
  }
}

Placement ElementPlacement(const ElementModel& model, const ElementStep& es) {
  const size_t e = static_cast<size_t>(es.e);
  switch (es.kind) {
    case kKtStrRec:
      return PlacementOf(model.StrRecCoilTable[e]);
    case kKtSecRec:
      return PlacementOf(model.SecRecCoilTable[e]);
    case kKtStrCyl:
      return PlacementOf(model.StrCylCoilTable[e]);
    default:
      return PlacementOf(model.SecCylCoilTable[e]);
  }
}

// The force function of one piece: current along the own +x axis for straight wires, along
// increasing own angle for arcs; rectangular-wire arcs take the radius here, round wires their
// volume.
Vec3 PieceForce(const ElementStep& es,
                const PieceGeometry& piece,
                const Vec3& u,
                const Vec3& v,
                const Vec3& h,
                double c,
                double s) {
  const bool round = es.kind == kKtStrCyl || es.kind == kKtSecCyl;
  const bool arc = es.kind == kKtSecRec || es.kind == kKtSecCyl;
  Vec3 f = TurnedForce(u, h, c, s);
  if (arc) {
    f = piece.rho *
        (std::cos(piece.theta) * TurnedForce(v, h, c, s) + (-std::sin(piece.theta)) * f);
  }
  if (round) {
    f = (arc ? piece.volume / piece.rho : piece.volume) * f;
  }
  return f;
}

ForceTorque ElementForce(SweepContext& run, const ElementStep& es) {
  const ElementModel& model = run.model;
  const ElementFrame element(ElementPlacement(model, es));
  const Vec3 u = run.kt_frame.VectorToLocal(element.VectorToGlobal({1, 0, 0}));
  const Vec3 v = run.kt_frame.VectorToLocal(element.VectorToGlobal({0, 1, 0}));
  const double c = std::cos(es.phi), s = std::sin(es.phi);
  // Each piece's force and torque on the threads, then summed in piece order.
  std::vector<ForceTorque> pieces(static_cast<size_t>(es.pieces));
  ForEachPiece(run, es, [&](int q, int i, int j, int k) {
    const size_t n = static_cast<size_t>(q);
    const Vec3 h{model.Kt.KtHx[n], model.Kt.KtHy[n], model.Kt.KtHz[n]};
    const PieceGeometry piece = PieceCentre(model, es, i, j, k);
    const Vec3 f = PieceForce(es, piece, u, v, h, c, s);
    const Vec3 r = KtFramePoint(model, es.kind, es.e, piece.local, run.notices);
    pieces[n] = {f, Cross(r, f)};
  });
  Vec3 f_sum, t_sum;
  for (const ForceTorque& piece : pieces) {
    f_sum += piece.force;
    t_sum += piece.torque;
  }
  const double kappa = ElementFactor(model, es);
  return {kForceFactor * kappa * f_sum, kTorqueFactor * kappa * t_sum};
}

void Record(SweepContext& run, const ElementStep& es, const ForceTorque& ft) {
  KtState& kt = run.model.Kt;
  // The element-result tables have slots for element numbers up to 50 only.
  if (es.e < kKtSlots) {
    const size_t k = static_cast<size_t>(es.kind), e = static_cast<size_t>(es.e);
    kt.Fx[k][e] = ft.force.x;
    kt.Fy[k][e] = ft.force.y;
    kt.Fz[k][e] = ft.force.z;
    kt.Tx[k][e] = ft.torque.x;
    kt.Ty[k][e] = ft.torque.y;
    kt.Tz[k][e] = ft.torque.z;
  }
  if (es.s < 1 || static_cast<size_t>(es.s) >= run.totals.Slots()) {
    return;
  }
  const size_t s = static_cast<size_t>(es.s);
  KtStepTotals& t = run.totals;
  t.ForceX[s] += ft.force.x;
  t.ForceY[s] += ft.force.y;
  t.ForceZ[s] += ft.force.z;
  t.TorqueX[s] += ft.torque.x;
  t.TorqueY[s] += ft.torque.y;
  t.TorqueZ[s] += ft.torque.z;
}

// Entries 1..count of a kind's list whose element can be read and whose pieces fit KtPointSet.
bool SweepableEntry(const KtState& kt, int kind, int position, ElementStep& es) {
  const size_t k = static_cast<size_t>(kind), p = static_cast<size_t>(position);
  es.kind = kind;
  es.e = kt.KtSelection[k][p];
  es.div = {kt.DivL[k][p], kt.DivW[k][p], kt.DivT[k][p]};
  if (es.e < 1 || es.e > kElementCapacity || es.div.l < 1 || es.div.w < 1 || es.div.t < 1 ||
      es.div.Count() > kPointSlots) {
    return false;
  }
  es.pieces = static_cast<int>(es.div.Count());
  return true;
}

void RunStep(SweepContext& run, double phi, int s) {
  const KtState& kt = run.model.Kt;
  for (int kind : {kKtStrRec, kKtSecRec, kKtStrCyl, kKtSecCyl}) {
    const int count = std::clamp(kt.KtSelectionCount[static_cast<size_t>(kind)], 0, kKtSlots - 1);
    for (int position = 1; position <= count; ++position) {
      ElementStep es;
      if (!SweepableEntry(kt, kind, position, es)) {
        continue;
      }
      es.phi = phi;
      es.s = s;
      PlacePieces(run, es);
      FieldAtPieces(run, es);
      if (run.listener != nullptr) {
        run.listener->ElementEvaluated(KtDisplayOf(run.model, es.pieces));
      }
      Record(run, es, ElementForce(run, es));
    }
  }
}

void PrepareMagnets(SweepContext& run) {
  const ElementModel& model = run.model;
  const int rec_count = std::clamp(model.RecMagCount, 0, kElementCapacity);
  for (int m = 1; m <= rec_count; ++m) {
    run.rec_frames.emplace_back(PlacementOf(model.RecMagTable[static_cast<size_t>(m)]));
  }
  const int sec_count = std::clamp(SecMagLoopCount(model), 0, kElementCapacity);
  for (int m = 1; m <= sec_count; ++m) {
    const SecMag& magnet = model.SecMagTable[static_cast<size_t>(m)];
    run.sec_frames.emplace_back(PlacementOf(magnet));
    run.sec_magnets.push_back(PrepareSecMag(magnet, run.quadrature));
  }
  const int rh_count = std::clamp(model.RhMagCount, 0, kElementCapacity);
  for (int m = 1; m <= rh_count; ++m) {
    run.rh_frames.emplace_back(PlacementOf(model.RhMagTable[static_cast<size_t>(m)]));
  }
}

}  // namespace

KtAngles KtSweepAngles(double start, double end, double step) {
  KtAngles angles;
  const double span = std::floor((end - start) / step) + 1;
  // NaN (no finite count) or too many steps.
  if (!(span <= kKtMaxSteps)) {
    angles.refused = true;
    return angles;
  }
  angles.caption_steps = span > 0 ? static_cast<int>(span) : 0;
  // The bound only guards against rounding; the count above already limits the loop.
  for (double phi = start; phi <= end && angles.phi.size() <= kKtMaxSteps; phi += step) {
    angles.phi.push_back(phi);
  }
  if (angles.phi.size() > kKtMaxSteps) {
    angles.phi.clear();
    angles.refused = true;
  }
  return angles;
}

KtAngles KtSweepAngles(const KtState& kt) {
  return KtSweepAngles(kt.StartAngle, kt.EndAngle, kt.StepAngle);
}

int KtStepNumber(double phi, double start, double step) {
  return RoundToInt16((phi - start) / step) + 1;
}

void KtStepTotals::Clear(size_t slots) {
  for (auto* column : {&ForceX, &ForceY, &ForceZ, &TorqueX, &TorqueY, &TorqueZ}) {
    column->assign(slots, 0.0);
  }
}

KtFieldExtremes KtMagFieldNormalize(const KtState& kt, int last_piece) {
  KtFieldExtremes found;
  double max_h = -100000, max_x = -100000, max_y = -100000, max_z = -100000;
  double min_x = 100000, min_y = 100000, min_z = 100000;
  auto update = [](double value, double& best, int& at, int q, bool larger) {
    if (larger ? value >= best : value <= best) {
      best = value;
      at = q;
    }
  };
  const int last = std::min(last_piece, kCalPointCapacity);
  for (int q = 0; q <= last; ++q) {
    const size_t n = static_cast<size_t>(q);
    const double hx = kt.KtHx[n], hy = kt.KtHy[n], hz = kt.KtHz[n];
    update(std::sqrt(hx * hx + hy * hy + hz * hz), max_h, found.magnitude, q, true);
    update(hx, max_x, found.hx_max, q, true);
    update(hx, min_x, found.hx_min, q, false);
    update(hy, max_y, found.hy_max, q, true);
    update(hy, min_y, found.hy_min, q, false);
    update(hz, max_z, found.hz_max, q, true);
    update(hz, min_z, found.hz_min, q, false);
  }
  return found;
}

namespace {

std::string Number(double value) {
  return ShortestDecimal(value + 0.0);
}

std::array<std::string, 6> PieceReadout(const KtState& kt, int q) {
  const size_t n = static_cast<size_t>(q);
  return {"Hx=" + Number(std::floor(kt.KtHx[n])),
          "Hy=" + Number(std::floor(kt.KtHy[n])),
          "Hz=" + Number(std::floor(kt.KtHz[n])),
          "Px=" + Number(kt.KtX[n]),
          "Py=" + Number(kt.KtY[n]),
          "Pz=" + Number(kt.KtZ[n])};
}

}  // namespace

KtElementDisplay KtDisplayOf(const ElementModel& model, int pieces) {
  const KtState& kt = model.Kt;
  KtElementDisplay display;
  const double scale = model.View.VectorScale;
  for (int q = 0; q < pieces; ++q) {
    const size_t n = static_cast<size_t>(q);
    const Vec3 p{kt.KtX[n], kt.KtY[n], kt.KtZ[n]};
    // The Kt-frame components are added to the global point as they are.
    const Vec3 h{kt.KtHx[n], kt.KtHy[n], kt.KtHz[n]};
    display.vectors.push_back({p, p + scale * h, kKtVectorColour});
  }
  const KtFieldExtremes x = KtMagFieldNormalize(kt, pieces - 1);
  // Side view LabelHmax, top view LabelHymax, front view LabelHxmax, free view LabelHzmax.
  display.readouts = {PieceReadout(kt, x.magnitude), PieceReadout(kt, x.hy_max),
                      PieceReadout(kt, x.hx_max), PieceReadout(kt, x.hz_max)};
  return display;
}

KtSweepOutcome RunKtSweep(ElementModel& model,
                          KtStepTotals& totals,
                          Progress& progress,
                          Notices& notices,
                          KtSweepListener* listener,
                          const RunOptions& options) {
  const KtAngles angles = KtSweepAngles(model.Kt);
  if (angles.refused) {
    notices.Raise(NoticeId::CautionCapacity);
    return KtSweepOutcome::kRefused;
  }
  totals.Clear(std::max<size_t>(kKtStepSlots, angles.phi.size() + 1));
  ClearKtResults(model);
  OncePerRunNotices once(notices);
  const RunSetUp setup(options);
  ClearPointFields(model.RectCalPointSet.Points, setup.Pool());
  ClearPointFields(model.SectCalPointSet.Points, setup.Pool());
  SweepContext run{model,
                   totals,
                   progress,
                   once,
                   listener,
                   setup.Pool(),
                   angles.caption_steps,
                   setup.Quadrature(),
                   ElementFrame({model.Kt.Orx, model.Kt.Ory, model.Kt.Orz, model.Kt.ThetaRx,
                                 model.Kt.ThetaRy, model.Kt.ThetaRz}),
                   {},
                   {},
                   {},
                   {}};
  PrepareMagnets(run);
  for (double phi : angles.phi) {
    RunStep(run, phi, KtStepNumber(phi, model.Kt.StartAngle, model.Kt.StepAngle));
  }
  return KtSweepOutcome::kDone;
}

}  // namespace tavrine

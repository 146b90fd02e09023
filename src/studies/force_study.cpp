// The force study: the superposed field of the other elements at the points the surface
// integrals ask for (split over worker threads by points, each point summing element by element
// in kind order), and the integrals over the target's north and south charge.
#include "studies/force_study.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calcpoints/parallel_points.h"
#include "field/local_fields.h"
#include "geometry/transforms.h"
#include "model/capacity.h"
#include "studies/force_study_surfaces.h"

namespace tavrine {

namespace {

struct StepCaptions {
  std::string_view positive, negative;
};

constexpr std::array<StepCaptions, 7> kCaptions = {{
    {"１．Ｎ極側の計算　-　角柱磁石からの磁界計算中",
     "８．Ｓ極側の計算　-　角柱磁石からの磁界計算中"},
    {"２．Ｎ極側の計算　-　扇型磁石からの磁界計算中",
     "９．Ｓ極側の計算　-　扇型磁石からの磁界計算中"},
    {"３．Ｎ極側の計算　-　RH型磁石からの磁界計算中",
     "１０．Ｓ極側の計算　-　RH型磁石からの磁界計算中"},
    {"４．Ｎ極側の計算　-　円柱ｺｲﾙからの磁界計算中",
     "１１．Ｓ極側の計算　-　円柱ｺｲﾙからの磁界計算中"},
    {"５．Ｎ極側の計算　-　角柱ｺｲﾙからの磁界計算中",
     "１２．Ｓ極側の計算　-　角柱ｺｲﾙからの磁界計算中"},
    {"６．Ｎ極側の計算　-　円柱扇型ｺｲﾙからの磁界計算中",
     "１３．Ｓ極側の計算　-　円柱扇型ｺｲﾙからの磁界計算中"},
    {"７．Ｎ極側の計算　-　角柱扇型ｺｲﾙからの磁界計算中",
     "１４．Ｓ極側の計算　-　角柱扇型ｺｲﾙからの磁界計算中"},
}};

// What one batch of field points works with; `show` is false for the refinement batches, which
// leave the kind bars of the face's first batch as they are.
struct StepContext {
  const FieldQuadrature& quadrature;
  Notices& notices;
  Progress& progress;
  WorkerPool& pool;
  bool show = true;
};

// One source kind against every point of a batch: source(k, p) gives the own-frame field of the
// k-th visited element.
template <class Source>
void FieldStep(std::span<const Vec3> points,
               std::span<Vec3> field,
               const std::vector<ElementFrame>& frames,
               const Source& source,
               const StepContext& run,
               std::string_view caption) {
  if (frames.empty()) {
    return;
  }
  NullProgress quiet;
  Progress& progress = run.show ? run.progress : quiet;
  progress.SetTitle(caption);
  progress.StartBar(caption);
  progress.SetBarFraction(0);
  const int count = static_cast<int>(points.size());
  PairTally tally(progress, static_cast<double>(count) * static_cast<double>(frames.size()));
  ForEachPointBlock(run.pool, count, [&](int begin, int end, bool is_lead) {
    int64_t pending = 0;
    for (size_t k = 0; k < frames.size(); ++k) {
      for (int p = begin; p < end; ++p) {
        const size_t i = static_cast<size_t>(p);
        field[i] += frames[k].VectorToGlobal(source(k, frames[k].PointToLocal(points[i])));
      }
      pending += end - begin;
      tally.HandIn(pending, is_lead);
    }
    tally.HandIn(pending, is_lead, 0);
  });
  progress.SetBarFraction(1);
}

// The visited elements of a table: first..last, leaving out `skip`.
template <class Record>
std::vector<const Record*> Visited(const ElementTable<Record>& table,
                                   int first,
                                   int last,
                                   int skip = 0) {
  std::vector<const Record*> records;
  for (int e = first; e <= last; ++e) {
    if (e != skip) {
      records.push_back(&table[static_cast<size_t>(e)]);
    }
  }
  return records;
}

template <class Record>
std::vector<ElementFrame> FramesOf(const std::vector<const Record*>& records) {
  std::vector<ElementFrame> frames;
  frames.reserve(records.size());
  for (const Record* r : records) {
    frames.emplace_back(PlacementOf(*r));
  }
  return frames;
}

// The magnets of one run, every one but the target, prepared once.
struct Sources {
  std::vector<const RecMag*> recs;
  std::vector<const SecMag*> secs;
  std::vector<PreparedSecMag> prepared;
  std::vector<const RhMag*> rhs;
  std::vector<ElementFrame> rec_frames, sec_frames, rh_frames;
};

Sources SourcesOf(const ElementModel& m, const ForceTarget& t, const FieldQuadrature& q) {
  auto skip = [&t](ForceMagnetKind kind) { return t.kind == kind ? t.n : 0; };
  Sources s;
  s.recs = Visited(m.RecMagTable, 2, ClampedCount(m.RecMagCount), skip(ForceMagnetKind::kRec));
  s.secs = Visited(m.SecMagTable, 1, ClampedCount(SecMagLoopCount(m)), skip(ForceMagnetKind::kSec));
  s.rhs = Visited(m.RhMagTable, 1, ClampedCount(m.RhMagCount), skip(ForceMagnetKind::kRh));
  for (const SecMag* sec : s.secs) {
    s.prepared.push_back(PrepareSecMag(*sec, q));
  }
  s.rec_frames = FramesOf(s.recs);
  s.sec_frames = FramesOf(s.secs);
  s.rh_frames = FramesOf(s.rhs);
  return s;
}

// Every kind in order at a batch of points.
void SumField(const ElementModel& m,
              const Sources& s,
              std::span<const Vec3> points,
              std::span<Vec3> field,
              const StepContext& run,
              bool north) {
  auto caption = [north](int step) {
    return north ? kCaptions[static_cast<size_t>(step)].positive
                 : kCaptions[static_cast<size_t>(step)].negative;
  };
  FieldStep(
      points, field, s.rec_frames,
      [&](size_t k, const Vec3& p) { return RecMagLocalField(*s.recs[k], p, run.notices); }, run,
      caption(0));
  FieldStep(
      points, field, s.sec_frames,
      [&](size_t k, const Vec3& p) { return SecMagLocalField(s.prepared[k], p, run.notices); }, run,
      caption(1));
  FieldStep(
      points, field, s.rh_frames,
      [&](size_t k, const Vec3& p) {
        return RhMagLocalField(*s.rhs[k], p, run.quadrature, run.notices);
      },
      run, caption(2));
  auto coils = [&](const auto& table, int32_t count, auto kernel, int step) {
    const auto records = Visited(table, 1, ClampedCount(count));
    FieldStep(
        points, field, FramesOf(records),
        [&](size_t k, const Vec3& p) { return kernel(*records[k], p, run.quadrature); }, run,
        caption(step));
  };
  coils(m.StrCylCoilTable, m.StrCylCoilCount, StrCylCoilLocalField, 3);
  coils(m.StrRecCoilTable, m.StrRecCoilCount, StrRecCoilLocalField, 4);
  coils(m.SecCylCoilTable, m.SecCylCoilCount, SecCylCoilLocalField, 5);
  coils(m.SecRecCoilTable, m.SecRecCoilCount, SecRecCoilLocalField, 6);
}

template <class Record>
std::optional<MagnetSurfaces> SurfacesIfPresent(const ElementTable<Record>& table,
                                                int count,
                                                int n,
                                                Placement& placement) {
  if (n < 1 || n > ClampedCount(count)) {
    return std::nullopt;
  }
  placement = PlacementOf(table[static_cast<size_t>(n)]);
  return SurfacesOf(table[static_cast<size_t>(n)]);
}

std::optional<MagnetSurfaces> TargetSurfaces(const ElementModel& m,
                                             const ForceTarget& t,
                                             Placement& placement) {
  switch (t.kind) {
    case ForceMagnetKind::kRec:
      return SurfacesIfPresent(m.RecMagTable, m.RecMagCount, t.n, placement);
    case ForceMagnetKind::kSec:
      return SurfacesIfPresent(m.SecMagTable, SecMagLoopCount(m), t.n, placement);
    case ForceMagnetKind::kRh:
      return SurfacesIfPresent(m.RhMagTable, m.RhMagCount, t.n, placement);
  }
  return std::nullopt;
}

// Room for about 180,000 field points stays with the study for its next run; more, which only
// bodies in contact ask for, goes back to the system.
constexpr size_t kKeptBufferBytes = size_t{16} << 20;

// Refinement levels after a face's first batch show their own title; the kind bars stay.
std::string RefinementTitle(bool north, int level) {
  return std::string(north ? "Ｎ極側の計算" : "Ｓ極側の計算") + "　-　接近部の細分化中（" +
         std::to_string(level) + "段目）";
}

}  // namespace

std::optional<ForceResult> ForceStudy::Run(const ElementModel& model,
                                           const ForceTarget& target,
                                           Progress& progress,
                                           Notices& notices,
                                           const RunOptions& options) {
  Placement placement;
  const std::optional<MagnetSurfaces> surfaces = TargetSurfaces(model, target, placement);
  if (!surfaces) {
    return std::nullopt;
  }
  const ElementFrame frame(placement);
  result_ = {};
  const RunSetUp setup(options);
  const Sources sources = SourcesOf(model, target, setup.Quadrature());
  OncePerRunNotices once(notices);
  StepContext run{setup.Quadrature(), once, progress, setup.Pool()};
  progress.Open("ProgressMagField", "磁界計算中");
  std::array<SurfaceIntegral, 2> faces;
  for (int f = 0; f < 2; ++f) {
    const bool north = f == 0;
    run.show = true;
    const FieldAtPoints field = [&](std::span<const Vec3> points, std::span<Vec3> h) {
      SumField(model, sources, points, h, run, north);
      run.show = false;
    };
    faces[static_cast<size_t>(f)] = IntegrateSurface(
        north ? surfaces->north : surfaces->south, frame, field, model.Pi,
        [&](int level) { progress.SetTitle(RefinementTitle(north, level)); }, &setup.Pool(),
        buffers_.get());
  }
  progress.Close();
  if (buffers_->Bytes() > kKeptBufferBytes) {
    buffers_ = std::make_unique<SurfaceBuffers>();
  }
  result_.north = faces[0].value.force;
  result_.south = faces[1].value.force;
  result_.total = result_.north + result_.south;
  result_.torque = faces[0].value.torque + faces[1].value.torque;
  result_.points = faces[0].points + faces[1].points;
  return result_;
}

}  // namespace tavrine

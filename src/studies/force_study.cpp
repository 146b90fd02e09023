// The force study: face grids, the superposed field of the other elements at every face point
// (split over worker threads by points, each point summing element by element), and the sums.
#include "studies/force_study.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "calcpoints/parallel_points.h"
#include "field/local_fields.h"
#include "geometry/transforms.h"
#include "model/capacity.h"

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

struct StepContext {
  const FieldQuadrature& quadrature;
  Notices& notices;
  Progress& progress;
  int threads;
};

// One source kind against every point of one face: sources[k] gives the own-frame field of the
// k-th visited element.
template <class Source>
void FaceStep(ForceFace& face,
              const std::vector<ElementFrame>& frames,
              const Source& source,
              const StepContext& run,
              std::string_view caption) {
  if (frames.empty()) {
    return;
  }
  run.progress.SetTitle(caption);
  run.progress.StartBar(caption);
  run.progress.SetBarFraction(0);
  const double total = static_cast<double>(kForceFacePoints) * static_cast<double>(frames.size());
  std::atomic<int64_t> done{0};
  ForEachPointBlock(kForceFacePoints, run.threads, [&](int begin, int end, bool is_lead) {
    for (size_t k = 0; k < frames.size(); ++k) {
      for (int p = begin; p < end; ++p) {
        const size_t i = static_cast<size_t>(p);
        const Vec3 local = frames[k].PointToLocal(face.global[i]);
        face.field[i] += frames[k].VectorToGlobal(source(k, local));
      }
      const int64_t now = done.fetch_add(end - begin, std::memory_order_relaxed) + (end - begin);
      if (is_lead) {
        run.progress.SetBarFraction(static_cast<double>(now) / total);
      }
    }
  });
  run.progress.SetBarFraction(1);
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

// Every kind in order against one face; the face's field is cleared first.
void SumFaceField(const ElementModel& m, int n, ForceFace& face, const StepContext& run, bool pos) {
  std::fill(face.field.begin(), face.field.end(), Vec3{});
  auto caption = [pos](int step) {
    return pos ? kCaptions[static_cast<size_t>(step)].positive
               : kCaptions[static_cast<size_t>(step)].negative;
  };
  const auto recs = Visited(m.RecMagTable, 2, ClampedCount(m.RecMagCount), n);
  FaceStep(
      face, FramesOf(recs),
      [&](size_t k, const Vec3& p) { return RecMagLocalField(*recs[k], p, run.notices); }, run,
      caption(0));
  const auto secs = Visited(m.SecMagTable, 1, ClampedCount(SecMagLoopCount(m)));
  std::vector<PreparedSecMag> prepared;
  for (const SecMag* s : secs) {
    prepared.push_back(PrepareSecMag(*s, run.quadrature));
  }
  FaceStep(
      face, FramesOf(secs),
      [&](size_t k, const Vec3& p) { return SecMagLocalField(prepared[k], p, run.notices); }, run,
      caption(1));
  const auto rhs = Visited(m.RhMagTable, 1, ClampedCount(m.RhMagCount));
  FaceStep(
      face, FramesOf(rhs),
      [&](size_t k, const Vec3& p) {
        return RhMagLocalField(*rhs[k], p, run.quadrature, run.notices);
      },
      run, caption(2));
  auto coils = [&](const auto& table, int32_t count, auto field, int step) {
    const auto records = Visited(table, 1, ClampedCount(count));
    FaceStep(
        face, FramesOf(records),
        [&](size_t k, const Vec3& p) { return field(*records[k], p, run.quadrature); }, run,
        caption(step));
  };
  coils(m.StrCylCoilTable, m.StrCylCoilCount, StrCylCoilLocalField, 3);
  coils(m.StrRecCoilTable, m.StrRecCoilCount, StrRecCoilLocalField, 4);
  coils(m.SecCylCoilTable, m.SecCylCoilCount, SecCylCoilLocalField, 5);
  coils(m.SecRecCoilTable, m.SecRecCoilCount, SecRecCoilLocalField, 6);
}

// Σ over the face of charge × area element × H in A/m, in point order.
Vec3 FaceForce(const std::vector<Vec3>& field, double charge, double area, double pi) {
  Vec3 sum;
  for (const Vec3& h : field) {
    sum.x += charge * area * h.x * 1000 / 4 / pi;
    sum.y += charge * area * h.y * 1000 / 4 / pi;
    sum.z += charge * area * h.z * 1000 / 4 / pi;
  }
  return sum;
}

}  // namespace

Vec3 ForceFacePoint(const RecMag& magnet, int j, int i, bool positive_face) {
  const double a = magnet.a, b = magnet.b;
  const double x = kForceDivA * (j * (a / kForceDivA) - a / 2) / (kForceDivA + 1);
  const double y = kForceDivB * (i * (b / kForceDivB) - b / 2) / (kForceDivB + 1);
  return {x, y, positive_face ? 0.0 : -magnet.l};
}

ForceStudy::ForceStudy() {
  for (ForceFace& face : faces_) {
    face.local.resize(kForceFacePoints);
    face.global.resize(kForceFacePoints);
    face.field.resize(kForceFacePoints);
  }
}

std::optional<ForceResult> ForceStudy::Run(const ElementModel& model,
                                           int n,
                                           Progress& progress,
                                           Notices& notices,
                                           const RunOptions& options) {
  if (n < 1 || n > ClampedCount(model.RecMagCount)) {
    return std::nullopt;
  }
  const RecMag& magnet = model.RecMagTable[static_cast<size_t>(n)];
  const ElementFrame frame(PlacementOf(magnet));
  for (int f = 0; f < 2; ++f) {
    ForceFace& face = faces_[static_cast<size_t>(f)];
    for (int i = 0; i < kForceRows; ++i) {
      for (int j = 0; j < kForceColumns; ++j) {
        const size_t k = static_cast<size_t>(j + kForceColumns * i);
        face.local[k] = ForceFacePoint(magnet, j, i, f == 0);
        face.global[k] = frame.PointToGlobal(face.local[k]);
      }
    }
  }
  result_ = {};
  const FieldQuadrature quadrature;
  OncePerRunNotices once(notices);
  const StepContext run{quadrature, once, progress, ResolveThreadCount(options.threads)};
  progress.Open("ProgressMagField", "磁界計算中");
  SumFaceField(model, n, faces_[0], run, true);
  SumFaceField(model, n, faces_[1], run, false);
  progress.Close();
  result_ = ForceFromFaceFields(magnet, faces_[0].field, faces_[1].field, model.Pi);
  return result_;
}

ForceResult ForceFromFaceFields(const RecMag& magnet,
                                const std::vector<Vec3>& positive_field,
                                const std::vector<Vec3>& negative_field,
                                double pi) {
  const double area = (magnet.a / 1000 / (kForceDivA + 1)) * (magnet.b / 1000 / (kForceDivB + 1));
  const double charge = magnet.Br / 10000;
  ForceResult r;
  r.north = FaceForce(positive_field, charge, area, pi);
  r.south = -1.0 * FaceForce(negative_field, charge, area, pi);
  r.total = r.north + r.south;
  return r;
}

}  // namespace tavrine

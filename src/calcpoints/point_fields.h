// Superposition over a point set: the global field (Oe) of a run of elements added to every
// point, element by element, so that each point's sum has the same order for any thread count.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string_view>
#include <vector>

#include "calcpoints/parallel_points.h"
#include "geometry/transforms.h"
#include "model/element_model.h"
#include "model/progress.h"
#include "model/resets.h"

namespace tavrine {

// Zeroes the field of points 0..count-1 on the pool's threads: a whole set spans megabytes,
// which one thread would clear while the others wait.
template <class Point>
void ClearPointFields(std::array<Point, kPointSlots>& points,
                      WorkerPool& pool,
                      int count = kPointSlots) {
  ForEachPointBlock(pool, count,
                    [&](int begin, int end, bool) { ClearPointResults(points, begin, end); });
}

// Adds field(k, i), the global field of source k at point i, for sources 0..sources-1 to the
// field of points 0..count-1, on the pool's threads, source by source for every point. Each
// block keeps its points' sums here, from load(i), and hands them to store(i, sum) once:
// neighbouring blocks of other threads may share a cache line with its first or last point.
// The current bar of `progress` follows the work.
template <class Load, class Field, class Store>
void AddSourceFields(WorkerPool& pool,
                     int count,
                     size_t sources,
                     Progress& progress,
                     Load load,
                     Field field,
                     Store store) {
  PairTally tally(progress, static_cast<double>(count) * static_cast<double>(sources));
  progress.SetBarFraction(0);
  ForEachPointBlock(pool, count, [&](int begin, int end, bool is_lead) {
    std::array<Vec3, kMaxPointBlock> sums;
    for (int i = begin; i < end; ++i) {
      sums[static_cast<size_t>(i - begin)] = load(i);
    }
    int64_t pending = 0;
    for (size_t k = 0; k < sources; ++k) {
      for (int i = begin; i < end; ++i) {
        const Vec3 h = field(k, i);
        Vec3& sum = sums[static_cast<size_t>(i - begin)];
        sum.x += h.x;
        sum.y += h.y;
        sum.z += h.z;
      }
      pending += end - begin;
      tally.HandIn(pending, is_lead);
    }
    for (int i = begin; i < end; ++i) {
      store(i, sums[static_cast<size_t>(i - begin)]);
    }
    tally.HandIn(pending, is_lead, 0);
  });
  progress.SetBarFraction(1);
}

// Adds kernel(e, own-frame point) of elements first..last of the table to points
// 0..point_count-1, on the pool's threads; the current bar of `progress` follows the work.
template <class Point, class Record, class Kernel>
void AddElementFields(std::array<Point, kPointSlots>& points,
                      int point_count,
                      const ElementTable<Record>& table,
                      int first,
                      int last,
                      WorkerPool& pool,
                      Progress& progress,
                      Kernel kernel) {
  std::vector<ElementFrame> frames;
  for (int e = first; e <= last; ++e) {
    frames.emplace_back(PlacementOf(table[static_cast<size_t>(e)]));
  }
  AddSourceFields(
      pool, point_count, frames.size(), progress,
      [&](int i) {
        const Point& p = points[static_cast<size_t>(i)];
        return Vec3{p.Hx, p.Hy, p.Hz};
      },
      [&](size_t k, int i) {
        const Point& p = points[static_cast<size_t>(i)];
        const Vec3 local = frames[k].PointToLocal({p.PGroX, p.PGroY, p.PGroZ});
        return frames[k].VectorToGlobal(kernel(first + static_cast<int>(k), local));
      },
      [&](int i, const Vec3& sum) {
        Point& p = points[static_cast<size_t>(i)];
        p.Hx = sum.x;
        p.Hy = sum.y;
        p.Hz = sum.z;
      });
}

// The same for elements 1..last, in a progress window of its own with one bar, as the sector
// run and the permeance layers show each kind; nothing opens for an empty kind.
template <class Point, class Record, class Kernel>
void AddElementFieldsInWindow(std::array<Point, kPointSlots>& points,
                              int point_count,
                              const ElementTable<Record>& table,
                              int last,
                              WorkerPool& pool,
                              Progress& progress,
                              std::string_view window,
                              std::string_view title,
                              Kernel kernel) {
  if (last < 1) {
    return;
  }
  progress.Open(window, title);
  progress.StartBar(title);
  AddElementFields(points, point_count, table, 1, last, pool, progress, kernel);
  progress.Close();
}

}  // namespace tavrine

// The one guard of the model's fixed capacity: 1000 elements per table, points 0..50000.
#pragma once

#include <algorithm>
#include <cstdint>

#include "model/element_model.h"

namespace tavrine {

inline bool FitsElementCount(int64_t count) {
  return count >= 0 && count <= kElementCapacity;
}
inline bool FitsElementSlot(int64_t slot) {
  return slot >= 1 && slot <= kElementCapacity;
}
// A set of point_count points (0..point_count-1) fits when point_count <= 50001.
inline bool FitsPointCount(int64_t point_count) {
  return point_count >= 1 && point_count <= kPointSlots;
}
inline bool FitsLastIndex(int64_t last_index) {
  return last_index >= 0 && last_index <= kCalPointCapacity;
}

// A count as a loop bound: a count outside the tables (a corrupt or hand-edited file) visits
// only the slots that exist.
inline int ClampedCount(int64_t count) {
  return static_cast<int>(std::clamp<int64_t>(count, 0, kElementCapacity));
}

// Writes the record into the next slot and raises the count, or refuses (false) leaving the
// table and count untouched when the table is full.
template <class Record, class Count>
bool AppendElement(ElementTable<Record>& table, Count& count, const Record& record) {
  const int64_t next = static_cast<int64_t>(count) + 1;
  if (!FitsElementSlot(next)) {
    return false;
  }
  table[static_cast<size_t>(next)] = record;
  count = static_cast<Count>(next);
  return true;
}

}  // namespace tavrine

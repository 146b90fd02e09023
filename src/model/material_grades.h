// The fixed list of sintered rare-earth magnet grades (Br in G, Hcj in Oe).
#pragma once

#include <array>
#include <string>

namespace tavrine {

struct MaterialGrade {
  std::string Name;
  double Br = 0;
  double Hcj = 0;
};

inline constexpr int kMaterialGradeSlots = 51;   // positions 0..50
inline constexpr int kShownMaterialGrades = 29;  // positions 0..28 appear in lists
inline constexpr int kDefaultMaterialGrade = 4;  // "N45"

// A fresh copy every call; nobody shares or changes a copy.
std::array<MaterialGrade, kMaterialGradeSlots> MaterialGrades();

}  // namespace tavrine

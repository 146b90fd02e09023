// Grade names with nominal remanence and coercivity.
#include "model/material_grades.h"

namespace tavrine {

std::array<MaterialGrade, kMaterialGradeSlots> MaterialGrades() {
  std::array<MaterialGrade, kMaterialGradeSlots> grades;
  grades.fill({"N35", 12000, 12000});
  const MaterialGrade listed[kShownMaterialGrades] = {
      {"N35", 12000, 12000},   {"N38", 12400, 12000},   {"N40", 12800, 12000},
      {"N42", 13100, 12000},   {"N45", 13500, 12000},   {"N48", 13900, 12000},
      {"N50", 14200, 11000},   {"N52", 14500, 11000},   {"N35H", 12000, 17000},
      {"N38H", 12400, 17000},  {"N40H", 12800, 17000},  {"N42H", 13100, 17000},
      {"N45H", 13500, 17000},  {"N48H", 13900, 17000},  {"N33SH", 11600, 20000},
      {"N35SH", 12000, 20000}, {"N38SH", 12400, 20000}, {"N40SH", 12800, 20000},
      {"N42SH", 13100, 20000}, {"N45SH", 13500, 20000}, {"N33UH", 11600, 25000},
      {"N35UH", 11900, 25000}, {"N38UH", 12400, 25000}, {"N40UH", 12800, 25000},
      {"N42UH", 13100, 25000}, {"N30EH", 11100, 30000}, {"N33EH", 11600, 30000},
      {"N35EH", 11950, 30000}, {"N38EH", 12400, 30000},
  };
  for (int i = 0; i < kShownMaterialGrades; ++i) {
    grades[static_cast<size_t>(i)] = listed[i];
  }
  return grades;
}

}  // namespace tavrine

// The three node tables of a field run.
#include "field/local_fields.h"

namespace tavrine {

FieldQuadrature::FieldQuadrature(const TaskRunner& run)
    : sector(kGaussPoints, run),
      rh(100, run),
      coil(50, run),
      rh_cos(rh.TurnCos()),
      rh_sin(rh.TurnSin()),
      coil_turn_cos(coil.TurnCos()),
      coil_turn_sin(coil.TurnSin()) {}

const FieldQuadrature& SharedFieldQuadrature(const TaskRunner& run) {
  // Never destroyed: a run still ending on another thread at exit may be reading it.
  static const FieldQuadrature* const tables = new FieldQuadrature(run);
  return *tables;
}

}  // namespace tavrine

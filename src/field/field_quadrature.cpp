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

}  // namespace tavrine

// The three node tables of a field run.
#include "field/local_fields.h"

namespace tavrine {

FieldQuadrature::FieldQuadrature() : sector(kGaussPoints), rh(100), coil(50) {}

}  // namespace tavrine

// Independent long-double references for the magnet kernels: adaptive Gauss–Kronrod over the
// angle round the point's foot for the flat charge sheets, and over the angle of the curved
// surface (the height done as a finite line charge) for the RH magnet.
#pragma once

#include "geometry/vec3.h"
#include "model/element_model.h"

namespace tavrine::reference {

Vec3 RecMagField(const RecMag& m, const Vec3& p);
Vec3 SecMagField(const SecMag& m, const Vec3& p);
Vec3 RhMagField(const RhMag& m, const Vec3& p);

}  // namespace tavrine::reference

// The exact paths of the current-element kernels (own frames, mm, A/mm² → Oe), used where the
// point is too close to the conductor for the plain node rules.
#pragma once

#include "geometry/vec3.h"
#include "model/element_model.h"

namespace tavrine {

// Distance from the point to the rectangular bar (0 inside it).
double StrRecCoilDistance(const StrRecCoil& coil, const Vec3& p);
// The bar's field in closed form: the vector potential's face integrals at the eight corners.
Vec3 StrRecCoilClosedForm(const StrRecCoil& coil, const Vec3& p);
// The round wire's field: the infinite wire's closed form plus one integral round each end rim.
Vec3 StrCylCoilRimField(const StrCylCoil& coil, const Vec3& p);

// Whether the point is near enough to the rectangular-wire arc for its node rule to lose digits,
// and the arc's field there from its radial slices, each in closed form.
bool SecRecCoilIsNear(const SecRecCoil& coil, const Vec3& p);
// Distance in the (r, z) half-plane from the point to the edges of the arc's cross-section.
double SecRecCoilEdgeDistance(const SecRecCoil& coil, const Vec3& p);
Vec3 SecRecCoilSliceField(const SecRecCoil& coil, const Vec3& p);
// Outside the arc and not far from it, the same slices on one sized rule in angle; false where
// that does not hold.
bool SecRecCoilMappedField(const SecRecCoil& coil, const Vec3& p, Vec3& field);
// The round-wire arc's field from its slices over graded angles and heights.
Vec3 SecCylCoilSliceField(const SecCylCoil& coil, const Vec3& p);

}  // namespace tavrine

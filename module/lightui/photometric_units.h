// A light's photometric intensity in candela, lumen or lux, and the conversions between them:
// flux spreads over the light's solid angle, illuminance falls with the square of the distance.
#pragma once

#include <vantrel/db/OdDbLight.h>
#include <vantrel/db/OdGiDrawable.h>

namespace vantrel {

// The solid angle (steradians) of the light's cone: 2π(1 − cos(θ/2)) with θ = π for a distant
// light, the mean of hotspot and falloff (radians) for a spot light, and 2π (the whole sphere)
// for point and web lights.
double lightSolidAngle(OdGiDrawable::DrawableType type, double hotspot, double falloff);

// `value`, given in the unit of `from`, in the unit of `to`: candela × Ω is lumen, candela / d²
// is lux, with Ω the solid angle and d the illuminance distance in metres. Lumen and lux convert
// through candela; zero stays zero. A cone or distance too small (or a distance too large) to divide or multiply
// by gives an infinite or NaN result, which the caller refuses.
double convertPhysicalIntensity(double value, OdDbLight::PhysicalIntensityMethod from,
                                OdDbLight::PhysicalIntensityMethod to, double solidAngle, double distanceMeters);

} // namespace vantrel

// Conversions of a light's photometric intensity between candela, lumen and lux.
#include "lightui/photometric_units.h"

#include <cmath>
#include <numbers>

namespace vantrel {

double lightSolidAngle(OdGiDrawable::DrawableType type, double hotspot, double falloff)
{
    constexpr double pi = std::numbers::pi;
    double cone = 2.0 * pi;
    if (type == OdGiDrawable::kDistantLight)
        cone = pi;
    else if (type == OdGiDrawable::kSpotLight)
        cone = (hotspot + falloff) / 2.0;
    // 2π(1 − cos(θ/2)) written as 4π sin²(θ/4), which keeps its digits for narrow cones where
    // 1 − cos would cancel to zero.
    const double s = std::sin(cone / 4.0);
    return 4.0 * pi * s * s;
}

double convertPhysicalIntensity(double value, OdDbLight::PhysicalIntensityMethod from,
                                OdDbLight::PhysicalIntensityMethod to, double solidAngle, double distanceMeters)
{
    // No light is no light in every unit, whatever the cone or distance.
    if (from == to || value == 0.0)
        return value;
    const double squaredDistance = distanceMeters * distanceMeters;
    double candela = value;
    if (from == OdDbLight::kFlux)
        candela = value / solidAngle;
    else if (from == OdDbLight::kIlluminance)
        candela = value * squaredDistance;
    if (to == OdDbLight::kFlux)
        return candela * solidAngle;
    if (to == OdDbLight::kIlluminance)
        return candela / squaredDistance;
    return candela;
}

} // namespace vantrel

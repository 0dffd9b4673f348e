// Lamp colours from colour temperatures and chromaticities: the Planckian locus, the step to
// sRGB and the brightest-channel normalisation that lights report their lamp colour in.
#pragma once

#include <vantrel/db/LampRgb.h>
#include <vantrel/db/OdDbExport.h>

namespace vantrel {

// CIE 1931 (2 degree observer) chromaticity coordinates.
struct VANTREL_DB_EXPORT Chromaticity {
    double x = 0.0;
    double y = 0.0;
};

// The white of sRGB and of CIE illuminant D65 as sRGB states it.
constexpr Chromaticity kSrgbWhite{0.3127, 0.3290};

// The chromaticity of a black body at the temperature (Krystek's rational approximation of the
// Planckian locus; within 0.0005 of the exact locus from 1000 to 15000 K, extrapolated beyond).
VANTREL_DB_EXPORT Chromaticity planckianChromaticity(double kelvin);

// Linear sRGB (D65 white = 1,1,1) of a chromaticity, with the brightest channel 1. A colour
// outside the sRGB gamut is brought in by adding white until no channel is negative.
VANTREL_DB_EXPORT LampRgb linearRgbOf(Chromaticity c);
// The sRGB transfer curve (IEC 61966-2-1) applied to each channel: the values a screen shows.
VANTREL_DB_EXPORT LampRgb encodeSrgb(const LampRgb& linear);

// The displayed colour of a lamp of that chromaticity or colour temperature: encodeSrgb of
// linearRgbOf, brightest channel 1.
VANTREL_DB_EXPORT LampRgb lampRgbOf(Chromaticity c);
VANTREL_DB_EXPORT LampRgb lampRgbOfKelvin(double kelvin);

} // namespace vantrel

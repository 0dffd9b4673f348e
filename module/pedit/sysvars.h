// The system variables PEdit reads, through the host (drawing variables of the command's drawing
// and the host's own ones alike).
#pragma once

#include <cstdint>
#include <optional>

#include <vantrel/db/OdDbDatabase.h>

namespace vantrel::pedit {

// A variable as a whole number; nothing when it cannot be read.
std::optional<std::int32_t> readSysVar(const wchar_t* name, OdDbDatabase* db);

// How Spline fits: SPLINETYPE 5 gives quadratic splines, any other value cubic ones (5 when it
// cannot be read); SPLINESEGS segments per span, as a 16-bit count (8 when it cannot be read).
struct SplineSettings {
    bool quadratic = true;
    std::int16_t segments = 8;
};
SplineSettings splineSettings(OdDbDatabase* db);

} // namespace vantrel::pedit

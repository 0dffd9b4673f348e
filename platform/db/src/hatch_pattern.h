// The lines of a hatch pattern clipped to the hatch's loops: each family of parallel lines is
// cut where it crosses the loops, kept where it lies inside by the even-odd rule, and split
// into its dashes.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include <vantrel/ge/OdGePoint2d.h>
#include <vantrel/ge/OdGeVector2d.h>

namespace vantrel::hatch {

struct LineFamily {
    OdGePoint2d base;
    OdGeVector2d direction; // unit
    OdGeVector2d offset;    // from one line to the next
    std::vector<double> dashes;
};

struct Segment {
    OdGePoint2d start, end; // equal for a dot
};

using Ring = std::vector<OdGePoint2d>;

// The parts of the lines inside the rings; nullopt once more than maxSegments would be drawn,
// as such a pattern is too dense to show line by line. A family whose offset runs along its
// lines has no spacing and draws nothing.
std::optional<std::vector<Segment>> clipPattern(std::span<const LineFamily> families, std::span<const Ring> rings,
                                                std::size_t maxSegments);

} // namespace vantrel::hatch

// A linetype's dash pattern as SVG stroke dashing: the pattern's runs as a dash array that starts
// with a dash, and the offset at which the pattern itself starts.
#pragma once

#include <span>
#include <string>

#include <vantrel/host/HostExport.h>

namespace vantrel {

struct VANTREL_HOST_EXPORT SvgDashes {
    // ` stroke-dasharray="…" stroke-dashoffset="…"`; empty when the pattern draws a solid line
    // (no gaps, no dashes, or lengths that are not finite and positive).
    std::string attributes;
    double period = 0.0;    // the length of one repetition
    int drawnPerPeriod = 0; // dashes and dots in one repetition

    bool solid() const { return attributes.empty(); }
    // Pattern lengths as a linetype stores them: positive a dash, negative a gap, zero a dot.
    static SvgDashes of(std::span<const double> pattern);
};

} // namespace vantrel

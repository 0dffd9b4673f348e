// Turning a linetype pattern into the alternating dash/gap array SVG strokes with. Neighbouring
// elements of one kind (a dash and a dot, two gaps) become one run, also across the pattern's end.
#include <vantrel/host/SvgDashes.h>

#include <cmath>
#include <vector>

#include <fmt/format.h>

namespace vantrel {

namespace {

struct Run {
    bool drawn;
    double length;
};

std::string number(double v) { return fmt::format("{:.10g}", v); }

} // namespace

SvgDashes SvgDashes::of(std::span<const double> pattern)
{
    std::vector<Run> runs;
    double period = 0.0;
    for (double element : pattern) {
        if (!std::isfinite(element))
            return {};
        const bool drawn = element >= 0.0;
        period += std::fabs(element);
        if (!runs.empty() && runs.back().drawn == drawn)
            runs.back().length += std::fabs(element);
        else
            runs.push_back({drawn, std::fabs(element)});
    }
    if (!(period > 0.0) || !std::isfinite(period))
        return {};
    // Where the pattern starts, measured along the runs as they end up.
    double start = 0.0;
    if (runs.size() > 1 && runs.front().drawn == runs.back().drawn) {
        start = runs.back().length;
        runs.front().length += runs.back().length;
        runs.pop_back();
    }
    if (runs.size() < 2)
        return {};
    if (!runs.front().drawn) {
        // SVG's array starts with a dash: the leading gap moves to the end.
        start = std::fmod(start - runs.front().length + period, period);
        runs.push_back(runs.front());
        runs.erase(runs.begin());
    }
    SvgDashes out;
    out.period = period;
    std::string array;
    for (const Run& run : runs) {
        array += (array.empty() ? "" : " ") + number(run.length);
        out.drawnPerPeriod += run.drawn ? 1 : 0;
    }
    out.attributes = fmt::format(R"( stroke-dasharray="{}" stroke-dashoffset="{}")", array, number(start));
    return out;
}

} // namespace vantrel

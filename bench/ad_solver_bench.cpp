// The AD solver on a million random coplanar ellipse–circle configurations: solves per second,
// and, against a long-double reference computed before timing, the share of configurations
// whose intersections were all found and the worst distance of a printed point from its
// reference point relative to the drawing size, away from tangencies.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

#include "mathtest/ellipse_intersection.h"

namespace {

using Real = long double;

constexpr int kConfigurations = 1'000'000;
constexpr int kSamples = 128;
const OdGeTol kTestTol(1e-10, 1e-5);
// A reference point at a smaller crossing sine, or a touching one, is a tangency.
constexpr Real kGrazing = 1e-3L;

struct Config {
    OdGeEllipArc3d ellipse;
    OdGeCircArc3d circle;
    // The circle in the ellipse's frame, and the drawing size.
    Real a, b, p, q, r, size;
};

struct RefPoint {
    OdGePoint3d at;
    bool tangent;
};

// The reference walks the ellipse's parameter: f(t) = |P(t) − centre|² − r² is sampled, its
// extrema bracketed by sign changes of f′, and every sign change of f between consecutive
// breakpoints refined by safeguarded Newton steps in long double.
class Reference {
public:
    Reference()
    {
        for (int i = 0; i <= kSamples; ++i) {
            const Real t = 2 * std::numbers::pi_v<Real> * i / kSamples;
            m_cos[static_cast<std::size_t>(i)] = std::cos(t);
            m_sin[static_cast<std::size_t>(i)] = std::sin(t);
        }
    }

    std::vector<RefPoint> solve(const Config& c) const
    {
        const auto f = [&](Real cs, Real sn) {
            const Real x = c.a * cs - c.p, y = c.b * sn - c.q;
            return x * x + y * y - c.r * c.r;
        };
        const auto df = [&](Real cs, Real sn) {
            const Real x = c.a * cs - c.p, y = c.b * sn - c.q;
            return -2 * x * c.a * sn + 2 * y * c.b * cs;
        };
        const auto d2f = [&](Real cs, Real sn) {
            const Real x = c.a * cs - c.p, y = c.b * sn - c.q;
            return 2 * c.a * c.a * sn * sn - 2 * x * c.a * cs + 2 * c.b * c.b * cs * cs - 2 * y * c.b * sn;
        };
        const auto fT = [&](Real t) { return f(std::cos(t), std::sin(t)); };
        const auto dfT = [&](Real t) { return df(std::cos(t), std::sin(t)); };
        const auto d2fT = [&](Real t) { return d2f(std::cos(t), std::sin(t)); };
        const Real step = 2 * std::numbers::pi_v<Real> / kSamples;

        std::vector<Real> breaks;
        std::vector<Real> extrema;
        for (std::size_t i = 0; i < kSamples; ++i) {
            breaks.push_back(step * static_cast<Real>(i));
            if ((df(m_cos[i], m_sin[i]) < 0) != (df(m_cos[i + 1], m_sin[i + 1]) < 0)) {
                const Real t = refine(dfT, d2fT, step * static_cast<Real>(i), step * static_cast<Real>(i + 1));
                breaks.push_back(t);
                extrema.push_back(t);
            }
        }
        breaks.push_back(2 * std::numbers::pi_v<Real>);

        std::vector<std::pair<Real, bool>> roots;
        for (std::size_t i = 0; i + 1 < breaks.size(); ++i)
            if ((fT(breaks[i]) < 0) != (fT(breaks[i + 1]) < 0))
                roots.emplace_back(refine(fT, dfT, breaks[i], breaks[i + 1]), false);
        const Real touch = 1e-13L * c.size * c.size;
        for (Real t : extrema) {
            if (std::fabs(fT(t)) > touch)
                continue;
            std::erase_if(roots, [&](const auto& root) {
                const Real apart = std::fabs(root.first - t);
                return std::min(apart, 2 * std::numbers::pi_v<Real> - apart) < 1e-6L;
            });
            roots.emplace_back(t, true);
        }

        std::vector<RefPoint> out;
        const OdGePoint3d centre = c.ellipse.center();
        const OdGeVector3d u = c.ellipse.majorAxis(), v = c.ellipse.minorAxis();
        for (auto [t, touching] : roots) {
            const Real cs = std::cos(t), sn = std::sin(t);
            const Real speed = std::hypot(c.a * sn, c.b * cs);
            const Real sine = std::fabs(df(cs, sn)) / (2 * c.r * speed);
            const Real x = c.a * cs, y = c.b * sn;
            const OdGePoint3d at(static_cast<double>(centre.x + u.x * x + v.x * y),
                                 static_cast<double>(centre.y + u.y * x + v.y * y),
                                 static_cast<double>(centre.z + u.z * x + v.z * y));
            out.push_back({at, touching || sine < kGrazing});
        }
        return out;
    }

private:
    // A root of g in [lo, hi], where g changes sign: Newton steps, bisection when a step leaves
    // the bracket.
    template <class G, class D>
    static Real refine(G g, D dg, Real lo, Real hi)
    {
        const bool loNegative = g(lo) < 0;
        Real t = (lo + hi) / 2;
        for (int i = 0; i < 60; ++i) {
            const Real value = g(t);
            if (value == 0)
                return t;
            if ((value < 0) == loNegative)
                lo = t;
            else
                hi = t;
            const Real slope = dg(t);
            Real next = slope != 0 ? t - value / slope : (lo + hi) / 2;
            if (!(next > lo && next < hi))
                next = (lo + hi) / 2;
            if (std::fabs(next - t) <= 1e-19L * (1 + std::fabs(t)))
                return next;
            t = next;
        }
        return t;
    }

    std::array<Real, kSamples + 1> m_cos{};
    std::array<Real, kSamples + 1> m_sin{};
};

std::vector<Config> makeConfigurations()
{
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<Config> configs;
    configs.reserve(kConfigurations);
    for (int i = 0; i < kConfigurations; ++i) {
        // A quarter of the drawings lie in tilted planes.
        OdGeVector3d normal = OdGeVector3d::kZAxis;
        if (i % 4 == 0)
            normal = OdGeVector3d(unit(random) - 0.5, unit(random) - 0.5, unit(random) + 0.1).normal();
        const OdGeVector3d x0 = normal.perpVector().normal(), y0 = normal.crossProduct(x0);
        const double angle = unit(random) * 2 * std::numbers::pi;
        const OdGeVector3d u = x0 * std::cos(angle) + y0 * std::sin(angle), v = normal.crossProduct(u);
        const double a = 0.5 + 4.5 * unit(random);
        const double b = a * (0.05 + 0.95 * unit(random));
        const OdGePoint3d centre(unit(random) * 20 - 10, unit(random) * 20 - 10, i % 4 == 0 ? unit(random) * 5 : 0.0);
        const double p = (unit(random) * 3 - 1.5) * a, q = (unit(random) * 3 - 1.5) * a;
        const double r = a * (0.02 + 2 * unit(random));
        const OdGePoint3d circleCentre = centre + u * p + v * q;
        Config c{OdGeEllipArc3d(centre, u, v, a, b), OdGeCircArc3d(circleCentre, normal, r), a, b, 0, 0, r, 0};
        // The reference reads the circle's centre back in the ellipse's frame, as stored.
        const OdGeVector3d offset = circleCentre - centre;
        c.p = static_cast<Real>(offset.x) * u.x + static_cast<Real>(offset.y) * u.y + static_cast<Real>(offset.z) * u.z;
        c.q = static_cast<Real>(offset.x) * v.x + static_cast<Real>(offset.y) * v.y + static_cast<Real>(offset.z) * v.z;
        c.size = std::max({2 * c.a, 2 * c.r, std::hypot(c.p, c.q) + c.a + c.r});
        configs.push_back(c);
    }
    return configs;
}

// How far a printed point is from the farther of the two curves (to first order off the ellipse).
Real offCurves(const Config& c, const OdGePoint3d& point)
{
    const OdGeVector3d w = point - c.ellipse.center();
    const OdGeVector3d u = c.ellipse.majorAxis(), v = c.ellipse.minorAxis(), n = u.crossProduct(v);
    const Real x = w.dotProduct(u), y = w.dotProduct(v), z = w.dotProduct(n);
    const Real e = x * x / (c.a * c.a) + y * y / (c.b * c.b) - 1;
    const Real grad = 2 * std::sqrt(x * x / (c.a * c.a * c.a * c.a) + y * y / (c.b * c.b * c.b * c.b));
    const Real dx = x - c.p, dy = y - c.q;
    const Real toCircle = std::fabs(std::sqrt(dx * dx + dy * dy + z * z) - c.r);
    return std::max(std::hypot(e / grad, z), toCircle);
}

struct Data {
    std::vector<Config> configs = makeConfigurations();
    std::vector<std::vector<RefPoint>> reference;
    Data()
    {
        const Reference solver;
        reference.reserve(configs.size());
        for (const Config& c : configs)
            reference.push_back(solver.solve(c));
    }
};

const Data& data()
{
    static const Data d;
    return d;
}

void BM_AdSolve(benchmark::State& state)
{
    const Data& d = data();
    // At most four distinct points; a fifth would show up as a missed or unmatched point.
    std::vector<std::array<OdGePoint3d, 4>> printed(d.configs.size());
    std::vector<std::size_t> counts(d.configs.size());
    std::vector<OdGePoint3d> points;
    for (auto _ : state) {
        for (std::size_t i = 0; i < d.configs.size(); ++i) {
            points.clear();
            vantrel::intersectEllipseCircle(d.configs[i].ellipse, d.configs[i].circle, points, kTestTol);
            counts[i] = std::min<std::size_t>(points.size(), 4);
            std::copy_n(points.begin(), counts[i], printed[i].begin());
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations())
                            * static_cast<std::int64_t>(d.configs.size()));

    // Accuracy, outside the timed loop.
    std::size_t allFound = 0, clean = 0, cleanAllFound = 0, extra = 0, withPoints = 0;
    double worst = 0.0, worstNearTangent = 0.0, worstUnmatched = 0.0;
    for (std::size_t i = 0; i < d.configs.size(); ++i) {
        const Config& c = d.configs[i];
        const std::vector<RefPoint>& ref = d.reference[i];
        const std::vector<OdGePoint3d> got(printed[i].begin(),
                                           printed[i].begin() + static_cast<std::ptrdiff_t>(counts[i]));
        const double size = static_cast<double>(c.size);
        const bool tangency = std::any_of(ref.begin(), ref.end(), [](const RefPoint& r) { return r.tangent; });
        bool found = true;
        withPoints += !ref.empty();
        for (const RefPoint& r : ref) {
            double nearest = INFINITY;
            for (const OdGePoint3d& g : got)
                nearest = std::min(nearest, g.distanceTo(r.at) / size);
            if (r.tangent) {
                worstNearTangent = std::max(worstNearTangent, nearest);
                found = found && nearest <= 1e-5;
            } else {
                worst = std::max(worst, nearest);
                found = found && nearest <= 1e-9;
            }
        }
        for (const OdGePoint3d& g : got) {
            const bool matched = std::any_of(ref.begin(), ref.end(),
                                             [&](const RefPoint& r) { return g.distanceTo(r.at) <= 1e-5 * size; });
            if (!matched) {
                ++extra;
                worstUnmatched = std::max(worstUnmatched, static_cast<double>(offCurves(c, g) / c.size));
            }
        }
        allFound += found;
        if (!tangency) {
            ++clean;
            cleanAllFound += found;
        }
    }
    const double n = static_cast<double>(d.configs.size());
    state.counters["configs_with_points"] = static_cast<double>(withPoints);
    state.counters["all_found_share"] = static_cast<double>(allFound) / n;
    state.counters["all_found_away_from_tangency"]
        = clean ? static_cast<double>(cleanAllFound) / static_cast<double>(clean) : 1.0;
    state.counters["worst_rel_distance"] = worst;
    state.counters["worst_rel_distance_tangent"] = worstNearTangent;
    state.counters["unmatched_printed_points"] = static_cast<double>(extra);
    state.counters["worst_rel_off_curves_unmatched"] = worstUnmatched;
}

BENCHMARK(BM_AdSolve)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();

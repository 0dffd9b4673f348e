// Walking a cubic spline of 50 control points at 1000 distances, as laying a cloud or dividing
// a curve does: one query per distance (each integrating from the start) against the one-pass
// walk. Items are points, so the rate reads as points per second; the query per distance takes
// every tenth distance only, as it runs about 20 ms a point.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include <vantrel/db/OdDbSpline.h>

namespace {

constexpr int kControlPoints = 50;
constexpr int kPoints = 1000;

// A wavy open spline on clamped uniform knots; rational with varying weights when asked.
OdDbSplinePtr wavySpline(bool rational)
{
    std::vector<OdGePoint3d> ctrl;
    std::vector<double> weights;
    for (int i = 0; i < kControlPoints; ++i) {
        ctrl.emplace_back(4.0 * i, 6.0 * std::sin(0.7 * i), 0.0);
        weights.push_back(1.0 + 0.5 * (i % 3));
    }
    std::vector<double> knots(4, 0.0);
    for (int i = 1; i <= kControlPoints - 4; ++i)
        knots.push_back(i);
    knots.insert(knots.end(), 4, kControlPoints - 3.0);
    OdDbSplinePtr s = OdDbSpline::createObject();
    s->setNurbsData(3, rational, false, false, ctrl, knots, rational ? weights : std::vector<double>());
    return s;
}

// Every stride-th of kPoints distances evenly along the whole spline.
std::vector<double> evenDistances(const OdDbSpline& s, int stride)
{
    double end = 0.0, length = 0.0;
    s.getEndParam(end);
    s.getDistAtParam(end, length);
    std::vector<double> dists;
    for (int i = 0; i < kPoints; i += stride)
        dists.push_back(length * i / (kPoints - 1));
    return dists;
}

void run(benchmark::State& state, bool onePass)
{
    const OdDbSplinePtr s = wavySpline(state.range(0) != 0);
    const std::vector<double> dists = evenDistances(*s, onePass ? 1 : 10);
    std::vector<OdGePoint3d> points;
    for (auto _ : state) {
        // The base class answers one getPointAtDist per distance.
        const OdResult r = onePass ? s->getPointsAtDists(dists, points) : s->OdDbCurve::getPointsAtDists(dists, points);
        if (r != eOk)
            state.SkipWithError("the walk failed");
        benchmark::DoNotOptimize(points.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(dists.size()));
}

void BM_SplineWalkPerPoint(benchmark::State& state) { run(state, false); }
void BM_SplineWalkOnePass(benchmark::State& state) { run(state, true); }

} // namespace

// Argument 0: polynomial, 1: rational.
BENCHMARK(BM_SplineWalkPerPoint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SplineWalkOnePass)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

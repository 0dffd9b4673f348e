// Walking a cubic spline of 50 control points at 1000 distances, as laying a cloud or dividing
// a curve does: one query per distance against the one-pass walk, and the single distance
// queries on their own. Items are points or queries, so the rate reads as answers per second;
// the query per distance takes every tenth distance only.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include <vantrel/db/OdDbSpline.h>
#include <vantrel/db/OdError.h>

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
    odCheck(s.getEndParam(end));
    odCheck(s.getDistAtParam(end, length));
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

enum Query { kPointAtDist, kParamAtDist, kDistAtParam, kDistAtPoint };

// One query per iteration, at distances (or their parameters and points) spread along the curve.
void BM_SplineSingleQuery(benchmark::State& state)
{
    const OdDbSplinePtr s = wavySpline(false);
    const std::vector<double> dists = evenDistances(*s, 10);
    std::vector<double> params(dists.size());
    std::vector<OdGePoint3d> points;
    odCheck(s->getPointsAtDists(dists, points));
    for (std::size_t i = 0; i < dists.size(); ++i)
        odCheck(s->getParamAtPoint(points[i], params[i]));
    std::size_t i = 0;
    for (auto _ : state) {
        double value = 0.0;
        OdGePoint3d point;
        OdResult r = eOk;
        switch (static_cast<Query>(state.range(0))) {
        case kPointAtDist: r = s->getPointAtDist(dists[i], point); break;
        case kParamAtDist: r = s->getParamAtDist(dists[i], value); break;
        case kDistAtParam: r = s->getDistAtParam(params[i], value); break;
        case kDistAtPoint: r = s->getDistAtPoint(points[i], value); break;
        }
        if (r != eOk)
            state.SkipWithError("the query failed");
        benchmark::DoNotOptimize(value);
        benchmark::DoNotOptimize(point);
        i = (i + 1) % dists.size();
    }
    state.SetItemsProcessed(state.iterations());
}

} // namespace

// Argument 0: polynomial, 1: rational.
BENCHMARK(BM_SplineWalkPerPoint)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SplineWalkOnePass)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
// Argument: 0 getPointAtDist, 1 getParamAtDist, 2 getDistAtParam, 3 getDistAtPoint.
BENCHMARK(BM_SplineSingleQuery)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

// Laying a revision cloud along a curve at the minimum arc length: on circles and on lightweight
// polylines of 1.25k to 20k vertices. Time must grow linearly with the source's length (the fit
// is reported as BigO); items are cloud vertices, so the rate reads as vertices per second.
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/db/OdError.h>

#include "revcloud/cloud_arcs.h"

namespace {

const OdGePlane kPlane(OdGePoint3d::kOrigin, OdGeVector3d::kZAxis);
// Arcs of exactly the minimum, so that the vertex count follows the length alone.
constexpr CloudArcs kMinimumArcs{1.0, 1.0, kRevCloudNormal};

// One cloud along the source, as the Object option lays it; answers its vertex count.
unsigned layCloud(const OdDbCurve& source)
{
    const double length = curveLength(source);
    OdGePoint3d start;
    odCheck(source.getStartPoint(start));
    OdDbPolylinePtr cloud = OdDbPolyline::createObject();
    addCloudVertex(cloud.get(), start, kMinimumArcs.arcStyle, kPlane);
    layCloudAlong(cloud.get(), source, length, kMinimumArcs, kPlane);
    return cloud->numVerts();
}

void run(benchmark::State& state, const OdDbCurve& source)
{
    std::int64_t vertices = 0;
    for (auto _ : state) {
        const unsigned n = layCloud(source);
        benchmark::DoNotOptimize(n);
        vertices += n;
    }
    state.SetItemsProcessed(vertices);
    state.SetComplexityN(state.range(0));
}

// A circle of circumference range(0).
void BM_CloudOnCircle(benchmark::State& state)
{
    OdDbCirclePtr circle = OdDbCircle::createObject();
    circle->setRadius(static_cast<double>(state.range(0)) / (2 * std::numbers::pi));
    run(state, *circle);
}

// A zigzag of range(0) vertices, every other segment an arc; each segment is about 10 long,
// so the cloud has about ten vertices per source vertex.
void BM_CloudOnPolyline(benchmark::State& state)
{
    OdDbPolylinePtr polyline = OdDbPolyline::createObject();
    for (unsigned i = 0; i < static_cast<unsigned>(state.range(0)); ++i)
        polyline->addVertexAt(i, {8.0 * i, (i % 2) ? 6.0 : 0.0}, (i % 2) ? 0.4 : 0.0);
    run(state, *polyline);
}

} // namespace

BENCHMARK(BM_CloudOnCircle)->RangeMultiplier(4)->Range(1 << 10, 1 << 16)->Complexity(benchmark::oN);
BENCHMARK(BM_CloudOnPolyline)->RangeMultiplier(2)->Range(1250, 20000)->Complexity(benchmark::oN);
BENCHMARK_MAIN();

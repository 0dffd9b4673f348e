// PEdit's Fit and Spline on a lightweight polyline of the drawing, and Decurve of the fitted 2D
// polyline back to a lightweight one, as the options do them (kind change under the same id, undo
// recorded, the result touched for redraw), for 1k to 128k vertices and at 100k. Time must grow
// linearly with the vertex count (reported as BigO); items are the polyline's vertices, so the
// rate reads as vertices per second. Smooth surface of meshes of 16 x 16 to 200 x 200 as well.
#include <benchmark/benchmark.h>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbPolygonMesh.h>
#include <vantrel/db/Template.h>

#include "frame/AlpCmdUtils.h"
#include "pedit/polyline_edits.h"

namespace {

// A zigzag with an arc in every fourth segment, in a new drawing.
OdDbObjectId zigzag(OdDbDatabase& db, unsigned count)
{
    OdDbPolylinePtr pl = OdDbPolyline::createObject();
    pl->setDatabaseDefaults(&db);
    std::vector<OdDbPolyline::Vertex> vertices(count);
    for (unsigned i = 0; i < count; ++i) {
        vertices[i].point = OdGePoint2d(10.0 * i, (i % 2) ? 6.0 : 0.0);
        vertices[i].bulge = (i % 4 == 3) ? 0.3 : 0.0;
    }
    pl->setVertices(std::move(vertices), 0.0);
    OdDbBlockTableRecordPtr ms = db.getModelSpaceId().safeOpenObject(OdDb::kForWrite);
    return ms->appendOdDbEntity(pl.get());
}

void touch(OdDbObjectId id) { AlpCmdUtils::touchEntity(OdDbEntityPtr(id.safeOpenObject())); }

enum class Edit { Fit, Spline, Decurve };

void run(benchmark::State& state, Edit edit)
{
    const unsigned count = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        OdDbDatabasePtr db = vantrel::newDrawing();
        const OdDbObjectId id = zigzag(*db, count);
        if (edit == Edit::Decurve)
            vantrel::pedit::fitCurve(*db, id);
        db->startUndoRecord();
        db->setUndoMark();
        db->startUndoRecord();
        state.ResumeTiming();

        switch (edit) {
        case Edit::Fit: vantrel::pedit::fitCurve(*db, id); break;
        case Edit::Spline: vantrel::pedit::fitSpline(*db, id, false, 8); break;
        case Edit::Decurve: vantrel::pedit::decurve(*db, id); break;
        }
        touch(id);

        // The drawing goes away outside the timing.
        state.PauseTiming();
        db = OdDbDatabasePtr();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * count);
    state.SetComplexityN(state.range(0));
}

// Smooth surface of an n x n mesh in a drawing into a 200 x 200 surface (the largest there is):
// the surface and the control grid are put in place in one pass, so time grows with the vertices
// made and kept (items), not with their product.
void BM_SmoothSurface(benchmark::State& state)
{
    const auto n = static_cast<std::int16_t>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        OdDbDatabasePtr db = vantrel::newDrawing();
        std::vector<OdGePoint3d> points;
        for (int m = 0; m < n; ++m)
            for (int k = 0; k < n; ++k)
                points.emplace_back(10.0 * k, 10.0 * m, (m + k) % 3);
        OdDbPolygonMeshPtr mesh = OdDbPolygonMesh::createObject();
        mesh->setGrid(n, n, points);
        OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
        const OdDbObjectId id = ms->appendOdDbEntity(mesh.get());
        mesh.release();
        ms.release();
        db->startUndoRecord();
        db->setUndoMark();
        db->startUndoRecord();
        state.ResumeTiming();

        OdDbPolygonMeshPtr(id.safeOpenObject(OdDb::kForWrite))->surfaceFit(OdDb::kCubicSurfaceMesh, 200, 200);

        state.PauseTiming();
        db = OdDbDatabasePtr();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * (200 * 200 + n * n));
}

void BM_Fit(benchmark::State& state) { run(state, Edit::Fit); }
void BM_Spline(benchmark::State& state) { run(state, Edit::Spline); }
void BM_Decurve(benchmark::State& state) { run(state, Edit::Decurve); }

void sizes(benchmark::internal::Benchmark* b)
{
    b->RangeMultiplier(4)
        ->Range(1 << 10, 1 << 17)
        ->Arg(100000)
        ->Complexity(benchmark::oN)
        ->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_Fit)->Apply(sizes);
BENCHMARK(BM_Spline)->Apply(sizes);
BENCHMARK(BM_Decurve)->Apply(sizes);
BENCHMARK(BM_SmoothSurface)->Arg(16)->Arg(64)->Arg(128)->Arg(200)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();

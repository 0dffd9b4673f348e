// One entity change recorded and undone, in drawings of 1k and 1M entities: the cost must not
// grow with the drawing.
#include <benchmark/benchmark.h>

#include <map>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/Template.h>

namespace {

struct Drawing {
    OdDbDatabasePtr db;
    OdDbObjectId target;
};

Drawing& drawingOf(std::int64_t entities)
{
    static std::map<std::int64_t, Drawing> cache;
    auto it = cache.find(entities);
    if (it != cache.end())
        return it->second;
    Drawing d;
    d.db = vantrel::newDrawing();
    OdDbBlockTableRecordPtr ms = d.db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
    for (std::int64_t i = 0; i < entities; ++i) {
        OdDbLinePtr line = OdDbLine::createObject();
        line->setStartPoint(OdGePoint3d(double(i), 0, 0));
        line->setEndPoint(OdGePoint3d(double(i), 1, 0));
        d.target = ms->appendOdDbEntity(line.get());
    }
    return cache.emplace(entities, std::move(d)).first->second;
}

void BM_ChangeAndUndo(benchmark::State& state)
{
    Drawing& d = drawingOf(state.range(0));
    double y = 0;
    for (auto _ : state) {
        d.db->startUndoRecord();
        d.db->setUndoMark();
        d.db->startUndoRecord();
        {
            OdDbLinePtr line = d.target.safeOpenObject(OdDb::kForWrite);
            line->setEndPoint(OdGePoint3d(0, y += 1.0, 0));
        }
        d.db->undoBack();
    }
    state.counters["entities"] = double(state.range(0));
}

} // namespace

BENCHMARK(BM_ChangeAndUndo)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();

// PEdit's Join as a user runs it, from the option to the joined polyline (the selection of the
// objects, the join, the erasures, the command's undo records), for 1k, 10k and 100k segments:
// - single mode: a polyline and a chain of lines that continues it, the lines drawn from the far
//   end of the chain back (so that each is found last in the order they were chosen);
// - MultipleMode, fuzz 0.5, join type Both: two-vertex polylines along a zigzag with a gap of 0.1
//   at each corner, in shuffled order and each turned either way.
// Time must grow as n log n (reported as BigO); items are segments.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <sstream>

#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/db/Template.h>
#include <vantrel/host/HostApplication.h>
#include <vantrel/host/HostDocument.h>
#include <vantrel/host/ScriptInputSource.h>
#include <vantrel/host/TomlProfile.h>
#include <vantrel/host/Transcript.h>
#include <vantrel/host/host_exports.h>

#include "frame/CommandRegistrar.h"
#include "frame/command_creators.h"
#include "pedit/CPeditCmd.h"

// How the module finds the host in this program, as in the shell.
extern "C" __attribute__((visibility("default"))) void* GetMainDllInstance() { return GetMainDllInstanceEx(); }
extern "C" __attribute__((visibility("default"))) const wchar_t* GetMainDllNameW() { return kHostMainLibraryName; }

namespace {

// Corner k of a zigzag: 10 units to the right each step, up and down by 6.
OdGePoint3d corner(unsigned k) { return OdGePoint3d(10.0 * k, (k % 2) ? 6.0 : 0.0, 0.0); }

OdDbObjectId append(OdDbDatabase& db, OdDbEntity* entity)
{
    OdDbBlockTableRecordPtr ms = db.getModelSpaceId().safeOpenObject(OdDb::kForWrite);
    return ms->appendOdDbEntity(entity);
}

OdDbPolylinePtr segment(const OdGePoint3d& a, const OdGePoint3d& b)
{
    OdDbPolylinePtr pl = OdDbPolyline::createObject();
    pl->addVertexAt(0, OdGePoint2d(a.x, a.y));
    pl->addVertexAt(1, OdGePoint2d(b.x, b.y));
    return pl;
}

// The polyline, then the lines of the chain from the last one back to the first.
std::string chainDrawing(OdDbDatabase& db, unsigned count)
{
    const OdDbObjectId polyline = append(db, segment(OdGePoint3d(-10, 0, 0), corner(0)).get());
    for (unsigned k = count; k-- > 0;) {
        OdDbLinePtr line = OdDbLine::createObject();
        line->setStartPoint(corner(k));
        line->setEndPoint(corner(k + 1));
        append(db, line.get());
    }
    return "pedit\nh " + polyline.getHandle().ascii() + "\nj\nall\n\nx\n";
}

// The zigzag's segments, shortened by 0.05 at each end, shuffled and turned at random.
std::string gapsDrawing(OdDbDatabase& db, unsigned count)
{
    std::mt19937 random(7);
    std::vector<unsigned> order(count);
    for (unsigned k = 0; k < count; ++k)
        order[k] = k;
    std::shuffle(order.begin(), order.end(), random);
    for (const unsigned k : order) {
        const OdGePoint3d a = corner(k), b = corner(k + 1);
        const OdGeVector3d trim = (b - a).normal() * 0.05;
        const bool turned = random() % 2;
        append(db, (turned ? segment(b - trim, a + trim) : segment(a + trim, b - trim)).get());
    }
    return "pedit\nm\nall\n\nj\nj\nb\n0.5\nx\n";
}

std::size_t entityCount(OdDbDatabase& db)
{
    std::size_t n = 0;
    OdDbBlockTableRecordPtr ms = db.getModelSpaceId().safeOpenObject();
    for (OdDbObjectIteratorPtr it = ms->newIterator(); !it->done(); it->step())
        ++n;
    return n;
}

void runJoin(benchmark::State& state, std::string (*drawing)(OdDbDatabase&, unsigned))
{
    const unsigned count = static_cast<unsigned>(state.range(0));
    const vantrel::CommandRegistrar pedit(L"HOST", L"PEdit", 2, vantrel::runFunctionCommand<CPeditCmd>);
    vantrel::TomlProfile profile((std::filesystem::temp_directory_path() / "vantrel-join-bench.toml").string());
    for (auto _ : state) {
        state.PauseTiming();
        OdDbDatabasePtr db = vantrel::newDrawing();
        const std::string script = drawing(*db, count);
        std::ostringstream out;
        vantrel::Transcript transcript(out);
        vantrel::ScriptInputSource source(script, L"join.scr");
        HostApplication app(profile, source, transcript);
        app.openDocument(db);
        state.ResumeTiming();

        app.runCommandLoop();

        state.PauseTiming();
        if (entityCount(*db) != 1) {
            transcript.finish();
            state.SkipWithError(("not joined into one polyline:\n" + out.str().substr(0, 2000)).c_str());
            return;
        }
        state.ResumeTiming();
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * count);
    state.SetComplexityN(state.range(0));
}

void BM_JoinSingleChainReversed(benchmark::State& state) { runJoin(state, chainDrawing); }
void BM_JoinMultipleGapsShuffled(benchmark::State& state) { runJoin(state, gapsDrawing); }

void sizes(benchmark::internal::Benchmark* b)
{
    b->Arg(1000)->Arg(10000)->Arg(100000)->Complexity(benchmark::oNLogN)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_JoinSingleChainReversed)->Apply(sizes);
BENCHMARK(BM_JoinMultipleGapsShuffled)->Apply(sizes);

BENCHMARK_MAIN();

// DXF read and write speed on a generated drawing of 100k mixed entities, against a raw baseline
// that only tokenizes the same file into (code, value) pairs and parses every number, and a raw
// formatted write of those pairs. Also reports the reader's peak memory over the file size.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <vantrel/db/DxfFile.h>
#include <vantrel/db/OdDbArc.h>
#include <vantrel/db/OdDbBlockTableRecord.h>
#include <vantrel/db/OdDbCircle.h>
#include <vantrel/db/OdDbLine.h>
#include <vantrel/db/OdDbPolyline.h>
#include <vantrel/db/OdDbText.h>
#include <vantrel/db/Template.h>

namespace {

constexpr int kEntities = 100000;

std::string makeDrawing()
{
    OdDbDatabasePtr db = vantrel::newDrawing();
    OdDbBlockTableRecordPtr ms = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
    for (int i = 0; i < kEntities; ++i) {
        double x = (i % 300) * 10.0, y = (i / 300) * 10.0;
        switch (i % 5) {
        case 0: {
            OdDbLinePtr e = OdDbLine::createObject();
            e->setStartPoint(OdGePoint3d(x, y, 0));
            e->setEndPoint(OdGePoint3d(x + 7.25, y + 3.5, 0));
            ms->appendOdDbEntity(e.get());
            break;
        }
        case 1: {
            OdDbPolylinePtr e = OdDbPolyline::createObject();
            for (unsigned v = 0; v < 6; ++v)
                e->addVertexAt(v, OdGePoint2d(x + v * 1.5, y + (v % 2) * 1.25), v % 3 == 1 ? 0.41421356 : 0.0,
                               0.1 * v, 0.1 * v + 0.05);
            ms->appendOdDbEntity(e.get());
            break;
        }
        case 2: {
            OdDbArcPtr e = OdDbArc::createObject();
            e->setCenter(OdGePoint3d(x, y, 0));
            e->setRadius(3.3);
            e->setStartAngle(0.25);
            e->setEndAngle(2.5);
            ms->appendOdDbEntity(e.get());
            break;
        }
        case 3: {
            OdDbCirclePtr e = OdDbCircle::createObject();
            e->setCenter(OdGePoint3d(x + 0.5, y + 0.5, 0));
            e->setRadius(1.7);
            ms->appendOdDbEntity(e.get());
            break;
        }
        default: {
            OdDbTextPtr e = OdDbText::createObject();
            e->setPosition(OdGePoint3d(x, y, 0));
            e->setHeight(2.5);
            e->setTextString(OdString(L"Room ") + OdString(std::to_wstring(i)));
            ms->appendOdDbEntity(e.get());
            break;
        }
        }
    }
    return vantrel::dxfText(*db);
}

const std::string& drawingText()
{
    static const std::string text = makeDrawing();
    return text;
}

const std::string& drawingPath()
{
    static const std::string path = [] {
        std::string p = "/tmp/vantrel_dxf_io_bench.dxf";
        std::ofstream(p, std::ios::binary) << drawingText();
        return p;
    }();
    return path;
}

bool isNumericCode(int c)
{
    return (c >= 10 && c <= 99) || (c >= 110 && c <= 179) || (c >= 210 && c <= 239) || (c >= 270 && c <= 299) ||
           (c >= 370 && c <= 389) || (c >= 400 && c <= 409) || (c >= 420 && c <= 429) || (c >= 440 && c <= 469) ||
           (c >= 1010 && c <= 1071);
}

struct Tag {
    int code;
    std::string_view value;
    double number;
};

// The baseline: split into lines, parse each code and every numeric value with from_chars.
std::vector<Tag> tokenize(std::string_view text)
{
    std::vector<Tag> tags;
    tags.reserve(text.size() / 12);
    std::size_t pos = 0;
    auto line = [&]() {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view l = text.substr(pos, end - pos);
        pos = end + 1;
        while (!l.empty() && (l.front() == ' ')) l.remove_prefix(1);
        if (!l.empty() && l.back() == '\r') l.remove_suffix(1);
        return l;
    };
    while (pos < text.size()) {
        std::string_view c = line();
        std::string_view v = line();
        Tag t{0, v, 0.0};
        std::from_chars(c.data(), c.data() + c.size(), t.code);
        if (isNumericCode(t.code))
            std::from_chars(v.data(), v.data() + v.size(), t.number);
        tags.push_back(t);
    }
    return tags;
}

void BM_RawTokenize(benchmark::State& state)
{
    const std::string& text = drawingText();
    for (auto _ : state) {
        auto tags = tokenize(text);
        benchmark::DoNotOptimize(tags.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(text.size()));
}

void BM_ReadIntoDatabase(benchmark::State& state)
{
    const std::string& path = drawingPath();
    for (auto _ : state) {
        auto result = vantrel::readDxf(path);
        if (!result.database)
            state.SkipWithError(result.error.c_str());
        benchmark::DoNotOptimize(result.database.get());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(drawingText().size()));
}

void BM_RawFormattedWrite(benchmark::State& state)
{
    auto tags = tokenize(drawingText());
    for (auto _ : state) {
        std::string out;
        out.reserve(drawingText().size());
        char buf[64];
        for (const Tag& t : tags) {
            auto [e1, ec1] = std::to_chars(buf, buf + sizeof buf, t.code);
            out.append(buf, e1);
            out += '\n';
            if (isNumericCode(t.code)) {
                auto [e2, ec2] = std::to_chars(buf, buf + sizeof buf, t.number);
                out.append(buf, e2);
            } else {
                out.append(t.value);
            }
            out += '\n';
        }
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(drawingText().size()));
}

void BM_WriteFromDatabase(benchmark::State& state)
{
    auto result = vantrel::readDxf(drawingPath());
    if (!result.database) {
        state.SkipWithError(result.error.c_str());
        return;
    }
    for (auto _ : state) {
        std::string text = vantrel::dxfText(*result.database);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(drawingText().size()));
}

long statusKb(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(field, 0) == 0)
            return std::stol(line.substr(std::string(field).size()));
    return -1;
}

// Reads the drawing in a child process and answers the growth of its peak resident memory.
void BM_ReadPeakMemory(benchmark::State& state)
{
    const std::string& path = drawingPath();
    double ratio = 0;
    for (auto _ : state) {
        int fds[2];
        if (pipe(fds) != 0) {
            state.SkipWithError("pipe failed");
            return;
        }
        pid_t pid = fork();
        if (pid == 0) {
            close(fds[0]);
            long before = statusKb("VmRSS:");
            auto result = vantrel::readDxf(path);
            long peak = statusKb("VmHWM:");
            long grown = result.database ? peak - before : -1;
            ssize_t n = write(fds[1], &grown, sizeof grown);
            _exit(n == sizeof grown ? 0 : 1);
        }
        close(fds[1]);
        long grownKb = -1;
        if (read(fds[0], &grownKb, sizeof grownKb) != sizeof grownKb)
            grownKb = -1;
        close(fds[0]);
        waitpid(pid, nullptr, 0);
        ratio = grownKb * 1024.0 / double(drawingText().size());
    }
    state.counters["file_MB"] = double(drawingText().size()) / 1e6;
    state.counters["peak_over_file"] = ratio;
}

}

BENCHMARK(BM_RawTokenize)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadIntoDatabase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawFormattedWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteFromDatabase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_MAIN();

// DXF read and write speed on a generated drawing of 100k mixed entities, against a raw baseline
// that only tokenizes the same text into (code, value) pairs and parses every number, and a raw
// formatted write of those pairs. The reader and writer report their speed as a share of these
// (pct_of_raw, on CPU time; the aim is 50 or more), and the reader its peak memory over the file
// size (the aim is 3 or less).
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <vector>

#include <vantrel/db/DxfFile.h>

#include "bench_drawing.h"

namespace {

constexpr int kEntities = 100000;

std::string makeDrawing() { return vantrel::dxfText(*vantrel::bench::mixedDrawing(kEntities)); }

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

// CPU time of this thread, the clock of the benchmarks' CPU column, so that a share of the raw
// speed does not depend on what else the machine runs.
double cpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// Bytes per CPU second of the raw baselines, set by their benchmarks, which run first.
double g_rawReadRate = 0;
double g_rawWriteRate = 0;

// Reports bytes processed and, when the baseline ran, the speed as a share of it.
void report(benchmark::State& state, double cpu, double rawRate, double* setRate = nullptr)
{
    const double bytes = double(state.iterations()) * double(drawingText().size());
    state.SetBytesProcessed(std::int64_t(bytes));
    if (setRate)
        *setRate = bytes / cpu;
    else if (rawRate > 0)
        state.counters["pct_of_raw"] = 100.0 * bytes / cpu / rawRate;
}

bool isNumericCode(int c)
{
    return (c >= 10 && c <= 99) || (c >= 110 && c <= 179) || (c >= 210 && c <= 239) || (c >= 270 && c <= 299)
        || (c >= 370 && c <= 389) || (c >= 400 && c <= 409) || (c >= 420 && c <= 429) || (c >= 440 && c <= 469)
        || (c >= 1010 && c <= 1071);
}

struct Tag {
    int code;
    std::string_view value;
    double number;
};

// Splits the text into (code, value) pairs, parsing each code and every numeric value with
// from_chars, and hands each pair to fn.
template <class Fn>
void forEachTag(std::string_view text, Fn&& fn)
{
    std::size_t pos = 0;
    auto line = [&]() {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view l = text.substr(pos, end - pos);
        pos = end + 1;
        while (!l.empty() && (l.front() == ' '))
            l.remove_prefix(1);
        if (!l.empty() && l.back() == '\r')
            l.remove_suffix(1);
        return l;
    };
    while (pos < text.size()) {
        std::string_view c = line();
        std::string_view v = line();
        Tag t{0, v, 0.0};
        std::from_chars(c.data(), c.data() + c.size(), t.code);
        if (isNumericCode(t.code))
            std::from_chars(v.data(), v.data() + v.size(), t.number);
        fn(t);
    }
}

std::vector<Tag> tokenize(std::string_view text)
{
    std::vector<Tag> tags;
    forEachTag(text, [&](const Tag& t) { tags.push_back(t); });
    return tags;
}

// The baseline reader: tokenizes the text in memory and parses every number, keeping nothing.
void BM_RawTokenize(benchmark::State& state)
{
    const std::string& text = drawingText();
    double cpu = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        double sum = 0;
        std::size_t count = 0;
        forEachTag(text, [&](const Tag& t) {
            sum += t.number;
            count += t.value.size();
        });
        benchmark::DoNotOptimize(sum);
        benchmark::DoNotOptimize(count);
        cpu += cpuSeconds() - start;
    }
    report(state, cpu, 0, &g_rawReadRate);
}

// Reading the file (mapping it included, which the baseline is spared) into a new database.
// Destroying the database is not reading: each one is released with the clock paused.
void BM_ReadIntoDatabase(benchmark::State& state)
{
    const std::string& path = drawingPath();
    double cpu = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        auto result = vantrel::readDxf(path);
        cpu += cpuSeconds() - start;
        if (!result.database) {
            state.SkipWithError(result.error.c_str());
            break;
        }
        benchmark::DoNotOptimize(result.database.get());
        state.PauseTiming();
        result.database = OdDbDatabasePtr();
        state.ResumeTiming();
    }
    report(state, cpu, g_rawReadRate);
}

// The baseline writer: formats the tokenized pairs into one string reserved for the whole text.
void BM_RawFormattedWrite(benchmark::State& state)
{
    auto tags = tokenize(drawingText());
    double cpu = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
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
        cpu += cpuSeconds() - start;
    }
    report(state, cpu, 0, &g_rawWriteRate);
}

// Writing the drawing read from the file into one string, as the baseline does.
void BM_WriteFromDatabase(benchmark::State& state)
{
    auto result = vantrel::readDxf(drawingPath());
    if (!result.database) {
        state.SkipWithError(result.error.c_str());
        return;
    }
    double cpu = 0;
    for (auto _ : state) {
        const double start = cpuSeconds();
        std::string text = vantrel::dxfText(*result.database);
        benchmark::DoNotOptimize(text.data());
        cpu += cpuSeconds() - start;
    }
    report(state, cpu, g_rawWriteRate);
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
        ratio = static_cast<double>(grownKb) * 1024.0 / static_cast<double>(drawingText().size());
    }
    state.counters["file_MB"] = double(drawingText().size()) / 1e6;
    state.counters["peak_over_file"] = ratio;
}

} // namespace

BENCHMARK(BM_RawTokenize)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadIntoDatabase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RawFormattedWrite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteFromDatabase)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadPeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK_MAIN();

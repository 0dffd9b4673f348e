// Whole processes compared on generated drawings of 10k, 100k and 1M mixed entities (lines,
// lightweight polylines with widths and bulges, arcs, circles and texts, half of them rotated,
// coordinates of 17 significant digits): the tokenizer baseline (dxf_tokenize), vantrel loading
// the drawing, loading it with each output, with -o and --svg together and with all three, and
// ezdxf reading it. Each is started as its own process, timed by the wall clock and by the
// processor time the system counted for it (user and system, the median of the runs each; on a
// shared machine the second is the steadier) and measured by the peak resident memory the system
// reports for it. Prints one table of ratios. ezdxf is Debian's (python3-ezdxf, for
// /usr/bin/python3). Its options are in kUsage below.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
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

extern char** environ;

namespace fs = std::filesystem;

namespace {

struct Options {
    std::vector<long> sizes{10000, 100000, 1000000};
    int runs = 3;
    long ezdxfMax = 100000;
    fs::path dir = "out/bench/process";
    // Where the outputs go: beside the drawings unless given (a memory file system there shows
    // what the program costs without the disk).
    fs::path scratch;
};

// A coordinate with 17 significant digits, as drawings made by computation have.
double coordinate(std::mt19937_64& random, double base)
{
    return base + std::uniform_real_distribution<double>(0.0, 10.0)(random);
}

void addEntity(OdDbBlockTableRecord& space, long i, std::mt19937_64& random)
{
    const long column = i % 1000, row = i / 1000; // 1000 to a row
    const double x = static_cast<double>(column) * 20.0, y = static_cast<double>(row) * 20.0;
    const bool rotated = i % 2 == 1;
    const double angle = rotated ? std::uniform_real_distribution<double>(0.0, 6.283185307179586)(random) : 0.0;
    switch (i % 5) {
    case 0: {
        OdDbLinePtr e = OdDbLine::createObject();
        e->setStartPoint(OdGePoint3d(coordinate(random, x), coordinate(random, y), 0));
        e->setEndPoint(OdGePoint3d(coordinate(random, x), coordinate(random, y), 0));
        space.appendOdDbEntity(e.get());
        break;
    }
    case 1: {
        OdDbPolylinePtr e = OdDbPolyline::createObject();
        for (unsigned v = 0; v < 17; ++v)
            e->addVertexAt(v, OdGePoint2d(coordinate(random, x), coordinate(random, y)),
                           v % 2 ? 0.41421356237309503 : 0.0, 0.125 * v, 0.125 * v + 0.0625);
        space.appendOdDbEntity(e.get());
        break;
    }
    case 2: {
        OdDbArcPtr e = OdDbArc::createObject();
        e->setCenter(OdGePoint3d(coordinate(random, x), coordinate(random, y), 0));
        e->setRadius(coordinate(random, 1.0));
        e->setStartAngle(angle);
        e->setEndAngle(angle + 2.0);
        space.appendOdDbEntity(e.get());
        break;
    }
    case 3: {
        OdDbCirclePtr e = OdDbCircle::createObject();
        e->setCenter(OdGePoint3d(coordinate(random, x), coordinate(random, y), 0));
        e->setRadius(coordinate(random, 1.0));
        space.appendOdDbEntity(e.get());
        break;
    }
    default: {
        OdDbTextPtr e = OdDbText::createObject();
        e->setPosition(OdGePoint3d(coordinate(random, x), coordinate(random, y), 0));
        e->setHeight(2.5);
        e->setRotation(angle);
        e->setTextString(OdString::fromUtf8("Part " + std::to_string(i) + " of the mixed drawing"));
        space.appendOdDbEntity(e.get());
        break;
    }
    }
}

// Built in a child process: a process started later takes the peak memory of the one that
// starts it as its own (the system carries it over when the new program replaces the old), so
// this one must never hold a drawing itself.
fs::path makeDrawing(const fs::path& dir, long entities)
{
    fs::path path = dir / ("mixed-" + std::to_string(entities) + ".dxf");
    if (fs::exists(path))
        return path;
    const pid_t child = fork();
    if (child == 0) {
        std::mt19937_64 random(static_cast<std::uint64_t>(entities));
        OdDbDatabasePtr db = vantrel::newDrawing();
        {
            OdDbBlockTableRecordPtr space = db->getModelSpaceId().safeOpenObject(OdDb::kForWrite);
            for (long i = 0; i < entities; ++i)
                addEntity(*space, i, random);
        }
        const fs::path partial = path.string() + ".part";
        if (const std::string error = vantrel::writeDxf(*db, partial.string()); !error.empty()) {
            std::fprintf(stderr, "process_compare: %s\n", error.c_str());
            _exit(1);
        }
        fs::rename(partial, path);
        _exit(0);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "process_compare: the drawing of %ld entities could not be made\n", entities);
        std::exit(1);
    }
    return path;
}

struct Measure {
    double seconds = 0.0; // wall
    double cpu = 0.0;     // user and system
    long peakKiB = 0;
};

double toSeconds(const timeval& t) { return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6; }

// One process: its wall time and the peak resident memory the system counted for it.
std::optional<Measure> runOnce(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return std::nullopt;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
    return Measure{wall.count(), toSeconds(usage.ru_utime) + toSeconds(usage.ru_stime), usage.ru_maxrss};
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Of each command: the median wall and processor times of its runs and the largest peak among
// them, or nothing when a run failed. The commands take turns, a run of each per round, so that
// a machine that slows down or speeds up over the rounds weighs on all of them alike. What a run
// wrote into scratch is removed after it: each run starts from the same files (a gigabyte left
// on a memory file system makes the next runs take fresh pages, which on a virtual machine can
// cost more than the work measured).
std::vector<std::optional<Measure>> measure(const std::vector<std::vector<std::string>>& commands, int runs,
                                            const fs::path& scratch)
{
    struct Runs {
        std::vector<double> walls, cpus;
        long peak = 0;
        bool failed = false;
    };
    std::vector<Runs> all(commands.size());
    for (int r = 0; r < runs; ++r)
        for (std::size_t c = 0; c < commands.size(); ++c) {
            if (all[c].failed)
                continue;
            const std::optional<Measure> m = runOnce(commands[c]);
            for (const fs::directory_entry& written : fs::directory_iterator(scratch))
                fs::remove_all(written.path());
            all[c].failed = !m;
            if (!m)
                continue;
            all[c].walls.push_back(m->seconds);
            all[c].cpus.push_back(m->cpu);
            all[c].peak = std::max(all[c].peak, m->peakKiB);
        }
    std::vector<std::optional<Measure>> measures;
    for (const Runs& r : all)
        measures.push_back(r.failed ? std::nullopt : std::optional(Measure{median(r.walls), median(r.cpus), r.peak}));
    return measures;
}

constexpr const char* kUsage = "usage: process_compare [--sizes 10000,100000,1000000] [--runs 3] [--ezdxf-max 100000]\n"
                               "                       [--dir out/bench/process] [--scratch DIR]\n";

// Every option takes a value; anything else (--help included) prints the usage and ends the
// program before a long run starts.
Options parse(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; i += 2) {
        const std::string name = argv[i];
        if (i + 1 == argc || name == "--help") {
            const bool asked = name == "--help";
            std::fputs(kUsage, asked ? stdout : stderr);
            std::exit(asked ? 0 : 2);
        }
        const std::string value = argv[i + 1];
        if (name == "--sizes") {
            o.sizes.clear();
            for (std::size_t at = 0; at <= value.size();) {
                const std::size_t comma = std::min(value.find(',', at), value.size());
                o.sizes.push_back(std::stol(value.substr(at, comma - at)));
                at = comma + 1;
            }
        } else if (name == "--runs") {
            o.runs = std::max(1, std::stoi(value));
        } else if (name == "--ezdxf-max") {
            o.ezdxfMax = std::stol(value);
        } else if (name == "--dir") {
            o.dir = value;
        } else if (name == "--scratch") {
            o.scratch = value;
        } else {
            std::fprintf(stderr, "process_compare: unknown option %s\n%s", name.c_str(), kUsage);
            std::exit(2);
        }
    }
    return o;
}

// The machine's load over the last minute, which the wall times depend on.
void printLoad(const char* when)
{
    double load[1] = {0.0};
    if (getloadavg(load, 1) == 1)
        std::printf("load average %s: %.2f\n", when, load[0]);
}

std::string label(long n)
{
    return n % 1000000 == 0 ? std::to_string(n / 1000000) + "M" : std::to_string(n / 1000) + "k";
}

} // namespace

int main(int argc, char** argv)
{
    const Options options = parse(argc, argv);
    const fs::path bin = fs::canonical("/proc/self/exe").parent_path();
    const std::string vantrel = (bin / "vantrel").string(), tokenize = (bin / "dxf_tokenize").string();
    fs::create_directories(options.dir);
    const fs::path scratch = (options.scratch.empty() ? options.dir : options.scratch) / "scratch";
    fs::create_directories(scratch);
    const std::string dxfOut = (scratch / "out.dxf").string(), svgOut = (scratch / "out.svg").string(),
                      jsonOut = (scratch / "out.json").string();

    printLoad("at the start");
    // Each ratio twice: by the wall clock, then by processor time.
    std::printf("%-6s %8s  %-22s %8s %8s %14s %13s %10s\n", "size", "file MB", "process", "wall s", "cpu s",
                "vs baseline", "adds x load", "peak/file");
    bool failed = false;
    for (const long n : options.sizes) {
        const fs::path drawing = makeDrawing(options.dir, n);
        const double fileBytes = static_cast<double>(fs::file_size(drawing));
        const std::string file = drawing.string();
        struct Row {
            const char* name;
            std::vector<std::string> argv;
        };
        std::vector<Row> rows = {
            {"tokenize (baseline)", {tokenize, file}},
            {"vantrel load", {vantrel, file, "-s", "/dev/null"}},
            {"vantrel load -o", {vantrel, file, "-s", "/dev/null", "-o", dxfOut}},
            {"vantrel load --svg", {vantrel, file, "-s", "/dev/null", "--svg", svgOut}},
            {"vantrel load --json", {vantrel, file, "-s", "/dev/null", "--json", jsonOut}},
            {"vantrel load -o --svg", {vantrel, file, "-s", "/dev/null", "-o", dxfOut, "--svg", svgOut}},
            {"vantrel load, all three",
             {vantrel, file, "-s", "/dev/null", "-o", dxfOut, "--svg", svgOut, "--json", jsonOut}},
        };
        if (n <= options.ezdxfMax)
            rows.push_back(
                {"ezdxf readfile", {"/usr/bin/python3", "-c", "import sys, ezdxf; ezdxf.readfile(sys.argv[1])", file}});
        std::vector<std::vector<std::string>> commands;
        for (const Row& row : rows)
            commands.push_back(row.argv);
        const std::vector<std::optional<Measure>> measures = measure(commands, options.runs, scratch);
        std::optional<Measure> baseline, load;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const Row& row = rows[r];
            const std::optional<Measure>& m = measures[r];
            if (!m) {
                std::printf("%-6s %8.1f  %-22s %9s\n", label(n).c_str(), fileBytes / 1e6, row.name, "failed");
                failed = true;
                continue;
            }
            if (!baseline)
                baseline = m;
            else if (!load)
                load = m;
            const double peakRatio = static_cast<double>(m->peakKiB) * 1024.0 / fileBytes;
            // Speed against the baseline as a share (100 % = as fast as tokenizing); the time the
            // outputs add to loading alone, as a multiple of the loading time.
            std::printf("%-6s %8.1f  %-22s %8.3f %8.3f %6.0f%% %6.0f%% %6.2fx %5.2fx %9.2fx\n", label(n).c_str(),
                        fileBytes / 1e6, row.name, m->seconds, m->cpu, 100.0 * baseline->seconds / m->seconds,
                        100.0 * baseline->cpu / m->cpu, load ? m->seconds / load->seconds - 1.0 : 0.0,
                        load ? m->cpu / load->cpu - 1.0 : 0.0, peakRatio);
        }
        std::printf("%-6s %8s  %-22s %9.0f\n", "", "", "bytes per entity", fileBytes / static_cast<double>(n));
    }
    printLoad("at the end");
    fs::remove_all(scratch);
    return failed ? 1 : 0;
}

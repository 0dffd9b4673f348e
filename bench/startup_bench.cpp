// Start-up cost of the shell: `vantrel -s` of an empty script (host, module and template loaded,
// nothing run) against /bin/true in the same run, both started by fork and exec.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// vantrel is built into the same bin folder as the benchmarks.
fs::path vantrelPath() { return fs::read_symlink("/proc/self/exe").parent_path() / "vantrel"; }

// Runs the program with its output and input on /dev/null and waits for it; false unless it exited 0.
bool runProgram(const std::vector<std::string>& argv)
{
    std::vector<char*> args;
    args.reserve(argv.size() + 1);
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const pid_t pid = fork();
    if (pid < 0)
        return false;
    if (pid == 0) {
        const int null = open("/dev/null", O_RDWR);
        dup2(null, STDIN_FILENO);
        dup2(null, STDOUT_FILENO);
        dup2(null, STDERR_FILENO);
        execv(args[0], args.data());
        _exit(127);
    }
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void timeProgram(benchmark::State& state, const std::vector<std::string>& argv)
{
    for (auto _ : state) {
        if (!runProgram(argv)) {
            state.SkipWithError(("failed: " + argv.front()).c_str());
            return;
        }
    }
}

void BM_BinTrue(benchmark::State& state) { timeProgram(state, {"/bin/true"}); }
BENCHMARK(BM_BinTrue)->Unit(benchmark::kMillisecond)->UseRealTime();

// An empty script and a profile of its own, so that the user's settings play no part.
void BM_VantrelEmptyScript(benchmark::State& state)
{
    const fs::path vantrel = vantrelPath();
    if (!fs::exists(vantrel)) {
        state.SkipWithError(("no vantrel beside the benchmark: " + vantrel.string()).c_str());
        return;
    }
    const fs::path dir = fs::temp_directory_path() / ("vantrel-startup-" + std::to_string(getpid()));
    fs::create_directories(dir);
    const fs::path script = dir / "EMPTY.scr";
    std::ofstream(script).close();
    timeProgram(state, {vantrel.string(), "--profile", (dir / "profile.toml").string(), "-s", script.string()});
    fs::remove_all(dir);
}
BENCHMARK(BM_VantrelEmptyScript)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

// Whole runs of the command line as a script calls it: the start of the program (the dynamic
// loader, static initialisers, the window models) is paid by every call. The counters are the
// CPU seconds of each run (user + system), beside the wall time of the benchmark.
extern char** environ;

namespace {

// The test reference year in the shared folder beside the repository.
std::string MannheimYear() {
    for (std::filesystem::path dir = UMBRIX_SOURCE_DIR; !dir.empty(); dir = dir.parent_path()) {
        const auto file = dir.parent_path() / "shared" / "data" / "weather" / "mannheim.epw";
        if (std::filesystem::exists(file)) return file.string();
        if (dir == dir.parent_path()) break;
    }
    return {};
}

double ChildCpuSeconds() {
    rusage u{};
    getrusage(RUSAGE_CHILDREN, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) * 1e-6;
}

void RunUmbrix(benchmark::State& state, std::vector<std::string> args) {
    const std::string program = UMBRIX_BINARY_DIR "/umbrix";
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    const double cpuBefore = ChildCpuSeconds();
    for (auto _ : state) {
        pid_t pid = 0;
        int status = 0;
        if (posix_spawn(&pid, program.c_str(), &quiet, nullptr, argv.data(), environ) != 0 ||
            waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("umbrix failed");
            break;
        }
    }
    posix_spawn_file_actions_destroy(&quiet);
    state.counters["cpu_per_run"] =
        benchmark::Counter((ChildCpuSeconds() - cpuBefore) /
                           double(std::max<benchmark::IterationCount>(1, state.iterations())));
}

}  // namespace

static void BM_Help(benchmark::State& state) {
    RunUmbrix(state, {"--help"});
}
BENCHMARK(BM_Help)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_OneRow(benchmark::State& state) {
    RunUmbrix(state, {"--now", "21.6.2026 9:00", "--set", "EditTa=25"});
}
BENCHMARK(BM_OneRow)->Unit(benchmark::kMillisecond)->UseRealTime();

// A year of hourly rows without mPET from a weather file, into a file.
static void BM_YearWithoutMpet(benchmark::State& state) {
    const std::string year = MannheimYear();
    if (year.empty()) {
        state.SkipWithError("shared/data/weather/mannheim.epw not found");
        return;
    }
    const std::string out = std::filesystem::temp_directory_path() / "umbrix_bench_year.txt";
    RunUmbrix(state, {"--set", "mPETChK=0", "--epw", year, "--output", out, "--quiet"});
    std::filesystem::remove(out);
}
BENCHMARK(BM_YearWithoutMpet)->Unit(benchmark::kMillisecond)->UseRealTime();

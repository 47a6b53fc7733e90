// Start-up: from starting the program to the background window shown with
// the settings, heat-pump and weather-city files read (the splash's wait
// skipped), against a bare Qt program showing an empty main window, both
// started as processes in the same run. The counter `ratio` is the
// program's time over the bare window's (limit: 5).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

namespace fs = std::filesystem;

fs::path buildDir() { return fs::read_symlink("/proc/self/exe").parent_path().parent_path(); }

// Runs the program to its end and returns the wall time in milliseconds;
// negative when it could not be started or failed.
double runMs(const fs::path& exe, std::vector<std::string> env) {
    for (char** e = environ; *e; ++e) env.emplace_back(*e);
    std::vector<char*> envp;
    for (auto& s : env) envp.push_back(s.data());
    envp.push_back(nullptr);
    std::string path = exe.string();
    char* argv[] = {path.data(), nullptr};

    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_addopen(&fa, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&fa, 2, "/dev/null", O_WRONLY, 0);
    const auto t0 = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int rc = posix_spawn(&pid, path.c_str(), &fa, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&fa);
    if (rc != 0) return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    const auto t1 = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

void BM_StartupAgainstBareWindow(benchmark::State& state) {
    const fs::path heater = buildDir() / "bin" / "heater";
    const fs::path bare = buildDir() / "bench" / "bare_window";
    const std::vector<std::string> env = {"QT_QPA_PLATFORM=offscreen"};
    double heaterMs = 0, bareMs = 0;
    int n = 0;
    for (auto _ : state) {
        const double b = runMs(bare, env);
        const double h = runMs(heater, {"QT_QPA_PLATFORM=offscreen", "HEATER_STARTUP_PROBE=backgrnd"});
        if (b < 0 || h < 0) {
            state.SkipWithError("could not start the program or the bare window");
            return;
        }
        bareMs += b;
        heaterMs += h;
        ++n;
        state.SetIterationTime(h / 1000.0);
    }
    state.counters["heater_ms"] = heaterMs / n;
    state.counters["bare_ms"] = bareMs / n;
    state.counters["ratio"] = heaterMs / bareMs;
}
BENCHMARK(BM_StartupAgainstBareWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(15);

}  // namespace

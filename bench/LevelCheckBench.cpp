#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "engine/core/KTPlist.h"
#include "tools/levelcheck/Bots.h"
#include "tools/levelcheck/ParallelRuns.h"
#include "tools/levelcheck/Simulation.h"

namespace moonbrook::levelcheck {
namespace {

constexpr const char* kLevels[] = {"002", "009", "011"};
const std::string kBots[] = {"random", "greedy", "lookahead"};

// The simulation's profile goes to a folder of the benchmark's own.
void prepare() {
    static const bool prepared = [] {
        const auto folder =
            std::filesystem::temp_directory_path() / ("moonbrook-bench-" + std::to_string(getpid()));
        std::filesystem::create_directories(folder);
        setenv("XDG_DATA_HOME", folder.c_str(), 1);
        installHeadlessEngine(MOONBROOK_CONTENT_ROOT, 1);
        return true;
    }();
    (void)prepared;
}

LevelSimulation simulation(const std::string& name) {
    const auto data = kt::KTPlist::readFile(MOONBROOK_CONTENT_ROOT "/data/levels/" + name + ".xml");
    return LevelSimulation(name, data.value_or(kt::KTPlist::emptyDictionary()));
}

// CPU seconds of this process and of the processes it has waited for (the lookahead's copies, the jobs).
double cpuSeconds() {
    double total = 0;
    for (const int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
        rusage usage{};
        getrusage(who, &usage);
        for (const timeval& t : {usage.ru_utime, usage.ru_stime})
            total += static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
    }
    return total;
}

// The largest resident size of the process so far, in megabytes.
double peakMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:")) return std::stod(line.substr(6)) / 1024;
    }
    return 0;
}

// One seeded run per iteration of a real level. "simulated" is level seconds per CPU second, the CPU of the
// lookahead's copies of the process included: how many times faster than real time the bot plays (a run
// stops at the win).
void BM_LevelRun(benchmark::State& state) {
    prepare();
    const std::string& bot = kBots[state.range(0)];
    const std::string level = kLevels[state.range(1)];
    const LevelSimulation played = simulation(level);
    const auto player = makeBot(bot);
    double simulated = 0;
    int wins = 0;
    std::uint32_t seed = 1;
    const double cpuBefore = cpuSeconds();
    for (auto _ : state) {
        const RunResult result = played.run(*player, runSeed(1, level, static_cast<int>(seed++)));
        simulated += result.time;
        wins += result.won ? 1 : 0;
    }
    state.SetLabel(bot + " " + level);
    state.counters["simulated"] = simulated / (cpuSeconds() - cpuBefore);
    state.counters["wins"] = wins;
}
BENCHMARK(BM_LevelRun)->ArgsProduct({{0, 1, 2}, {0, 1, 2}})->Unit(benchmark::kMillisecond)->Iterations(5);

// A hundred lookahead runs of one level over two jobs, timed by the clock; also the CPU seconds of all the
// processes, which tell the time on an otherwise idle machine, and the peak memory.
void BM_HundredLookaheadRuns(benchmark::State& state) {
    prepare();
    const double cpuBefore = cpuSeconds();
    for (auto _ : state) {
        RunPlan plan{{}, {"009"}, 100, "lookahead", 1, 2};
        plan.levels.push_back(simulation("009"));
        const auto results = playAll(plan, {});
        if (!results) state.SkipWithError("a job failed");
    }
    // Its children's peak when they outgrew the parent: ru_maxrss of the waited-for processes.
    rusage children{};
    getrusage(RUSAGE_CHILDREN, &children);
    state.counters["children_peak_mb"] = static_cast<double>(children.ru_maxrss) / 1024;
    state.counters["cpu_s"] = cpuSeconds() - cpuBefore;
    state.counters["peak_mb"] = peakMegabytes();
}
BENCHMARK(BM_HundredLookaheadRuns)->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);

}  // namespace
}  // namespace moonbrook::levelcheck

#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/levelcheck/Simulation.h"

namespace moonbrook::levelcheck {

// The seed of one run: a function of the call's seed, the level and the run's number only, so that a run
// plays the same whichever job plays it.
std::uint32_t runSeed(std::uint32_t seed, std::string_view level, int run);

// What to play: `runs` runs of every level (named in `names`, in the same order) with the named bot.
struct RunPlan {
    std::vector<LevelSimulation> levels;
    std::vector<std::string> names;
    int runs = 1;
    std::string bot;
    std::uint32_t seed = 1;
    int jobs = 1;
};
// Plays the plan over `jobs` processes and answers the results per level in run order, the same for any
// number of jobs. `progress` hears of every finished run. None when a job failed.
std::optional<std::vector<std::vector<RunResult>>> playAll(
    const RunPlan& plan, const std::function<void(int done, int total)>& progress);

}  // namespace moonbrook::levelcheck

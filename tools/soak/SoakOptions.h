#pragma once

#include <optional>
#include <string>
#include <vector>

namespace moonbrook::soak {

// The command line of moonbrook-soak.
struct SoakOptions {
    // Wall-clock minutes the run lasts.
    double minutes = 30;
    std::string bot = "greedy";
    unsigned seed = 1;
    // Level seconds the bot spends on a settled board before each move, and after which a level that is not
    // won is left for the next one: quick, so that half an hour goes through every level even at the frame
    // rate of the sanitizer build on a busy machine.
    float thinkTime = 0.2f;
    float levelTime = 8;
    int powerupLevel = 1;
    // Wall-clock seconds between two samples of the resident memory.
    double sampleSeconds = 10;
    // The most the resident memory may grow after the first level, in megabytes per ten minutes; the run
    // fails above it. None ("off") only reports the growth.
    std::optional<double> maxGrowth = 1;
    // Where the samples go as CSV; empty for nowhere.
    std::string samplesFile;
    // The folder that holds data/; empty for the one beside the program.
    std::string dataRoot;
};

inline constexpr const char* kSoakUsage =
    "usage: moonbrook-soak [--minutes M] [--bot random|greedy|lookahead] [--seed S] [--think SECONDS]\n"
    "                      [--level-time SECONDS] [--powerups LEVEL] [--sample-every SECONDS]\n"
    "                      [--max-growth MB|off] [--samples FILE] [--data DIR]\n";

// The options, or none with the reason in `error`.
std::optional<SoakOptions> parseSoakOptions(const std::vector<std::string>& arguments, std::string& error);

}  // namespace moonbrook::soak

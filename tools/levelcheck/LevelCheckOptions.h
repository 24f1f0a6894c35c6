#pragma once

#include <optional>
#include <string>
#include <vector>

namespace moonbrook::levelcheck {

// The command line of moonbrook-levelcheck.
struct LevelCheckOptions {
    int runs = 20;
    std::string bot = "greedy";
    int jobs = 1;
    unsigned seed = 1;
    float thinkTime = 1.5f;
    int powerupLevel = 1;
    float maxTime = 600;
    std::string json;
    std::string svg;
    // The folder that holds data/; empty for the one beside the program.
    std::string dataRoot;
    // Every level of every episode, after the named ones.
    bool all = false;
    // Fail when a level is never won or soft-locks.
    bool check = false;
    // One line "runs DONE/TOTAL" on the error output after every run, for a program that shows the progress.
    bool progressLines = false;
    std::vector<std::string> levels;
};

inline constexpr const char* kLevelCheckUsage =
    "usage: moonbrook-levelcheck [--runs N] [--bot random|greedy|lookahead] [--jobs J] [--seed S]\n"
    "                            [--json FILE] [--svg FILE] [--think SECONDS] [--powerups LEVEL]\n"
    "                            [--max-time SECONDS] [--data DIR] [--all] [--check] [--progress] LEVEL...\n";

// The options, or none with the reason in `error`.
std::optional<LevelCheckOptions> parseLevelCheckOptions(const std::vector<std::string>& arguments,
                                                        std::string& error);

}  // namespace moonbrook::levelcheck

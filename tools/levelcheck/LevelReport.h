#pragma once

#include <string>
#include <vector>

#include "tools/levelcheck/Simulation.h"

namespace moonbrook::levelcheck {

// Times of the won runs at three points of their distribution.
struct TimeSpread {
    float best5 = 0;  // 5 % of the wins were at least this fast
    float median = 0;
    float worst5 = 0;  // 5 % of the wins took at least this long
};

// Suggested times for the level's stars, from the won runs (see docs/levels.md for the rule).
struct StarTimes {
    float gold = 0;
    float threeStars = 0;
    float twoStars = 0;
    float oneStar = 0;
    // The "time_limit" that gives three stars up to threeStars in the game's own rule.
    float timeLimit = 0;
};

enum class Verdict { ok, tooHard, softLockRisk };

// What the runs of one level say about it.
struct LevelReport {
    std::string level;
    int runs = 0;
    int wins = 0;
    double winRate = 0;
    TimeSpread winTime;
    double meanMoves = 0;
    // Settled boards without a possible move per run, and how the runs got out of them.
    double stuckPerRun = 0;
    int escapedByPowerup = 0;
    int escapedByRestart = 0;
    int softLocks = 0;
    StarTimes stars;
    // The level's own "time_limit".
    float timeLimit = 0;
    Verdict verdict = Verdict::ok;
    // Set when the level could not be read: the other fields are empty.
    std::string error;
};

// The value below which the share q of the sorted values lies (nearest rank); 0 for none.
float quantile(const std::vector<float>& sorted, double q);
LevelReport summarise(const std::string& level, const std::vector<RunResult>& runs);
const char* verdictName(Verdict verdict);

}  // namespace moonbrook::levelcheck

#include "tools/levelcheck/LevelReport.h"

#include <algorithm>
#include <cmath>

namespace moonbrook::levelcheck {

namespace {

// Below this share of won runs a level is too hard for its place.
constexpr double kTooHardWinRate = 0.5;
// The game gives three stars up to this share of the time limit.
constexpr float kThreeStarShare = 0.7f;
// Suggested limits are rounded up to whole steps of this many seconds.
constexpr float kLimitStep = 5;

float roundUp(float seconds) {
    return std::ceil(seconds / kLimitStep) * kLimitStep;
}

StarTimes starTimes(const std::vector<float>& sortedWinTimes) {
    if (sortedWinTimes.empty()) return {};
    StarTimes stars;
    stars.gold = quantile(sortedWinTimes, 0.05);
    stars.threeStars = roundUp(quantile(sortedWinTimes, 0.5));
    stars.twoStars = roundUp(quantile(sortedWinTimes, 0.9));
    stars.oneStar = roundUp(quantile(sortedWinTimes, 0.95));
    stars.timeLimit = std::max(roundUp(stars.threeStars / kThreeStarShare), stars.twoStars);
    return stars;
}

}  // namespace

float quantile(const std::vector<float>& sorted, double q) {
    if (sorted.empty()) return 0;
    const auto rank = static_cast<std::size_t>(std::ceil(q * static_cast<double>(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

LevelReport summarise(const std::string& level, const std::vector<RunResult>& runs) {
    LevelReport report;
    report.level = level;
    report.runs = static_cast<int>(runs.size());
    std::vector<float> winTimes;
    int moves = 0;
    int stuck = 0;
    for (const RunResult& run : runs) {
        if (run.won) winTimes.push_back(run.time);
        moves += run.moves;
        stuck += run.stuckSettles;
        report.escapedByPowerup += run.escapedByPowerup;
        report.escapedByRestart += run.restarts;
        report.softLocks += run.softLocked ? 1 : 0;
    }
    std::ranges::sort(winTimes);
    report.wins = static_cast<int>(winTimes.size());
    if (runs.empty()) return report;
    const auto count = static_cast<double>(runs.size());
    report.winRate = report.wins / count;
    report.winTime = {quantile(winTimes, 0.05), quantile(winTimes, 0.5), quantile(winTimes, 0.95)};
    report.meanMoves = moves / count;
    report.stuckPerRun = stuck / count;
    report.stars = starTimes(winTimes);
    if (report.softLocks > 0) {
        report.verdict = Verdict::softLockRisk;
    } else if (report.winRate < kTooHardWinRate) {
        report.verdict = Verdict::tooHard;
    }
    return report;
}

const char* verdictName(Verdict verdict) {
    switch (verdict) {
        case Verdict::ok:
            return "ok";
        case Verdict::tooHard:
            return "too hard";
        case Verdict::softLockRisk:
            return "soft-lock risk";
    }
    return "ok";
}

}  // namespace moonbrook::levelcheck

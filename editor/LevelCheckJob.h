#pragma once

#include <sys/types.h>

#include <memory>
#include <optional>
#include <string>

#include "engine/core/KTPlist.h"

namespace moonbrook {

// What the level check's bot found on the edited level.
struct LevelCheckVerdict {
    int runs = 0;
    int wins = 0;
    double winRate = 0;
    float medianTime = 0;
    float best5Time = 0;
    float goldTime = 0;
    float threeStars = 0;
    float twoStars = 0;
    float oneStar = 0;
    // The "time_limit" that gives three stars up to threeStars.
    float timeLimit = 0;
    // Runs that ended on a board without a move that nothing could leave.
    int softLocks = 0;
    std::string verdict;
};

// The level check run on a level in a process of its own ("moonbrook-levelcheck" beside the program), so
// that the editor stays responsive: the level goes into a temporary folder, the check reports each finished
// run on its error output and its verdict as JSON. A job still running when dropped is stopped.
class LevelCheckJob {
public:
    static constexpr int kRuns = 20;

    // None, with the reason, when the check cannot be started.
    static std::unique_ptr<LevelCheckJob> start(const std::string& levelName, const kt::KTPlist& level,
                                                std::string& error);
    ~LevelCheckJob();
    LevelCheckJob(const LevelCheckJob&) = delete;
    LevelCheckJob& operator=(const LevelCheckJob&) = delete;

    // Reads what the check reported so far; false once it has ended.
    bool poll();
    int runsDone() const { return runsDone_; }
    // Set when the check ended with a verdict; otherwise error() says why there is none.
    const std::optional<LevelCheckVerdict>& verdict() const { return verdict_; }
    const std::string& error() const { return error_; }

private:
    LevelCheckJob() = default;
    void readProgress();
    void finish(int status);

    std::string folder_;
    pid_t pid_ = -1;
    int progressPipe_ = -1;
    std::string pending_;
    int runsDone_ = 0;
    std::optional<LevelCheckVerdict> verdict_;
    std::string error_;
};

}  // namespace moonbrook

#include "tools/levelcheck/BotPlayer.h"

#include <vector>

#include "game/board/Board.h"
#include "tools/levelcheck/Bots.h"

namespace moonbrook::levelcheck {

namespace {

// The bots' tie-breaking generator runs apart from the board's, seeded from the same run seed.
constexpr std::uint32_t kTieBreakSalt = 0x9e3779b9u;

}  // namespace

BotPlayer::BotPlayer(std::shared_ptr<Board> board, Bot& bot, std::uint32_t seed,
                     const SimulationOptions& options)
    : board_(std::move(board)), bot_(bot), options_(options) {
    tieBreak_.seed(seed ^ kTieBreakSalt);
}

bool BotPlayer::afterUpdate() {
    played_ += options_.frameTime;
    // A settled board: idle through two whole updates, so that a fall started at the end of one is seen.
    idleFrames_ = board_->idle() ? idleFrames_ + 1 : 0;
    idleTime_ = idleFrames_ >= 2 ? idleTime_ + options_.frameTime : 0;
    // The win check pauses and disables the board; a screen's popup only pauses it.
    result_.won = board_->pause() && !board_->enabled();
    if (result_.won) return false;
    const bool thought = idleFrames_ >= 2 && idleTime_ >= options_.thinkTime;
    if (thought && !board_->pause() && !act()) return false;
    return played_ < options_.maxTime;
}

RunResult BotPlayer::result() const {
    RunResult result = result_;
    result.time = result.won ? board_->playTime() : played_;
    return result;
}

bool BotPlayer::act() {
    const std::vector<Turn> swaps = validSwaps(*board_);
    if (swaps.empty() && !stuck_) {
        stuckSince_ = board_->playTime();
        ++result_.stuckSettles;
    }
    stuck_ = swaps.empty();
    if (usePowerup(*board_, stuck_)) {
        ++result_.powerupsUsed;
        result_.escapedByPowerup += stuck_ ? 1 : 0;
        stuck_ = false;
    } else if (!swaps.empty()) {
        playSwap(*board_, bot_.chooseSwap(*board_, swaps, tieBreak_));
        ++result_.moves;
    } else if (!leaveBoardWithoutMove()) {
        // Still waiting for a powerup, or soft-locked.
        return !result_.softLocked;
    }
    idleFrames_ = 0;
    idleTime_ = 0;
    return true;
}

bool BotPlayer::leaveBoardWithoutMove() {
    if (board_->playTime() - stuckSince_ < options_.stuckWait) return false;
    if (result_.restarts >= options_.maxRestarts) {
        result_.softLocked = true;
        return false;
    }
    ++result_.restarts;
    board_->reset();
    stuck_ = false;
    return true;
}

}  // namespace moonbrook::levelcheck

#include "tools/levelcheck/Simulation.h"

#include "engine/actions/KTActionsModule.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTRandom.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTScheduler.h"
#include "engine/services/KTUser.h"
#include "engine/services/KTUserManager.h"
#include "game/PowerupManager.h"
#include "game/board/Board.h"
#include "tools/levelcheck/Bots.h"

namespace moonbrook::levelcheck {

namespace {

constexpr const char* kProfileName = "levelcheck";
// The bots' tie-breaking generator runs apart from the board's, seeded from the same run seed.
constexpr std::uint32_t kTieBreakSalt = 0x9e3779b9u;

// A settled board: idle through two whole updates, so that a fall started at the end of one is seen.
class SettleWatch {
public:
    void update(const Board& board, float dt) {
        idleFrames_ = board.idle() ? idleFrames_ + 1 : 0;
        idleTime_ = idleFrames_ >= 2 ? idleTime_ + dt : 0;
    }
    bool settled() const { return idleFrames_ >= 2; }
    float idleTime() const { return idleTime_; }
    void restart() {
        idleFrames_ = 0;
        idleTime_ = 0;
    }

private:
    int idleFrames_ = 0;
    float idleTime_ = 0;
};

// One run in progress: the board, the bot's thinking and what has happened so far.
class RunLoop {
public:
    RunLoop(std::shared_ptr<Board> board, Bot& bot, std::uint32_t seed, const SimulationOptions& options)
        : board_(std::move(board)), bot_(bot), options_(options) {
        tieBreak_.seed(seed ^ kTieBreakSalt);
    }

    RunResult play() {
        float played = 0;
        while (played < options_.maxTime) {
            kt::KTDirector::shared().doUpdate();
            played += options_.frameTime;
            watch_.update(*board_, options_.frameTime);
            result_.won = board_->pause();
            if (result_.won) break;
            const bool thought = watch_.settled() && watch_.idleTime() >= options_.thinkTime;
            if (thought && !act()) break;
        }
        result_.time = result_.won ? board_->playTime() : played;
        return result_;
    }

private:
    // The bot's turn on a settled board it has thought about; false when the run ends here.
    bool act() {
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
        watch_.restart();
        return true;
    }

    // Restarts the level once the wait for a powerup is over; false while it still waits or when no restart
    // is left (a soft-lock).
    bool leaveBoardWithoutMove() {
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

    std::shared_ptr<Board> board_;
    Bot& bot_;
    const SimulationOptions& options_;
    kt::KTRandom tieBreak_;
    SettleWatch watch_;
    RunResult result_;
    bool stuck_ = false;
    float stuckSince_ = 0;
};

}  // namespace

void installHeadlessEngine(const std::string& dataRoot, int powerupLevel) {
    kt::KTInstallActionsModule();
    kt::KTResourceManager::shared().setBaseDataPath(dataRoot.empty() ? std::string() : dataRoot + "/");
    // Read afresh from where XDG_DATA_HOME points now.
    kt::KTUserManager::resetSharedManager();
    auto& users = kt::KTUserManager::sharedManager();
    if (users.userIdx(kProfileName) < 0) users.add(kProfileName);
    users.selectByName(kProfileName);
    const auto user = users.selectedUser();
    kt::KTPlist purchases = kt::KTPlist::emptyDictionary();
    for (const char* name : {"hammer", "random", "color", "bonuses"})
        purchases[name]["maxLevel"] = powerupLevel;
    user->setObject(purchases, "powerups");
    PowerupManager::resetCurrentPowerupManager();
}

LevelSimulation::LevelSimulation(std::string levelName, kt::KTPlist levelData, SimulationOptions options)
    : levelName_(std::move(levelName)), levelData_(std::move(levelData)), options_(options) {}

std::shared_ptr<Board> LevelSimulation::startBoard() const {
    // Nothing of the previous run goes on: no scheduled node, no running action, no powerup charge.
    kt::KTScheduler::shared().removeAllTargets();
    kt::KTInstallActionsModule();
    PowerupManager::currentPowerupManager().reset();
    auto board = Board::board();
    board->setLevelData(levelName_, levelData_);
    board->reset();
    return board;
}

RunResult LevelSimulation::run(Bot& bot, std::uint32_t seed) const {
    kt::KTRandom::shared().seed(seed);
    kt::KTDirector::shared().setFixedDeltaTime(options_.frameTime);
    RunLoop loop(startBoard(), bot, seed, options_);
    RunResult result = loop.play();
    kt::KTScheduler::shared().removeAllTargets();
    return result;
}

}  // namespace moonbrook::levelcheck

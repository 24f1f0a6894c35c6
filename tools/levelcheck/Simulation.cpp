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

}  // namespace

void installHeadlessEngine(const std::string& dataRoot, int powerupLevel) {
    kt::KTInstallActionsModule();
    kt::KTResourceManager::shared().setBaseDataPath(dataRoot.empty() ? std::string() : dataRoot + "/");
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
    kt::KTRandom tieBreak;
    tieBreak.seed(seed ^ kTieBreakSalt);
    kt::KTDirector& director = kt::KTDirector::shared();
    director.setFixedDeltaTime(options_.frameTime);

    RunResult result;
    std::shared_ptr<Board> board = startBoard();
    SettleWatch watch;
    bool stuck = false;
    float stuckSince = 0;
    float played = 0;
    for (; played < options_.maxTime; played += options_.frameTime) {
        director.doUpdate();
        watch.update(*board, options_.frameTime);
        if (board->pause()) {
            result.won = true;
            break;
        }
        if (!watch.settled() || watch.idleTime() < options_.thinkTime) continue;

        const std::vector<Turn> swaps = validSwaps(*board);
        if (!swaps.empty()) {
            stuck = false;
        } else if (!stuck) {
            stuck = true;
            stuckSince = board->playTime();
            ++result.stuckSettles;
        }
        if (usePowerup(*board, stuck)) {
            ++result.powerupsUsed;
            if (stuck) ++result.escapedByPowerup;
            stuck = false;
        } else if (!swaps.empty()) {
            playSwap(*board, bot.chooseSwap(*board, swaps, tieBreak));
            ++result.moves;
        } else if (board->playTime() - stuckSince < options_.stuckWait) {
            continue;
        } else if (result.restarts < options_.maxRestarts) {
            ++result.restarts;
            board->reset();
            stuck = false;
        } else {
            result.softLocked = true;
            break;
        }
        watch.restart();
    }
    result.time = result.won ? board->playTime() : played;
    kt::KTScheduler::shared().removeAllTargets();
    return result;
}

}  // namespace moonbrook::levelcheck

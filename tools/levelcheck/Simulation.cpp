#include "tools/levelcheck/Simulation.h"

#include "engine/actions/KTActionsModule.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTRandom.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTScheduler.h"
#include "engine/services/KTUser.h"
#include "engine/services/KTUserManager.h"
#include "game/board/Board.h"
#include "game/progress/PowerupManager.h"

namespace moonbrook::levelcheck {

namespace {

constexpr const char* kProfileName = "levelcheck";

}  // namespace

void installHeadlessEngine(const std::string& dataRoot, int powerupLevel) {
    kt::KTInstallActionsModule();
    kt::KTResourceManager::shared().setBaseDataPath(dataRoot.empty() ? std::string() : dataRoot + "/");
    // Read afresh from where XDG_DATA_HOME points now.
    kt::KTUserManager::resetSharedManager();
    installBotProfile(powerupLevel);
}

void installBotProfile(int powerupLevel) {
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
    BotPlayer player(startBoard(), bot, seed, options_);
    do {
        kt::KTDirector::shared().doUpdate();
    } while (player.afterUpdate());
    kt::KTScheduler::shared().removeAllTargets();
    return player.result();
}

}  // namespace moonbrook::levelcheck

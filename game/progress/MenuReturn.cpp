#include "game/progress/MenuReturn.h"

#include "game/progress/BonusManager.h"
#include "game/progress/LevelManager.h"
#include "game/progress/PowerupManager.h"

namespace moonbrook {

std::string menuStateAfterWin() {
    const LevelManager& levels = LevelManager::sharedManager();
    if (const auto next = levels.firstUncompletedLevel()) {
        const unsigned position = levels.levelPosition(*next);
        if (position == 1) return "tutorial_m";
        if (position == 2) return "tutorial_p";
    }
    if (PowerupManager::currentPowerupManager().canBuySomething() ||
        BonusManager::currentManager().canBuySomething())
        return "powerup_shop";
    return "map";
}

}  // namespace moonbrook

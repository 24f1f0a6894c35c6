#include "tests/game/GameContentTest.h"

#include "engine/services/KTUserManager.h"
#include "game/progress/BonusManager.h"
#include "game/progress/ItemShop.h"
#include "game/progress/LevelManager.h"
#include "game/progress/PowerupManager.h"

namespace moonbrook::test {

namespace {

void resetManagers() {
    LevelManager::resetSharedManager();
    PowerupManager::resetCurrentPowerupManager();
    BonusManager::resetCurrentManager();
    ItemShop::resetCurrentShop();
}

}  // namespace

GameContentTest::GameContentTest() {
    resetManagers();
}

GameContentTest::~GameContentTest() {
    resetManagers();
}

kt::KTUser& GameContentTest::addPlayer(const std::string& name, int tokens) {
    auto& users = kt::KTUserManager::sharedManager();
    users.add(name);
    users.selectedUser()->setTokens(tokens);
    return *users.selectedUser();
}

}  // namespace moonbrook::test

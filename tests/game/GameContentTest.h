#pragma once

#include <string>

#include "engine/services/KTUser.h"
#include "engine/services/KTUserManager.h"
#include "game/progress/BonusManager.h"
#include "game/progress/ItemShop.h"
#include "game/progress/LevelManager.h"
#include "game/progress/PowerupManager.h"
#include "tests/engine/services/ProfileTest.h"

namespace moonbrook::test {

// Content and profile managers start from nothing in every test; the test writes the content it needs.
class GameContentTest : public kt::test::ProfileTest {
protected:
    GameContentTest() { resetManagers(); }
    ~GameContentTest() override { resetManagers(); }

    // A selected profile with that many tokens.
    static kt::KTUser& addPlayer(const std::string& name, int tokens = 0) {
        auto& users = kt::KTUserManager::sharedManager();
        users.add(name);
        users.selectedUser()->setTokens(tokens);
        return *users.selectedUser();
    }

private:
    static void resetManagers() {
        LevelManager::resetSharedManager();
        PowerupManager::resetCurrentPowerupManager();
        BonusManager::resetCurrentManager();
        ItemShop::resetCurrentShop();
    }
};

}  // namespace moonbrook::test

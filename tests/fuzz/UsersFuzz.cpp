// libFuzzer target: "users.xml" read by the user manager, then every profile selected and read by the
// settings, level, powerup and bonus managers, changed and saved (run by tools/fuzz.sh).
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>

#include "engine/core/KTResourceManager.h"
#include "engine/services/KTSettingsManager.h"
#include "engine/services/KTUserManager.h"
#include "game/progress/BonusManager.h"
#include "game/progress/LevelManager.h"
#include "game/progress/PowerupManager.h"
#include "tests/fuzz/FuzzEngine.h"

namespace {

// Everything the game reads of the selected profile, and one change of each kind.
void playWithSelectedProfile() {
    kt::KTSettingsManager::resetSharedManager();
    kt::KTSettingsManager::sharedManager();
    moonbrook::LevelManager& levels = moonbrook::LevelManager::sharedManager();
    levels.currentEpisode();
    levels.firstUncompletedLevel();
    levels.levelStars("001");
    levels.recordResult("001", 42);
    moonbrook::PowerupManager& powerups = moonbrook::PowerupManager::currentPowerupManager();
    powerups.fillFor(3);
    powerups.canBuySomething();
    moonbrook::BonusManager& bonuses = moonbrook::BonusManager::currentManager();
    for (const std::string& bonus : bonuses.bonuses()) {
        if (bonuses.isEnoughMoneyToBuy(bonus)) bonuses.buyBonus(bonus);
    }
    bonuses.getBonusTypeForMatch(5);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kt::fuzz::FuzzEngine::shared();
    const std::filesystem::path folder = kt::KTResourceManager::shared().applicationSupportDirectory();
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::ofstream(folder / "users.xml", std::ios::binary)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));

    kt::KTUserManager::resetSharedManager();
    kt::KTUserManager& users = kt::KTUserManager::sharedManager();
    for (std::size_t index = 0; index < users.count(); ++index) {
        users.setSelectionIdx(static_cast<int>(index));
        playWithSelectedProfile();
    }
    users.add("fuzz");
    users.selectByName("fuzz");
    playWithSelectedProfile();
    users.commit();
    return 0;
}

// Checks the game's own powerup and bonus definitions the way a level designer would before play.
#include <gtest/gtest.h>

#include <set>

#include "engine/core/KTResourceManager.h"
#include "game/BonusManager.h"
#include "game/PowerupManager.h"
#include "tests/game/GameContentTest.h"

namespace moonbrook {
namespace {

bool isSpecialBall(const kt::KTPlist& type) {
    const std::string letter = type.stringValue();
    return letter.size() == 1 && letter[0] >= 'f' && letter[0] <= 'p';
}

class ShopContentTest : public test::GameContentTest {
protected:
    ShopContentTest() {
        kt::KTResourceManager::shared().setBaseDataPath(std::string(MOONBROOK_SOURCE_ROOT) + "/");
        addPlayer("Designer");
    }
};

TEST_F(ShopContentTest, EveryPowerupSellsUpToThreeLevelsThatGrowDearerAndSlower) {
    const auto& manager = PowerupManager::currentPowerupManager();
    ASSERT_EQ(manager.powerups().size(), 4u);
    for (const char* name : {"hammer", "color", "random", "bonuses"}) {
        SCOPED_TRACE(name);
        const auto powerup = manager.getPowerupByName(name);
        ASSERT_NE(powerup, nullptr);
        ASSERT_GE(powerup->levelCount(), 1);
        ASSERT_LE(powerup->levelCount(), 3);
        for (int level = 1; level <= powerup->levelCount(); ++level) {
            const kt::KTPlist& options = powerup->optionsForLevel(level);
            EXPECT_GT(options["price"].intValue(),
                      level > 1 ? powerup->optionsForLevel(level - 1)["price"].intValue() : 0);
            EXPECT_GT(options["filling_time"].realValue(), 0);
            EXPECT_GT(options["speedup"].realValue(), 0);
            EXPECT_GT(options["speedup_types"].size(), 0u);
            if (std::string(name) == "color") {
                EXPECT_GE(options["size"].intValue(), level);
            }
            if (std::string(name) == "random" || std::string(name) == "bonuses") {
                EXPECT_GT(options["count"].intValue(), 0);
            }
            for (const auto& bonus : options["bonuses"].arrayValue()) {
                EXPECT_TRUE(isSpecialBall(bonus["type"]));
                EXPECT_GT(bonus["count"].intValue(), 0);
            }
        }
    }
}

TEST_F(ShopContentTest, LongMatchesOfFourFiveAndSixEachHaveABonus) {
    const auto& manager = BonusManager::currentManager();
    std::set<std::int64_t> matches;
    for (const std::string& name : manager.bonuses()) {
        const kt::KTPlist& bonus = manager.definitions()[name];
        EXPECT_TRUE(isSpecialBall(bonus["type"])) << name;
        EXPECT_GT(manager.priceOfBonus(name), 0) << name;
        matches.insert(bonus["match"].intValue());
    }
    EXPECT_EQ(matches, (std::set<std::int64_t>{4, 5, 6}));
}

}  // namespace
}  // namespace moonbrook

// Checks the game's own shop definitions (powerups, bonuses, decorations) the way a designer would before
// play.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/core/KTResourceManager.h"
#include "engine/core/XMLElement.h"
#include "engine/services/KTUser.h"
#include "engine/services/KTUserManager.h"
#include "game/progress/BonusManager.h"
#include "game/progress/ItemShop.h"
#include "game/progress/PowerupManager.h"
#include "tests/game/GameContentTest.h"

namespace moonbrook {
namespace {

bool isSpecialBall(const kt::KTPlist& type) {
    const std::string letter = type.stringValue();
    return letter.size() == 1 && letter[0] >= 'f' && letter[0] <= 'p';
}

const std::string kSourceRoot = std::string(MOONBROOK_SOURCE_ROOT) + "/";

class ShopContentTest : public test::GameContentTest {
protected:
    ShopContentTest() {
        kt::KTResourceManager::shared().setBaseDataPath(kSourceRoot);
        addPlayer("Designer").setAmount(1'000'000, ItemShop::kCurrency);
    }

    static ItemShop& shop() { return ItemShop::currentShop(); }
    static const ItemCatalogue& catalogue() { return shop().catalogue(); }
    static std::vector<std::string> allVariants() {
        std::vector<std::string> keys;
        for (const std::string& item : catalogue().itemsOrder())
            std::ranges::copy(catalogue().variants(item), std::back_inserter(keys));
        return keys;
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

// A variant that builds on another must find it bought in an earlier set, whatever variants the player chose
// before: a set that offered nothing for one of its items could never be completed.
TEST_F(ShopContentTest, EveryChoiceOfVariantsLeadsThroughAllSixSets) {
    std::map<std::string, int> setOfItem;
    for (int set = 0; set < ItemCatalogue::kSetCount; ++set) {
        for (int place = 0; place < ItemCatalogue::kItemsPerSet; ++place)
            setOfItem[catalogue().itemOfSet(set, place)] = set;
    }
    for (const std::string& key : allVariants()) {
        for (const std::string& required : catalogue().itemRequirements(key)) {
            EXPECT_TRUE(catalogue().contains(required)) << key << " requires " << required;
            EXPECT_LT(setOfItem[std::string(ItemCatalogue::baseName(required))],
                      setOfItem[std::string(ItemCatalogue::baseName(key))])
                << key << " requires " << required;
        }
    }
    for (const bool firstChoice : {true, false}) {
        SCOPED_TRACE(firstChoice ? "always the first variant" : "always the last variant");
        kt::KTUserManager::sharedManager().add(firstChoice ? "First" : "Last");
        kt::KTUserManager::sharedManager().selectedUser()->setAmount(1'000'000, ItemShop::kCurrency);
        for (int bought = 0; bought < 24; ++bought) {
            ASSERT_EQ(shop().currentSet(), bought / 4);
            const std::string item = shop().itemForMenu(bought % 4 + 1);
            const auto offered = shop().offeredVariants(item);
            ASSERT_FALSE(offered.empty()) << item;
            ASSERT_EQ(shop().buyItem(firstChoice ? offered.front() : offered.back()),
                      ItemShop::Purchase::bought);
        }
        EXPECT_EQ(shop().currentSet(), 6);
        // With every set complete the menus keep offering the last one.
        EXPECT_EQ(shop().itemForMenu(1), catalogue().itemOfSet(ItemCatalogue::kSetCount - 1, 0));
    }
}

// The six sets of four distinct items are bought through above.
TEST_F(ShopContentTest, EveryItemHasOneOrTwoPricedVariantsEachWithItsPictureNodePopupEffectAndIcon) {
    const auto picture = kt::XMLElement::fromFile(kSourceRoot + "data/partials/scene.xml");
    ASSERT_NE(picture, nullptr);
    std::map<std::string, std::set<std::string>> statesOfNode;
    for (const kt::XMLElement& node : picture->children()) {
        if (const std::string* name = node.attribute("name")) {
            auto& states = statesOfNode[*name];
            for (const kt::XMLElement& child : node.children()) {
                if (child.name() == "state") states.insert(*child.attribute("name"));
            }
        }
    }
    for (const std::string& key : allVariants()) {
        SCOPED_TRACE(key);
        EXPECT_GT(catalogue().itemPrice(key), 0);
        EXPECT_EQ(statesOfNode[key], (std::set<std::string>{"hidden", "preview", "visible"}));
        EXPECT_EQ(statesOfNode[key + "t"], std::set<std::string>{"visible"});
        EXPECT_TRUE(std::filesystem::exists(kSourceRoot + "data/partials/upgrade_popups/" + key + ".xml"));
        EXPECT_TRUE(std::filesystem::exists(kSourceRoot + "data/effects/upgrades/" + key + ".xml"));
        EXPECT_TRUE(std::filesystem::exists(kSourceRoot + "data/partials/upgrades/b" + key + ".xml"));
    }
    for (const std::string& item : catalogue().itemsOrder()) {
        SCOPED_TRACE(item);
        // The upgrade menu has two buttons for an item's variants.
        EXPECT_GE(catalogue().variants(item).size(), 1u);
        EXPECT_LE(catalogue().variants(item).size(), 2u);
        EXPECT_TRUE(std::filesystem::exists(kSourceRoot + "data/partials/upgrades/b" + item + ".xml"));
    }
}

}  // namespace
}  // namespace moonbrook

#include <gtest/gtest.h>

#include "engine/core/KTNode.h"
#include "engine/core/KTProgressIndicator.h"
#include "engine/services/KTUser.h"
#include "engine/services/KTUserManager.h"
#include "game/progress/Powerup.h"
#include "game/progress/PowerupManager.h"
#include "tests/game/GameContentTest.h"

namespace moonbrook {
namespace {

class ProgressBar : public kt::KTNode, public kt::KTProgressIndicator {
public:
    void setProgress(float value) override { progress = value; }
    float progress = -1;
};

// The hammer charges in 30 s to level 1 and 60 s more to level 2, faster with removed 'a' (twice) and 'b'.
constexpr const char* kPowerups = R"(<?xml version="1.0"?><plist version="1.0"><dict>
<key>hammer</key><array>
  <dict><key>price</key><integer>10</integer><key>filling_time</key><real>30</real>
        <key>speedup_types</key><array><string>a</string><string>bat</string><string>a</string></array>
        <key>speedup</key><real>5</real></dict>
  <dict><key>price</key><integer>20</integer><key>filling_time</key><real>60</real></dict>
  <dict><key>price</key><integer>0</integer><key>filling_time</key><real>90</real></dict>
</array>
<key>color</key><array><dict><key>price</key><integer>50</integer><key>size</key><integer>2</integer></dict></array>
</dict></plist>)";

class PowerupTest : public test::GameContentTest {
protected:
    PowerupTest() { writeFile("data/powerups.plist", kPowerups); }

    static Powerup& hammer() { return *PowerupManager::currentPowerupManager().getPowerupByName("hammer"); }
    void buyHammerLevels(int levels) {
        addPlayer("Ada", 1000);
        for (int i = 0; i < levels; ++i)
            hammer().upgrade();
    }
    std::shared_ptr<kt::KTNode> makeButton() {
        auto button = kt::KTNode::node();
        button->addChild(bar, "progress");
        for (const char* name : {"button_l_1", "button_l_2", "button_l_3"})
            button->addChild(kt::KTNode::node(), name);
        auto tooltip = kt::KTNode::node();
        tooltip->addChild(tooltipText, "text");
        button->addChild(tooltip, "tooltip");
        return button;
    }
    std::vector<bool> visibleLevelImages(const kt::KTNode& button) const {
        std::vector<bool> visible;
        for (const char* name : {"button_l_1", "button_l_2", "button_l_3"}) {
            visible.push_back(button.getChildByName(name)->visible());
        }
        return visible;
    }

    std::shared_ptr<ProgressBar> bar = kt::KTNode::node<ProgressBar>();
    std::shared_ptr<kt::KTNode> tooltipText = kt::KTNode::node();
};

TEST_F(PowerupTest, ChargesLevelByLevelShownOnItsButtonAndAUseSpendsTheCharge) {
    buyHammerLevels(2);
    auto button = makeButton();
    hammer().setButton(button);
    EXPECT_EQ(tooltipText->text(), "Loading...");
    EXPECT_EQ(visibleLevelImages(*button), (std::vector<bool>{false, false, false}));

    hammer().fillFor(15);
    EXPECT_EQ(hammer().level(), 0);
    EXPECT_FLOAT_EQ(hammer().filling(), 0.5f);
    EXPECT_FLOAT_EQ(bar->progress, 0.5f);
    hammer().fillFor(15);
    EXPECT_EQ(hammer().level(), 1);
    EXPECT_FLOAT_EQ(bar->progress, 0.0f);
    EXPECT_EQ(visibleLevelImages(*button), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(tooltipText->text(), "Ready to use. Next level loading...");
    hammer().fillFor(30);
    EXPECT_EQ(hammer().level(), 1);
    hammer().fillFor(30);
    EXPECT_EQ(hammer().level(), 2);
    EXPECT_EQ(visibleLevelImages(*button), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(tooltipText->text(), "Ready to use.");
    hammer().fillFor(500);
    EXPECT_EQ(hammer().level(), 2);
    EXPECT_FLOAT_EQ(hammer().filling(), 0.0f);

    hammer().reset();
    EXPECT_EQ(hammer().level(), 0);
    hammer().fillFor(29);
    EXPECT_EQ(hammer().level(), 0);
}

TEST_F(PowerupTest, RemovedBallsOfTheSpeedUpLettersCharge) {
    buyHammerLevels(1);
    hammer().fillWith(u'a');
    EXPECT_FLOAT_EQ(hammer().filling(), 10.0f / 30.0f);
    hammer().fillWith(u'c');
    for (int i = 0; i < 3; ++i)
        hammer().fillWith(u'b');
    EXPECT_FLOAT_EQ(hammer().filling(), 25.0f / 30.0f);
    PowerupManager::currentPowerupManager().fillWith(u'b');
    EXPECT_EQ(hammer().level(), 1);
}

// Buying a level and selling it back for its price are also played through the shop's screen.
TEST_F(PowerupTest, ALevelWithoutAPriceIsNotForSaleAndDegradesRefundOnlyTheLevelsBought) {
    auto& player = addPlayer("Ada", 1000);
    hammer().upgrade();
    hammer().upgrade();
    EXPECT_EQ(player.tokens(), 970);
    EXPECT_EQ(hammer().maxLevelText()->stringValue(), "2");
    EXPECT_FALSE(hammer().canUpgrade());
    hammer().upgrade();
    EXPECT_EQ(hammer().maxLevel(), 2);
    for (int i = 0; i < 3; ++i)
        hammer().degrade();
    EXPECT_EQ(player.tokens(), 1000);
    EXPECT_EQ(hammer().maxLevel(), 0);
}

TEST_F(PowerupTest, PurchasesBelongToTheirProfile) {
    buyHammerLevels(1);
    PowerupManager::currentPowerupManager().save();
    auto& users = kt::KTUserManager::sharedManager();
    users.add("Brom");
    EXPECT_EQ(hammer().maxLevel(), 0);
    // A powerup the player has not bought never charges.
    hammer().fillFor(1000);
    hammer().fillWith(u'a');
    EXPECT_EQ(hammer().level(), 0);
    EXPECT_FLOAT_EQ(hammer().filling(), 0.0f);
    EXPECT_FALSE(PowerupManager::currentPowerupManager().canBuySomething());
    users.selectByName("Ada");
    EXPECT_EQ(hammer().maxLevel(), 1);
    EXPECT_EQ(users.selectedUser()->objectForKey("powerups")["hammer"]["maxLevel"].intValue(), 1);
    EXPECT_TRUE(PowerupManager::currentPowerupManager().canBuySomething());
}

}  // namespace
}  // namespace moonbrook

#include <gtest/gtest.h>

#include <set>

#include "engine/services/KTUser.h"
#include "game/progress/BonusManager.h"
#include "tests/game/GameContentTest.h"

namespace moonbrook {
namespace {

constexpr const char* kBonuses = R"(<?xml version="1.0"?><plist version="1.0"><dict>
<key>bomb</key><dict><key>price</key><integer>30</integer><key>match</key><integer>4</integer><key>type</key><string>f</string></dict>
<key>rocket</key><dict><key>price</key><integer>40</integer><key>match</key><integer>4</integer><key>type</key><string>g</string></dict>
<key>destroyer</key><dict><key>price</key><integer>60</integer><key>match</key><integer>6</integer><key>type</key><string>h</string></dict>
</dict></plist>)";

class BonusManagerTest : public test::GameContentTest {
protected:
    BonusManagerTest() { writeFile("data/bonuses.plist", kBonuses); }
    static BonusManager& bonuses() { return BonusManager::currentManager(); }
};

TEST_F(BonusManagerTest, BuyingAndSellingMoveTheFullPrice) {
    auto& player = addPlayer("Ada", 70);
    bonuses().buyBonus("bomb");
    bonuses().buyBonus("bomb");
    bonuses().buyBonus("ghost");
    EXPECT_EQ(player.tokens(), 40);
    EXPECT_TRUE(bonuses().currentUserHasBonus("bomb"));
    EXPECT_TRUE(bonuses().isEnoughMoneyToBuy("bomb"));
    EXPECT_FALSE(bonuses().isEnoughMoneyToBuy("destroyer"));
    EXPECT_FALSE(bonuses().isEnoughMoneyToBuy("ghost"));
    bonuses().buyBonus("destroyer");
    EXPECT_FALSE(bonuses().currentUserHasBonus("destroyer"));
    EXPECT_TRUE(bonuses().canBuySomething());  // the rocket
    bonuses().buyBonus("rocket");
    EXPECT_FALSE(bonuses().canBuySomething());

    bonuses().sellBonus("bomb");
    bonuses().sellBonus("bomb");
    EXPECT_EQ(player.tokens(), 30);
    EXPECT_EQ(player.objectForKey("bonuses").size(), 1u);
}

TEST_F(BonusManagerTest, ALongMatchGetsTheBonusOfTheLongestOwnedMatchUpToItsSize) {
    addPlayer("Ada", 1000);
    EXPECT_EQ(bonuses().getBonusTypeForMatch(6), u'0');
    bonuses().buyBonus("bomb");
    bonuses().buyBonus("destroyer");
    EXPECT_EQ(bonuses().getBonusTypeForMatch(5), u'f');
    EXPECT_EQ(bonuses().getBonusTypeForMatch(7), u'h');
    EXPECT_EQ(bonuses().getBonusTypeForMatch(3), u'0');

    // Two bonuses for matches of 4: either may come.
    bonuses().buyBonus("rocket");
    std::set<char16_t> seen;
    for (int i = 0; i < 40; ++i)
        seen.insert(bonuses().getBonusTypeForMatch(4));
    EXPECT_EQ(seen, (std::set<char16_t>{u'f', u'g'}));
}

TEST_F(BonusManagerTest, PaysWithTheChosenCurrency) {
    auto& player = addPlayer("Ada", 100);
    BonusManager::setResource("plates");
    player.setAmount(35, "plates");
    bonuses().buyBonus("bomb");
    BonusManager::setResource("tokens");
    EXPECT_EQ(player.amountOfResource("plates"), 5);
    EXPECT_EQ(player.tokens(), 100);
}

}  // namespace
}  // namespace moonbrook

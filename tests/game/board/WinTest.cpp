// When a level is won, and what a win gives the player and keeps in the profile.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/core/KTPlist.h"
#include "engine/render/KTText.h"
#include "engine/services/KTUser.h"
#include "engine/services/KTUserManager.h"
#include "game/board/Board.h"
#include "game/board/Cell.h"
#include "tests/game/board/BoardTest.h"

namespace moonbrook::test {
namespace {

class WinTest : public BoardTest {
protected:
    // Profiles start from nothing and the player does not outlive the test.
    WinTest() {
        kt::KTUserManager::resetSharedManager();
        for (const char* name : {"final_score", "final_gold", "final_tokens", "final_time", "bestLevelTime"})
            scene->addChild(kt::KTNode::node<kt::KTText>(), name);
        scene->addChild(turns, "turns");
        auto& users = kt::KTUserManager::sharedManager();
        users.add("Tester");
        users.selectByName("Tester");
        player().setTokens(5);
        player().setAmount(100, "plates");
    }
    ~WinTest() override { kt::KTUserManager::resetSharedManager(); }

    static kt::KTUser& player() { return *kt::KTUserManager::sharedManager().selectedUser(); }

    bool won() const { return board->pause() && !board->enabled(); }

    std::string text(std::string_view name) const { return hud(name)->text(); }

    std::shared_ptr<kt::KTNode> turns = kt::KTNode::node();
};

kt::KTPlist requestFor(const char* type, int count) {
    kt::KTPlist reqs = kt::KTPlist::emptyDictionary();
    reqs[type] = count;
    return reqs;
}

struct Condition {
    const char* name;
    std::vector<std::string> balls;
    std::vector<std::string> map;
    kt::KTPlist reqs;
    bool wins;
};

class WinConditionTest : public WinTest, public ::testing::WithParamInterface<Condition> {};

TEST_P(WinConditionTest, TheLevelIsWonOnlyWithoutTokensPlatesAndOpenRequests) {
    const Condition& c = GetParam();
    fill({.map = c.map, .balls = c.balls}, c.reqs);
    board->checkWin();
    EXPECT_EQ(won(), c.wins);
}

INSTANTIATE_TEST_SUITE_P(Conditions, WinConditionTest,
                         ::testing::Values(Condition{"AllDone", {"abc"}, {}, {}, true},
                                           Condition{"ATokenLeft", {"atc"}, {}, {}, false},
                                           Condition{"APlateLeft", {"abc"}, {"121"}, {}, false},
                                           Condition{"ATwoLayerPlateLeft", {"abc"}, {"113"}, {}, false},
                                           Condition{
                                               "AnOpenRequest", {"abc"}, {}, requestFor("a", 3), false}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST_F(WinTest, AWinFillsTheResultPanelRewardsThePlayerAndSavesTheProfiles) {
    // One plate (worth 1) and one token on the board; the shortcut clears both.
    fill({.map = {"121"}, .balls = {"atc"}});
    turns->addChild(kt::KTNode::node());
    board->instantWin();
    board->addScore(120);
    board->checkWin();
    ASSERT_TRUE(won());

    EXPECT_FALSE(turns->hasChildren());
    // The shortcut took the token as a removed ball: 10 points.
    EXPECT_EQ(text("final_score"), "130");
    EXPECT_EQ(text("final_gold"), "101");
    EXPECT_EQ(text("final_tokens"), "6");
    EXPECT_EQ(text("final_time"), "00:00");
    EXPECT_EQ(player().tokens(), 6);
    EXPECT_EQ(player().amountOfResource("plates"), 101);
    EXPECT_TRUE(player().objectForKey("levelResults")["test"].isNumber());
    // A won board does not win again.
    board->checkWin();
    EXPECT_EQ(player().tokens(), 6);
    EXPECT_EQ(player().amountOfResource("plates"), 101);

    // What was saved comes back after a restart.
    kt::KTUserManager::resetSharedManager();
    auto& reloaded = kt::KTUserManager::sharedManager();
    reloaded.selectByName("Tester");
    ASSERT_NE(reloaded.selectedUser(), nullptr);
    EXPECT_EQ(reloaded.selectedUser()->tokens(), 6);
    EXPECT_EQ(reloaded.selectedUser()->amountOfResource("plates"), 101);
}

TEST_F(WinTest, TheBestTimeIsKeptWhenSlowerAndReplacedWhenFaster) {
    struct Case {
        double stored;
        float expected;
    };
    // 110 frames of 1/60 s: a play time of about 1.83 s.
    for (const Case c : {Case{1.0, 1.0f}, Case{100.0, 110.0f / 60}}) {
        kt::KTPlist results = kt::KTPlist::emptyDictionary();
        results["test"] = c.stored;
        player().setObject(results, "levelResults");
        fill({.balls = {"abc"}});
        step(110);
        board->checkWin();
        ASSERT_TRUE(won());
        EXPECT_NEAR(player().objectForKey("levelResults")["test"].realValue(), c.expected, 0.05) << c.stored;
        EXPECT_EQ(text("bestLevelTime"), c.stored < 2 ? "00:01" : "00:02");
    }
}

TEST_F(WinTest, TheShortcutClearsPlatesCratesTokensAndRequests) {
    fill({.map = {"1332"}, .crates = {"0ws"}, .balls = {"atbt"}}, requestFor("b", 20));
    ASSERT_FALSE(board->reqsCollected());
    board->instantWin();
    EXPECT_FALSE(board->hasPlates());
    EXPECT_EQ(board->tokensCount(), 0);
    EXPECT_TRUE(board->reqsCollected());
    EXPECT_TRUE(board->cheat());
    for (int x = 0; x < 4; ++x)
        EXPECT_FALSE(board->cellAt(x, 0)->crate()) << x;
    board->checkWin();
    EXPECT_TRUE(won());
}

}  // namespace
}  // namespace moonbrook::test

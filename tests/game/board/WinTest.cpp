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
    }
    ~WinTest() override { kt::KTUserManager::resetSharedManager(); }

    static kt::KTUser& player() { return *kt::KTUserManager::sharedManager().selectedUser(); }

    bool won() const { return board->pause() && !board->enabled(); }

    std::string text(std::string_view name) const { return hud(name)->text(); }

    std::shared_ptr<kt::KTNode> turns = kt::KTNode::node();
};

// Tokens, plates of one or two layers and open requests each keep the level from being won.
TEST_F(WinTest, TheLevelIsWonOnlyWithoutTokensPlatesAndOpenRequests) {
    const struct {
        const char* name;
        std::vector<std::string> map;
        std::vector<std::string> balls;
        kt::KTPlist reqs;
        bool wins;
    } conditions[] = {{"a token left", {}, {"atc"}, {}, false},
                      {"a plate left", {"121"}, {"abc"}, {}, false},
                      {"a two-layer plate left", {"113"}, {"abc"}, {}, false},
                      {"an open request", {}, {"abc"}, kt::KTPlist(kt::KTPlist::Dictionary{{"a", 3}}), false},
                      {"all done", {}, {"abc"}, {}, true}};
    for (const auto& c : conditions) {
        SCOPED_TRACE(c.name);
        fill({.map = c.map, .balls = c.balls}, c.reqs);
        board->checkWin();
        EXPECT_EQ(won(), c.wins);
    }
}

// The level's best time is faster than this play: the panel shows this play's time and the kept best.
TEST_F(WinTest, AWinPaysTheTokensClearsTheHintsAndKeepsAFasterBestTime) {
    kt::KTPlist results = kt::KTPlist::emptyDictionary();
    results["test"] = 1.0;
    player().setObject(results, "levelResults");
    // One token on the board, above a cell; the shortcut takes it as a removed ball.
    fill({.balls = {"atc", "bca"}});
    turns->addChild(kt::KTNode::node());
    // 110 frames of 1/60 s: a play time of about 1.83 s.
    step(110);
    board->instantWin();
    board->checkWin();
    ASSERT_TRUE(won());

    EXPECT_FALSE(turns->hasChildren());
    EXPECT_EQ(text("final_tokens"), "6");
    EXPECT_EQ(player().tokens(), 6);
    EXPECT_EQ(text("final_time"), "00:02");
    EXPECT_EQ(text("bestLevelTime"), "00:01");
    EXPECT_DOUBLE_EQ(player().objectForKey("levelResults")["test"].realValue(), 1.0);
}

TEST_F(WinTest, TheShortcutClearsPlatesCratesTokensAndRequests) {
    fill({.map = {"1332"}, .crates = {"0ws"}, .balls = {"atbt"}},
         kt::KTPlist(kt::KTPlist::Dictionary{{"b", 20}}));
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

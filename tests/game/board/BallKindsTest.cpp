// The ball classes behind the letters: the generator's choices, placeholders, bombs, rockets, colour
// destroyers, diamonds, tokens and the wildcard.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "engine/core/KTDataSource.h"
#include "game/board/Ball.h"
#include "game/board/BallGenerator.h"
#include "game/board/BallKinds.h"
#include "game/board/Board.h"
#include "game/board/Cell.h"
#include "game/board/GameBoardController.h"
#include "tests/game/board/BoardTest.h"

namespace moonbrook::test {
namespace {

using kt::KTPlist;

class BallKindsTest : public BoardTest {
protected:
    std::shared_ptr<Ball> ball(char16_t type) const { return board->generateBallOfType(type); }
    // Puts the ball into the cell and answers it.
    std::shared_ptr<Ball> place(int x, int y, std::shared_ptr<Ball> placed) const {
        board->cellAt(x, y)->setBall(placed);
        return placed;
    }
};

TEST_F(BallKindsTest, GeneratorDrawsLettersByWeightAndNothingWithoutAWeightAboveZero) {
    makeBoard({.map = {"1"}});
    BallGenerator generator(board, KTPlist(KTPlist::Dictionary{{"a", 0.35}, {"b", 0.1}, {"c", 0}, {"d", -1}}),
                            {});
    std::map<char16_t, int> drawn;
    for (int i = 0; i < 5000; ++i)
        ++drawn[generator.generateBall()->type()];
    // 0.35 gives four entries and 0.1 one; nothing at or below 0.
    EXPECT_EQ(drawn.size(), 2u);
    EXPECT_NEAR(drawn[u'a'] / 5000.0, 0.8, 0.03);
    EXPECT_NEAR(drawn[u'b'] / 5000.0, 0.2, 0.03);
    // A damaged weight too large to count, or infinite, is held to a bound instead of filling the memory.
    BallGenerator damaged(board, KTPlist(KTPlist::Dictionary{{"a", 1e300}, {"b", HUGE_VAL}, {"c", NAN}}), {});
    const char16_t letter = damaged.generateBall()->type();
    EXPECT_TRUE(letter == u'a' || letter == u'b');
    EXPECT_EQ(BallGenerator(board, {}, {}).generateBall(), nullptr);
    EXPECT_EQ(BallGenerator(board, KTPlist(KTPlist::Dictionary{{"a", 0}}), {}).generateBall(), nullptr);
}

// The board's play time lets the delayed letter in; a restart holds it back again. The plate keeps the level
// from being won, which would stop the play time.
TEST_F(BallKindsTest, ADelayedLetterComesInOnceThePlayTimeHasPassedItsDelay) {
    makeBoard({.map = {"3"}}, KTPlist(KTPlist::Dictionary{{"a", 0.5}, {"bx", 0.5}}),
              KTPlist(KTPlist::Dictionary{{"bx", 20}}));
    const auto letters = [this] {
        std::map<char16_t, int> drawn;
        for (int i = 0; i < 400; ++i)
            ++drawn[board->generateBall()->type()];
        return drawn;
    };
    step(79, 0.25f);
    EXPECT_EQ(letters().size(), 1u);
    step(1, 0.25f);
    const auto both = letters();
    ASSERT_EQ(both.size(), 2u);
    EXPECT_NEAR(both.at(u'b') / 400.0, 0.5, 0.1) << "a key's first character is the letter";
    board->reset();
    EXPECT_EQ(letters().count(u'b'), 0u);
    // With its only letter still delayed, a generator gives nothing.
    BallGenerator delayed(board, KTPlist(KTPlist::Dictionary{{"a", 1}}),
                          KTPlist(KTPlist::Dictionary{{"a", 5}}));
    EXPECT_EQ(delayed.generateBall(), nullptr);
}

// Ordinary letters match themselves; the wildcard matches ordinary letters from either side but not itself.
// Lines of ordinary letters with and without the wildcard are checked with the matching.
TEST_F(BallKindsTest, TheWildcardMatchesOrdinaryLettersButNotItselfOrSpecialBalls) {
    makeBoard({.map = {"1"}});
    const std::tuple<char16_t, char16_t, bool> pairs[] = {
        {u'a', u'b', false}, {u'e', u'i', true},  {u'i', u'e', true}, {u'i', u'i', false},
        {u'f', u'i', false}, {u'i', u'f', false}, {u'z', u'z', true}, {u'z', u'i', false},
        {u'q', u'q', false}, {u't', u't', false}, {u'0', u'0', false}};
    for (const auto& [asked, other, matches] : pairs)
        EXPECT_EQ(ball(asked)->matchWith(*ball(other)), matches)
            << static_cast<char>(asked) << static_cast<char>(other);
}

TEST_F(BallKindsTest, GhostBlocksItsCellForItsLifeThenLetsTheBallAboveFallIn) {
    makeBoard({.map = {"1", "1"}, .balls = {"a", "b"}});
    ASSERT_TRUE(settle());
    const auto ghost = std::static_pointer_cast<Ghost>(place(0, 1, ball(u'0')));
    EXPECT_TRUE(ghost->moving());
    EXPECT_EQ(board->movingCount(), 0);
    EXPECT_FALSE(board->idle());
    stepFor(0.5f);
    EXPECT_EQ(board->cellAt(0, 1)->ball(), ghost);
    EXPECT_EQ(rows(0, 1), (std::vector<std::string>{"a", "."}));
    ASSERT_TRUE(settle());
    EXPECT_LE(ghost->life(), 0);
    EXPECT_EQ(ghost->parent(), nullptr);
    EXPECT_EQ(rows(0, 1), (std::vector<std::string>{".", "a"}));
}

// The generator makes rocket balls of these letters; their rockets leave in the letter's directions, in this
// order, and the rocket ball itself goes.
struct RocketCase {
    char16_t letter;
    std::vector<std::pair<int, int>> directions;
};

class RocketBallTest : public BallKindsTest, public ::testing::WithParamInterface<RocketCase> {};

TEST_P(RocketBallTest, FiresItsRockets) {
    makeBoard({.map = {"111", "111", "111"}, .balls = {"abc", "cdb", "bca"}});
    ASSERT_TRUE(settle());
    const auto rocketBall = place(1, 1, ball(GetParam().letter));
    EXPECT_TRUE(rocketBall->canDetonate());
    rocketBall->detonate();
    std::vector<std::pair<int, int>> directions;
    for (Rocket rocket : board->rockets()) {
        EXPECT_EQ(rocket.x(), 1);
        EXPECT_EQ(rocket.y(), 1);
        rocket.step();
        directions.emplace_back(rocket.x() - 1, rocket.y() - 1);
    }
    EXPECT_EQ(directions, GetParam().directions);
    EXPECT_TRUE(board->cellAt(1, 1)->removeFlag());
    // Set off again in the same cascade, it fires nothing more.
    rocketBall->detonate();
    EXPECT_EQ(board->rockets().size(), GetParam().directions.size());
}

INSTANTIATE_TEST_SUITE_P(Letters, RocketBallTest,
                         ::testing::Values(RocketCase{u'j', {{1, 0}}}, RocketCase{u'k', {{-1, 0}}},
                                           RocketCase{u'l', {{0, 1}, {0, -1}}},
                                           RocketCase{u'm', {{-1, -1}, {1, 1}}}),
                         [](const auto& test) {
                             return std::string(1, static_cast<char>(test.param.letter));
                         });

TEST_F(BallKindsTest, ColorDestroyerRemovesThePartnersColourAroundItselfOnlyWhenSwapped) {
    makeBoard({.map = {"1111111"}, .balls = {"bnbcacb"}});
    ASSERT_TRUE(settle());
    const auto destroyer = board->cellAt(1, 0)->ball();
    ASSERT_TRUE(destroyer->canDetonate());
    // Caught in a removal it has no effect of its own.
    destroyer->detonate();
    EXPECT_FALSE(board->cellAt(1, 0)->removeFlag());
    EXPECT_EQ(rows(0, 0), std::vector<std::string>{"bnbcacb"});

    const auto partner = board->cellAt(6, 0)->ball();
    destroyer->detonateWith(*partner);
    // The colour leaves with a lightning that jumps from ball to ball.
    stepFor(2);
    ASSERT_TRUE(settle());
    // Level 1 of the colour powerup reaches one cell around the destroyer.
    EXPECT_EQ(rows(0, 0), std::vector<std::string>{"...cacb"});
}

// A diamond that comes to rest on the lowest cell of its column is collected for its points; a diamond or a
// token above a cell stays.
// A diamond that comes to rest on the lower edge of the field is collected for its points.
struct DiamondCase {
    char16_t letter;
    unsigned points;
};

class DiamondTest : public BallKindsTest, public ::testing::WithParamInterface<DiamondCase> {};

TEST_P(DiamondTest, CollectedOnTheLastRow) {
    makeBoard({.map = {"1", "1", "1"}, .balls = {std::string(1, static_cast<char>(GetParam().letter))}});
    ASSERT_TRUE(settle());
    EXPECT_EQ(rows(0, 2), (std::vector<std::string>{".", ".", "."}));
    // The diamond's own value and the points of any removed ball.
    EXPECT_EQ(board->score(), GetParam().points + 10);
}

INSTANTIATE_TEST_SUITE_P(Letters, DiamondTest,
                         ::testing::Values(DiamondCase{u'q', 500}, DiamondCase{u'r', 1000},
                                           DiamondCase{u's', 2500}));

TEST_F(BallKindsTest, DiamondAboveAHoleInTheOutlineIsCollectedAndAboveACellADiamondOrATokenStays) {
    makeBoard({.map = {"111", "111", "011"}, .balls = {"qqt", "000", "0aa"}});
    ASSERT_TRUE(settle());
    EXPECT_EQ(rows(0, 2), (std::vector<std::string>{"...", ".qt", " aa"}));
    EXPECT_EQ(board->score(), 510u);
    EXPECT_EQ(board->tokensCount(), 1);
}

TEST_F(BallKindsTest, DiamondSetOffTwiceScoresOnce) {
    makeBoard({.map = {"11", "11"}, .balls = {"ab", "rc"}});
    const auto diamond = board->cellAt(0, 1)->ball();
    const unsigned before = board->score();
    diamond->detonate();
    diamond->detonate();
    EXPECT_EQ(board->score(), before + 1010);
    EXPECT_NE(board->cellAt(0, 1)->ball(), diamond);
}

TEST_F(BallKindsTest, TokenOnTheLastRowLeavesTheBoardAndCountsForThePlayerInTheHud) {
    makeBoard({.map = {"1", "1"}, .balls = {"t"}});
    EXPECT_EQ(board->tokensCount(), 1);
    EXPECT_EQ(board->initialTokensCount(), 1);
    const auto controller = GameBoardController::shared();
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(controller->tokensCount()->numberValue(), 0);
    ASSERT_TRUE(settle());
    EXPECT_EQ(rows(0, 1), (std::vector<std::string>{".", "."}));
    EXPECT_EQ(board->tokensCount(), 0);
    EXPECT_EQ(presentation->shownTokens(), 1);
    EXPECT_EQ(controller->tokensCount()->numberValue(), 1);
}

}  // namespace
}  // namespace moonbrook::test

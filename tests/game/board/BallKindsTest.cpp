// The ball classes behind the letters: the generator's choices, placeholders, bombs, rockets, colour
// destroyers, diamonds, tokens and the wildcard.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
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
    template <typename T>
    std::shared_ptr<T> made(char16_t type) const {
        auto made = std::make_shared<T>();
        made->init(board, type);
        return made;
    }
    // Puts the ball into the cell and answers it.
    std::shared_ptr<Ball> place(int x, int y, std::shared_ptr<Ball> placed) const {
        board->cellAt(x, y)->setBall(placed);
        return placed;
    }
};

// The letter decides the class; letters without a class of their own make plain balls.
struct LetterCase {
    char16_t letter;
    const char* className;
};

class LetterClassTest : public BallKindsTest, public ::testing::WithParamInterface<LetterCase> {};

TEST_P(LetterClassTest, GeneratorBuildsTheClassOfTheLetter) {
    makeBoard({.map = {"1"}});
    const auto made = ball(GetParam().letter);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->className(), GetParam().className);
    EXPECT_EQ(made->type(), GetParam().letter);
    EXPECT_FALSE(made->enabled());
    EXPECT_EQ(board->tokensCount(), GetParam().letter == u't' ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Letters, LetterClassTest,
    ::testing::Values(LetterCase{u'a', "Ball"}, LetterCase{u'e', "Ball"}, LetterCase{u'z', "Ball"},
                      LetterCase{u'0', "Ghost"}, LetterCase{u'f', "Bomb"}, LetterCase{u'g', "Bomb"},
                      LetterCase{u'h', "Bomb"}, LetterCase{u'i', "Hameleon"}, LetterCase{u'j', "RocketBall"},
                      LetterCase{u'm', "RocketBall"}, LetterCase{u'n', "ColorDestroyer"},
                      LetterCase{u'p', "ColorDestroyer"}, LetterCase{u'q', "Diamond"},
                      LetterCase{u's', "Diamond"}, LetterCase{u't', "Token"}),
    [](const auto& test) { return std::string(1, static_cast<char>(test.param.letter)); });

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

TEST_F(BallKindsTest, GeneratorLetsADelayedLetterInOnlyAfterItsDelay) {
    makeBoard({.map = {"1"}});
    BallGenerator generator(board, KTPlist(KTPlist::Dictionary{{"a", 0.5}, {"bx", 0.5}}),
                            KTPlist(KTPlist::Dictionary{{"bx", 20}}));
    const auto letters = [&generator] {
        std::map<char16_t, int> drawn;
        for (int i = 0; i < 400; ++i)
            ++drawn[generator.generateBall()->type()];
        return drawn;
    };
    generator.setPlayTime(19.9f);
    EXPECT_EQ(letters().size(), 1u);
    generator.setPlayTime(20);
    const auto both = letters();
    ASSERT_EQ(both.size(), 2u);
    EXPECT_NEAR(both.at(u'b') / 400.0, 0.5, 0.1) << "a key's first character is the letter";
    generator.reset();
    EXPECT_EQ(letters().count(u'b'), 0u);
    // With its only letter still delayed, a generator gives nothing.
    BallGenerator delayed(board, KTPlist(KTPlist::Dictionary{{"a", 1}}),
                          KTPlist(KTPlist::Dictionary{{"a", 5}}));
    EXPECT_EQ(delayed.generateBall(), nullptr);
}

// Ordinary letters match themselves; the wildcard matches ordinary letters from either side but not itself.
struct MatchCase {
    char16_t asked;
    char16_t other;
    bool matches;
};

class MatchTest : public BallKindsTest, public ::testing::WithParamInterface<MatchCase> {};

TEST_P(MatchTest, MatchWith) {
    makeBoard({.map = {"1"}});
    EXPECT_EQ(ball(GetParam().asked)->matchWith(*ball(GetParam().other)), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(Pairs, MatchTest,
                         ::testing::Values(MatchCase{u'a', u'a', true}, MatchCase{u'a', u'b', false},
                                           MatchCase{u'a', u'i', true}, MatchCase{u'i', u'a', true},
                                           MatchCase{u'e', u'i', true}, MatchCase{u'i', u'e', true},
                                           MatchCase{u'i', u'i', false}, MatchCase{u'f', u'i', false},
                                           MatchCase{u'i', u'f', false}, MatchCase{u'z', u'z', true},
                                           MatchCase{u'z', u'i', false}, MatchCase{u'f', u'f', false},
                                           MatchCase{u'q', u'q', false}, MatchCase{u't', u't', false},
                                           MatchCase{u'0', u'0', false}));

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

// Rockets leave in the letter's directions, in this order; the rocket ball itself goes.
struct RocketCase {
    char16_t letter;
    std::vector<std::pair<int, int>> directions;
};

class RocketBallTest : public BallKindsTest, public ::testing::WithParamInterface<RocketCase> {};

TEST_P(RocketBallTest, FiresItsRockets) {
    makeBoard({.map = {"111", "111", "111"}, .balls = {"abc", "cdb", "bca"}});
    ASSERT_TRUE(settle());
    const auto rocketBall = place(1, 1, made<RocketBall>(GetParam().letter));
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
                                           RocketCase{u'm', {{-1, -1}, {1, 1}}}, RocketCase{u'x', {}}),
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

TEST_F(BallKindsTest, DiamondAboveAHoleInTheOutlineIsCollectedAndAboveACellStays) {
    makeBoard({.map = {"11", "11", "01"}, .balls = {"qq", "00", "0a"}});
    ASSERT_TRUE(settle());
    EXPECT_EQ(rows(0, 2), (std::vector<std::string>{"..", ".q", " a"}));
    EXPECT_EQ(board->score(), 510u);
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
    EXPECT_EQ(controller->board(), board);
    EXPECT_EQ(controller->levelName()->stringValue(), "1");
    EXPECT_EQ(controller->tokensCount()->numberValue(), 0);
    ASSERT_TRUE(settle());
    EXPECT_EQ(rows(0, 1), (std::vector<std::string>{".", "."}));
    EXPECT_EQ(board->tokensCount(), 0);
    EXPECT_EQ(presentation->shownTokens(), 1);
    EXPECT_EQ(controller->tokensCount()->numberValue(), 1);
}

TEST_F(BallKindsTest, TokenAboveACellStaysAndResistsRemoval) {
    makeBoard({.map = {"1", "1", "1"}, .balls = {"t", "0", "a"}});
    ASSERT_TRUE(settle());
    EXPECT_EQ(rows(0, 2), (std::vector<std::string>{".", "t", "a"}));
    board->removeBallAt(board->cellAt(0, 1));
    board->finalizeRemove();
    EXPECT_EQ(rows(1, 1), std::vector<std::string>{"t"});
    EXPECT_EQ(board->tokensCount(), 1);
}

}  // namespace
}  // namespace moonbrook::test

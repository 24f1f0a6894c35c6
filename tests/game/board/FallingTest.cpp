// Balls falling straight and diagonally, emitters refilling the field and the paused board.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "game/board/Ball.h"
#include "game/board/Board.h"
#include "game/board/Cell.h"
#include "tests/game/board/BoardTest.h"

namespace moonbrook::test {
namespace {

// A plated cell of its own in the far corner, where no line can reach it: the level cannot be won, so the
// board never ends it and pauses itself while a test watches balls fall.
BoardTest::Layers unwinnable(BoardTest::Layers layers) {
    const auto place = [](std::vector<std::string>& rows, char letter) {
        rows.resize(kSizeY);
        rows.back().resize(kSizeX, '0');
        rows.back().back() = letter;
    };
    place(layers.map, '3');
    place(layers.balls, 'b');
    return layers;
}

class FallingTest : public BoardTest {
protected:
    std::shared_ptr<Board> build(const Layers& layers, kt::KTPlist probs = {}, kt::KTPlist delays = {}) {
        return makeBoard(unwinnable(layers), std::move(probs), std::move(delays));
    }
    // Removes the balls as a line removal would, placeholders included.
    void removeBalls(std::initializer_list<kt::KTPosition> positions) {
        for (const auto& at : positions)
            board->removeBallAt(cell(at.x, at.y));
        board->finalizeRemove();
    }

    // Balls in flight that are still fading in: they have just left an emitter.
    int ballsFadingIn() const {
        int fading = 0;
        for (const auto& child : board->children()) {
            if (std::dynamic_pointer_cast<Ball>(child) && child->color().alpha() < 0xFF) ++fading;
        }
        return fading;
    }
};

// A gap under a locked ball is filled from the side only when nothing can come from straight above.
struct SideFill {
    const char* name;
    std::vector<std::string> locks;
    std::vector<std::string> settled;
};

class SideFillTest : public FallingTest, public ::testing::WithParamInterface<SideFill> {};

TEST_P(SideFillTest, AtLevelStart) {
    build({.map = {"111", "111", "111"}, .locks = GetParam().locks, .balls = {"dae", "b0c", "bdc"}});
    ASSERT_TRUE(settle());
    EXPECT_EQ(rows(0, 2), GetParam().settled);
}

TEST_P(SideFillTest, DuringPlay) {
    build({.map = {"111", "111", "111"}, .locks = GetParam().locks, .balls = {"dae", "bec", "bdc"}});
    ASSERT_TRUE(settle());
    removeBalls({{1, 1}});
    ASSERT_TRUE(settle());
    EXPECT_EQ(rows(0, 2), GetParam().settled);
}

INSTANTIATE_TEST_SUITE_P(Gaps, SideFillTest,
                         ::testing::Values(SideFill{"underALock", {"010"}, {".ae", "bdc", "bdc"}},
                                           SideFill{"underAFreeBall", {}, {"d.e", "bac", "bdc"}}),
                         [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(FallingTest, CheckUpLooksThroughEmptyCellsToTheFirstObstacle) {
    build({.map = {"1", "1", "1", "1"}});
    ASSERT_TRUE(settle());
    const kt::KTPosition bottom{0, 3};
    EXPECT_FALSE(board->checkUp(bottom));

    cell(0, 0)->setBall(board->generateBallOfType(u'a'));
    EXPECT_TRUE(board->checkUp(bottom));
    EXPECT_FALSE(board->checkUp({0, 0}));
    cell(0, 1)->setLocked(true);
    EXPECT_FALSE(board->checkUp(bottom));
    cell(0, 1)->setLocked(false);
    cell(0, 2)->setCrateType(u'w');
    EXPECT_FALSE(board->checkUp(bottom));
    cell(0, 2)->setCrateLevel(0);
    EXPECT_TRUE(board->checkUp(bottom));

    build({.map = {"0", "1", "0", "1"}, .emitters = {"1"}});
    EXPECT_FALSE(board->checkUp({0, 3}));
    EXPECT_TRUE(board->checkUp({0, 1}));
}

TEST_F(FallingTest, AnEmitterLetsOutOneFadingBallAtATime) {
    build({.map = {"0", "1", "1"}, .emitters = {"1"}}, kt::KTPlist(kt::KTPlist::Dictionary{{"a", 1}}));
    ASSERT_TRUE(settle());
    EXPECT_EQ(rows(1, 2), (std::vector<std::string>{"a", "a"}));
    // The next ball waits inside the emitter until the cell below is free.
    const CellRef emitter = board->gridEntryAt(0, 0);
    ASSERT_NE(emitter->ball(), nullptr);

    removeBalls({{0, 2}});
    int mostFading = 0;
    for (int frame = 0; frame < 120; ++frame) {
        step();
        mostFading = std::max(mostFading, ballsFadingIn());
    }
    EXPECT_EQ(mostFading, 1);
    ASSERT_TRUE(settle());
    EXPECT_EQ(rows(1, 2), (std::vector<std::string>{"a", "a"}));
    EXPECT_EQ(cell(0, 1)->ball()->color(), kt::kColorWhite);
    EXPECT_EQ(cell(0, 2)->ball()->color(), kt::kColorWhite);
}

TEST_F(FallingTest, APausedBoardStandsStillButRunsAPendingLineCheck) {
    build({.map = {"111", "111", "111"}, .balls = {"bcd", "cdb", "aaa"}});
    board->setPause(true);
    board->delayedRemoveLines();
    step();
    EXPECT_EQ(board->score(), 30u);

    stepFor(1);
    EXPECT_EQ(rows(0, 2), (std::vector<std::string>{"bcd", "cdb", "..."}));
    EXPECT_EQ(board->playTime(), 0.0f);

    board->setPause(false);
    ASSERT_TRUE(settle());
    EXPECT_EQ(rows(0, 2), (std::vector<std::string>{"...", "bcd", "cdb"}));
    EXPECT_GT(board->playTime(), 0.0f);
}

TEST_F(FallingTest, RestartingRebuildsTheLevelAndKeepsTheMovingCounterAtZeroEvenWhileABallFalls) {
    build({.map = {"1", "1"}, .balls = {"a", "b"}});
    board->addScore(40);
    removeBalls({{0, 1}});
    for (int frame = 0; frame < 60 && board->movingCount() == 0; ++frame)
        step();
    ASSERT_EQ(board->movingCount(), 1);

    board->reset();
    step(30);
    EXPECT_EQ(board->movingCount(), 0);
    EXPECT_EQ(rows(0, 1), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(board->score(), 0u);
}

}  // namespace
}  // namespace moonbrook::test

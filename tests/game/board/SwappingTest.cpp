// The player's side of the board: clicks and drags, swaps judged and played back, turn search and rockets.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/core/KTFormat.h"
#include "engine/core/KTScene.h"
#include "game/board/Ball.h"
#include "game/board/Board.h"
#include "game/board/Cell.h"
#include "tests/game/board/BoardTest.h"

namespace moonbrook::test {
namespace {

class SwappingTest : public BoardTest {
protected:
    // The hint layer sits apart from the board and the marker at the scene's origin, so that a position
    // taken in the wrong space shows.
    SwappingTest() {
        auto turns = kt::KTNode::node();
        turns->setPosition({30, 40});
        scene->addChild(turns, "turns");
        scene->addChild(kt::KTNode::node(), "selection_marker");
    }

    std::shared_ptr<Board> build(Layers layers) {
        fill(std::move(layers));
        // The pointer reaches the board through its holder.
        holder->setSize(board->size());
        return board;
    }

    // Through the scene, as the window delivers it: the pointer moves onto the cell's centre, then presses.
    void press(int x, int y) {
        const kt::CGPoint at = cell(x, y)->absoluteCenter();
        scene->mouseMove(at);
        scene->buttonDown(kt::msLeft, at);
    }
    void release(kt::CGPoint at) { scene->buttonUp(kt::msLeft, at); }
    void click(int x, int y) {
        press(x, y);
        release(cell(x, y)->absoluteCenter());
    }
    void drag(int x, int y, float dx, float dy) {
        press(x, y);
        const kt::CGPoint to = kt::CGPointAdd(cell(x, y)->absoluteCenter(), {dx, dy});
        scene->mouseMove(to);
        release(to);
    }
};

// --- Clicks ---

// A click on a neighbour swaps, as the swaps judged below show.
TEST_F(SwappingTest, ClickSelectsAFarClickMovesTheSelectionAndASecondClickDeselectsWithTheMarkerFollowing) {
    build({.balls = {"abc", "bca", "cab"}});
    click(0, 0);
    click(1, 1);
    EXPECT_EQ(board->selected(), cell(1, 1));
    EXPECT_FALSE(cell(0, 0)->ball()->selected());
    EXPECT_TRUE(cell(1, 1)->ball()->selected());
    EXPECT_EQ(board->movingCount(), 0);
    const auto marker = hud("selection_marker");
    ASSERT_NE(marker, nullptr);
    EXPECT_TRUE(marker->visible());
    EXPECT_EQ(marker->absolutePosition(), cell(1, 1)->absolutePosition());

    click(1, 1);
    EXPECT_EQ(board->selected(), nullptr);
    EXPECT_FALSE(cell(1, 1)->ball()->selected());
    EXPECT_FALSE(marker->visible());
    EXPECT_EQ(scene->mouseFocus(), nullptr);
}

TEST_F(SwappingTest, SecondClickOnASpecialBallSetsItOff) {
    build({.balls = {"abc", "bfa", "cab"}});
    const auto bomb = cell(1, 1)->ball();
    click(1, 1);
    EXPECT_FALSE(bomb->detonated());
    click(1, 1);
    EXPECT_TRUE(bomb->detonated());
    EXPECT_EQ(row(1), "...");
}

TEST_F(SwappingTest, LockedCellPlaysItsSoundAndNothingElse) {
    build({.locks = {"000", "010"}, .balls = {"abc", "bca"}});
    click(0, 1);
    const std::size_t before = board->children().count();
    click(1, 1);
    EXPECT_EQ(effectSounds(*board, before), std::vector<std::string>{"data/sounds/click_lock.ogg"});
    EXPECT_EQ(board->selected(), cell(0, 1));
    EXPECT_EQ(board->movingCount(), 0);
}

// Clicks the board takes no notice of: no selection, no focus, no effect. The board has an emitter over its
// middle column; the clicks go to the middle cell below it, or to the emitter.
struct IgnoredClick {
    const char* name;
    void (*prepare)(Board& board);
    int y = 1;
};

class IgnoredClickTest : public SwappingTest, public ::testing::WithParamInterface<IgnoredClick> {};

TEST_P(IgnoredClickTest, LeavesTheBoardAsItWas) {
    build({.map = {"000"}, .emitters = {"010"}, .balls = {"", "abc", "bca"}});
    ASSERT_TRUE(settle());
    GetParam().prepare(*board);
    const CellRef clicked = board->gridEntryAt(1, GetParam().y);
    ASSERT_NE(clicked, nullptr);
    const std::size_t before = board->children().count();

    clicked->buttonDown(kt::msLeft, clicked->center());

    EXPECT_EQ(board->selected(), nullptr);
    EXPECT_EQ(scene->mouseFocus(), nullptr);
    EXPECT_EQ(board->children().count(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Clicks, IgnoredClickTest,
    ::testing::Values(IgnoredClick{"paused", [](Board& b) { b.setPause(true); }},
                      IgnoredClick{"placeholder",
                                   [](Board& b) { b.cellAt(1, 1)->setBall(b.generateBallOfType(u'0')); }},
                      IgnoredClick{"target", [](Board& b) { b.cellAt(1, 1)->setTarget(true); }},
                      IgnoredClick{"empty", [](Board& b) { b.cellAt(1, 1)->setBall(nullptr); }},
                      IgnoredClick{"crate", [](Board& b) { b.cellAt(1, 1)->setCrateType(u'w'); }},
                      IgnoredClick{"emitter", [](Board&) {}, 0}),
    [](const auto& tested) { return std::string(tested.param.name); });

// What a click in a powerup mode does to the board is checked with the powerups.
TEST_F(SwappingTest, PowerupModesTakeTheClickInsteadOfTheSelection) {
    build({.crates = {"w00"}, .balls = {"abc", "bfa"}});
    cell(0, 0)->setBall(nullptr);

    // The hammer also takes an empty crate, and the click ends the mode.
    board->setClickMode(ClickMode::hammer);
    click(0, 0);
    EXPECT_EQ(board->clickMode(), ClickMode::normal);
    EXPECT_EQ(board->selected(), nullptr);
    EXPECT_EQ(scene->mouseFocus(), nullptr);
}

TEST_F(SwappingTest, TheNoMoveNoticeShowsAfterTheHintDelayAndGoesWithTheFirstMove) {
    build({.balls = {"aab", "cdc"}});
    stepFor(1);
    EXPECT_FALSE(board->noMoveNoticeShown());
    stepFor(kHintTime);
    EXPECT_TRUE(board->noMoveNoticeShown());
    // An "a" under the "b": swapping the two makes the top row a line.
    cell(2, 1)->setBall(board->generateBallOfType(u'a'));
    step();
    EXPECT_FALSE(board->noMoveNoticeShown());
}

// --- Drags ---

struct Drag {
    float dx;
    float dy;
    int toX;  // -1: no swap
    int toY;
};

TEST_F(SwappingTest, DragFromTheMiddleCellSwapsWithTheNeighbourPastAFifthOfACell) {
    for (const Drag& drag : {Drag{10, 9, 2, 1}, Drag{9, 10, 1, 2}, Drag{5, 5, -1, -1}, Drag{-10, 9, 0, 1},
                             Drag{-9, -10, 1, 0}, Drag{9, 0, -1, -1}}) {
        SCOPED_TRACE(::testing::Message() << "drag " << drag.dx << ", " << drag.dy);
        build({.balls = {"abc", "bca", "cab"}});
        this->drag(1, 1, drag.dx, drag.dy);
        if (drag.toX < 0) {
            EXPECT_EQ(board->movingCount(), 0);
            EXPECT_EQ(board->selected(), cell(1, 1));
        } else {
            EXPECT_EQ(board->movingCount(), 2);
            EXPECT_FALSE(cell(1, 1)->enabled());
            EXPECT_FALSE(cell(drag.toX, drag.toY)->enabled());
        }
    }
}

// --- Swaps judged on the model ---

struct SwapCase {
    const char* name;
    std::vector<std::string> balls;
    int ax, ay, bx, by;
    bool resultative;
    std::vector<std::string> after;
};

class SwapJudgementTest : public SwappingTest, public ::testing::WithParamInterface<SwapCase> {};

TEST_P(SwapJudgementTest, StandsOrIsPlayedBack) {
    const SwapCase& swap = GetParam();
    build({.balls = swap.balls});
    const int width = static_cast<int>(swap.balls.front().size());
    click(swap.ax, swap.ay);
    click(swap.bx, swap.by);
    ASSERT_EQ(board->movingCount(), 2);

    // One move's time: a swap that stands has landed and been judged.
    stepFor(kSwitchTime + 3.0f / 60);
    EXPECT_EQ(board->movingCount(), swap.resultative ? 0 : 2);
    EXPECT_EQ(board->score() > 0, swap.resultative);

    ASSERT_TRUE(settle());
    EXPECT_EQ(board->movingCount(), 0);
    EXPECT_EQ(rows(0, static_cast<int>(swap.after.size()) - 1), swap.after);
    for (int y = 0; y < static_cast<int>(swap.balls.size()); ++y) {
        for (int x = 0; x < width; ++x) {
            const CellRef at = cell(x, y);
            EXPECT_TRUE(at->enabled()) << x << "," << y;
            if (at->ball()) {
                EXPECT_EQ(at->ball()->parent(), at.get());
            }
        }
    }
    if (!swap.resultative) {
        EXPECT_EQ(board->score(), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Swaps, SwapJudgementTest,
    ::testing::Values(SwapCase{"line_in_a_row", {"abaa"}, 0, 0, 1, 0, true, {"b..."}},
                      SwapCase{
                          "line_across_a_vertical_move", {"aca", "bab"}, 1, 1, 1, 0, true, {"...", "bcb"}},
                      SwapCase{"no_line", {"abab"}, 0, 0, 1, 0, false, {"abab"}},
                      SwapCase{"same_colour", {"aaba"}, 0, 0, 1, 0, false, {"aaba"}},
                      SwapCase{"bomb_without_line", {"afab"}, 1, 0, 2, 0, true, {"a..."}}),
    [](const auto& tested) { return std::string(tested.param.name); });

// --- Turn search and hints ---

// The turns as "x,y>x,y": the cell, then the neighbour it swaps with.
std::vector<std::string> describe(const std::vector<Turn>& turns) {
    std::vector<std::string> text;
    for (const Turn& turn : turns)
        text.push_back(kt::KTFormat("%i,%i>%i,%i", turn.cell->x(), turn.cell->y(), turn.neighbour->x(),
                                    turn.neighbour->y()));
    return text;
}

TEST_F(SwappingTest, AllTurnsComeColumnByColumnWithNeighboursBelowAboveRightLeft) {
    build({.balls = {"bac", "aba", "cae"}});
    EXPECT_EQ(describe(board->findAllTurns()),
              (std::vector<std::string>{"1,1>1,2", "1,1>1,0", "1,1>2,1", "1,1>0,1"}));

    const auto layer = hud("turns");
    ASSERT_NE(layer, nullptr);
    board->findTurns();
    EXPECT_EQ(layer->children().count(), 8u);
    board->findTurn();
    ASSERT_EQ(layer->children().count(), 2u);
    EXPECT_EQ(layer->firstChild()->absolutePosition(), cell(1, 1)->absolutePosition());

    click(0, 0);
    EXPECT_EQ(layer->children().count(), 0u);

    // A lock on the only ball that can move leaves no turn.
    build({.locks = {"000", "010"}, .balls = {"bac", "aba", "cae"}});
    EXPECT_TRUE(board->findAllTurns().empty());
}

TEST_F(SwappingTest, HintNeverOffersAMoveThatOnlyLengthensALineAlongItself) {
    // Moving (3,0) left makes "aaa" in the top row, along the move.
    build({.balls = {"aaba", "cdec"}});
    EXPECT_TRUE(board->findAllTurns().empty());
    board->findTurn();
    EXPECT_EQ(hud("turns")->children().count(), 0u);

    // The same line made across a move is found.
    build({.balls = {"aaba", "cdac"}});
    EXPECT_EQ(describe(board->findAllTurns()), std::vector<std::string>{"2,0>2,1"});
}

// --- Rockets ---

TEST_F(SwappingTest, RocketsWaitWhilePausedThenFlyOneCellPerTickUntilTheyLeaveTheGrid) {
    build({.crates = {"0000w00"}, .balls = {"abcdabc"}});
    const CellRef crated = cell(4, 0);
    ASSERT_TRUE(crated->crate());
    board->startRocketAt(*cell(3, 0), 1, 0);
    board->startRocketAt(*cell(3, 0), -1, 0);
    // A paused board holds its rockets.
    board->setPause(true);
    step(3, kRocketTick);
    EXPECT_EQ(row(0), "abcdabc");
    board->setPause(false);

    // The crate takes the first hit of its rocket; its ball stays and earns nothing.
    step(1, kRocketTick);
    EXPECT_EQ(row(0), "ab.dabc");
    EXPECT_FALSE(crated->crate());
    EXPECT_EQ(board->score(), 10u);
    step(1, kRocketTick);
    EXPECT_EQ(row(0), "a..da.c");
    step(1, kRocketTick);
    EXPECT_EQ(row(0), "...da..");
    EXPECT_EQ(board->rockets().size(), 2u);

    // The left one leaves at x = -1; the right one flies on over absent cells to the grid's edge.
    step(1, kRocketTick);
    ASSERT_EQ(board->rockets().size(), 1u);
    EXPECT_EQ(board->rockets().front().x(), 7);
    step(static_cast<int>(kSizeX) - 8, kRocketTick);
    EXPECT_EQ(board->rockets().size(), 1u);
    step(1, kRocketTick);
    EXPECT_TRUE(board->rockets().empty());
    EXPECT_EQ(row(0), "...da..");
}

}  // namespace
}  // namespace moonbrook::test

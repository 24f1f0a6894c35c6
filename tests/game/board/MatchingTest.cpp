// Lines found through a cell, removal in two phases, scoring, locks, crates, plates, placeholders and
// bonuses.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "engine/core/KTScene.h"
#include "engine/services/KTUser.h"
#include "engine/services/KTUserManager.h"
#include "game/board/Ball.h"
#include "game/board/BallKinds.h"
#include "game/board/Board.h"
#include "game/board/Cell.h"
#include "game/progress/BonusManager.h"
#include "tests/game/board/BoardTest.h"

namespace moonbrook::test {
namespace {

constexpr int kWidth = 6;
constexpr int kHeight = 5;

// A field without any line: every row cycles through four letters, and rows two apart repeat. The overlay's
// letters replace the filler ('.' keeps it).
std::vector<std::string> field(const std::vector<std::string>& overlay) {
    static constexpr char kFiller[] = "bcde";
    std::vector<std::string> rows;
    for (int y = 0; y < kHeight; ++y) {
        std::string row;
        for (int x = 0; x < kWidth; ++x) {
            const bool overlaid = y < static_cast<int>(overlay.size()) &&
                                  x < static_cast<int>(overlay[y].size()) && overlay[y][x] != '.';
            row += overlaid ? overlay[y][x] : kFiller[(x + 2 * y) % 4];
        }
        rows.push_back(row);
    }
    return rows;
}

class MatchingTest : public BoardTest {
protected:
    std::shared_ptr<Board> build(const std::vector<std::string>& overlay, Layers layers = {}) {
        layers.balls = field(overlay);
        return fill(std::move(layers));
    }

    bool holdsGhost(int x, int y) const { return dynamic_cast<const Ghost*>(cell(x, y)->ball().get()); }
    char16_t letterAt(int x, int y) const { return cell(x, y)->ball() ? cell(x, y)->ball()->type() : u' '; }

    // Effects beside the board whose top-left is the cell's centre.
    std::size_t effectsAtCell(const Cell& at) const {
        const kt::CGPoint point = kt::CGPointAdd(board->position(), at.center());
        std::size_t count = 0;
        for (const auto& effect : board->parent()->children()) {
            if (effect.get() != board.get() && effect->position() == point) ++count;
        }
        return count;
    }
};

// --- Lines through a cell ---

struct LineShape {
    const char* name;
    std::vector<std::string> overlay;
    kt::KTPosition at;
    std::size_t cells;
};

class LineShapeTest : public MatchingTest, public ::testing::WithParamInterface<LineShape> {};

TEST_P(LineShapeTest, CountsEachDistinctCellOnce) {
    const LineShape& shape = GetParam();
    build(shape.overlay);
    const CellList cells = board->checkLineAtCell(*cell(shape.at.x, shape.at.y));
    EXPECT_EQ(cells.size(), shape.cells);
    EXPECT_EQ(Board::uniqueCells(cells).size(), cells.size());
}

INSTANTIATE_TEST_SUITE_P(Shapes, LineShapeTest,
                         ::testing::Values(LineShape{"two", {"aa"}, {0, 0}, 0},
                                           LineShape{"three", {"aaa"}, {0, 0}, 3},
                                           LineShape{"threeFromTheMiddle", {"aaa"}, {1, 0}, 3},
                                           LineShape{"four", {"aaaa"}, {3, 0}, 4},
                                           LineShape{"five", {"aaaaa"}, {2, 0}, 5},
                                           LineShape{"column", {"a", "a", "a"}, {0, 1}, 3},
                                           LineShape{"ell", {"a", "a", "aaa"}, {0, 2}, 5},
                                           LineShape{"tee", {"aaa", ".a", ".a"}, {1, 0}, 5},
                                           LineShape{"plus", {".a", "aaa", ".a"}, {1, 1}, 5},
                                           LineShape{"wildcardInside", {"aia"}, {0, 0}, 3},
                                           LineShape{"wildcardBetweenColours", {"aib"}, {0, 0}, 0},
                                           LineShape{"wildcardAtTheEnd", {"iaa"}, {0, 0}, 3},
                                           LineShape{"specialBallsNeverMatch", {"fff"}, {0, 0}, 0}),
                         [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(MatchingTest, CrateDisabledOrMovingCellsBreakALine) {
    build({"aaa"}, {.crates = {"0w"}});
    EXPECT_TRUE(board->checkLineAtCell(*cell(0, 0)).empty());
    EXPECT_FALSE(board->removeLines());

    build({"aaa"});
    cell(1, 0)->setEnabled(false);
    EXPECT_TRUE(board->checkLineAtCell(*cell(0, 0)).empty());

    build({"aaa"});
    cell(2, 0)->ball()->setMovingFlag(true);
    EXPECT_TRUE(board->checkLineAtCell(*cell(0, 0)).empty());
}

// --- Removal ---

TEST_F(MatchingTest, RemovingLinesScoresTenPerBallAndLeavesPlaceholders) {
    build({"aaa", "...d", "...d", "...d"});
    EXPECT_TRUE(board->removeLines());
    EXPECT_EQ(board->score(), 60u);
    for (const auto& [x, y] : {std::pair{0, 0}, {1, 0}, {2, 0}, {3, 1}, {3, 2}, {3, 3}}) {
        EXPECT_TRUE(holdsGhost(x, y)) << x << "," << y;
        EXPECT_FALSE(cell(x, y)->removeFlag());
    }
    EXPECT_FALSE(holdsGhost(4, 0));
}

TEST_F(MatchingTest, NothingIsRemovedWhileBallsMoveOrFromFewerThanThreeDistinctCells) {
    build({"aaa"});
    board->incMoving();
    EXPECT_FALSE(board->removeLines());
    EXPECT_EQ(board->score(), 0u);
    EXPECT_EQ(letterAt(0, 0), u'a');

    build({"aa"});
    EXPECT_FALSE(board->removeAtCells({cell(0, 0), cell(1, 0), cell(0, 0), cell(1, 0)}));
    EXPECT_EQ(board->score(), 0u);
    EXPECT_FALSE(cell(0, 0)->removeFlag());
}

TEST_F(MatchingTest, RemovalsMarkedTogetherAreFinalisedTogetherAndCountEachBallOnce) {
    build({});
    board->removeBallAt(cell(0, 0));
    board->removeBallAt(cell(4, 3));
    board->removeBallAt(cell(0, 0));
    EXPECT_EQ(board->score(), 20u);
    EXPECT_TRUE(cell(0, 0)->removeFlag());
    EXPECT_EQ(letterAt(0, 0), u'b');  // still there until the removal is finalised

    board->finalizeRemove();
    EXPECT_TRUE(holdsGhost(0, 0));
    EXPECT_TRUE(holdsGhost(4, 3));
    EXPECT_FALSE(holdsGhost(1, 0));
}

TEST_F(MatchingTest, PlaceholdersAndTokensSurviveAnOrdinaryRemovalButNotAForcedOne) {
    build({"t"});
    board->removeBallAt(cell(0, 0));
    EXPECT_FALSE(cell(0, 0)->removeFlag());
    board->removeBallAt(cell(0, 0), true);
    EXPECT_TRUE(cell(0, 0)->removeFlag());
    board->finalizeRemove();
    board->removeBallAt(cell(0, 0));
    EXPECT_FALSE(cell(0, 0)->removeFlag());
    EXPECT_EQ(board->score(), 10u);
}

TEST_F(MatchingTest, ALockedBallInALineLosesItsLockAndStays) {
    build({"aaa"}, {.locks = {"010"}});
    EXPECT_TRUE(board->removeLines());
    EXPECT_EQ(board->score(), 20u);
    EXPECT_FALSE(cell(1, 0)->locked());
    EXPECT_EQ(letterAt(1, 0), u'a');
    EXPECT_TRUE(holdsGhost(0, 0));
    EXPECT_TRUE(holdsGhost(2, 0));
}

TEST_F(MatchingTest, HittingACratedBallBreaksTheCrateAndKeepsTheBall) {
    build({}, {.crates = {"w"}});
    board->removeBallAt(cell(0, 0));
    EXPECT_EQ(board->score(), 0u);
    EXPECT_EQ(cell(0, 0)->crateLevel(), 1);
    board->finalizeRemove();
    EXPECT_FALSE(cell(0, 0)->crate());
    EXPECT_EQ(letterAt(0, 0), u'b');
    EXPECT_FALSE(holdsGhost(0, 0));
}

TEST_F(MatchingTest, ACrateLosesOneLevelPerRemovalHoweverManyNeighboursGo) {
    build({"aaa", "a", "a"}, {.crates = {"", "0s"}});
    ASSERT_EQ(cell(1, 1)->crateLevel(), 2);
    EXPECT_TRUE(board->removeAtCells(board->checkLineAtCell(*cell(0, 0))));
    EXPECT_EQ(cell(1, 1)->crateLevel(), 1);
    EXPECT_FALSE(cell(1, 1)->removeCrateFlag());
    EXPECT_EQ(letterAt(1, 1), u'e');
}

TEST_F(MatchingTest, TwoPlatesCountElevenForTheFirstBreakAndOneForTheSecond) {
    build({}, {.map = {"321111"}});
    ASSERT_EQ(board->platesCount(), 12);
    board->removeBallAt(cell(0, 0));
    board->removeBallAt(cell(1, 0));
    EXPECT_EQ(cell(0, 0)->plates(), 1u);
    EXPECT_EQ(cell(1, 0)->plates(), 0u);
    EXPECT_EQ(board->platesCount(), 0);
    board->finalizeRemove();

    cell(0, 0)->setBall(board->generateBallOfType(u'b'));
    board->removeBallAt(cell(0, 0));
    EXPECT_EQ(cell(0, 0)->plates(), 0u);
    EXPECT_EQ(board->platesCount(), -1);
    EXPECT_EQ(presentation->shownPlates(), board->startPlatesCount() + 1);
}

TEST_F(MatchingTest, FewPlatesLeftAreHighlightedWhereTheirCellsAreOnScreen) {
    build({"aaa"}, {.map = {"222111", "111112"}});
    const auto highlights = hud("highlights");
    ASSERT_NE(highlights, nullptr);
    EXPECT_TRUE(board->removeLines());
    ASSERT_EQ(highlights->children().count(), 1u);
    const auto& marker = *highlights->children().begin();
    EXPECT_EQ(marker->absolutePosition(), cell(5, 1)->absolutePosition());
}

// --- Effects and bonus balls by size ---

struct RemovalSize {
    const char* name;
    std::vector<std::string> overlay;
    std::vector<std::string> sounds;
    // Effects at the last-turn cell: the ball's own two, and the burst of a big line.
    std::size_t effectsAtLastTurn;
};

class RemovalSizeTest : public MatchingTest, public ::testing::WithParamInterface<RemovalSize> {};

TEST_P(RemovalSizeTest, ChoosesTheSoundAndTheBurstBySize) {
    const RemovalSize& size = GetParam();
    build(size.overlay);
    const std::size_t before = board->parent()->children().count();
    board->setLastTurnCell(cell(0, 0));
    ASSERT_TRUE(board->removeAtCells(board->checkLineAtCell(*cell(0, 0))));
    EXPECT_EQ(effectSounds(*board->parent(), before), size.sounds);
    EXPECT_EQ(effectsAtCell(*cell(0, 0)), size.effectsAtLastTurn);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, RemovalSizeTest,
    ::testing::Values(RemovalSize{"three", {"aaa"}, {"data/sounds/remove_candy.ogg"}, 2},
                      RemovalSize{"five", {"aaaaa"}, {"data/sounds/remove_big.ogg"}, 3},
                      RemovalSize{"ell", {"aaaa", "a", "a"}, {"data/sounds/remove_epic.ogg"}, 3}),
    [](const auto& tested) { return std::string(tested.param.name); });

TEST_F(MatchingTest, LongLineOfASwapLeavesTheOwnedBonusInTheLastTurnCell) {
    auto& users = kt::KTUserManager::sharedManager();
    users.add("Ada");
    users.selectedUser()->setObject(kt::KTPlist(kt::KTPlist::Array{kt::KTPlist("bomb")}), "bonuses");
    BonusManager::resetCurrentManager();

    build({"aaaa", "", "aaa"});
    board->setLastTurnCell(cell(1, 0));
    ASSERT_TRUE(board->removeAtCells(board->checkLineAtCell(*cell(1, 0))));
    EXPECT_EQ(letterAt(1, 0), u'f');
    EXPECT_TRUE(dynamic_cast<const Bomb*>(cell(1, 0)->ball().get()));
    EXPECT_TRUE(holdsGhost(0, 0));

    // Three in a line, or a line the player did not make, give no bonus.
    board->setLastTurnCell(cell(0, 2));
    ASSERT_TRUE(board->removeAtCells(board->checkLineAtCell(*cell(0, 2))));
    EXPECT_TRUE(holdsGhost(0, 2));
    BonusManager::resetCurrentManager();
}

}  // namespace
}  // namespace moonbrook::test

// The field built from a level: cells, plates, emitters, preplaced balls, crates, locks, frame and counters.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/KTDirector.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTRandom.h"
#include "engine/render/KTRenderModule.h"
#include "game/board/Ball.h"
#include "game/board/Board.h"
#include "game/board/Cell.h"
#include "tests/engine/render/RenderTest.h"
#include "tests/game/board/BoardTest.h"
#include "tests/support/DataFileTest.h"
#include "tests/support/RecordingRenderer.h"

namespace moonbrook::test {
namespace {

using kt::KTPlist;

class BoardModelTest : public BoardTest {
protected:
    // The frame pieces set at board position (x, y), as their indexes.
    std::vector<std::size_t> pieces(int x, int y) const {
        std::vector<std::size_t> set;
        const FrameSet* frame = board->frameSetAt(x + 1, y + 1);
        for (std::size_t i = 0; frame && i < FrameSet::kPieces; ++i) {
            if (frame->frame(i)) set.push_back(i);
        }
        return set;
    }
    // Every frame position with a piece, keyed by board position.
    std::map<std::pair<int, int>, std::vector<std::size_t>> framedPositions() const {
        std::map<std::pair<int, int>, std::vector<std::size_t>> framed;
        for (int y = -1; y <= static_cast<int>(kSizeY); ++y) {
            for (int x = -1; x <= static_cast<int>(kSizeX); ++x) {
                if (auto set = pieces(x, y); !set.empty()) framed[{x, y}] = set;
            }
        }
        return framed;
    }
};

TEST_F(BoardModelTest, CellAtAnswersNoneOutsideTheFieldInHolesAndForEmittersWhichIgnoreBallsAndCrates) {
    makeBoard({.map = {"010", "111"}, .emitters = {"110"}, .crates = {"ww"}, .balls = {"aa"}});
    for (const auto& [x, y] :
         std::vector<std::pair<int, int>>{{-1, 0}, {0, -1}, {20, 0}, {0, 13}, {2, 0}, {0, 0}})
        EXPECT_EQ(board->cellAt(x, y), nullptr) << x << "," << y;
    const CellRef emitterOnly = board->gridEntryAt(0, 0);
    ASSERT_NE(emitterOnly, nullptr);
    EXPECT_FALSE(emitterOnly->exists());
    EXPECT_TRUE(emitterOnly->emitter());
    EXPECT_FALSE(emitterOnly->visible());
    EXPECT_FALSE(emitterOnly->enabled());
    EXPECT_EQ(emitterOnly->ball(), nullptr);
    EXPECT_EQ(emitterOnly->crateType(), u'0');
    // Where the map has a cell as well, the emitter cell keeps what the layers give it.
    const CellRef both = board->gridEntryAt(1, 0);
    ASSERT_NE(both, nullptr);
    EXPECT_EQ(both->crateType(), u'w');
    EXPECT_NE(both->ball(), nullptr);
}

// Plates count 1 for a single plate and 11 for two or more; '4' keeps three plates and no plate animation.
TEST_F(BoardModelTest, MapCharacterGivesPlatesAndCountsThem) {
    struct PlateCase {
        char map;
        unsigned plates;
        int counted;
        const char* animation;
    };
    for (const PlateCase& c : {PlateCase{'1', 0, 0, "default"}, PlateCase{'2', 1, 1, "plate1"},
                               PlateCase{'3', 2, 11, "plate2"}, PlateCase{'4', 3, 11, "default"}}) {
        SCOPED_TRACE(c.map);
        makeBoard({.map = {std::string("1") + c.map}});
        const CellRef cell = board->cellAt(1, 0);
        ASSERT_NE(cell, nullptr);
        EXPECT_EQ(cell->plates(), c.plates);
        EXPECT_EQ(board->platesCount(), c.counted);
        EXPECT_EQ(board->startPlatesCount(), c.counted);
        EXPECT_EQ(board->plates(), c.plates);
        EXPECT_EQ(board->hasPlates(), c.plates > 0);
        EXPECT_EQ(cell->currentAnimationName(), c.animation);
    }
}

TEST_F(BoardModelTest, PlatesAndCratesComeOffOneLayerAtATimeWithTheirEffectsOnTheCell) {
    makeBoard({.map = {"13"}, .crates = {"0s"}});
    const CellRef cell = board->cellAt(1, 0);
    const auto lastChild = [](const kt::KTNode& node) { return node.children().lastObject(); };
    const std::vector<const char*> animations{"plate1", "default", "default"};
    for (const char* animation : animations) {
        cell->removePlate();
        EXPECT_EQ(cell->currentAnimationName(), animation);
    }
    EXPECT_EQ(cell->plates(), 0u);
    // On the board, over the cell's middle.
    EXPECT_EQ(lastChild(*board)->position(), cell->center());

    cell->removeCrate();
    EXPECT_TRUE(cell->crate());
    cell->removeCrate();
    EXPECT_FALSE(cell->crate());
    cell->removeCrate();
    EXPECT_EQ(cell->crateLevel(), 0);
    // In the scene, over the cell where it is shown.
    const kt::CGPoint shown = cell->absoluteCenter();
    EXPECT_EQ(lastChild(*scene)->position(), shown);
    EXPECT_EQ(shown.x, 52 + 46 + 23);
}

TEST_F(BoardModelTest, CratesLocksAndBallKindsBecomeTutorialKeys) {
    makeBoard({.map = {"11111"}, .locks = {"01000"}, .crates = {"w0sx0"}, .balls = {"aafab"}});
    const KTPlist& keys = board->typesForTutorial();
    EXPECT_EQ(keys.keys(), (std::vector<std::string>{"crates_w", "locks", "ball_f", "crates_s"}));
    // An unknown crate letter is kept with no hits, so it is no crate at all.
    EXPECT_EQ(board->cellAt(3, 0)->crateType(), u'x');
    EXPECT_FALSE(board->cellAt(3, 0)->crate());
}

TEST_F(BoardModelTest, LayersAreReadOnlyUpToTheGridAndPaddedWithNothing) {
    KTPlist data = levelData({});
    data["options"]["map"] = std::string(kSizeX * kSizeY, '1') + "1111";
    data["options"]["preplaced_balls"] = "ab";
    board = Board::board();
    holder->addChild(board);
    board->setLevelData("long", data);
    board->reset();
    ASSERT_TRUE(settle());
    // Every position is a cell, all empty but the two balls fallen to the last row.
    std::vector<std::string> expected(kSizeY, std::string(kSizeX, '.'));
    expected.back().replace(0, 2, "ab");
    EXPECT_EQ(rows(0, static_cast<int>(kSizeY) - 1), expected);
}

// Frame pieces: 0 top, 1 right, 2 bottom, 3 left, 4-7 inner corners, 8-11 outer corners.
TEST_F(BoardModelTest, LoneCellGetsFourEdgesAndFourOuterCorners) {
    makeBoard({.map = {"000", "010"}});
    using Pieces = std::vector<std::size_t>;
    const std::map<std::pair<int, int>, Pieces> expected{
        {{0, 0}, Pieces{11}}, {{1, 0}, Pieces{0}},  {{2, 0}, Pieces{8}}, {{0, 1}, Pieces{3}},
        {{2, 1}, Pieces{1}},  {{0, 2}, Pieces{10}}, {{1, 2}, Pieces{2}}, {{2, 2}, Pieces{9}},
    };
    EXPECT_EQ(framedPositions(), expected);
}

TEST_F(BoardModelTest, FrameRunsInTheRingAroundTheGridInNotchesAndBelowEmitters) {
    // A cell in the grid's corner is framed in the ring outside the grid.
    makeBoard({.map = {"1"}});
    EXPECT_EQ(pieces(-1, 0), std::vector<std::size_t>{3});
    EXPECT_EQ(pieces(0, -1), std::vector<std::size_t>{0});
    EXPECT_EQ(pieces(-1, -1), std::vector<std::size_t>{11});

    makeBoard({.map = {"000", "011", "010"}});
    // The empty position (2, 2) has cells above and to its left.
    EXPECT_EQ(pieces(2, 2), (std::vector<std::size_t>{1, 2, 7}));
    // An emitter is no cell: the frame runs below it.
    makeBoard({.map = {"000", "010"}, .emitters = {"010"}});
    EXPECT_EQ(pieces(1, 0), std::vector<std::size_t>{0});
}

TEST_F(BoardModelTest, DrawsTheFrameFirstAndLockAndCrateOverTheCell) {
    const auto recorder = std::make_shared<kt::test::RecordingRenderer>();
    kt::KTDirector::shared().setRenderer(recorder);
    makeBoard({.map = {"000", "010"}, .locks = {"000", "010"}, .crates = {"000", "0s0"}});
    recorder->calls.clear();
    board->visit();
    std::vector<std::string> rects;
    for (const std::string& call : recorder->calls) {
        if (call.starts_with("drawRect")) rects.push_back(call);
    }
    // The eight frame pieces around the cell come first; the lock and then the crate come last, over the
    // cell.
    ASSERT_GE(rects.size(), 10u);
    const std::string overTheCell = "drawRect 46 46 46 46";
    EXPECT_EQ(std::count(rects.begin(), rects.begin() + 8, overTheCell), 0);
    EXPECT_EQ(rects[rects.size() - 2], overTheCell);
    EXPECT_EQ(rects.back(), overTheCell);
}

TEST_F(BoardModelTest, PlaceholderDrawsOnlyItsDebugMarker) {
    const auto recorder = std::make_shared<kt::test::RecordingRenderer>();
    kt::KTDirector::shared().setRenderer(recorder);
    makeBoard({.map = {"1"}});
    const auto ghost = board->generateBallOfType(u'0');
    board->cellAt(0, 0)->setBall(ghost);
    recorder->calls.clear();
    ghost->visit();
    EXPECT_TRUE(recorder->calls.empty());
    board->setDebugRender(true);
    ghost->visit();
    EXPECT_EQ(std::count(recorder->calls.begin(), recorder->calls.end(), "drawRect 0 0 27 27"), 1);
}

TEST_F(BoardModelTest, MovingCounterCountsEachBallOnceAndEndsMovementAtZero) {
    makeBoard({.map = {"111"}, .balls = {"abc"}});
    ASSERT_TRUE(settle());
    const auto& ball = board->cellAt(0, 0)->ball();
    ball->setMoving(true);
    ball->setMoving(true);
    EXPECT_EQ(board->movingCount(), 1);
    EXPECT_FALSE(board->idle());
    const std::size_t children = board->children().count();
    ball->setMoving(false);
    ball->setMoving(false);
    EXPECT_EQ(board->movingCount(), 0);
    // Reaching zero starts the fall effect on the board and asks for a line check.
    EXPECT_EQ(board->children().count(), children + 1);
    EXPECT_FALSE(board->idle());
    EXPECT_TRUE(settle());
}

TEST_F(BoardModelTest, BoardTakenOffTheStageAndPutBackKeepsUpdating) {
    makeBoard({.map = {"1"}});
    holder->removeChild(board.get());
    holder->addChild(board);
    step(30);
    EXPECT_NEAR(board->playTime(), 0.5f, 0.01f);
}

TEST_F(BoardModelTest,
       BallStepsIntoAFreeCellWhichDropsTheSelectionButNotIntoAnOccupiedOneAndFreesItWhenReplaced) {
    makeBoard({.map = {"11", "11"}, .balls = {"ab", "cd"}});
    ASSERT_TRUE(settle());
    const CellRef top = cell(0, 0);
    const CellRef below = cell(0, 1);
    const auto ball = top->ball();
    ball->setTarget(below);
    EXPECT_EQ(ball->target(), nullptr);
    EXPECT_FALSE(ball->moving());

    // The cell a ball falls to loses the selection and takes no clicks until the ball is in.
    below->setBall(nullptr);
    board->setSelected(below);
    ASSERT_EQ(board->selected(), below);
    ball->setTarget(below);
    EXPECT_TRUE(ball->moving());
    EXPECT_EQ(board->movingCount(), 1);
    EXPECT_TRUE(below->target());
    EXPECT_EQ(board->selected(), nullptr);
    EXPECT_FALSE(top->enabled() || below->enabled());
    ASSERT_TRUE(settle());
    EXPECT_EQ(rows(0, 1), (std::vector<std::string>{".b", "ad"}));
    EXPECT_FALSE(below->target());
    EXPECT_TRUE(top->enabled() && below->enabled());
    EXPECT_EQ(ball->target(), nullptr);

    // A ball replaced in its cell on the way frees the cell it was falling to.
    const auto next = cell(1, 0)->ball();
    cell(1, 1)->setBall(nullptr);
    next->setTarget(cell(1, 1));
    ASSERT_TRUE(cell(1, 1)->target());
    cell(1, 0)->setBall(nullptr);
    EXPECT_FALSE(cell(1, 1)->target());
    EXPECT_TRUE(cell(1, 1)->enabled());
    EXPECT_FALSE(next->moving());
    EXPECT_EQ(board->movingCount(), 0);
}

// Anything that is not a level, in a data folder of the test's own, gives the empty board and one line in the
// log naming the file.
struct BadLevelCase {
    const char* name;
    const char* content;
};

class BadLevelFileTest : public kt::test::DataFileTest, public ::testing::WithParamInterface<BadLevelCase> {
protected:
    BadLevelFileTest() {
        kt::KTInstallRenderModule(std::make_shared<kt::test::RecordingBackend>());
        kt::KTRandom::shared().seed(7);
        runScene();
    }
};

TEST_P(BadLevelFileTest, GivesAnEmptyBoardAndOneLogLine) {
    const BadLevelCase& c = GetParam();
    if (c.content) writeFile(kt::KTFormat("data/levels/%@.xml", c.name), c.content);
    // Once loaded, then restarted from a fresh board: the file is reported once for the whole run.
    for (int i = 0; i < 2; ++i) {
        const auto board = Board::boardWithLevel(c.name);
        board->reset();
        for (int y = 0; y < static_cast<int>(kSizeY); ++y) {
            for (int x = 0; x < static_cast<int>(kSizeX); ++x)
                EXPECT_EQ(board->gridEntryAt(x, y), nullptr) << x << "," << y;
        }
        EXPECT_FLOAT_EQ(board->timeLimit(), 0);
        EXPECT_EQ(board->generateBall(), nullptr);
    }
    const int lines = countInLog(kt::KTFormat("data/levels/%@.xml", c.name));
    EXPECT_EQ(lines - countInLog("  filename: "), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Files, BadLevelFileTest,
    ::testing::Values(
        BadLevelCase{"missing", nullptr}, BadLevelCase{"empty", ""},
        BadLevelCase{"truncated", "<?xml version=\"1.0\"?><plist version=\"1.0\"><dict><key>opt"},
        BadLevelCase{"garbage", "\x01\x02\xff not xml at all"},
        BadLevelCase{"array", "<?xml version=\"1.0\"?><plist version=\"1.0\"><array/></plist>"}),
    [](const auto& test) { return std::string(test.param.name); });

}  // namespace
}  // namespace moonbrook::test

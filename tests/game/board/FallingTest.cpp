// Balls falling straight and diagonally, emitters refilling the field, weights and delays of new balls and
// the paused board.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/core/KTScene.h"
#include "game/board/Ball.h"
#include "game/board/Board.h"
#include "game/board/Cell.h"
#include "tests/game/board/BoardTest.h"

namespace moonbrook::test {
namespace {

kt::KTPlist weights(std::initializer_list<std::pair<const char*, double>> entries) {
    kt::KTPlist dictionary = kt::KTPlist::emptyDictionary();
    for (const auto& [letter, weight] : entries)
        dictionary[letter] = weight;
    return dictionary;
}

// A game scene that only notes the tutorials it is asked to show, with the play time of the request.
class TutorialScene : public kt::KTScene {
public:
    KT_CLASS(TutorialScene)

    void showTutorial(std::string key) { shown.emplace_back(std::move(key), board ? board->playTime() : -1); }

    std::shared_ptr<Board> board;
    std::vector<std::pair<std::string, float>> shown;
};

const kt::KTClass& TutorialScene::staticClass() {
    static const kt::KTClass& cls =
        kt::KTClass::define<TutorialScene>("TutorialScene", kt::KTScene::staticClass())
            .operation("showTutorial:", &TutorialScene::showTutorial);
    return cls;
}

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
    build({.map = {"0", "1", "1"}, .emitters = {"1"}}, weights({{"a", 1}}));
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

TEST_F(FallingTest, NewLettersFollowTheirWeightsOnceTheirDelayHasPassed) {
    // Separate one-cell columns: no line can form.
    build({.map = {"", "10101010"}, .emitters = {"10101010"}}, weights({{"a", 0.5}, {"b", 0.5}, {"c", 0}}),
          weights({{"b", 20}}));
    const auto lettersOnTheField = [this] {
        std::set<char16_t> letters;
        for (int x = 0; x < 8; x += 2) {
            letters.insert(cell(x, 1)->ball()->type());
            letters.insert(board->gridEntryAt(x, 0)->ball()->type());
        }
        return letters;
    };
    ASSERT_TRUE(settle());
    EXPECT_EQ(lettersOnTheField(), std::set<char16_t>{u'a'});

    step(static_cast<int>(20.5f / 0.25f), 0.25f);
    std::set<char16_t> seen;
    for (int round = 0; round < 6; ++round) {
        removeBalls({{0, 1}, {2, 1}, {4, 1}, {6, 1}});
        ASSERT_TRUE(settle());
        const auto letters = lettersOnTheField();
        seen.insert(letters.begin(), letters.end());
    }
    EXPECT_EQ(seen, (std::set<char16_t>{u'a', u'b'}));
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

TEST_F(FallingTest, TutorialsOfTheLevelAndOfItsFeaturesAreAskedForFromThreeSeconds) {
    const auto tutorials = kt::KTNode::node<TutorialScene>();
    tutorials->addChild(holder);
    holder->setScene(tutorials);
    runScene(tutorials);
    build({.map = {"111", "111"}, .locks = {"1"}, .crates = {"", "00w"}, .balls = {"abc", "bca"}});
    tutorials->board = board;
    board->setPresentation(std::make_shared<ScenePresentation>(tutorials));
    board->setLevelData("001", board->levelData());
    board->reset();

    stepFor(11);
    std::vector<std::string> features;
    for (const auto& [key, playTime] : tutorials->shown) {
        EXPECT_GE(playTime, 3.0f) << key;
        if (key == "plates") {
            EXPECT_GT(playTime, 10.0f);
        } else if (key == "basics") {
            EXPECT_LE(playTime, 10.0f);
        } else {
            features.push_back(key);
        }
    }
    EXPECT_EQ(features, (std::vector<std::string>{"locks", "crates_w"}));
    EXPECT_EQ(board->typesForTutorial().size(), 0u);
    EXPECT_EQ(tutorials->shown.back().first, "plates");
}

}  // namespace
}  // namespace moonbrook::test

// Explosions, the hammer, colour removal, bats and bonus balls on small boards.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/render/KTLightning.h"
#include "engine/render/KTSprite.h"
#include "engine/services/KTUser.h"
#include "engine/services/KTUserManager.h"
#include "game/board/Ball.h"
#include "game/board/BallKinds.h"
#include "game/board/Board.h"
#include "game/board/Cell.h"
#include "game/progress/PowerupManager.h"
#include "tests/game/board/BoardTest.h"

namespace moonbrook::test {
namespace {

using Position = std::pair<int, int>;
using Positions = std::set<Position>;

// A w x h field in which no two neighbours share a letter, so nothing matches by itself.
std::vector<std::string> quietField(int w, int h) {
    std::vector<std::string> field;
    for (int y = 0; y < h; ++y) {
        std::string row;
        for (int x = 0; x < w; ++x)
            row += "abcde"[(x + 2 * y) % 5];
        field.push_back(row);
    }
    return field;
}

// What an effect file makes, as a comparable text: the class and attributes of each part.
std::string partsOf(const kt::KTNode& effect) {
    std::string parts;
    for (const auto& part : effect.children()) {
        parts += part->className() + "{";
        for (const auto& [name, value] : part->attributes())
            parts += name + "=" + value + ";";
        parts += "}";
    }
    return parts;
}

class PowerupsTest : public BoardTest {
protected:
    // Profiles start from nothing and the player does not outlive the test.
    PowerupsTest() { kt::KTUserManager::resetSharedManager(); }
    ~PowerupsTest() override { kt::KTUserManager::resetSharedManager(); }

    // Cells whose ball is marked for removal or already replaced by a placeholder.
    Positions removedCells() const {
        Positions removed;
        for (int x = 0; x < static_cast<int>(kSizeX); ++x) {
            for (int y = 0; y < static_cast<int>(kSizeY); ++y) {
                const CellRef at = cell(x, y);
                if (at && (at->removeFlag() || (at->ball() && at->ball()->isKindOf(Ghost::staticClass()))))
                    removed.insert({x, y});
            }
        }
        return removed;
    }

    // Buys and charges the selected player's powerup up to the level.
    static Powerup& charge(const std::string& name, int level) {
        auto& users = kt::KTUserManager::sharedManager();
        if (!users.selectedUser()) {
            users.add("Tester");
            users.selectByName("Tester");
            PowerupManager::resetCurrentPowerupManager();
        }
        users.selectedUser()->setTokens(10000);
        Powerup& powerup = *PowerupManager::currentPowerupManager().getPowerupByName(name);
        while (powerup.maxLevel() < level)
            powerup.upgrade();
        while (powerup.level() < level)
            powerup.fillFor(1000);
        return powerup;
    }

    // Effects of that file among the children of the node.
    static std::vector<kt::KTNode::Ref> effectsOf(const kt::KTNode& parent, const std::string& file) {
        const std::string expected = partsOf(*kt::KTNode::nodeFromFile(file));
        std::vector<kt::KTNode::Ref> effects;
        for (const auto& child : parent.children()) {
            if (child->autoremove() && child->hasChildren() && partsOf(*child) == expected)
                effects.push_back(child);
        }
        return effects;
    }

    int lightningBolts() const {
        int count = 0;
        for (const auto& child : scene->children())
            count += child->isKindOf(kt::KTLightning::staticClass()) ? 1 : 0;
        return count;
    }
};

// --- Explosions ---

// The cells of the field that a picture of the 5 x 5 cells around the centre, top row first, marks with 'x'.
Positions pictured(Position centre, const std::vector<std::string>& picture) {
    Positions cells;
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            const Position at{centre.first + dx, centre.second + dy};
            if (at.first >= 0 && at.second >= 0 && picture[dy + 2][dx + 2] == 'x') cells.insert(at);
        }
    }
    return cells;
}

struct ExplosionCase {
    char16_t pattern;
    std::vector<std::string> picture;
};

class ExplosionPatternTest : public PowerupsTest, public ::testing::WithParamInterface<ExplosionCase> {};

// In the middle of the field, and in its corner where only the cells inside the field go.
TEST_P(ExplosionPatternTest, RemovesThePatternAroundTheCellButNotTheCellItself) {
    const ExplosionCase& c = GetParam();
    for (const Position& centre : {Position{3, 3}, Position{0, 0}}) {
        fill({.balls = quietField(7, 7)});
        board->explodeAt(cell(centre.first, centre.second), c.pattern);
        const Positions expected = pictured(centre, c.picture);
        EXPECT_EQ(removedCells(), expected) << centre.first << "," << centre.second;
        EXPECT_EQ(board->score(), 10 * expected.size());
    }
}

INSTANTIATE_TEST_SUITE_P(Patterns, ExplosionPatternTest,
                         ::testing::Values(ExplosionCase{u'f', {".....", "..x..", ".x.x.", "..x..", "....."}},
                                           ExplosionCase{u'g', {"..x..", ".xxx.", "xx.xx", ".xxx.", "..x.."}},
                                           ExplosionCase{u'h', {".xxx.", "xxxxx", "xx.xx", "xxxxx", ".xxx."}},
                                           ExplosionCase{u'x',
                                                         {".....", ".....", ".....", ".....", "....."}}));

// Set off by a removal, the bomb's own cell is counted once with its pattern.
TEST_F(PowerupsTest, ALoneBombCountsItsCellOnceAndPlaysTheSmallExplosionOverTheFieldWhereverTheBoardSits) {
    auto field = quietField(7, 7);
    field[5][4] = 'f';
    fill({.balls = field});
    board->removeBallAt(cell(4, 5));
    EXPECT_EQ(removedCells(), (Positions{{4, 5}, {3, 5}, {5, 5}, {4, 4}, {4, 6}}));
    EXPECT_EQ(board->score(), 50u);
    const auto effects = effectsOf(*holder, "data/effects/explode.xml");
    ASSERT_EQ(effects.size(), 1u);
    EXPECT_EQ(effects.front()->absolutePosition(), board->absoluteCenter());
    EXPECT_TRUE(effectsOf(*holder, "data/effects/explode_big.xml").empty());
}

TEST_F(PowerupsTest, ABombSettingOffAnotherExplodesOnceEachWithOneBigExplosionAndNothingForTheInnerOne) {
    auto field = quietField(7, 7);
    field[3][2] = 'f';
    field[3][3] = 'g';
    fill({.balls = field});
    const auto first = cell(2, 3)->ball();
    const auto second = cell(3, 3)->ball();
    board->removeBallAt(cell(2, 3));
    EXPECT_TRUE(first->detonated());
    EXPECT_TRUE(second->detonated());
    EXPECT_FALSE(first->canDetonate());
    EXPECT_EQ(effectsOf(*holder, "data/effects/explode_big.xml").size(), 1u);
    EXPECT_TRUE(effectsOf(*holder, "data/effects/explode.xml").empty());
    // The inner bomb's own pattern went too.
    EXPECT_TRUE(removedCells().contains({5, 3}));
    board->finalizeRemove();
    EXPECT_NE(cell(2, 3)->ball(), first);
    EXPECT_NE(cell(3, 3)->ball(), second);
    EXPECT_TRUE(settle());
}

// --- Hammer ---

struct HammerCase {
    int level;
    std::vector<std::string> picture;
};

class HammerShapeTest : public PowerupsTest, public ::testing::WithParamInterface<HammerCase> {};

TEST_P(HammerShapeTest, RemovesTheShapeOfItsLevelAndEndsTheClickMode) {
    const HammerCase& c = GetParam();
    fill({.balls = quietField(7, 7)});
    Powerup& hammer = charge("hammer", c.level);
    board->enterHammerMode();
    board->hammerClickAt(cell(3, 3));
    EXPECT_EQ(removedCells(), pictured({3, 3}, c.picture));
    EXPECT_EQ(board->clickMode(), ClickMode::normal);
    EXPECT_EQ(hammer.level(), 0);
    EXPECT_EQ(scene->underMouse(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Levels, HammerShapeTest,
                         ::testing::Values(HammerCase{0, {".....", ".....", ".....", ".....", "....."}},
                                           HammerCase{1, {".....", ".....", "..x..", ".....", "....."}},
                                           HammerCase{2, {".....", ".xxx.", ".xxx.", ".xxx.", "....."}},
                                           HammerCase{3, {"..xxx", ".xxxx", "xxxxx", "xxxx.", "xxx.."}}));

// The mode carries the pointer decoration of the hammer's level until the click ends it.
TEST_F(PowerupsTest, TheHammerTakesOneLayerOfACrateAndLeavesItsBall) {
    fill({.crates = {"", "", "00s"}, .balls = quietField(5, 5)});
    charge("hammer", 1);
    board->enterHammerMode();
    EXPECT_EQ(board->clickMode(), ClickMode::hammer);
    ASSERT_NE(scene->underMouse(), nullptr);
    EXPECT_EQ(partsOf(*scene->underMouse()),
              partsOf(*kt::KTNode::nodeFromFile("data/effects/pw_hammer.xml")));
    board->hammerClickAt(cell(2, 2));
    EXPECT_EQ(cell(2, 2)->crateLevel(), 1);
    EXPECT_TRUE(removedCells().empty());
    EXPECT_EQ(board->clickMode(), ClickMode::normal);
    EXPECT_EQ(scene->underMouse(), nullptr);
}

// --- Colour removal ---

// 'a' on the centre (2, 2), on three corners of the square around it, in a crate on the fourth corner and
// once outside the square.
const std::vector<std::string> kColourField = {"adbdb", "dacad", "bcacb", "dacad", "bdbdb"};
const std::vector<std::string> kColourCrates = {"", "", "", "000s"};

TEST_F(PowerupsTest, TheColourClickRemovesTheColourWithALightningJumpingFromBallToBall) {
    fill({.crates = kColourCrates, .balls = kColourField});
    Powerup& color = charge("color", 1);
    board->enterRemoveColorMode();
    board->removeColorClickAt(cell(2, 2));

    EXPECT_EQ(board->clickMode(), ClickMode::normal);
    EXPECT_EQ(color.level(), 0);
    EXPECT_EQ(removedCells(), (Positions{{2, 2}}));
    EXPECT_EQ(lightningBolts(), 9);
    // The first jump starts on the clicked ball, every jump ends on a ball of the colour.
    const Positions targets{{1, 1}, {3, 1}, {1, 3}};
    bool fromCentre = false;
    for (const auto& child : scene->children()) {
        const auto bolt = std::dynamic_pointer_cast<kt::KTLightning>(child);
        if (!bolt) continue;
        fromCentre = fromCentre || bolt->position() == cell(2, 2)->absoluteCenter();
        EXPECT_TRUE(std::ranges::any_of(targets, [&](Position t) {
            return bolt->position2() == cell(t.first, t.second)->absoluteCenter();
        }));
    }
    EXPECT_TRUE(fromCentre);

    // Each ball goes 0.3 s after the lightning reaches it; the jumps are 0.07 s apart.
    stepFor(0.25f);
    EXPECT_EQ(removedCells(), (Positions{{2, 2}}));
    EXPECT_FALSE(board->idle());
    stepFor(0.25f);
    EXPECT_EQ(removedCells(), (Positions{{2, 2}, {1, 1}, {3, 1}, {1, 3}}));
    EXPECT_EQ(cell(3, 3)->ball()->type(), u'a');
    EXPECT_EQ(cell(3, 3)->crateLevel(), 2);
    EXPECT_EQ(cell(0, 0)->ball()->type(), u'a');
    EXPECT_EQ(board->score(), 40u);
    EXPECT_EQ(lightningBolts(), 0);
}

TEST_F(PowerupsTest, ColourRemovalWithoutAMatchRemovesOnlyTheCentreAndDrawsNoLightning) {
    fill({.balls = quietField(5, 5)});
    board->removeColor(cell(2, 2)->ball()->type(), cell(2, 2), 1);
    EXPECT_EQ(removedCells(), (Positions{{2, 2}}));
    EXPECT_EQ(lightningBolts(), 0);
    EXPECT_EQ(board->score(), 10u);
}

TEST_F(PowerupsTest, TheColourClickOnASpecialBallOrACrateIsIgnoredAndKeepsTheMode) {
    auto field = quietField(5, 5);
    field[2][2] = 'f';
    fill({.crates = {"", "s"}, .balls = field});
    Powerup& color = charge("color", 2);
    board->enterRemoveColorMode();
    for (const Position& clicked : {Position{2, 2}, Position{0, 1}}) {
        board->removeColorClickAt(cell(clicked.first, clicked.second));
        EXPECT_EQ(board->clickMode(), ClickMode::removeColor);
        EXPECT_EQ(color.level(), 2);
        EXPECT_TRUE(removedCells().empty());
        EXPECT_NE(scene->underMouse(), nullptr);
    }
}

// --- Idle animations ---

TEST_F(PowerupsTest, TheLightWaveSweepsDiagonallyAndPassesTheSelectedBall) {
    fill({.balls = quietField(3, 3)});
    ASSERT_TRUE(settle());
    board->setSelected(cell(1, 1));
    board->startLightWave();
    // The balls' animations keep a settled board idle.
    EXPECT_TRUE(board->idle());
    const auto animationAt = [&](int x, int y) {
        return std::static_pointer_cast<kt::KTSprite>(cell(x, y)->ball())->currentAnimationName();
    };
    step();
    EXPECT_EQ(animationAt(0, 0), "lightwave");
    EXPECT_NE(animationAt(2, 2), "lightwave");
    // The last diagonal, (2, 2), is four steps of 0.05 s behind the first.
    stepFor(0.2f);
    EXPECT_EQ(animationAt(2, 2), "lightwave");
    EXPECT_NE(animationAt(1, 1), "lightwave");
}

// --- Bats and bonus balls ---

TEST_F(PowerupsTest, BatsFlyToEverySuitableBallWhenTheyAreFewerThanTheCount) {
    // One row: nothing falls, so the row shows exactly what the bats took.
    fill({.crates = {"0w"}, .balls = {"abcab"}});
    // Without a charge there are no bats.
    board->removeRandomBlocks();
    stepFor(1.5f);
    EXPECT_EQ(rows(0, 0), std::vector<std::string>{"abcab"});

    Powerup& random = charge("random", 3);
    board->removeRandomBlocks();
    for (int x : {0, 2, 3, 4})
        EXPECT_FALSE(cell(x, 0)->enabled()) << x;
    EXPECT_TRUE(cell(1, 0)->enabled());
    EXPECT_EQ(random.level(), 0);
    // Each bat flies to its cell, wherever the board sits.
    const auto bats = effectsOf(*scene, "data/effects/bat.xml");
    ASSERT_EQ(bats.size(), 4u);
    for (const auto& bat : bats) {
        EXPECT_TRUE(std::ranges::any_of(std::vector<int>{0, 2, 3, 4}, [&](int x) {
            return bat->absolutePosition() == cell(x, 0)->absoluteCenter();
        }));
    }
    // Scripts waiting for the board wait for the bats too.
    EXPECT_FALSE(board->idle());

    stepFor(1.5f);
    EXPECT_EQ(rows(0, 0), std::vector<std::string>{".b..."});
    for (int x = 0; x < 5; ++x)
        EXPECT_TRUE(cell(x, 0)->enabled()) << x;
    EXPECT_EQ(board->score(), 40u);
}

TEST_F(PowerupsTest, BonusBallsReplaceOrdinaryBallsOnlyAndStopWhenTheCellsRunOut) {
    // Level 3 places three bonus balls; only 'a' and 'b' are free: 't' is a token, one cell is locked and
    // one is crated.
    fill({.locks = {"0001"}, .crates = {"0000w"}, .balls = {"atbcd"}});
    Powerup& bonuses = charge("bonuses", 3);
    board->placeRandomBonuses();
    EXPECT_FALSE(cell(0, 0)->enabled());
    EXPECT_FALSE(cell(2, 0)->enabled());
    EXPECT_EQ(bonuses.level(), 0);

    stepFor(1.5f);
    const std::string row = rows(0, 0).front();
    EXPECT_EQ(row.substr(3), "cd");
    EXPECT_EQ(row[1], 't');
    const std::string pool = "gkmn";
    for (int x : {0, 2}) {
        EXPECT_NE(pool.find(row[static_cast<std::size_t>(x)]), std::string::npos) << row;
        EXPECT_TRUE(cell(x, 0)->enabled());
    }
}

}  // namespace
}  // namespace moonbrook::test

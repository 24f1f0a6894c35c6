#include <algorithm>
#include <string>
#include <vector>

#include "engine/actions/KTCompositeActions.h"
#include "engine/actions/KTInstantActions.h"
#include "engine/actions/KTIntervalActions.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTRandom.h"
#include "engine/core/KTScene.h"
#include "engine/render/KTFly.h"
#include "engine/render/KTLightning.h"
#include "game/BallLetter.h"
#include "game/PowerupManager.h"
#include "game/board/Ball.h"
#include "game/board/BallKinds.h"
#include "game/board/Board.h"
#include "game/board/BoardActions.h"
#include "game/board/Cell.h"

namespace moonbrook {

namespace {

struct Offset {
    int dx;
    int dy;
};
using Shape = std::vector<Offset>;

constexpr float kLightningJumpDelay = 0.07f;
constexpr float kLightningRemoveDelay = 0.3f;
constexpr int kLightningBolts = 3;

// The cells of the square of half-width `half` around the centre that `keep` accepts, column by column.
template <typename Keep>
Shape squareShape(int half, Keep keep) {
    Shape shape;
    for (int dx = -half; dx <= half; ++dx) {
        for (int dy = -half; dy <= half; ++dy) {
            if (keep(dx, dy)) shape.push_back({dx, dy});
        }
    }
    return shape;
}

Shape explosionShape(char16_t pattern) {
    const Shape cross{{-1, 0}, {1, 0}, {0, 1}, {0, -1}};
    switch (pattern) {
        case u'f':
            return cross;
        case u'g': {
            Shape shape = cross;
            shape.insert(shape.end(), {{-1, -1}, {-1, 1}, {1, -1}, {1, 1}, {-2, 0}, {2, 0}, {0, 2}, {0, -2}});
            return shape;
        }
        case u'h':
            return squareShape(2, [](int dx, int dy) {
                const bool centre = dx == 0 && dy == 0;
                const bool corner = (dx == 2 || dx == -2) && (dy == 2 || dy == -2);
                return !centre && !corner;
            });
        default:
            return {};
    }
}

// Level 1 the cell alone, level 2 the 3 x 3 square, level 3 and above a diagonal band of the 5 x 5 square
// from lower left to upper right.
Shape hammerShape(int level) {
    if (level <= 0) return {};
    if (level == 1) return {{0, 0}};
    if (level == 2) return squareShape(1, [](int, int) { return true; });
    return squareShape(2, [](int dx, int dy) { return dx + dy >= -2 && dx + dy <= 2; });
}

const char* hammerEffect(int level) {
    if (level <= 0) return nullptr;
    if (level == 1) return "data/effects/hammer.xml";
    if (level == 2) return "data/effects/hammer_big.xml";
    return "data/effects/scythe.xml";
}

const char* hammerPointer(int level) {
    if (level <= 0) return nullptr;
    if (level == 1) return "data/effects/pw_hammer.xml";
    if (level == 2) return "data/effects/pw_hammer_big.xml";
    return "data/effects/pw_scythe.xml";
}

const char* removeColorPointer(int level) {
    switch (level) {
        case 1:
            return "data/effects/pw_remove_color.xml";
        case 2:
            return "data/effects/pw_remove_color2.xml";
        case 3:
            return "data/effects/pw_remove_color3.xml";
        default:
            return nullptr;
    }
}

std::shared_ptr<Powerup> powerupNamed(const std::string& name) {
    return PowerupManager::currentPowerupManager().getPowerupByName(name);
}

int levelOf(const std::shared_ptr<Powerup>& powerup) {
    return powerup ? powerup->level() : 0;
}

// The option of the charged level, or 0 while the powerup has no charge.
int intOption(const std::shared_ptr<Powerup>& powerup, std::string_view key) {
    if (levelOf(powerup) <= 0) return 0;
    return static_cast<int>(powerup->currentOptions()[key].intValue());
}

// A node's centre in the coordinates of the scene's children.
kt::CGPoint sceneCenterOf(const kt::KTNode& node, const kt::KTScene& scene) {
    return kt::CGPointSub(node.absoluteCenter(), scene.absolutePosition());
}

// The flight time of the effect's flying node: the wait before its arrival does its work.
float flyTimeOf(const kt::KTNode& effect) {
    const auto fly = effect.getChildByClass<kt::KTFly>();
    return fly ? fly->flyTime() : 0.0f;
}

template <typename T>
T takeLast(std::vector<T>& items) {
    T last = std::move(items.back());
    items.pop_back();
    return last;
}

// One jump of a bolt: it shows after the delay with its sound, and the first of the bolts removes the ball.
std::shared_ptr<kt::KTAction> lightningJump(float delay, const CellRef& removed) {
    return kt::KTSequence::actions(
        {kt::KTWait::waitFor(delay), kt::KTShow::action(),
         kt::KTStartEffect::actionWithEffectFilename("data/effects/lightning_sound.xml"),
         kt::KTWait::waitFor(kLightningRemoveDelay), removed ? RemoveBall::actionWithCell(removed) : nullptr,
         kt::KTRemove::action()});
}

}  // namespace

void Board::explodeAt(const CellRef& cell, char16_t pattern) {
    const unsigned entered = ++explosions_;
    for (const Offset& offset : explosionShape(pattern)) {
        if (auto target = cellAt(cell->x() + offset.dx, cell->y() + offset.dy)) removeBallAt(target);
    }
    // A nested explosion that finished has set the counter back to 0.
    const unsigned now = explosions_;
    const char* effect = nullptr;
    if (now == 1) {
        effect = "data/effects/explode.xml";
    } else if (entered - now == 1) {
        effect = "data/effects/explode_big.xml";
    }
    // The blast shakes the whole field; the removed balls show their own bursts where they were.
    if (effect && parent()) parent()->startEffect(effect, center());
    explosions_ = 0;
}

void Board::removeColor(char16_t type, const CellRef& cell, int size) {
    CellList targets;
    for (int x = cell->x() - size; x <= cell->x() + size; ++x) {
        for (int y = cell->y() - size; y <= cell->y() + size; ++y) {
            auto candidate = cellAt(x, y);
            if (!candidate || candidate == cell || candidate->crate()) continue;
            if (candidate->ball() && candidate->ball()->type() == type)
                targets.push_back(std::move(candidate));
        }
    }
    const auto boardScene = scene();
    if (targets.empty() || !boardScene) {
        removeBallAt(cell);
        return;
    }
    kt::ShuffleArray(targets);
    removeBallAt(cell);
    std::erase_if(removalBolts_, [](const auto& bolt) { return bolt.expired(); });
    float delay = 0;
    CellRef previous = cell;
    while (!targets.empty()) {
        CellRef target = takeLast(targets);
        for (int bolt = 0; bolt < kLightningBolts; ++bolt) {
            auto lightning = kt::KTNode::node<kt::KTLightning>();
            lightning->loadFromFile("data/effects/pw_remove_color_step.xml");
            lightning->setPosition(sceneCenterOf(*previous, *boardScene));
            lightning->setPosition2(sceneCenterOf(*target, *boardScene));
            lightning->setVisible(false);
            boardScene->addChild(lightning);
            lightning->runAction(lightningJump(delay, bolt == 0 ? target : nullptr));
            if (bolt == 0) removalBolts_.push_back(lightning);
        }
        delay += kLightningJumpDelay;
        previous = std::move(target);
    }
}

void Board::removeRandomBlocks() {
    kt::KTLog("removeRandomBlocks");
    const auto powerup = powerupNamed("random");
    if (levelOf(powerup) <= 0) return;
    const auto boardScene = scene();
    const int count = intOption(powerup, "count");
    if (count > 0 && boardScene) {
        kt::KTLog("removeRandomBlocks: count = %i", count);
        CellList cells = cellsByColumn();
        std::erase_if(cells, [](const CellRef& cell) { return !cell->ball() || cell->crate(); });
        kt::ShuffleArray(cells);
        kt::KTLog("removeRandomBlocks: cls size: %i count: %i", cells.size(), count);
        for (int i = 0; i < count && !cells.empty(); ++i) {
            CellRef cell = takeLast(cells);
            cell->setEnabled(false);
            const auto bat =
                boardScene->startEffect("data/effects/bat.xml", sceneCenterOf(*cell, *boardScene));
            runAction(kt::KTWait::waitFor(flyTimeOf(*bat), RemoveBall::actionWithCell(cell)));
        }
    }
    powerup->reset();
    if (boardScene) {
        boardScene->startEffect("data/effects/bats.xml",
                                kt::CGPointSub(absolutePosition(), boardScene->absolutePosition()));
    }
}

void Board::placeRandomBonuses() {
    const auto powerup = powerupNamed("bonuses");
    if (levelOf(powerup) <= 0) return;
    const auto boardScene = scene();
    const int count = intOption(powerup, "count");
    if (count > 0 && boardScene) {
        CellList cells = cellsByColumn();
        std::erase_if(cells, [](const CellRef& cell) {
            return cell->crate() || cell->locked() || !cell->ball() ||
                   cell->ball()->isKindOf(Token::staticClass());
        });
        kt::ShuffleArray(cells);
        kt::KTLog("placeRandomBonuses: cls size: %i count: %i", cells.size(), count);
        std::vector<char16_t> pool;
        for (const kt::KTPlist& bonus : powerup->currentOptions()["bonuses"].arrayValue()) {
            const char16_t letter = ballLetterOf(bonus["type"].stringValue());
            for (auto n = bonus["count"].intValue(); letter != u'\0' && n > 0; --n)
                pool.push_back(letter);
        }
        kt::ShuffleArray(pool);
        for (int i = 0; i < count && !cells.empty(); ++i) {
            CellRef cell = takeLast(cells);
            if (pool.empty()) continue;
            const char16_t letter = takeLast(pool);
            const auto effect = boardScene->startEffect(kt::KTFormat("data/effects/place_%c.xml", letter),
                                                        sceneCenterOf(*cell, *boardScene));
            cell->setEnabled(false);
            auto ball = generateBallOfType(letter);
            runAction(kt::KTWait::waitFor(flyTimeOf(*effect),
                                          PlaceBallAtCell::actionWithCell(std::move(cell), std::move(ball))));
        }
    }
    powerup->reset();
    if (boardScene) {
        boardScene->startEffect("data/effects/bonuses.xml",
                                kt::CGPointSub(absolutePosition(), boardScene->absolutePosition()));
    }
}

void Board::hammerClickAt(const CellRef& cell) {
    const int level = levelOf(powerupNamed("hammer"));
    for (const Offset& offset : hammerShape(level)) {
        const auto target = cellAt(cell->x() + offset.dx, cell->y() + offset.dy);
        if (!target) continue;
        if (target->crate()) {
            target->removeCrate();
        } else {
            removeBallAt(target);
        }
    }
    if (const char* effect = hammerEffect(level); effect && cell->parent()) {
        cell->parent()->startEffect(effect, cell->center());
    }
    finishPowerupClick("hammer");
}

void Board::removeColorClickAt(const CellRef& cell) {
    if (cell->crate() || !cell->ball() || cell->ball()->type() > kLastOrdinaryBall) return;
    removeColor(cell->ball()->type(), cell, intOption(powerupNamed("color"), "size"));
    finishPowerupClick("color");
}

void Board::finishPowerupClick(const std::string& powerupName) {
    finalizeRemove();
    if (const auto powerup = powerupNamed(powerupName)) powerup->reset();
    enterNormalMode();
    highlightPlates();
    highlightCoins();
}

void Board::enterHammerMode() {
    setClickMode(ClickMode::hammer);
    showPointer(hammerPointer(levelOf(powerupNamed("hammer"))));
}

void Board::enterRemoveColorMode() {
    setClickMode(ClickMode::removeColor);
    showPointer(removeColorPointer(levelOf(powerupNamed("color"))));
}

void Board::enterNormalMode() {
    setClickMode(ClickMode::normal);
    if (const auto boardScene = scene()) boardScene->setUnderMouse(nullptr);
}

void Board::showPointer(const char* decorationFile) {
    const auto boardScene = scene();
    if (!boardScene) return;
    auto decoration = kt::KTNode::node();
    if (decorationFile) decoration->loadFromFile(decorationFile);
    boardScene->setUnderMouse(std::move(decoration));
}

}  // namespace moonbrook

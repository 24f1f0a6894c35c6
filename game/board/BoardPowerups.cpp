#include <algorithm>
#include <string>
#include <vector>

#include "engine/actions/KTInstantActions.h"
#include "engine/actions/KTIntervalActions.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTRandom.h"
#include "engine/render/KTFly.h"
#include "game/BallLetter.h"
#include "game/board/Ball.h"
#include "game/board/BallKinds.h"
#include "game/board/Board.h"
#include "game/board/BoardActions.h"
#include "game/board/BoardRules.h"
#include "game/board/Cell.h"
#include "game/progress/PowerupManager.h"

namespace moonbrook {

namespace {

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

// The flight time of the effect's flying node: the wait before its arrival does its work.
float flyTimeOf(const kt::KTNode::Ref& effect) {
    if (!effect) return kPowerupFlightTime;
    const auto fly = effect->getChildByClass<kt::KTFly>();
    return fly ? fly->flyTime() : 0.0f;
}

template <typename T>
T takeLast(std::vector<T>& items) {
    T last = std::move(items.back());
    items.pop_back();
    return last;
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
    if (effect)
        presentation_->startEffect(effect, BoardPresentation::EffectLayer::field, {w() * 0.5f, h() * 0.5f});
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
    kt::ShuffleArray(targets);
    removeBallAt(cell);
    // The bolt jumps from ball to ball; each ball goes a moment after the bolt reaches it, and its cell
    // waits for it meanwhile.
    float delay = 0;
    CellRef previous = cell;
    while (!targets.empty()) {
        CellRef target = takeLast(targets);
        presentation_->showBolt(previous->center(), target->center(), delay);
        target->setEnabled(false);
        runAction(kt::KTWait::waitFor(delay + kLightningRemoveDelay, RemoveBall::actionWithCell(target)));
        delay += kLightningJumpDelay;
        previous = std::move(target);
    }
}

void Board::removeRandomBlocks() {
    kt::KTLog("removeRandomBlocks");
    const auto powerup = powerupNamed("random");
    if (levelOf(powerup) <= 0) return;
    using Layer = BoardPresentation::EffectLayer;
    const int count = intOption(powerup, "count");
    if (count > 0) {
        kt::KTLog("removeRandomBlocks: count = %i", count);
        CellList cells = cellsByColumn();
        std::erase_if(cells, [](const CellRef& cell) { return !cell->ball() || cell->crate(); });
        kt::ShuffleArray(cells);
        kt::KTLog("removeRandomBlocks: cls size: %i count: %i", cells.size(), count);
        for (int i = 0; i < count && !cells.empty(); ++i) {
            CellRef cell = takeLast(cells);
            cell->setEnabled(false);
            const auto bat = presentation_->startEffect("data/effects/bat.xml", Layer::scene, cell->center());
            runAction(kt::KTWait::waitFor(flyTimeOf(bat), RemoveBall::actionWithCell(cell)));
        }
    }
    powerup->reset();
    presentation_->startEffect("data/effects/bats.xml", Layer::scene, kt::CGPointZero);
}

void Board::placeRandomBonuses() {
    const auto powerup = powerupNamed("bonuses");
    if (levelOf(powerup) <= 0) return;
    using Layer = BoardPresentation::EffectLayer;
    const int count = intOption(powerup, "count");
    if (count > 0) {
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
            const auto effect = presentation_->startEffect(kt::KTFormat("data/effects/place_%c.xml", letter),
                                                           Layer::scene, cell->center());
            cell->setEnabled(false);
            auto ball = generateBallOfType(letter);
            runAction(kt::KTWait::waitFor(flyTimeOf(effect),
                                          PlaceBallAtCell::actionWithCell(std::move(cell), std::move(ball))));
        }
    }
    powerup->reset();
    presentation_->startEffect("data/effects/bonuses.xml", Layer::scene, kt::CGPointZero);
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
    if (const char* effect = hammerEffect(level))
        presentation_->startEffect(effect, BoardPresentation::EffectLayer::board, cell->center());
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
    presentation_->showPointer(hammerPointer(levelOf(powerupNamed("hammer"))));
}

void Board::enterRemoveColorMode() {
    setClickMode(ClickMode::removeColor);
    presentation_->showPointer(removeColorPointer(levelOf(powerupNamed("color"))));
}

void Board::enterNormalMode() {
    setClickMode(ClickMode::normal);
    presentation_->showPointer(nullptr);
}

}  // namespace moonbrook

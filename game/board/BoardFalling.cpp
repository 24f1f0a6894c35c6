#include "engine/actions/KTActionTween.h"
#include "engine/actions/KTCompositeActions.h"
#include "engine/actions/KTEase.h"
#include "engine/actions/KTInstantActions.h"
#include "engine/actions/KTIntervalActions.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTRandom.h"
#include "game/board/Ball.h"
#include "game/board/BallGenerator.h"
#include "game/board/BallKinds.h"
#include "game/board/Board.h"
#include "game/board/BoardActions.h"
#include "game/board/CandyRequestManager.h"
#include "game/board/Cell.h"
#include "game/progress/PowerupManager.h"

namespace moonbrook {

namespace {

constexpr int kColumns = static_cast<int>(kSizeX);
constexpr int kRows = static_cast<int>(kSizeY);
constexpr kt::Color kTransparentWhite = kt::KTMakeColor(0x00FFFFFFu);
constexpr kt::KTPosition kDown{0, 1};
// Seconds of play before the tutorials start, and the fixed ones of the first two levels.
constexpr float kTutorialStart = 3;
constexpr float kPlatesTutorialAt = 10;
constexpr float kTokensTutorialAt = 5;
// Candy requests wait this long into the level.
constexpr float kCandyRequestsStart = 5;
constexpr float kEaseRate = 3.0f;
constexpr float kFadeEaseRate = 20.0f;

// Nothing blocks a ball from resting here.
bool isFreeForFall(const CellRef& cell) {
    return cell && cell->exists() && cell->enabled() && !cell->target() && !cell->locked() &&
           !cell->crate() && !cell->ball();
}

// One ball's whole fall along its path when the level starts; the moving counter is left alone.
void startPathFall(Board& board, const CellRef& cell, const CellList& path) {
    const int emission = cell->emission();
    kt::KTActionList moves;
    if (cell->emitter() && emission != 0)
        moves.push_back(
            kt::KTMoveTo::actionWithDuration(static_cast<float>(emission) * kFallTime, cell->position()));
    for (const auto& step : path)
        moves.push_back(kt::KTMoveTo::actionWithDuration(kFallTime, step->position()));

    std::shared_ptr<Ball> ball = cell->ball();
    if (!ball && cell->emitter()) ball = board.generateBall();
    if (!ball) return;
    cell->setBall(nullptr);
    board.addChild(ball);
    ball->stopAllActions();

    const CellRef last = path.back();
    const auto fall =
        kt::KTEaseIn::actionWithAction(std::make_shared<kt::KTSequence>(std::move(moves)), kEaseRate);
    if (!cell->emitter()) {
        ball->setPosition(cell->position());
        ball->runAction(
            kt::KTSequence::actions({fall, PlaceBallAtCell::actionWithCell(last), ShowLanding::action()}));
    } else {
        // Balls leaving one emitter in quick succession start one above the other.
        ball->setPosition(kt::CGPointAdd(cell->position(), {0, -kCellH * static_cast<float>(emission)}));
        ball->setColor(kTransparentWhite);
        const auto fadeIn = kt::KTEaseIn::actionWithAction(
            kt::KTActionTweenColor::actionWithDuration((static_cast<float>(emission) + 3.5f) * kFallTime,
                                                       kt::kColorWhite),
            kFadeEaseRate);
        ball->runAction(kt::KTSequence::actions(
            {kt::KTSpawn::actions({fall, fadeIn}), kt::KTSetColor::actionWithTargetColor(kt::kColorWhite),
             PlaceBallAtCell::actionWithCell(last), ShowLanding::action()}));
        cell->incEmission();
        cell->runAction(kt::KTWait::waitFor(kFallTime, DecEmissionAtCell::action()));
    }
    last->setTarget(true);
}

}  // namespace

void Board::generate() {
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
            const CellRef cell = gridEntryAt(x, y);
            if (!cell || !cell->emitter() || cell->ball()) continue;
            cell->setBall(generateBall());
            generateStepForCell(cell, kDown);
        }
    }

    for (int steps = 1; steps > 0;) {
        steps = 0;
        for (int y = kRows - 1; y >= 0; --y) {
            for (int x = 0; x < kColumns; ++x) {
                const CellRef cell = gridEntryAt(x, y);
                if (cell && cell->ball() && !cell->locked() && !cell->ball()->moving() &&
                    generateStepForCell(cell, kDown))
                    ++steps;
            }
        }
    }

    for (int y = kRows - 1; y >= 0; --y) {
        for (int x = 0; x < kColumns; ++x) {
            const CellRef cell = cellAt(x, y);
            if (!cell || cell->locked() || !cell->ball() || cell->ball()->moving()) continue;
            if (generateStepForCell(cell, kDown)) continue;
            const int first = kt::KTRandom::shared().next() % 2 == 0 ? -1 : 1;
            if (!generateStepForCell(cell, {first, 1})) generateStepForCell(cell, {-first, 1});
        }
    }
}

bool Board::canStep(const Cell& cell, kt::KTPosition direction) const {
    const CellRef next = gridEntryAt(cell.x() + direction.x, cell.y() + direction.y);
    const std::shared_ptr<Ball>& ball = cell.ball();
    if (!next || !next->exists() || !ball || next->ball()) return false;
    if (cell.locked() || cell.crate() || isGhost(ball.get())) return false;
    if (next->locked() || next->crate() || ball->moving()) return false;
    if (!next->enabled() || next->target()) return false;
    return direction.x == 0 || !checkUpAt(*next);
}

bool Board::fallPending() const {
    if (pause_) return false;
    for (int y = 0; y < kRows; ++y) {
        for (int x = 0; x < kColumns; ++x) {
            const CellRef cell = gridEntryAt(x, y);
            if (!cell || !cell->ball() || cell->locked()) continue;
            if (canStep(*cell, kDown)) return true;
            if (cell->exists() && (canStep(*cell, {-1, 1}) || canStep(*cell, {1, 1}))) return true;
        }
    }
    return false;
}

bool Board::generateStepForCell(const CellRef& cell, kt::KTPosition direction) {
    if (!canStep(*cell, direction)) return false;
    const CellRef next = gridEntryAt(cell->x() + direction.x, cell->y() + direction.y);
    const std::shared_ptr<Ball> ball = cell->ball();
    cell->setBall(nullptr);
    addChild(ball);
    ball->stopAllActions();
    ball->setMoving(true);
    ball->stopAllActions();
    next->setTarget(true);
    const kt::CGPoint destination =
        kt::CGPointAdd(cell->position(),
                       {static_cast<float>(direction.x) * kCellW, static_cast<float>(direction.y) * kCellH});
    ball->setPosition(cell->position());
    const auto move = kt::KTMoveTo::actionWithDuration(kFallTime, destination);
    if (!cell->emitter()) {
        ball->runAction(kt::KTSequence::actions({move, PlaceBallAtCell::actionWithCell(next)}));
        return true;
    }
    // A new ball fades in while it drops into the field.
    ball->setColor(kTransparentWhite);
    ball->runAction(kt::KTSequence::actions(
        {kt::KTSpawn::actions({move, kt::KTActionTweenColor::actionWithDuration(kFallTime, kt::kColorWhite)}),
         PlaceBallAtCell::actionWithCell(next), kt::KTSetColor::actionWithTargetColor(kt::kColorWhite)}));
    return true;
}

bool Board::checkUp(kt::KTPosition position) const {
    for (int y = position.y - 1; y >= 0; --y) {
        const CellRef above = gridEntryAt(position.x, y);
        if (!above) return false;
        if (above->emitter()) return true;
        if (above->locked() || above->crate()) return false;
        if (above->ball()) return true;
    }
    return false;
}

CellList Board::findFallPathFrom(const CellRef& cell) const {
    CellList path{cell};
    int x = cell->x();
    for (int y = cell->y() + 1; y < kRows; ++y) {
        if (const CellRef below = gridEntryAt(x, y); isFreeForFall(below)) {
            path.push_back(below);
            continue;
        }
        // Balls from emitters only fall straight.
        if (cell->emitter()) break;
        bool slid = false;
        for (const int side : {1, -1}) {
            const CellRef beside = gridEntryAt(x + side, y);
            const CellRef aboveBeside = gridEntryAt(x + side, y - 1);
            if (!isFreeForFall(beside) || checkUpAt(*beside)) continue;
            if (aboveBeside && ((aboveBeside->ball() && !aboveBeside->locked()) || aboveBeside->emitter() ||
                                aboveBeside->target()))
                continue;
            path.push_back(beside);
            x += side;
            slid = true;
            break;
        }
        if (!slid) break;
    }
    if (path.size() > 1) return path;
    return {};
}

void Board::setMovements() {
    for (int y = kRows - 1; y >= 0; --y) {
        for (int x = 0; x < kColumns; ++x) {
            const CellRef cell = gridEntryAt(x, y);
            if (!cell || !(cell->ball() || cell->emitter()) || cell->locked() || cell->crate() ||
                isGhost(cell->ball().get()))
                continue;
            const CellList path = findFallPathFrom(cell);
            if (path.empty()) continue;
            startPathFall(*this, cell, path);
        }
    }
}

void Board::update(float dt) {
    if (!pause_) {
        generate();
        showTutorials();
        updateTimers(dt);
        if (playTime_ > kCandyRequestsStart && candyRequestManager_) candyRequestManager_->update(dt);
        playTime_ += dt;
        if (ballGenerator_) ballGenerator_->setPlayTime(playTime_);
        timeFromLastSwap_ += dt;
        if (timeFromLastSwap_ > kHintTime) {
            findTurn();
            timeFromLastSwap_ = 0;
        }
        checkNoMoveNotice();
        PowerupManager::currentPowerupManager().fillFor(dt);
    }
    if (delayedRemoveLines_ && !moving()) {
        removeLines();
        delayedRemoveLines_ = false;
        finalizeRemove();
    }
    presentation_->showHud(*this);
}

void Board::updateTimers(float dt) {
    lightwaveT_ += dt;
    if (kt::randf(15, 25) <= lightwaveT_) {
        lightwaveT_ = 0;
        startLightWave();
    }
    randomT_ += dt;
    if (kt::randf(5, 10) <= randomT_) {
        randomT_ = 0;
        startRandom();
    }
    rocketsCounter_ += dt;
    if (rocketsCounter_ >= kRocketTick) {
        rocketTick();
        rocketsCounter_ -= kRocketTick;
    }
}

// Each level feature's key is offered once; the fixed tutorials of the first levels are offered every frame
// of their time and shown once by the presentation.
void Board::showTutorials() {
    const auto show = [this](const std::string& key) { presentation_->showTutorial(key); };
    if (levelName_ == "001") {
        if (playTime_ > kPlatesTutorialAt)
            show("plates");
        else if (playTime_ >= kTutorialStart)
            show("basics");
    } else if (levelName_ == "002" && playTime_ > kTokensTutorialAt) {
        show("tokens");
    }
    if (playTime_ < kTutorialStart || typesForTutorial_.size() == 0) return;
    const std::string key = typesForTutorial_.keys().back();
    show(key);
    typesForTutorial_.erase(key);
}

}  // namespace moonbrook

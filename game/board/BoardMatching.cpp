#include <algorithm>

#include "engine/actions/KTInstantActions.h"
#include "engine/actions/KTIntervalActions.h"
#include "engine/core/KTFormat.h"
#include "game/board/Ball.h"
#include "game/board/BallKinds.h"
#include "game/board/Board.h"
#include "game/board/BoardRules.h"
#include "game/board/Cell.h"
#include "game/progress/BonusManager.h"
#include "game/progress/PowerupManager.h"

namespace moonbrook {

namespace {

// Effects of a removal by its size: sounds for plain and for candy balls, and the burst at the last turn.
struct RemovalEffects {
    const char* plainSound;
    const char* candySound;
    const char* burst;
};

RemovalEffects removalEffectsFor(std::size_t removed) {
    if (removed <= 3) return {"data/effects/remove.xml", "data/effects/remove_candy.xml", nullptr};
    if (removed <= 5)
        return {"data/effects/remove_big_sound.xml", "data/effects/remove_big_candy_sound.xml",
                "data/effects/remove_big.xml"};
    return {"data/effects/remove_epic_sound.xml", "data/effects/remove_epic_candy_sound.xml",
            "data/effects/remove_epic.xml"};
}

}  // namespace

CellList Board::testLine(const Cell& cell, int dx, int dy, const Ball& ball, int firstDirection) const {
    CellList line;
    // A ball in a crate is never part of a line, not even of one through its own cell.
    if (ball.moving() || !cell.enabled() || cell.crate()) return line;
    const auto walk = [&](int stepX, int stepY) {
        for (int x = cell.x() + stepX, y = cell.y() + stepY;; x += stepX, y += stepY) {
            const CellRef candidate = cells_.objectAt(x, y);
            if (!candidate || !candidate->exists() || !candidate->enabled()) return;
            const Ball* other = candidate->ball().get();
            if (!other || other == &ball || candidate->crate()) return;
            if (!ballMatchesBallsInCells(*other, line) || !other->matchWith(ball) || other->moving()) return;
            line.push_back(candidate);
        }
    };
    walk(firstDirection * dx, firstDirection * dy);
    walk(-firstDirection * dx, -firstDirection * dy);
    line.push_back(gridEntryAt(cell.x(), cell.y()));
    if (line.size() < kMinLine) line.clear();
    return line;
}

// Both walking orders: with a wildcard in the line they can find different cells.
CellList Board::testLine(const Cell& cell, int dx, int dy, const Ball& ball) const {
    CellList line = testLine(cell, dx, dy, ball, 1);
    const CellList reversed = testLine(cell, dx, dy, ball, -1);
    line.insert(line.end(), reversed.begin(), reversed.end());
    return line;
}

CellList Board::testLine(const Cell& cell, int dx, int dy) const {
    if (!cell.ball()) return {};
    return testLine(cell, dx, dy, *cell.ball());
}

bool Board::ballMatchesBallsInCells(const Ball& ball, const CellList& cells) const {
    return std::ranges::all_of(
        cells, [&](const CellRef& cell) { return cell->ball() && ball.matchWith(*cell->ball()); });
}

CellList Board::checkLineAtCell(const Cell& cell) const {
    CellList lines = testLine(cell, 0, 1);
    const CellList horizontal = testLine(cell, 1, 0);
    lines.insert(lines.end(), horizontal.begin(), horizontal.end());
    return uniqueCells(std::move(lines));
}

CellList Board::uniqueCells(CellList cells) {
    CellList unique;
    for (auto it = cells.rbegin(); it != cells.rend(); ++it) {
        if (std::ranges::find(unique, *it) == unique.end()) unique.push_back(*it);
    }
    return unique;
}

bool Board::removeLines() {
    if (moving()) return false;
    CellList lines;
    for (const CellRef& cell : cellsByColumn()) {
        if (!cell->ball()) continue;
        for (const auto& line : {testLine(*cell, 0, 1), testLine(*cell, 1, 0)})
            lines.insert(lines.end(), line.begin(), line.end());
    }
    return removeAtCells(lines);
}

bool Board::removeAtCells(const CellList& cells) {
    CellList unique = uniqueCells(cells);
    const std::size_t removed = unique.size();
    if (removed < kMinLine) return false;
    // The first cell of the list removed last: its letter picks the sounds.
    char16_t letter = u'a';
    while (!unique.empty()) {
        const CellRef cell = unique.back();
        unique.pop_back();
        if (cell->ball()) letter = cell->ball()->type();
        removeBallAt(cell);
    }

    const RemovalEffects effects = removalEffectsFor(removed);
    using Layer = BoardPresentation::EffectLayer;
    presentation_->startEffect(letter < u'a' ? effects.plainSound : effects.candySound, Layer::field,
                               {w() * 0.5f, h() * 0.5f});
    if (const CellRef lastTurn = lastTurnCell_.lock(); effects.burst && lastTurn)
        presentation_->startEffect(effects.burst, Layer::field, lastTurn->center());
    if (removed == kMinLine) {
        highlightPlates();
        highlightCoins();
    }
    lastTurnBalls_ = static_cast<unsigned>(removed);
    finalizeRemove();
    return true;
}

void Board::removeBallAt(const CellRef& cell, bool forced) {
    // A ball already marked in this removal is on its way out: it scores, collects and breaks plates once.
    if (!cell || !cell->exists() || !cell->ball() || cell->removeFlag()) return;
    const std::shared_ptr<Ball> ball = cell->ball();
    if (!forced && (isGhost(ball.get()) || dynamic_cast<const Token*>(ball.get()))) return;
    if (cell->crate()) {
        cell->setRemoveCrateFlag(true);
        return;
    }
    if (cell->locked()) {
        presentation_->startEffect("data/effects/unlock.xml", BoardPresentation::EffectLayer::board,
                                   cell->center());
        cell->setLocked(false);
        cell->setEnabled(true);
        return;
    }

    removeCratesAt(*cell);
    cell->setEnabled(true);
    const char16_t type = ball->type();
    const int requestor = decCandyRequestForType(type);
    // Marked before it goes off, so that its own explosion or rockets do not remove it a second time.
    cell->setRemoveFlag(true);
    if (ball->canDetonate()) ball->detonate();
    PowerupManager::currentPowerupManager().fillWith(type);

    const unsigned platesBefore = cell->plates();
    cell->removePlate();
    if (cell->plates() < platesBefore) platesCount_ -= cell->plates() == 1 ? kDoublePlateWeight : 1;
    presentation_->showHud(*this);

    score_ += kPointsPerBall;

    using Layer = BoardPresentation::EffectLayer;
    if (requestor >= 0) {
        presentation_->startEffect(kt::KTFormat("data/effects/remove_ball%c_tr%i.xml", type, requestor),
                                   Layer::scene, cell->center());
        return;
    }
    presentation_->startEffect(kt::KTFormat("data/effects/remove_ball%c.xml", type), Layer::field,
                               cell->center());
    if (const auto score =
            presentation_->startEffect("data/effects/ball_score.xml", Layer::field, cell->center()))
        score->setText(kt::KTFormat("%u", kPointsPerBall));
}

void Board::removeCratesAt(const Cell& cell) {
    for (const kt::KTPosition offset : {kt::KTPosition{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        if (const CellRef neighbour = cellAt(cell.x() + offset.x, cell.y() + offset.y))
            neighbour->setRemoveCrateFlag(true);
    }
}

void Board::finalizeRemove() {
    const CellRef lastTurn = lastTurnCell_.lock();
    const auto self = sharedAs<Board>();
    for (int x = 0; x < static_cast<int>(kSizeX); ++x) {
        for (int y = 0; y < static_cast<int>(kSizeY); ++y) {
            const CellRef cell = gridEntryAt(x, y);
            if (!cell) continue;
            if (cell->removeFlag()) {
                std::shared_ptr<Ball> replacement;
                if (cell == lastTurn && lastTurnBalls_ > 3) {
                    const int matchSize = static_cast<int>(lastTurnBalls_);
                    replacement =
                        generateBallOfType(BonusManager::currentManager().getBonusTypeForMatch(matchSize));
                } else {
                    auto ghost = std::make_shared<Ghost>();
                    ghost->init(self, kGhostTime);
                    replacement = std::move(ghost);
                }
                cell->setBall(std::move(replacement));
                cell->setRemoveFlag(false);
            }
            if (cell->removeCrateFlag()) {
                cell->removeCrate();
                cell->setRemoveCrateFlag(false);
            }
        }
    }
    lastTurnCell_.reset();
    lastTurnBalls_ = 0;
    runAction(kt::KTWait::waitFor(kWinCheckDelay, kt::KTCall::actionWithSelectorName("checkWin")));
}

void Board::highlightPlates() {
    if (plates() > kPlatesCountHighlight) return;
    highlightCells(BoardPresentation::Highlight::plates, [](const Cell& cell) { return cell.plates() > 0; });
}

void Board::highlightCoins() {
    if (plates() > 0) return;
    highlightCells(BoardPresentation::Highlight::coins,
                   [](const Cell& cell) { return dynamic_cast<const Token*>(cell.ball().get()) != nullptr; });
}

void Board::highlightCells(BoardPresentation::Highlight kind, bool (*wanted)(const Cell&)) {
    CellList marked = cellsByColumn();
    std::erase_if(marked, [wanted](const CellRef& cell) { return !wanted(*cell); });
    presentation_->showHighlights(kind, marked);
}

}  // namespace moonbrook

#include <vector>

#include "engine/actions/KTCompositeActions.h"
#include "engine/actions/KTInstantActions.h"
#include "engine/actions/KTIntervalActions.h"
#include "engine/core/KTRandom.h"
#include "game/board/Ball.h"
#include "game/board/Board.h"
#include "game/board/BoardActions.h"
#include "game/board/BoardRules.h"
#include "game/board/Cell.h"

namespace moonbrook {

namespace {

// Cells of a line the swap makes stay disabled until the swap is judged again; the enabled ones among them
// are listed so that exactly those are enabled afterwards.
void lockLine(const CellList& line, CellList& unlockList) {
    if (line.size() < kMinLine) return;
    for (const auto& cell : line) {
        if (cell->enabled()) unlockList.push_back(cell);
        cell->setEnabled(false);
    }
}

}  // namespace

void Board::setSelected(const CellRef& cell) {
    if (const auto old = selected_.lock(); old && old->ball()) old->ball()->setSelected(false);
    selected_ = cell;
    if (cell && cell->ball()) cell->ball()->setSelected(true);
    presentation_->showHints({});
    presentation_->showSelection(cell.get());
}

void Board::swapCell(Cell& a, Cell& b) {
    const auto ballA = a.ball();
    const auto ballB = b.ball();
    a.setBall(ballB);
    b.setBall(ballA);
}

void Board::startSwapWith(const CellRef& cell) {
    const auto from = selected();
    if (!from || !cell || cell->locked()) return;
    const auto fromBall = from->ball();
    const auto toBall = cell->ball();
    if (!fromBall || !toBall || fromBall->moving() || toBall->moving()) return;
    if (!from->isOrthogonalNeighbourOf(*cell)) {
        setSelected(cell);
        return;
    }

    // Judged on the model: the balls change places, the lines are read, and the model is put back.
    swapCell(*from, *cell);
    const SwapJudgement judgement = judgeSwap(*from, *cell);
    const bool resultative = judgement.resultative;
    CellList unlockList;
    lockLine(judgement.lineB, unlockList);
    lockLine(judgement.lineA, unlockList);
    swapCell(*from, *cell);
    setSelected(nullptr);

    const kt::CGPoint fromPosition = from->position();
    const kt::CGPoint toPosition = cell->position();
    addChild(toBall);
    addChild(fromBall);
    from->setEnabled(false);
    cell->setEnabled(false);
    fromBall->stopAllActions();
    toBall->stopAllActions();
    fromBall->moveTo(fromPosition);
    toBall->moveTo(toPosition);

    using kt::KTMoveTo;
    const kt::CGPoint middle{w() * 0.5f, h() * 0.5f};
    if (resultative) {
        toBall->runAction(kt::KTSequence::actions({KTMoveTo::actionWithDuration(kSwitchTime, fromPosition)}));
        fromBall->runAction(kt::KTSequence::actions(
            {KTMoveTo::actionWithDuration(kSwitchTime, toPosition),
             kt::KTSpawn::actions(
                 {PlaceBallAtCell::actionWithCell(cell, fromBall),
                  kt::KTStopAllActions::actionWithTarget(toBall),
                  PlaceBallAtCell::actionWithCell(from, toBall),
                  std::make_shared<FinishSwapActionNew>(std::move(unlockList), from, cell)})}));
        presentation_->startEffect("data/effects/swap.xml", BoardPresentation::EffectLayer::field, middle);
    } else {
        toBall->runAction(kt::KTSequence::actions({KTMoveTo::actionWithDuration(kSwitchTime, fromPosition),
                                                   KTMoveTo::actionWithDuration(kSwitchTime, toPosition)}));
        fromBall->runAction(
            kt::KTSequence::actions({KTMoveTo::actionWithDuration(kSwitchTime, toPosition),
                                     KTMoveTo::actionWithDuration(kSwitchTime, fromPosition),
                                     kt::KTSpawn::actions({PlaceBallAtCell::actionWithCell(from, fromBall),
                                                           kt::KTStopAllActions::actionWithTarget(toBall),
                                                           PlaceBallAtCell::actionWithCell(cell, toBall)})}));
        presentation_->startEffect("data/effects/swap_unres.xml", BoardPresentation::EffectLayer::field,
                                   middle);
    }

    timeFromLastSwap_ = 0;
    fromBall->setMoving(true);
    toBall->setMoving(true);
}

SwapJudgement Board::judgeSwap(const Cell& a, const Cell& b) const {
    SwapJudgement judgement{checkLineAtCell(a), checkLineAtCell(b)};
    const auto detonates = [](const Cell& cell) { return cell.ball() && cell.ball()->canDetonate(); };
    judgement.resultative = judgement.lineA.size() >= kMinLine || judgement.lineB.size() >= kMinLine ||
                            detonates(a) || detonates(b);
    return judgement;
}

bool Board::checkTurnTo(const Cell& cell, const Cell& neighbour) const {
    const auto& moved = neighbour.ball();
    if (!neighbour.exists() || !moved || cell.locked() || neighbour.locked()) return false;
    // Only the line across the move is searched, so a move that merely lengthens a line along its own
    // direction is not offered as a hint.
    const bool vertical = cell.x() == neighbour.x();
    CellList line = vertical ? testLine(cell, 1, 0, *moved) : testLine(cell, 0, -1, *moved);
    const CellList back = vertical ? testLine(cell, -1, 0, *moved) : testLine(cell, 0, 1, *moved);
    line.insert(line.end(), back.begin(), back.end());
    return line.size() > kMinLine;
}

std::vector<Turn> Board::findAllTurns() const {
    static constexpr kt::KTPosition kNeighbourOffsets[] = {{0, 1}, {0, -1}, {1, 0}, {-1, 0}};
    const auto movable = [](const CellRef& cell) {
        return cell && cell->exists() && cell->ball() && !cell->crate();
    };
    std::vector<Turn> turns;
    for (const CellRef& cell : cellsByColumn()) {
        if (!movable(cell)) continue;
        for (const auto offset : kNeighbourOffsets) {
            const CellRef neighbour = cellAt(cell->x() + offset.x, cell->y() + offset.y);
            if (movable(neighbour) && checkTurnTo(*cell, *neighbour)) turns.push_back({cell, neighbour});
        }
    }
    return turns;
}

void Board::findTurn() {
    const std::vector<Turn> turns = findAllTurns();
    if (turns.empty() && idle()) setNoMoveNotice(true);
    if (turns.empty()) {
        presentation_->showHints({});
        return;
    }
    const std::size_t pick =
        turns.size() == 1 ? 0 : static_cast<std::size_t>(kt::KTRandom::shared().next()) % turns.size();
    presentation_->showHints({turns[pick]});
}

void Board::setNoMoveNotice(bool shown) {
    if (shown == noMoveNotice_) return;
    noMoveNotice_ = shown;
    presentation_->showNoMoveNotice(shown);
}

void Board::checkNoMoveNotice() {
    if (noMoveNotice_ && idle() && !findAllTurns().empty()) setNoMoveNotice(false);
}

void Board::findTurns() {
    presentation_->showHints(findAllTurns());
}

void Board::startRocketAt(const Cell& cell, int vx, int vy) {
    rockets_.emplace_back(cell.x(), cell.y(), vx, vy);
}

void Board::rocketTick() {
    // A ball hit here may fire new rockets; they join the list and fly from the next tick on.
    const std::size_t flying = rockets_.size();
    for (std::size_t i = 0; i < flying && i < rockets_.size(); ++i) {
        rockets_[i].step();
        const Rocket rocket = rockets_[i];
        if (const CellRef cell = cellAt(rocket.x(), rocket.y())) {
            if (cell->crate())
                cell->setRemoveCrateFlag(true);
            else
                removeBallAt(cell);
        }
        finalizeRemove();
    }
    const auto landed = std::erase_if(rockets_, [](const Rocket& rocket) { return rocket.end(); });
    if (landed > 0 && rockets_.empty()) {
        highlightPlates();
        highlightCoins();
    }
}

}  // namespace moonbrook

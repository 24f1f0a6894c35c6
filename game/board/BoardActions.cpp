#include "game/board/BoardActions.h"

#include "game/board/Ball.h"
#include "game/board/Board.h"
#include "game/board/Cell.h"

namespace moonbrook {

namespace {

// A restarted level has new cells; a ball still landing in an old one no longer counts on the board.
bool belongsToField(const Cell& cell) {
    const auto board = cell.board();
    return board && board->gridEntryAt(cell.x(), cell.y()).get() == &cell;
}

}  // namespace

std::shared_ptr<PlaceBallAtCell> PlaceBallAtCell::actionWithCell(std::shared_ptr<Cell> cell,
                                                                 std::shared_ptr<Ball> ball) {
    return std::make_shared<PlaceBallAtCell>(std::move(cell), std::move(ball));
}

PlaceBallAtCell::PlaceBallAtCell(std::shared_ptr<Cell> cell, std::shared_ptr<Ball> ball)
    : cell_(std::move(cell)), ball_(std::move(ball)) {}

void PlaceBallAtCell::execute() {
    const std::shared_ptr<Ball> ball = ball_ ? ball_ : std::dynamic_pointer_cast<Ball>(targetRef());
    // Dropped as soon as the landing is done: the action must not keep a cycle alive.
    const std::shared_ptr<Cell> cell = std::move(cell_);
    ball_.reset();
    if (!ball || !cell) return;
    if (!belongsToField(*cell)) {
        ball->setMovingFlag(false);
        return;
    }
    cell->setBall(ball);
    ball->moveTo({0, 0});
    ball->moveEnd();
    ball->setMoving(false);
    cell->setTarget(false);
    ball->clearTarget();
    cell->setEnabled(true);
    if (const auto board = cell->board()) board->delayedRemoveLines();
}

void FinishFallAction::execute() {
    const auto ball = std::dynamic_pointer_cast<Ball>(targetRef());
    if (!ball) return;
    const std::shared_ptr<Cell> newCell = ball->target();
    Cell* oldCell = ball->cell();
    const std::shared_ptr<Cell> keepOld = oldCell ? oldCell->sharedAs<Cell>() : nullptr;
    if (!newCell || !belongsToField(*newCell)) {
        ball->clearTarget();
        ball->setMovingFlag(false);
        return;
    }
    newCell->setBall(ball);
    ball->moveTo({0, 0});
    ball->setMoving(false);
    ball->moveEnd();
    newCell->setTarget(false);
    ball->clearTarget();
    if (keepOld) keepOld->setEnabled(true);
    newCell->setEnabled(true);
}

void ShowLanding::execute() {
    const auto* ball = dynamic_cast<Ball*>(target());
    const Cell* cell = ball ? ball->cell() : nullptr;
    const auto board = ball ? ball->board() : nullptr;
    if (!cell || !board) return;
    board->presentation().startEffect("data/effects/fall.xml", BoardPresentation::EffectLayer::board,
                                      cell->center());
}

void DecEmissionAtCell::execute() {
    if (auto* cell = dynamic_cast<Cell*>(target())) cell->decEmission();
}

void RemoveBall::execute() {
    const std::shared_ptr<Cell> cell = std::move(cell_);
    const auto board = cell ? cell->board() : nullptr;
    if (!board) return;
    board->removeBallAt(cell);
    cell->setEnabled(true);
    board->finalizeRemove();
}

FinishSwapActionNew::FinishSwapActionNew(std::vector<std::shared_ptr<Cell>> swapUnlockList,
                                         std::shared_ptr<Cell> cellA, std::shared_ptr<Cell> cellB)
    : cellA_(std::move(cellA)), cellB_(std::move(cellB)), swapUnlockList_(std::move(swapUnlockList)) {}

void FinishSwapActionNew::execute() {
    for (const auto& cell : swapUnlockList_)
        cell->setEnabled(true);
    const auto board = cellA_ ? cellA_->board() : nullptr;
    if (!board || !cellB_) return;
    const SwapJudgement judgement = board->judgeSwap(*cellA_, *cellB_);
    if (!judgement.resultative) return;
    const std::shared_ptr<Ball> ballA = cellA_->ball();
    const std::shared_ptr<Ball> ballB = cellB_->ball();
    if (ballA && ballB) {
        ballA->detonateWith(*ballB);
        ballB->detonateWith(*ballA);
    }
    board->setLastTurnCell(cellB_);
    CellList lines = judgement.lineA;
    lines.insert(lines.end(), judgement.lineB.begin(), judgement.lineB.end());
    board->removeAtCells(lines);
}

}  // namespace moonbrook

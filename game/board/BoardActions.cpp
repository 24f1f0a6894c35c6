#include "game/board/BoardActions.h"

#include "game/board/Ball.h"
#include "game/board/Cell.h"

namespace moonbrook {

std::shared_ptr<PlaceBallAtCell> PlaceBallAtCell::actionWithCell(std::shared_ptr<Cell> cell,
                                                                 std::shared_ptr<Ball> ball) {
    return std::make_shared<PlaceBallAtCell>(std::move(cell), std::move(ball));
}
PlaceBallAtCell::PlaceBallAtCell(std::shared_ptr<Cell> cell, std::shared_ptr<Ball> ball)
    : cell_(std::move(cell)), ball_(std::move(ball)) {}
void PlaceBallAtCell::execute() {}
void FinishFallAction::execute() {}
void DecEmissionAtCell::execute() {}
void RemoveBall::execute() {}
FinishSwapActionNew::FinishSwapActionNew(std::vector<std::shared_ptr<Cell>> swapUnlockList,
                                         std::shared_ptr<Cell> cellA, std::shared_ptr<Cell> cellB)
    : cellA_(std::move(cellA)), cellB_(std::move(cellB)), swapUnlockList_(std::move(swapUnlockList)) {}
void FinishSwapActionNew::execute() {}

}  // namespace moonbrook

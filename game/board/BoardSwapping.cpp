#include "game/board/Board.h"
#include "game/board/Cell.h"

namespace moonbrook {

void Board::setSelected(const CellRef& cell) { selected_ = cell; }
void Board::swapCell(Cell&, Cell&) {}
void Board::startSwapWith(const CellRef&) {}
bool Board::checkTurnTo(const Cell&, const Cell&) const { return false; }
std::vector<Turn> Board::findAllTurns() const { return {}; }
void Board::findTurn() {}
void Board::findTurns() {}
void Board::startRocketAt(const Cell&, int, int) {}
void Board::rocketTick() {}

}  // namespace moonbrook

#include "game/board/Board.h"
#include "game/board/Cell.h"

namespace moonbrook {

void Board::generate() {}
bool Board::generateStepForCell(const CellRef&, kt::KTPosition) { return false; }
bool Board::checkUp(kt::KTPosition) const { return false; }
CellList Board::findFallPathFrom(const CellRef&) const { return {}; }
void Board::setMovements() {}
void Board::update(float) {}
void Board::updateTimers(float) {}
void Board::showTutorials() {}

}  // namespace moonbrook

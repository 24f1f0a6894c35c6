#include "game/board/Board.h"
#include "game/board/Cell.h"

namespace moonbrook {

CellList Board::testLine(const Cell&, int, int, const Ball&, int) const { return {}; }
CellList Board::testLine(const Cell&, int, int, const Ball&) const { return {}; }
CellList Board::testLine(const Cell&, int, int) const { return {}; }
bool Board::ballMatchesBallsInCells(const Ball&, const CellList&) const { return false; }
CellList Board::checkLineAtCell(const Cell&) const { return {}; }
bool Board::removeLines() { return false; }
bool Board::removeAtCells(const CellList&) { return false; }
void Board::removeBallAt(const CellRef&, bool) {}
void Board::removeCratesAt(const Cell&) {}
void Board::finalizeRemove() {}
void Board::highlightPlates() {}
void Board::highlightCoins() {}
CellList Board::uniqueCells(CellList cells) { return cells; }

}  // namespace moonbrook

#include "game/board/Board.h"

namespace moonbrook {

void Board::explodeAt(const CellRef&, char16_t) {}
void Board::removeColor(char16_t, const CellRef&, int) {}
void Board::removeRandomBlocks() {}
void Board::placeRandomBonuses() {}
void Board::hammerClickAt(const CellRef&) {}
void Board::removeColorClickAt(const CellRef&) {}
void Board::enterHammerMode() {}
void Board::enterRemoveColorMode() {}
void Board::enterNormalMode() {}
void Board::finishPowerupClick(const std::string&) {}

}  // namespace moonbrook

#include "game/board/Board.h"

namespace moonbrook {

void Board::loadData() {}
void Board::startLightWave() {}
void Board::startRandom() {}

}  // namespace moonbrook

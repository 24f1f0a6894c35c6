#include "game/board/Board.h"
#include "game/board/Cell.h"

namespace moonbrook {

void Cell::buttonDown(kt::ButtonName, kt::CGPoint) {}
void Cell::buttonUp(kt::ButtonName, kt::CGPoint) {}
void Cell::mouseMove(kt::CGPoint) {}
void Cell::mouseEnter() {}
bool Cell::canMoveToCell(const Cell&) const { return false; }
bool Cell::isMouseFocus() const { return false; }
void Cell::clearMouseFocus() {}
void Cell::handleNormalClick(kt::CGPoint) {}

}  // namespace moonbrook

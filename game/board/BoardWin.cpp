#include "engine/core/KTLog.h"
#include "game/board/Ball.h"
#include "game/board/BallKinds.h"
#include "game/board/Board.h"
#include "game/board/CandyRequestManager.h"
#include "game/board/Cell.h"

namespace moonbrook {

void Board::checkWin() {
    if (pause_ || tokensCount_ > 0 || hasPlates() || !reqsCollected()) return;
    kt::KTLog("WIN! plates=%i", plates());
    setEnabled(false);
    presentation_->showHints({});
    presentation_->showHighlights(BoardPresentation::Highlight::plates, {});
    presentation_->showPointer(nullptr);
    pause_ = true;
    presentation_->levelWon(*this);
}

bool Board::reqsCollected() const {
    return !candyRequestManager_ || candyRequestManager_->reqsCollected();
}

// A development shortcut: clears what stands between the board and a win, so that the next check wins.
void Board::instantWin() {
    for (int x = 0; x < static_cast<int>(kSizeX); ++x) {
        for (int y = 0; y < static_cast<int>(kSizeY); ++y) {
            const CellRef cell = cellAt(x, y);
            if (!cell) continue;
            cell->setPlates(0);
            cell->setCrateLevel(0);
            if (cell->ball() && cell->ball()->isKindOf(Token::staticClass())) {
                removeBallAt(cell, true);
                decTokens();
            }
        }
    }
    if (candyRequestManager_) {
        candyRequestManager_->setReqs(kt::KTPlist::emptyDictionary());
        candyRequestManager_->reset();
    }
    cheat_ = true;
}

}  // namespace moonbrook

#include <string>

#include "engine/core/KTFormat.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTScene.h"
#include "engine/render/KTText.h"
#include "engine/services/KTUser.h"
#include "engine/services/KTUserManager.h"
#include "game/LevelManager.h"
#include "game/board/Ball.h"
#include "game/board/BallKinds.h"
#include "game/board/Board.h"
#include "game/board/CandyRequestManager.h"
#include "game/board/Cell.h"

namespace moonbrook {

namespace {

void setSceneTime(const Board& board, std::string_view name, float seconds) {
    if (const auto text = std::dynamic_pointer_cast<kt::KTText>(board.sceneNode(name)))
        text->setTime(seconds);
}

}  // namespace

void Board::checkWin() {
    if (pause_ || tokensCount_ > 0 || hasPlates() || !reqsCollected()) return;
    kt::KTLog("WIN! plates=%i", plates());

    setEnabled(false);
    for (const char* layer : {"turns", "highlights"}) {
        if (const auto node = sceneNode(layer)) node->removeAllChildren();
    }
    const auto boardScene = scene();
    if (boardScene) boardScene->setUnderMouse(nullptr);
    pause_ = true;

    LevelManager& levels = LevelManager::sharedManager();
    if (const auto stars = sceneNode("stars")) {
        stars->perform("selectChildByName:", kt::KTFormat("%i", levels.levelStars(levelName_, playTime_)));
    }
    setSceneText("final_score", kt::KTFormat("%i", score_));
    setSceneText("final_gold", kt::KTFormat("%i", userPlatesCount_ + startPlatesCount_));
    setSceneText("final_tokens", kt::KTFormat("%i", userTokens_ + initialTokensCount_));
    setSceneTime(*this, "final_time", playTime_);

    if (const auto user = kt::KTUserManager::sharedManager().selectedUser()) {
        user->addTokens(initialTokensCount_);
        kt::KTLog("ADDING PLATES COUNT %i", startPlatesCount_);
        user->addAmount(startPlatesCount_, "plates");
    }
    setSceneTime(*this, "bestLevelTime", levels.recordResult(levelName_, playTime_));
    kt::KTUserManager::sharedManager().save();

    if (boardScene && boardScene->respondsTo("win")) boardScene->perform("win");
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

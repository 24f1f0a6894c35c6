#pragma once

#include <memory>

#include "engine/core/KTDataSource.h"
#include "engine/core/KTObject.h"

namespace moonbrook {

class Board;

// The values the HUD binds to ("GameBoardController" in scene files): the level number, the score, the
// time left as a fraction, and the player's plates (gold) and tokens. The board writes them.
class GameBoardController : public kt::KTObject {
public:
    KT_CLASS(GameBoardController)

    GameBoardController();

    const std::shared_ptr<Board>& board() const { return board_; }
    void setBoard(std::shared_ptr<Board> board) { board_ = std::move(board); }

    const std::shared_ptr<kt::KTStringDataSource>& levelName() const { return levelName_; }
    const std::shared_ptr<kt::KTNumberDataSource>& gameScore() const { return gameScore_; }
    const std::shared_ptr<kt::KTNumberDataSource>& timeProgress() const { return timeProgress_; }
    const std::shared_ptr<kt::KTNumberDataSource>& platesCount() const { return platesCount_; }
    const std::shared_ptr<kt::KTNumberDataSource>& tokensCount() const { return tokensCount_; }

    // The controller the board and the HUD share, made on first request.
    static std::shared_ptr<GameBoardController> shared();

private:
    std::shared_ptr<Board> board_;
    std::shared_ptr<kt::KTStringDataSource> levelName_;
    std::shared_ptr<kt::KTNumberDataSource> gameScore_;
    std::shared_ptr<kt::KTNumberDataSource> timeProgress_;
    std::shared_ptr<kt::KTNumberDataSource> platesCount_;
    std::shared_ptr<kt::KTNumberDataSource> tokensCount_;
};

}  // namespace moonbrook

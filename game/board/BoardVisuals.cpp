#include <string>

#include "engine/actions/KTInstantActions.h"
#include "engine/actions/KTIntervalActions.h"
#include "engine/core/KTRandom.h"
#include "engine/core/KTResourceManager.h"
#include "game/board/Ball.h"
#include "game/board/Board.h"
#include "game/board/Cell.h"

namespace moonbrook {

namespace {

constexpr float kLightWaveStep = 0.05f;
constexpr int kRandomAnimations = 18;
constexpr float kRandomAnimationStep = 0.35f;

constexpr const char* kFrameImages[FrameSet::kPieces] = {
    "data/gfx/board/frame/top.png",
    "data/gfx/board/frame/right.png",
    "data/gfx/board/frame/bottom.png",
    "data/gfx/board/frame/left.png",
    "data/gfx/board/frame/corner_in_top_right.png",
    "data/gfx/board/frame/corner_in_bottom_right.png",
    "data/gfx/board/frame/corner_in_bottom_left.png",
    "data/gfx/board/frame/corner_in_top_left.png",
    "data/gfx/board/frame/corner_out_top_right.png",
    "data/gfx/board/frame/corner_out_bottom_right.png",
    "data/gfx/board/frame/corner_out_bottom_left.png",
    "data/gfx/board/frame/corner_out_top_left.png",
};

// The resting ball of a cell that an idle animation may play on: not the selected one, not one in flight.
Ball* idleBallAt(const Board& board, int x, int y) {
    const CellRef cell = board.cellAt(x, y);
    if (!cell || cell == board.selected()) return nullptr;
    Ball* ball = cell->ball().get();
    return ball && !ball->moving() ? ball : nullptr;
}

void playAnimationAfter(Ball& ball, float delay, const std::string& animation) {
    ball.runAction(
        kt::KTWait::waitFor(delay, kt::KTCall::actionWithSelectorName("setAnimation:", animation)));
}

}  // namespace

void Board::loadData() {
    auto& resources = kt::KTResourceManager::shared();
    back_ = resources.getImage("data/gfx/board/board_01.png");
    boardImages_ = {resources.getImage("data/gfx/board/board_01.png"),
                    resources.getImage("data/gfx/board/board_02.png"),
                    resources.getImage("data/gfx/board/board_03.png")};
    lock_ = resources.getImage("data/gfx/board/lock.png");
    for (std::size_t i = 0; i < FrameSet::kPieces; ++i)
        frame_.at(i) = resources.getImage(kFrameImages[i]);
}

// Sweeps diagonally from the top-left corner, one diagonal every step.
void Board::startLightWave() {
    for (int d = 0; d < 2 * static_cast<int>(kSizeX); ++d) {
        for (int x = 0; x < static_cast<int>(kSizeX); ++x) {
            if (Ball* ball = idleBallAt(*this, x, d - x)) {
                playAnimationAfter(*ball, static_cast<float>(d) * kLightWaveStep, "lightwave");
            }
        }
    }
}

void Board::startRandom() {
    for (int i = 0; i < kRandomAnimations; ++i) {
        const int x = kt::randi(0, static_cast<int>(kSizeX) - 1);
        const int y = kt::randi(0, static_cast<int>(kSizeY) - 1);
        Ball* ball = idleBallAt(*this, x, y);
        if (!ball) continue;
        if (i == 0) {
            ball->setAnimation("random");
        } else {
            playAnimationAfter(*ball, static_cast<float>(i) * kRandomAnimationStep, "random");
        }
    }
}

}  // namespace moonbrook

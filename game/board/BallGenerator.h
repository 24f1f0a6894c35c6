#pragma once

#include <memory>

#include "engine/core/KTPlist.h"

namespace moonbrook {

class Ball;
class Board;

// Chooses the letters of new balls from the level's weights, letting a letter in only after its delay, and
// builds the ball class that a letter stands for.
class BallGenerator {
public:
    BallGenerator(const std::shared_ptr<Board>& board, kt::KTPlist probs, kt::KTPlist delays);

    // A weighted random letter's ball, or none when no letter is allowed yet.
    std::shared_ptr<Ball> generateBall();
    // A token also counts itself on the board.
    std::shared_ptr<Ball> generateBallOfType(char16_t type);

    float playTime() const { return playTime_; }
    void setPlayTime(float seconds) { playTime_ = seconds; }
    void reset() { playTime_ = 0; }

private:
    kt::KTPlist probs_;
    kt::KTPlist delays_;
    std::weak_ptr<Board> board_;
    float playTime_ = 0;
};

}  // namespace moonbrook

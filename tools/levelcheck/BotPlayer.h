#pragma once

#include <cstdint>
#include <memory>

#include "engine/core/KTRandom.h"

namespace moonbrook {
class Board;
}

namespace moonbrook::levelcheck {

class Bot;

struct SimulationOptions {
    // Seconds of one update; every run uses the same so that a seed repeats its run exactly.
    float frameTime = 1.0f / 60;
    // Level seconds a bot spends on a settled board before each move, as a player would.
    float thinkTime = 1.5f;
    // Level seconds after which a run that has not won gives up.
    float maxTime = 600;
    // Level seconds a board without moves waits for a powerup to charge before the level is restarted.
    float stuckWait = 10;
    int maxRestarts = 2;
};

// One played run of a level.
struct RunResult {
    bool won = false;
    // Play time of the winning attempt, as the game records it; the time played when not won.
    float time = 0;
    int moves = 0;
    int powerupsUsed = 0;
    // Settled boards without a possible move, and how the run got out of them.
    int stuckSettles = 0;
    int escapedByPowerup = 0;
    int restarts = 0;
    // Ended on a board without a move that neither a powerup nor a restart could leave.
    bool softLocked = false;

    bool operator==(const RunResult&) const = default;
};

// A bot seated at a running board, told of every update: it waits for the board to settle, thinks, then uses
// a charged powerup or swaps. On a board without moves it waits for a powerup to charge, then restarts the
// level, and gives up when no restart is left. It does not act while the board is paused (a screen's popup),
// so the same player serves a bare board and one inside the game scene.
class BotPlayer {
public:
    BotPlayer(std::shared_ptr<Board> board, Bot& bot, std::uint32_t seed, const SimulationOptions& options);

    // After one update of the options' frame time; false once the run is over: won, soft-locked or out of
    // time.
    bool afterUpdate();
    RunResult result() const;

private:
    // The bot's turn on a settled board it has thought about; false when the run ends here.
    bool act();
    // Restarts the level once the wait for a powerup is over; false while it still waits or when no restart
    // is left (a soft-lock).
    bool leaveBoardWithoutMove();

    std::shared_ptr<Board> board_;
    Bot& bot_;
    SimulationOptions options_;
    kt::KTRandom tieBreak_;
    RunResult result_;
    float played_ = 0;
    // Updates in a row in which the board was idle, and the time since the second of them.
    int idleFrames_ = 0;
    float idleTime_ = 0;
    bool stuck_ = false;
    float stuckSince_ = 0;
};

}  // namespace moonbrook::levelcheck

#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/core/KTPlist.h"

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

// Prepares the engine for simulations in this process: actions without a renderer or an audio device, the
// game's data read from dataRoot, and a profile of its own that has bought every powerup up to
// powerupLevel (0 for none). The profile is saved where XDG_DATA_HOME points, so callers point it at a
// folder of their own first.
void installHeadlessEngine(const std::string& dataRoot, int powerupLevel);

// Plays one level with the real board, without a scene: fixed steps, seeded, the same run for the same seed.
class LevelSimulation {
public:
    LevelSimulation(std::string levelName, kt::KTPlist levelData, SimulationOptions options = {});

    RunResult run(Bot& bot, std::uint32_t seed) const;

private:
    std::shared_ptr<Board> startBoard() const;

    std::string levelName_;
    kt::KTPlist levelData_;
    SimulationOptions options_;
};

}  // namespace moonbrook::levelcheck

#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/core/KTPlist.h"
#include "tools/levelcheck/BotPlayer.h"

namespace moonbrook {
class Board;
}

namespace moonbrook::levelcheck {

// Prepares the engine for simulations in this process: actions without a renderer or an audio device, the
// game's data read from dataRoot, and the bots' profile (installBotProfile) read afresh from where
// XDG_DATA_HOME points.
void installHeadlessEngine(const std::string& dataRoot, int powerupLevel);

// Selects a profile of the bots' own that has bought every powerup up to powerupLevel (0 for none), made
// in the user manager's profiles when it is not there yet. The profile is saved with the others, so callers
// point XDG_DATA_HOME at a folder of their own first.
void installBotProfile(int powerupLevel);

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

#pragma once

#include <chrono>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/FrameDriver.h"
#include "tools/levelcheck/BotPlayer.h"
#include "tools/levelcheck/Bots.h"
#include "tools/soak/MemoryCurve.h"
#include "tools/soak/SoakOptions.h"

namespace moonbrook {
class GameScene;
}

namespace moonbrook::soak {

// What a soak has done.
struct SoakFigures {
    // Levels the bot finished, won or left, and those of them won.
    int levelsPlayed = 0;
    int wins = 0;
    std::uint64_t frames = 0;
    double seconds = 0;
};

// Plays the levels in turn, over and over, in the running program until the time is up: a bot at the board
// of each game scene, the tutorials closed as a player closes them, the win panel shown for a while, and the
// next level started as the map starts one, through the loading screen. Samples the resident memory as it
// goes; the first level's end marks the warm part of the curve.
class SoakDriver final : public FrameDriver {
public:
    // One line per finished level goes to `progress`, and one per memory sample to `samples` (if any) as it
    // is taken, so that a run that crashes leaves its curve.
    SoakDriver(SoakOptions options, std::vector<std::string> levels, std::ostream& progress,
               std::ostream* samples);

    // Selects the bots' profile, with its powerups, before the first level's scene is made.
    void started() override;
    void afterFrame() override;
    const std::string& failure() const override { return failure_; }

    const SoakFigures& figures() const { return figures_; }
    const MemoryCurve& memory() const { return memory_; }

private:
    using Clock = std::chrono::steady_clock;

    double elapsedSeconds() const;
    void sampleMemory(double seconds);
    // The bot's part in this frame of the level's scene.
    void play(const std::shared_ptr<GameScene>& game);
    void seatBot(const std::shared_ptr<GameScene>& game);
    void startNextLevel();
    void fail(std::string message);

    SoakOptions options_;
    std::vector<std::string> levels_;
    std::unique_ptr<levelcheck::Bot> bot_;
    levelcheck::SimulationOptions simulation_;
    std::ostream& progress_;
    std::ostream* samples_;
    Clock::time_point start_;
    double nextSample_ = 0;
    MemoryCurve memory_;
    SoakFigures figures_;
    std::string failure_;

    std::size_t levelIndex_ = 0;
    std::weak_ptr<GameScene> seatedAt_;
    std::optional<levelcheck::BotPlayer> player_;
    // Frames since the level ended, while its win panel or last move is shown; none while it runs.
    std::optional<int> endedFrames_;
    // Frames in a row without a game scene to play in, while the loading screen works.
    int framesWithoutBoard_ = 0;
};

}  // namespace moonbrook::soak

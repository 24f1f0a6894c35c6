#include "tools/soak/SoakDriver.h"

#include <ostream>

#include "engine/core/KTDirector.h"
#include "engine/core/KTFormat.h"
#include "game/scenes/GameScene.h"
#include "game/scenes/MainMenuScene.h"
#include "tools/levelcheck/Simulation.h"

namespace moonbrook::soak {

namespace {

// Frames the end of a level stays on screen (the win panel and its effect) before the next level starts.
constexpr int kEndShownFrames = 60;
// A loading screen that shows no level's board after this many frames has failed.
constexpr int kMaxFramesWithoutBoard = 3000;

kt::KTDirector& director() {
    return kt::KTDirector::shared();
}

}  // namespace

SoakDriver::SoakDriver(SoakOptions options, std::vector<std::string> levels, std::ostream& progress,
                       std::ostream* samples)
    : options_(std::move(options)),
      levels_(std::move(levels)),
      bot_(levelcheck::makeBot(options_.bot)),
      simulation_{.thinkTime = options_.thinkTime, .maxTime = options_.levelTime},
      progress_(progress),
      samples_(samples) {}

void SoakDriver::started() {
    levelcheck::installBotProfile(options_.powerupLevel);
    start_ = Clock::now();
    sampleMemory(0);
}

double SoakDriver::elapsedSeconds() const {
    return std::chrono::duration<double>(Clock::now() - start_).count();
}

void SoakDriver::sampleMemory(double seconds) {
    const MemoryCurve::Sample sample{seconds, director().frameCount(), figures_.levelsPlayed,
                                     residentKilobytes().value_or(0)};
    memory_.add(sample);
    if (samples_) *samples_ << MemoryCurve::csvLine(sample) << std::flush;
    nextSample_ = seconds + options_.sampleSeconds;
}

void SoakDriver::afterFrame() {
    const double seconds = elapsedSeconds();
    figures_.frames = director().frameCount();
    figures_.seconds = seconds;
    const bool timeUp = seconds >= options_.minutes * 60;
    if (seconds >= nextSample_ || timeUp) sampleMemory(seconds);
    if (timeUp) {
        director().close();
        return;
    }
    const auto game = std::dynamic_pointer_cast<GameScene>(director().currentScene());
    if (!game || !game->board()) {
        if (++framesWithoutBoard_ > kMaxFramesWithoutBoard)
            fail(kt::KTFormat("level %@ did not start within %i frames", levels_[levelIndex_],
                              kMaxFramesWithoutBoard));
        return;
    }
    framesWithoutBoard_ = 0;
    play(game);
}

void SoakDriver::play(const std::shared_ptr<GameScene>& game) {
    if (seatedAt_.lock() != game) {
        seatBot(game);
    } else if (!player_) {
        // Left for the next level, which the loading screen is on its way to.
        return;
    }
    if (endedFrames_) {
        if (++*endedFrames_ >= kEndShownFrames) startNextLevel();
        return;
    }
    if (player_->afterUpdate()) {
        // A tutorial: read and closed, as a player does.
        if (game->popup()) game->resume();
        return;
    }
    const levelcheck::RunResult result = player_->result();
    ++figures_.levelsPlayed;
    figures_.wins += result.won ? 1 : 0;
    endedFrames_ = 0;
    progress_ << kt::KTFormat("%.1f min: level %@ %@ after %.1f s, %i moves, %i powerups\n",
                              figures_.seconds / 60, levels_[levelIndex_], result.won ? "won" : "left",
                              result.time, result.moves, result.powerupsUsed)
              << std::flush;
    if (figures_.levelsPlayed == 1) memory_.markWarm();
}

void SoakDriver::seatBot(const std::shared_ptr<GameScene>& game) {
    seatedAt_ = game;
    endedFrames_.reset();
    const auto seed = static_cast<std::uint32_t>(options_.seed + figures_.levelsPlayed);
    player_.emplace(game->board(), *bot_, seed, simulation_);
}

void SoakDriver::startNextLevel() {
    // The board goes with its scene, not kept by a bot that no longer plays it.
    player_.reset();
    levelIndex_ = (levelIndex_ + 1) % levels_.size();
    MainMenuScene::startLevel(levels_[levelIndex_]);
}

void SoakDriver::fail(std::string message) {
    failure_ = std::move(message);
    director().close();
}

}  // namespace moonbrook::soak

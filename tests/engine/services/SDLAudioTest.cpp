#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "engine/core/KTResourceManager.h"
#include "engine/platform/KTSDLAudioBackend.h"
#include "engine/services/KTAudioManager.h"
#include "engine/services/KTSample.h"
#include "tests/support/DataFileTest.h"

namespace kt::test {
namespace {

// A sine tone of that length, encoded as Ogg Vorbis by the same tool that makes the game's sounds.
void writeTone(const std::string& path, float seconds) {
    const std::string command = std::string(MOONBROOK_SOX) + " -V1 -n '" + path + "' synth " +
                                std::to_string(seconds) + " sine 440 vol 0.5";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// SDL_mixer on SDL's dummy driver, which mixes in real time without a sound card.
class SDLAudioTest : public DataFileTest {
protected:
    SDLAudioTest() { SDL_setenv("SDL_AUDIODRIVER", "dummy", 1); }
};

TEST_F(SDLAudioTest, AnOggFilePlaysAsSampleAndAsMusic) {
    std::string error;
    std::shared_ptr<KTSDLAudioBackend> backend = KTSDLAudioBackend::open(error);
    ASSERT_TRUE(backend) << error;
    KTAudioManager& audio = KTAudioManager::install(backend);
    writeTone(writeFile("data/sounds/tone.ogg", ""), 0.1f);
    writeTone(writeFile("data/music/theme.ogg", ""), 2.0f);
    writeFile("data/sounds/noise.ogg", "not a sound");

    const auto tone = KTResourceManager::shared().getSample("data/sounds/tone.ogg");
    ASSERT_TRUE(tone && tone->isLoaded());
    tone->play();
    EXPECT_EQ(Mix_Playing(-1), 1);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (Mix_Playing(-1) != 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_EQ(Mix_Playing(-1), 0) << "a tenth of a second of sound has ended";

    audio.playMusic("data/music/theme.ogg");
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    audio.setMute(true);
    EXPECT_EQ(Mix_VolumeMusic(-1), 0);
    audio.setMute(false);
    EXPECT_EQ(Mix_VolumeMusic(-1), MIX_MAX_VOLUME);
    audio.stopMusic();
    EXPECT_EQ(Mix_PlayingMusic(), 0);

    EXPECT_FALSE(KTResourceManager::shared().getSample("data/sounds/noise.ogg"));
    EXPECT_EQ(countInLog("unreadable sound"), 1);
}

}  // namespace
}  // namespace kt::test

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/core/KTDirector.h"
#include "engine/core/KTResourceManager.h"
#include "engine/platform/KTAudioBackend.h"
#include "engine/services/KTAudioManager.h"
#include "engine/services/KTSample.h"
#include "engine/services/KTSoundNode.h"
#include "tests/support/DataFileTest.h"

namespace kt::test {
namespace {

// Records what the audio manager and samples ask for. Files that exist load, unless their name ends in
// ".bad"; a playback lasts until the test ends it; the clock is set by hand.
class FakeAudioBackend : public KTAudioBackend {
public:
    struct Start {
        Handle sample;
        KTPlaybackSettings settings;
    };
    struct Music {
        std::string path;
        bool loop;
    };

    bool device = true;
    std::uint32_t now = 0;
    std::map<Handle, std::string> loadedSamples;
    std::vector<Start> starts;
    std::set<Handle> playing;
    std::vector<Music> musicStarts;
    int musicStops = 0;
    int sampleVolume = -1;
    int musicVolume = -1;

    bool hasDevice() const override { return device; }
    Handle loadSample(const std::string& path) override {
        if (!device || path.ends_with(".bad") || !std::filesystem::is_regular_file(path)) return 0;
        loadedSamples.emplace(++lastHandle_, path);
        return lastHandle_;
    }
    void freeSample(Handle sample) override { loadedSamples.erase(sample); }
    Handle startPlayback(Handle sample, const KTPlaybackSettings& settings) override {
        if (!loadedSamples.contains(sample)) return 0;
        starts.push_back({sample, settings});
        playing.insert(++lastHandle_);
        return lastHandle_;
    }
    bool isPlaying(Handle playback) const override { return playing.contains(playback); }
    void stopPlayback(Handle playback) override { playing.erase(playback); }
    bool playMusic(const std::string& path, bool loop) override {
        if (!device || path.ends_with(".bad")) return false;
        musicStarts.push_back({path, loop});
        return true;
    }
    void stopMusic() override { ++musicStops; }
    void setSampleVolume(int volume) override { sampleVolume = volume; }
    void setMusicVolume(int volume) override { musicVolume = volume; }
    std::uint32_t ticks() const override { return now; }

private:
    Handle lastHandle_ = 0;
};

// An audio manager on a recording back end, installed as the program installs the real one.
class AudioTest : public DataFileTest {
protected:
    AudioTest()
        : backendRef_(std::make_shared<FakeAudioBackend>()), audio(KTAudioManager::install(backendRef_)) {}

    // A sound file below the data folder; its name is also its resource name.
    std::string soundFile(const std::string& name) const {
        writeFile(name, "sound");
        return name;
    }

private:
    std::shared_ptr<FakeAudioBackend> backendRef_;

protected:
    FakeAudioBackend& backend = *backendRef_;
    KTAudioManager& audio;
};

using AudioManagerTest = AudioTest;

std::shared_ptr<KTSample> loadSample(const std::string& name) {
    return KTResourceManager::shared().getSample(name);
}

TEST_F(AudioManagerTest, AFrameStartsEachQueuedSampleOnceInQueueOrder) {
    const auto pop = loadSample(soundFile("data/sounds/pop.ogg"));
    const auto bang = loadSample(soundFile("data/sounds/bang.ogg"));
    for (const auto& sample : {pop, bang, pop, pop})
        audio.playSample(sample);

    KTDirector::shared().doUpdate();
    ASSERT_EQ(backend.starts.size(), 2u);
    EXPECT_EQ(backend.loadedSamples.at(backend.starts[0].sample), dataRoot() + "data/sounds/pop.ogg");
    EXPECT_EQ(backend.loadedSamples.at(backend.starts[1].sample), dataRoot() + "data/sounds/bang.ogg");

    KTDirector::shared().doUpdate();
    EXPECT_EQ(backend.starts.size(), 2u) << "the queue is emptied by the frame that played it";
}

TEST_F(AudioManagerTest, TheMusicPlayingNowIsNotRestartedAMissingFileStopsItAndADamagedOneIsLoggedOnce) {
    const std::string theme = soundFile("data/music/theme.ogg");
    audio.playMusic(theme);
    audio.playMusic(theme);
    ASSERT_EQ(backend.musicStarts.size(), 1u);
    EXPECT_TRUE(backend.musicStarts[0].loop);
    EXPECT_EQ(audio.currentMusicFilename(), dataRoot() + theme);

    audio.playMusic(soundFile("data/music/calm.ogg"), false);
    ASSERT_EQ(backend.musicStarts.size(), 2u);
    EXPECT_FALSE(backend.musicStarts[1].loop);

    const int stopsBefore = backend.musicStops;
    audio.playMusic("data/music/missing.ogg");
    EXPECT_EQ(backend.musicStops, stopsBefore + 1);
    EXPECT_FALSE(audio.currentMusicFilename());
    audio.playMusic(theme);
    EXPECT_EQ(backend.musicStarts.size(), 3u) << "after a stop the same file starts again";

    const std::string damaged = soundFile("data/music/damaged.bad");
    audio.playMusic(damaged);
    audio.stopMusic();
    audio.playMusic(damaged);
    EXPECT_EQ(countInLog("unreadable music"), 1);
}

// Past either end the list continues at the other end, however far the step.
TEST_F(AudioManagerTest, SwitchingWrapsAroundThePlayListAndNoMusicStartsWithoutOneOrOutsideIt) {
    audio.switchMusic(1);
    audio.playMusicIdx(0);
    audio.setMusicList({soundFile("data/music/a.ogg")});
    audio.playMusicIdx(1);
    audio.playMusicIdx(-1);
    EXPECT_TRUE(backend.musicStarts.empty());
    EXPECT_EQ(audio.currentMusicIdx(), 0);

    std::vector<std::string> list;
    for (const char* name : {"a", "b", "c", "d"})
        list.push_back(soundFile(std::string("data/music/") + name + ".ogg"));
    audio.setMusicList(list);
    struct Step {
        int from, delta, expected;
    };
    for (const Step step :
         {Step{0, -1, 3}, Step{3, 1, 0}, Step{1, 1, 2}, Step{2, -1, 1}, Step{0, -6, 3}, Step{3, 9, 0}}) {
        SCOPED_TRACE(::testing::Message() << "from " << step.from << " by " << step.delta);
        audio.playMusicIdx(step.from);
        audio.switchMusic(step.delta);
        EXPECT_EQ(audio.currentMusicIdx(), step.expected);
        EXPECT_EQ(audio.currentMusicFilename(), dataRoot() + list[static_cast<std::size_t>(step.expected)]);
    }
}

// Losing the window's focus mutes as the player's choice does. Volumes are held to full volume.
TEST_F(AudioManagerTest, MutingSilencesTheOutputAndKeepsTheVolumesForUnmuting) {
    audio.setSoundVolume(8000);
    audio.setMusicVolume(15000);
    EXPECT_EQ(backend.sampleVolume, 8000);
    EXPECT_EQ(backend.musicVolume, 10000);

    KTEvent focus;
    focus.type = KTEvent::Type::focusLost;
    KTDirector::shared().handleEvent(focus);
    audio.setMute(true);
    EXPECT_TRUE(audio.mute());
    EXPECT_EQ(backend.sampleVolume, 0);
    EXPECT_EQ(backend.musicVolume, 0);
    EXPECT_EQ(audio.soundVolume(), 8000);
    EXPECT_EQ(audio.musicVolume(), 10000);

    // A volume chosen while muted stays silent until unmuting, then takes effect.
    audio.setMusicVolume(3000);
    EXPECT_EQ(backend.musicVolume, 0);
    focus.type = KTEvent::Type::focusGained;
    KTDirector::shared().handleEvent(focus);
    EXPECT_FALSE(audio.mute());
    EXPECT_EQ(backend.sampleVolume, 8000);
    EXPECT_EQ(backend.musicVolume, 3000);
}

// The settings screen's sliders hand their values to the scene as texts.
TEST_F(AudioManagerTest, TheScenesVolumeTextsReachTheManagerHeldToFullVolume) {
    const auto scene = runScene();
    scene->perform("setSoundVolumeStr:", std::string("0.5"));
    scene->perform("setMusicVolumeStr:", std::string("1.5"));
    EXPECT_EQ(backend.sampleVolume, 5000);
    EXPECT_EQ(backend.musicVolume, 10000);
}

TEST_F(AudioManagerTest, ASampleIsStartedAtMostTenTimesAtOnceAndNotSoonerThanItsGap) {
    const auto pop = loadSample(soundFile("data/sounds/pop.ogg"));
    for (int i = 0; i < 12; ++i)
        pop->play();
    EXPECT_EQ(backend.starts.size(), KTSample::kMaxPlaybacks);
    backend.playing.erase(backend.playing.begin());
    pop->play();
    EXPECT_EQ(backend.starts.size(), KTSample::kMaxPlaybacks + 1) << "a finished playback frees its place";

    backend.playing.clear();
    backend.starts.clear();
    pop->setMinGap(0.1f);
    for (const std::uint32_t at : {1000u, 1050u, 1099u, 1100u, 1150u, 1200u}) {
        backend.now = at;
        pop->play();
    }
    EXPECT_EQ(backend.starts.size(), 3u);
}

TEST_F(AudioManagerTest, PlaybacksTakeTheSampleSettingsAndOnlyLoopedOnesStop) {
    const auto hum = loadSample(soundFile("data/sounds/hum.ogg"));
    hum->setVolume(0.25f);
    hum->setPan(-0.5f);

    hum->play();
    hum->stop();
    ASSERT_EQ(backend.starts.size(), 1u);
    EXPECT_FALSE(backend.starts[0].settings.loop);
    EXPECT_FLOAT_EQ(backend.starts[0].settings.volume, 0.25f);
    EXPECT_FLOAT_EQ(backend.starts[0].settings.pan, -0.5f);
    EXPECT_EQ(backend.playing.size(), 1u) << "a one-shot sound plays out";

    hum->playLooped();
    hum->play();
    ASSERT_EQ(backend.starts.size(), 3u);
    EXPECT_TRUE(backend.starts[1].settings.loop);
    EXPECT_FALSE(backend.starts[2].settings.loop)
        << "a sample once looped does not make later one-shots endless";
    hum->playLooped();
    hum->stop();
    EXPECT_EQ(backend.playing.size(), 3u) << "stop ends the latest looping playback";
}

TEST_F(AudioManagerTest, OnlyADeviceThatCannotDecodeAFileMakesItUnreadable) {
    EXPECT_FALSE(loadSample(soundFile("data/sounds/damaged.bad")));
    EXPECT_FALSE(loadSample("data/sounds/damaged.bad"));
    EXPECT_EQ(countInLog("unreadable sound"), 1);

    backend.device = false;
    const auto silent = loadSample(soundFile("data/sounds/pop.ogg"));
    ASSERT_TRUE(silent);
    EXPECT_FALSE(silent->isLoaded());
    silent->play();
    EXPECT_TRUE(backend.starts.empty());
    EXPECT_EQ(countInLog("unreadable sound"), 1);
}

TEST_F(AudioManagerTest, ASampleOutlivingItsBackEndIsSilent) {
    auto shortLived = std::make_shared<FakeAudioBackend>();
    KTAudioManager::install(shortLived);
    const auto pop = loadSample(soundFile("data/sounds/pop.ogg"));
    KTDirector::shared().shutdown();
    shortLived.reset();

    pop->play();
    pop->playLooped();
    pop->stop();
    const KTAudioManager& madeOnFirstUse = KTAudioManager::shared();
    EXPECT_EQ(&madeOnFirstUse, KTDirector::shared().audio());
    EXPECT_FALSE(madeOnFirstUse.backend()->hasDevice());
}

class SoundNodeTest : public AudioTest {
protected:
    // A sound node read from a scene file element with the attributes given.
    std::shared_ptr<KTSoundNode> soundFromFile(const std::string& attributes) {
        soundFile("data/sounds/pop.ogg");
        return nodeFromElement<KTSoundNode>("<sound " + attributes + "/>");
    }
};

// The element sets the volume, pan and gap of the one sample its file shares.
TEST_F(SoundNodeTest, AOneShotSoundPlaysAtTheEndOfTheUpdateAndLeavesAfterTheDraw) {
    const auto scene = runScene();
    const auto node = soundFromFile(R"(filename="data/sounds/pop.ogg" vol="0.5" pan="-1" mingap="0.2")");
    scene->addChild(node);
    EXPECT_TRUE(backend.starts.empty());

    KTDirector::shared().doUpdate();
    ASSERT_EQ(backend.starts.size(), 1u);
    EXPECT_FLOAT_EQ(backend.starts[0].settings.volume, 0.5f);
    EXPECT_FLOAT_EQ(backend.starts[0].settings.pan, -1.0f);
    EXPECT_FLOAT_EQ(node->sample()->minGap(), 0.2f);
    EXPECT_EQ(node->sample(), soundFromFile(R"(filename="data/sounds/pop.ogg")")->sample()) << "shared";
    KTDirector::shared().doDraw();
    EXPECT_FALSE(scene->hasChild(node.get()));
}

TEST_F(SoundNodeTest, ALoopingSoundPlaysAtOnceAndUntilItLeavesTheStage) {
    const auto scene = runScene();
    const auto node = soundFromFile(R"(filename="data/sounds/pop.ogg" loop="YES")");
    scene->addChild(node);
    ASSERT_EQ(backend.starts.size(), 1u);
    EXPECT_TRUE(backend.starts[0].settings.loop);

    KTDirector::shared().doUpdate();
    KTDirector::shared().doDraw();
    EXPECT_TRUE(scene->hasChild(node.get()));
    EXPECT_EQ(backend.starts.size(), 1u);
    EXPECT_EQ(backend.playing.size(), 1u);

    scene->removeChild(node.get());
    EXPECT_TRUE(backend.playing.empty());
}

TEST_F(SoundNodeTest, ASoundWithoutAReadableFileStaysSilent) {
    const auto scene = runScene();
    const auto node = soundFromFile(R"(filename="data/sounds/missing.ogg" vol="0.5" loop="1")");
    ASSERT_TRUE(node);
    EXPECT_FALSE(node->sample());
    scene->addChild(node);
    scene->removeChild(node.get());
    KTDirector::shared().doUpdate();
    EXPECT_TRUE(backend.starts.empty());
}

}  // namespace
}  // namespace kt::test

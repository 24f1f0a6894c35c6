#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/platform/KTAudioBackend.h"

namespace kt::test {

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

}  // namespace kt::test

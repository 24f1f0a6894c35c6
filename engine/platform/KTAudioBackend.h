#pragma once

#include <cstdint>
#include <string>

namespace kt {

// How one playback of a sample sounds: volume 0..1, pan -1 (left) .. 1 (right).
struct KTPlaybackSettings {
    float volume = 1;
    float pan = 0;
    bool loop = false;
};

// The library that decodes, mixes and outputs sound. Samples and playbacks are numbered by the back end;
// 0 stands for none, and every call accepts it and does nothing. Global volumes are on the 0..10000 scale.
class KTAudioBackend {
public:
    using Handle = std::uint32_t;

    virtual ~KTAudioBackend() = default;

    // False when no output device is open: every call is accepted and nothing plays.
    virtual bool hasDevice() const = 0;
    // The file decoded whole into memory; 0 when it cannot be read.
    virtual Handle loadSample(const std::string& path) = 0;
    virtual void freeSample(Handle sample) = 0;
    // A new playback of the sample from its beginning; 0 when none could start.
    virtual Handle startPlayback(Handle sample, const KTPlaybackSettings& settings) = 0;
    virtual bool isPlaying(Handle playback) const = 0;
    virtual void stopPlayback(Handle playback) = 0;
    // One music stream, read from the file while it plays; false when the file cannot be opened.
    virtual bool playMusic(const std::string& path, bool loop) = 0;
    virtual void stopMusic() = 0;
    virtual void setSampleVolume(int volume) = 0;
    virtual void setMusicVolume(int volume) = 0;
    // Milliseconds on the back end's clock, which spaces repeated starts of a sample.
    virtual std::uint32_t ticks() const = 0;
};

}  // namespace kt

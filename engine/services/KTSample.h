#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/platform/KTAudioBackend.h"

namespace kt {

// One loaded sound that can play many times at once; the resource manager's getSample makes and shares them.
// Volume, pan and the minimum gap are the defaults of every playback started afterwards; a sample whose file
// could not be loaded plays nothing. The sample holds its back end weakly: once the audio manager that loaded
// it is gone, it is silent.
class KTSample {
public:
    // At most this many playbacks of one sample sound at once; further starts are dropped.
    static constexpr std::size_t kMaxPlaybacks = 10;

    KTSample(std::weak_ptr<KTAudioBackend> backend, KTAudioBackend::Handle handle, bool loop);
    ~KTSample();
    KTSample(const KTSample&) = delete;
    KTSample& operator=(const KTSample&) = delete;

    bool isLoaded() const { return handle_ != 0; }
    float volume() const { return volume_; }
    void setVolume(float volume) { volume_ = volume; }
    float pan() const { return pan_; }
    void setPan(float pan) { pan_ = pan; }
    // Seconds between two starts; a start sooner than that after the previous one is dropped.
    float minGap() const { return minGap_; }
    void setMinGap(float seconds) { minGap_ = seconds; }
    bool loop() const { return loop_; }

    // A new playback from the beginning that plays once, whatever the loop flag: the flag belongs to the
    // shared sample, and a one-shot user must not start an endless sound.
    void play();
    // A new playback that repeats until stop.
    void playLooped();
    // Ends the latest playback, only when it loops: a one-shot sound plays out.
    void stop();

private:
    void start(bool loop);
    bool withinMinGap(std::uint32_t now) const;

    std::weak_ptr<KTAudioBackend> backend_;
    KTAudioBackend::Handle handle_;
    float volume_ = 1;
    float pan_ = 0;
    float minGap_ = 0;
    bool loop_;
    KTAudioBackend::Handle channel_ = 0;
    std::vector<KTAudioBackend::Handle> playbacks_;
    std::uint32_t lastStart_ = 0;
    bool started_ = false;
};

}  // namespace kt

#pragma once

#include "engine/platform/KTAudioBackend.h"

namespace kt {

// Stands in when no output device opens (no sound card): the game runs on, silent.
class KTSilentAudioBackend final : public KTAudioBackend {
public:
    bool hasDevice() const override { return false; }
    Handle loadSample(const std::string&) override { return 0; }
    void freeSample(Handle) override {}
    Handle startPlayback(Handle, const KTPlaybackSettings&) override { return 0; }
    bool isPlaying(Handle) const override { return false; }
    void stopPlayback(Handle) override {}
    bool playMusic(const std::string&, bool) override { return false; }
    void stopMusic() override {}
    void setSampleVolume(int) override {}
    void setMusicVolume(int) override {}
    std::uint32_t ticks() const override { return 0; }
};

}  // namespace kt

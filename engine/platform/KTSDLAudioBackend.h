#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/platform/KTAudioBackend.h"

namespace kt {

// Sound through SDL_mixer: samples are decoded chunks played on a pool of mixer channels, music is one
// streamed file, and the two global volumes are the mixer's master and music volumes.
class KTSDLAudioBackend final : public KTAudioBackend {
public:
    // Opens the default output device at 44100 Hz; none, with the reason in `error`, when there is no device.
    static std::unique_ptr<KTSDLAudioBackend> open(std::string& error);

    ~KTSDLAudioBackend() override;
    KTSDLAudioBackend(const KTSDLAudioBackend&) = delete;
    KTSDLAudioBackend& operator=(const KTSDLAudioBackend&) = delete;

    bool hasDevice() const override { return true; }
    Handle loadSample(const std::string& path) override;
    void freeSample(Handle sample) override;
    Handle startPlayback(Handle sample, const KTPlaybackSettings& settings) override;
    bool isPlaying(Handle playback) const override;
    void stopPlayback(Handle playback) override;
    bool playMusic(const std::string& path, bool loop) override;
    void stopMusic() override;
    void setSampleVolume(int volume) override;
    void setMusicVolume(int volume) override;
    std::uint32_t ticks() const override { return SDL_GetTicks(); }

private:
    struct ChunkDeleter {
        void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
    };
    struct MusicDeleter {
        void operator()(Mix_Music* music) const { Mix_FreeMusic(music); }
    };

    KTSDLAudioBackend();
    // The mixer channel whose latest playback this is, or -1 once another playback has taken the channel.
    int channelOf(Handle playback) const;

    std::map<Handle, std::unique_ptr<Mix_Chunk, ChunkDeleter>> samples_;
    Handle lastSample_ = 0;
    // Per mixer channel, the playback started on it last.
    std::vector<Handle> playbackOnChannel_;
    Handle lastPlayback_ = 0;
    std::unique_ptr<Mix_Music, MusicDeleter> music_;
};

}  // namespace kt

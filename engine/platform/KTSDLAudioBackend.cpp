#include "engine/platform/KTSDLAudioBackend.h"

#include <algorithm>
#include <cmath>

namespace kt {
namespace {

constexpr int kFrequency = 44100;
constexpr int kOutputChannels = 2;
constexpr int kChunkFrames = 1024;
// Enough for many samples at ten playbacks each; a start finding every channel busy is dropped.
constexpr int kMixerChannels = 64;
constexpr int kVolumeScale = 10000;

int mixerVolume(float volume) {
    return static_cast<int>(std::lround(std::clamp(volume, 0.0f, 1.0f) * MIX_MAX_VOLUME));
}

int mixerVolume(int volume) {
    return std::clamp(volume, 0, kVolumeScale) * MIX_MAX_VOLUME / kVolumeScale;
}

// The mixer's panning: full level on the side panned to, the other side fading out.
Uint8 panLevel(float towardsThisSide) {
    const float level = std::clamp(1.0f + towardsThisSide, 0.0f, 1.0f);
    return static_cast<Uint8>(std::lround(level * 255));
}

KTAudioBackend::Handle nextHandle(KTAudioBackend::Handle& last) {
    if (++last == 0) ++last;
    return last;
}

}  // namespace

std::unique_ptr<KTSDLAudioBackend> KTSDLAudioBackend::open(std::string& error) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        error = SDL_GetError();
        return nullptr;
    }
    Mix_Init(MIX_INIT_OGG);
    if (Mix_OpenAudio(kFrequency, MIX_DEFAULT_FORMAT, kOutputChannels, kChunkFrames) != 0) {
        error = Mix_GetError();
        Mix_Quit();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return nullptr;
    }
    return std::unique_ptr<KTSDLAudioBackend>(new KTSDLAudioBackend());
}

KTSDLAudioBackend::KTSDLAudioBackend() : playbackOnChannel_(Mix_AllocateChannels(kMixerChannels), 0) {}

KTSDLAudioBackend::~KTSDLAudioBackend() {
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    music_.reset();
    samples_.clear();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

KTAudioBackend::Handle KTSDLAudioBackend::loadSample(const std::string& path) {
    // The file is closed here: the mixer leaves it open when it cannot make out the file's format.
    SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb");
    if (!file) return 0;
    std::unique_ptr<Mix_Chunk, ChunkDeleter> chunk(Mix_LoadWAV_RW(file, 0));
    SDL_RWclose(file);
    if (!chunk) return 0;
    const Handle sample = nextHandle(lastSample_);
    samples_.emplace(sample, std::move(chunk));
    return sample;
}

void KTSDLAudioBackend::freeSample(Handle sample) {
    samples_.erase(sample);
}

KTAudioBackend::Handle KTSDLAudioBackend::startPlayback(Handle sample, const KTPlaybackSettings& settings) {
    const auto found = samples_.find(sample);
    if (found == samples_.end()) return 0;
    const int channel = Mix_GroupAvailable(-1);
    if (channel < 0) return 0;
    // Level and panning are set before the start, so no block is mixed with the channel's previous ones.
    Mix_Volume(channel, mixerVolume(settings.volume));
    Mix_SetPanning(channel, panLevel(-settings.pan), panLevel(settings.pan));
    if (Mix_PlayChannel(channel, found->second.get(), settings.loop ? -1 : 0) < 0) return 0;
    const Handle playback = nextHandle(lastPlayback_);
    playbackOnChannel_[static_cast<std::size_t>(channel)] = playback;
    return playback;
}

int KTSDLAudioBackend::channelOf(Handle playback) const {
    if (playback == 0) return -1;
    const auto found = std::find(playbackOnChannel_.begin(), playbackOnChannel_.end(), playback);
    return found == playbackOnChannel_.end() ? -1 : static_cast<int>(found - playbackOnChannel_.begin());
}

bool KTSDLAudioBackend::isPlaying(Handle playback) const {
    const int channel = channelOf(playback);
    return channel >= 0 && Mix_Playing(channel) != 0;
}

void KTSDLAudioBackend::stopPlayback(Handle playback) {
    const int channel = channelOf(playback);
    if (channel >= 0) Mix_HaltChannel(channel);
}

bool KTSDLAudioBackend::playMusic(const std::string& path, bool loop) {
    stopMusic();
    music_.reset(Mix_LoadMUS(path.c_str()));
    if (!music_) return false;
    return Mix_PlayMusic(music_.get(), loop ? -1 : 0) == 0;
}

void KTSDLAudioBackend::stopMusic() {
    Mix_HaltMusic();
    music_.reset();
}

void KTSDLAudioBackend::setSampleVolume(int volume) {
    Mix_MasterVolume(mixerVolume(volume));
}

void KTSDLAudioBackend::setMusicVolume(int volume) {
    Mix_VolumeMusic(mixerVolume(volume));
}

}  // namespace kt

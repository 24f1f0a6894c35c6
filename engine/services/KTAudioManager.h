#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/core/KTAudioControl.h"
#include "engine/platform/KTAudioBackend.h"

namespace kt {

class KTSample;

// Plays the frame's samples, one music stream with an optional play list, and keeps the two global volumes
// (0..10000) and the mute switch. It lives in the director's audio slot; without an output device it keeps
// the same books and plays nothing.
class KTAudioManager final : public KTAudioControl {
public:
    explicit KTAudioManager(std::shared_ptr<KTAudioBackend> backend);

    // The manager installed in the director; a silent one is installed on first use when there is none.
    static KTAudioManager& shared();
    // A manager on the back end, installed in the director and as the resource manager's sample loader.
    static KTAudioManager& install(std::shared_ptr<KTAudioBackend> backend);

    const std::shared_ptr<KTAudioBackend>& backend() const { return backend_; }

    // Queues the sample for the end of the frame's update; a sample already queued is not queued again.
    void playSample(const std::shared_ptr<KTSample>& sample);
    void playSamples() override;

    // The same file as the music playing now keeps playing; a name that resolves to no file stops it.
    void playMusic(const std::string& name, bool loop = true);
    void stopMusic();
    // The resolved path of the music asked for last, whether or not the back end could play it.
    const std::optional<std::string>& currentMusicFilename() const { return currentMusicFilename_; }
    const std::vector<std::string>& musicList() const { return musicList_; }
    void setMusicList(std::vector<std::string> list) { musicList_ = std::move(list); }
    int currentMusicIdx() const { return currentMusicIdx_; }
    // Plays the list entry; an index outside the list is ignored.
    void playMusicIdx(int index);
    // Moves through the list by delta, wrapping to the last entry below the first and to the first past the
    // end.
    void switchMusic(int delta);

    // While muted the volumes answer what they were when muting began.
    int soundVolume() const override { return soundVolume_; }
    int musicVolume() const override { return musicVolume_; }
    // Volumes outside 0..10000 are held at its ends. While muted the output stays silent and the volume is
    // kept for unmuting.
    void setSoundVolume(int volume) override;
    void setMusicVolume(int volume) override;
    bool mute() const { return mute_; }
    void setMute(bool mute) override;

private:
    std::shared_ptr<KTAudioBackend> backend_;
    std::vector<std::shared_ptr<KTSample>> samples_;
    std::optional<std::string> currentMusicFilename_;
    std::vector<std::string> musicList_;
    int currentMusicIdx_ = 0;
    bool mute_ = false;
    int soundVolume_ = kFullVolume;
    int musicVolume_ = kFullVolume;
};

}  // namespace kt

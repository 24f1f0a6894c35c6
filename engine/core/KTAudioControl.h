#pragma once

namespace kt {

// What the director and scenes ask of the audio module, which installs its manager in the director.
// Volumes are on the 0..10000 scale.
class KTAudioControl {
public:
    virtual ~KTAudioControl() = default;

    // Plays the samples requested during the frame.
    virtual void playSamples() = 0;
    virtual void setMute(bool mute) = 0;
    virtual void setSoundVolume(int volume) = 0;
    virtual void setMusicVolume(int volume) = 0;
    // The volumes in force; a back end that keeps none plays at full volume.
    virtual int soundVolume() const { return kFullVolume; }
    virtual int musicVolume() const { return kFullVolume; }

    static constexpr int kFullVolume = 10000;
};

}  // namespace kt

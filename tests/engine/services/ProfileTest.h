#pragma once

#include <memory>
#include <string>

#include "engine/core/KTAudioControl.h"
#include "engine/core/KTPlist.h"
#include "tests/support/DataFileTest.h"

namespace kt::test {

// Remembers the volumes it is given, on the audio's 0..10000 scale.
class RecordingAudio : public KTAudioControl {
public:
    void playSamples() override {}
    void setMute(bool) override {}
    void setSoundVolume(int volume) override { sound = volume; }
    void setMusicVolume(int volume) override { music = volume; }
    int soundVolume() const override { return sound; }
    int musicVolume() const override { return music; }

    int sound = 5000;
    int music = 2500;
};

// Profiles and settings start from nothing in every test, with the per-user folder of the test.
class ProfileTest : public DataFileTest {
protected:
    ProfileTest();
    ~ProfileTest() override;

    std::string usersFile() const;
    // The profiles file as saved now; none when it is missing or unreadable.
    KTPlist savedFile() const;
    void writeUsersFile(const std::string& content) const;
    // As a new start of the program would find the saved file.
    void restart() const;
};

}  // namespace kt::test

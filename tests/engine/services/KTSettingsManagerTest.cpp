#include <gtest/gtest.h>

#include "engine/core/KTDirector.h"
#include "engine/services/KTSettingsManager.h"
#include "engine/services/KTUserManager.h"
#include "tests/engine/services/ProfileTest.h"

namespace kt {
namespace {

class SettingsManagerTest : public test::ProfileTest {
protected:
    SettingsManagerTest() {
        audio = std::make_shared<test::RecordingAudio>();
        KTDirector::shared().setAudio(audio);
    }

    KTUserManager& users() { return KTUserManager::sharedManager(); }
    KTSettingsManager& settings() { return KTSettingsManager::sharedManager(); }

    std::shared_ptr<test::RecordingAudio> audio;
};

TEST_F(SettingsManagerTest, StartsFromTheAudioVolumesAndFullScreenWithoutProfiles) {
    EXPECT_FLOAT_EQ(settings().soundVolume()->numberValue(), 0.5f);
    EXPECT_FLOAT_EQ(settings().musicVolume()->numberValue(), 0.25f);
    EXPECT_TRUE(settings().fullscreen()->boolValue());
    EXPECT_TRUE(KTDirector::shared().fullscreen());
}

TEST_F(SettingsManagerTest, AProfileWithoutSettingsReceivesTheCurrentOnes) {
    settings();
    users().add("Ada");
    const KTPlist saved = savedFile()["users"].at(0);
    EXPECT_FLOAT_EQ(static_cast<float>(saved["sound_volume"].realValue()), 0.5f);
    EXPECT_FLOAT_EQ(static_cast<float>(saved["music_volume"].realValue()), 0.25f);
    EXPECT_EQ(saved["fullscreen"], KTPlist(true));
}

TEST_F(SettingsManagerTest, ChangesReachTheAudioTheWindowAndTheSavedProfile) {
    settings();
    users().add("Ada");
    settings().musicVolume()->setFloat(0.5f);
    EXPECT_EQ(audio->music, 5000);
    KTDirector::shared().setFullscreen(false);
    EXPECT_FALSE(settings().fullscreen()->boolValue());

    const KTPlist saved = savedFile()["users"].at(0);
    EXPECT_DOUBLE_EQ(saved["music_volume"].realValue(), 0.5);
    EXPECT_EQ(saved["fullscreen"], KTPlist(false));
    settings().fullscreen()->setBool(true);
    EXPECT_TRUE(KTDirector::shared().fullscreen());
    EXPECT_EQ(savedFile()["users"].at(0)["fullscreen"], KTPlist(true));
}

TEST_F(SettingsManagerTest, AResourceChangeSavesTheProfile) {
    settings();
    users().add("Ada");
    users().selectedUser()->addTokens(12);
    EXPECT_EQ(savedFile()["users"].at(0)["tokens"].intValue(), 12);
}

}  // namespace
}  // namespace kt

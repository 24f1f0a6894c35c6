#include <gtest/gtest.h>

#include "engine/core/KTDirector.h"
#include "engine/core/KTLanguage.h"
#include "engine/core/KTNotificationCenter.h"
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

TEST_F(SettingsManagerTest, StartsFromTheAudioVolumesAndFullScreenAndGivesThemToAProfileWithoutSettings) {
    EXPECT_FLOAT_EQ(settings().soundVolume()->numberValue(), 0.5f);
    EXPECT_FLOAT_EQ(settings().musicVolume()->numberValue(), 0.25f);
    EXPECT_TRUE(settings().fullscreen()->boolValue());
    EXPECT_TRUE(KTDirector::shared().fullscreen());

    users().add("Ada");
    const KTPlist saved = savedFile()["users"].at(0);
    EXPECT_FLOAT_EQ(static_cast<float>(saved["sound_volume"].realValue()), 0.5f);
    EXPECT_FLOAT_EQ(static_cast<float>(saved["music_volume"].realValue()), 0.25f);
    EXPECT_EQ(saved["fullscreen"], KTPlist(true));
}

TEST_F(SettingsManagerTest, SettingAndResourceChangesReachTheAudioTheWindowAndTheSavedProfile) {
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

    users().selectedUser()->addTokens(12);
    EXPECT_EQ(savedFile()["users"].at(0)["tokens"].intValue(), 12) << "a resource change saves the profile";
}

constexpr const char* kLocale = "<plist version=\"1.0\"><dict/></plist>";

// German and French can be shown; the default language is French.
class LanguageSettingTest : public SettingsManagerTest {
protected:
    LanguageSettingTest() {
        writeFile("data/locales/de.plist", kLocale);
        writeFile("data/locales/fr.plist", kLocale);
        KTLanguage::setDefaultLanguage("fr");
        KTNotificationCenter::shared().addObserver(this, std::string(KTSettingsManager::kLanguageChanged),
                                                   nullptr, [this](const KTNotification&) { ++changes; });
    }
    ~LanguageSettingTest() override { KTNotificationCenter::shared().removeObserver(this); }

    int changes = 0;
};

TEST_F(LanguageSettingTest, TheSelectedProfilesLanguageIsShownAndOneWithoutFollowsTheDefault) {
    settings();
    EXPECT_EQ(KTLanguage::current(), "fr");
    users().add("Ada");
    users().add("Brom");
    users().selectedUser()->setObject("de", KTSettingsManager::kLanguageKey);
    users().selectByName("Ada");
    EXPECT_EQ(KTLanguage::current(), "fr");
    EXPECT_TRUE(savedFile()["users"].at(0)[KTSettingsManager::kLanguageKey].isNone());
    const int before = changes;
    users().selectByName("Brom");
    EXPECT_EQ(KTLanguage::current(), "de");
    EXPECT_EQ(changes, before + 1);
}

TEST_F(LanguageSettingTest, ADamagedOrUnknownLanguageInTheProfileFollowsTheDefault) {
    settings();
    users().add("Ada");
    for (const KTPlist& damaged : {KTPlist(5), KTPlist("it"), KTPlist("../de"), KTPlist::emptyDictionary()}) {
        users().selectedUser()->setObject(damaged, KTSettingsManager::kLanguageKey);
        settings().updateUserSettings();
        EXPECT_EQ(settings().profileLanguage(), "fr");
        EXPECT_EQ(KTLanguage::current(), "fr");
    }
}

}  // namespace
}  // namespace kt

#include "engine/services/KTSettingsManager.h"

#include "engine/core/KTAudioControl.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTLanguage.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTNotificationCenter.h"
#include "engine/services/KTUserManager.h"

namespace kt {

namespace {

std::unique_ptr<KTSettingsManager>& sharedInstance() {
    // The centre is made first so that it outlives the manager, which leaves it when destroyed at exit.
    KTNotificationCenter::shared();
    static std::unique_ptr<KTSettingsManager> instance;
    return instance;
}

// Volumes travel to the audio on its 0..10000 scale.
float volumeFromAudio(int volume) {
    return static_cast<float>(volume) / KTAudioControl::kFullVolume;
}
int volumeToAudio(double volume) {
    return static_cast<int>(volume * KTAudioControl::kFullVolume);
}

}  // namespace

KTSettingsManager& KTSettingsManager::sharedManager() {
    auto& instance = sharedInstance();
    if (!instance) {
        instance = std::make_unique<KTSettingsManager>();
        instance->updateUserSettings();
    }
    return *instance;
}

void KTSettingsManager::resetSharedManager() {
    sharedInstance().reset();
}

KTSettingsManager::KTSettingsManager() {
    const KTAudioControl* audio = KTDirector::shared().audio();
    soundVolume_ = std::make_shared<KTNumberDataSource>(audio ? volumeFromAudio(audio->soundVolume()) : 1.0f);
    musicVolume_ = std::make_shared<KTNumberDataSource>(audio ? volumeFromAudio(audio->musicVolume()) : 1.0f);
    fullscreen_ = std::make_shared<KTNumberDataSource>(1);
    observe();
    // The window follows the setting from now on, starting with its current value.
    KTDirector::shared().bindFullscreenSetting(fullscreen_);
    KTDirector::shared().setFullscreen(fullscreen_->boolValue());
}

KTSettingsManager::~KTSettingsManager() {
    KTNotificationCenter::shared().removeObserver(this);
}

void KTSettingsManager::observe() {
    auto& center = KTNotificationCenter::shared();
    center.addObserver(this, "", &KTUserManager::sharedManager(), [this](const KTNotification&) {
        KTLog("KTSettingsManager notifyUserChange");
        updateUserSettings();
    });
    center.addObserver(this, "", soundVolume_.get(),
                       [this](const KTNotification&) { volumeChanged(Volume::sound); });
    center.addObserver(this, "", musicVolume_.get(),
                       [this](const KTNotification&) { volumeChanged(Volume::music); });
    center.addObserver(this, "", fullscreen_.get(), [this](const KTNotification&) { fullscreenChanged(); });
}

void KTSettingsManager::updateUserSettings() {
    const auto user = KTUserManager::sharedManager().selectedUser();
    if (!user) {
        fullscreen_->setBool(true);
        showLanguage(profileLanguage());
        return;
    }
    updating_ = true;
    loadOrStore(*user, kSoundVolumeKey, *soundVolume_, true);
    loadOrStore(*user, kMusicVolumeKey, *musicVolume_, true);
    loadOrStore(*user, kFullscreenKey, *fullscreen_, false);
    updating_ = false;
    saveProfiles();
    showLanguage(profileLanguage());
}

// A value that names no available language, whatever its kind, is passed over rather than shown as English.
std::string KTSettingsManager::profileLanguage() const {
    const auto user = KTUserManager::sharedManager().selectedUser();
    const KTPlist* chosen = user ? &user->objectForKey(kLanguageKey) : nullptr;
    if (chosen && chosen->isString() && KTLanguage::available(chosen->stringValue())) return chosen->stringValue();
    return KTLanguage::defaultLanguage();
}

void KTSettingsManager::chooseLanguage(const std::string& language) {
    KTLog("KTSettingsManager chooseLanguage: %@", language);
    const auto user = KTUserManager::sharedManager().selectedUser();
    if (user) {
        user->setObject(language, kLanguageKey);
        saveProfiles();
    }
    showLanguage(user ? profileLanguage() : language);
}

void KTSettingsManager::showLanguage(const std::string& language) {
    if (KTLanguage::use(language)) KTNotificationCenter::shared().post(kLanguageChanged, nullptr);
}

void KTSettingsManager::loadOrStore(KTUser& user, std::string_view key, KTNumberDataSource& setting,
                                    bool isVolume) {
    const KTPlist& stored = user.objectForKey(key);
    if (stored.isNone()) {
        user.setObject(isVolume ? KTPlist(setting.numberValue()) : KTPlist(setting.boolValue()), key);
    } else if (isVolume) {
        setting.setFloat(static_cast<float>(stored.realValue()));
    } else {
        setting.setBool(stored.boolValue());
    }
}

void KTSettingsManager::volumeChanged(Volume volume) {
    const bool sound = volume == Volume::sound;
    const double value = (sound ? soundVolume_ : musicVolume_)->numberValue();
    if (KTAudioControl* audio = KTDirector::shared().audio()) {
        if (sound) {
            audio->setSoundVolume(volumeToAudio(value));
        } else {
            audio->setMusicVolume(volumeToAudio(value));
        }
    }
    if (auto user = KTUserManager::sharedManager().selectedUser()) {
        user->setObject(value, sound ? kSoundVolumeKey : kMusicVolumeKey);
    }
    saveProfiles();
}

void KTSettingsManager::fullscreenChanged() {
    KTLog("KTSettingsManager notifyFullscreenChange");
    if (auto user = KTUserManager::sharedManager().selectedUser()) {
        user->setObject(fullscreen_->boolValue(), kFullscreenKey);
    }
    saveProfiles();
}

void KTSettingsManager::saveProfiles() const {
    if (!updating_) KTUserManager::sharedManager().save();
}

}  // namespace kt

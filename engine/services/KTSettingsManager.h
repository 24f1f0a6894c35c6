#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/core/KTDataSource.h"

namespace kt {

class KTUser;

// Mirrors the selected profile's sound volume, music volume and full-screen choice into three value
// providers. A change of a provider reaches the audio (or, through the director's binding, the window) and
// the profile, which is saved; a change of the profiles loads the selected profile's values into them.
// It also shows the selected profile's language, or the default one for a profile without a choice.
class KTSettingsManager {
public:
    static constexpr std::string_view kSoundVolumeKey = "sound_volume";
    static constexpr std::string_view kMusicVolumeKey = "music_volume";
    static constexpr std::string_view kFullscreenKey = "fullscreen";
    static constexpr std::string_view kLanguageKey = "language";
    // Posted (without a sender) when the language shown changes; what is on screen was loaded in the old one.
    static constexpr std::string_view kLanguageChanged = "language_changed";

    static KTSettingsManager& sharedManager();
    // Forgets the manager and its observations (tests and tools).
    static void resetSharedManager();

    KTSettingsManager();
    ~KTSettingsManager();
    KTSettingsManager(const KTSettingsManager&) = delete;
    KTSettingsManager& operator=(const KTSettingsManager&) = delete;

    // Volumes 0..1; full screen as a truth value.
    const std::shared_ptr<KTNumberDataSource>& soundVolume() const { return soundVolume_; }
    const std::shared_ptr<KTNumberDataSource>& musicVolume() const { return musicVolume_; }
    const std::shared_ptr<KTNumberDataSource>& fullscreen() const { return fullscreen_; }
    bool forceRGBA() const { return forceRGBA_; }
    void setForceRGBA(bool force) { forceRGBA_ = force; }

    // Loads the selected profile's values into the providers; values the profile lacks are stored into it.
    // The language is not stored: a profile without one follows the default language.
    void updateUserSettings();

    // The selected profile's language when it holds one that can be shown, else the default language.
    std::string profileLanguage() const;
    // Keeps the language in the selected profile, saves, and shows it.
    void chooseLanguage(const std::string& language);

private:
    enum class Volume { sound, music };

    void observe();
    void volumeChanged(Volume volume);
    void fullscreenChanged();
    // Saves unless a profile update is in progress, which saves once at its end.
    void saveProfiles() const;
    // Posts kLanguageChanged when the language shown changes.
    void showLanguage(const std::string& language);
    static void loadOrStore(KTUser& user, std::string_view key, KTNumberDataSource& setting, bool isVolume);

    std::shared_ptr<KTNumberDataSource> soundVolume_;
    std::shared_ptr<KTNumberDataSource> musicVolume_;
    std::shared_ptr<KTNumberDataSource> fullscreen_;
    bool forceRGBA_ = false;
    bool updating_ = false;
};

}  // namespace kt

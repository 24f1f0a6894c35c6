#include "engine/controls/KTBaseMenuScene.h"

#include "engine/controls/KTCheckbox.h"
#include "engine/controls/KTList.h"
#include "engine/controls/KTSlider.h"
#include "engine/controls/KTTextInput.h"
#include "engine/core/KTAudioControl.h"
#include "engine/core/KTContentLog.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTTextValues.h"
#include "engine/render/KTFont.h"
#include "engine/services/KTSettingsManager.h"
#include "engine/services/KTUserManager.h"

namespace kt {
namespace {

constexpr float kDefaultVolume = 0.8f;

KTUserManager& users() {
    return KTUserManager::sharedManager();
}

float audioVolume(int (KTAudioControl::*volume)() const) {
    const KTAudioControl* audio = KTDirector::shared().audio();
    return audio ? static_cast<float>((audio->*volume)()) / KTAudioControl::kFullVolume : 1.0f;
}

}  // namespace

const KTClass& KTBaseMenuScene::staticClass() {
    static const KTClass& cls = KTClass::define<KTBaseMenuScene>("KTBaseMenuScene", KTScene::staticClass())
                                    .operation("setupUserData", &KTBaseMenuScene::setupUserData)
                                    .operation("setFullscreen", &KTBaseMenuScene::setFullscreen)
                                    .operation("setWindow", &KTBaseMenuScene::setWindow)
                                    .operation("fullscreenChanged", &KTBaseMenuScene::fullscreenChanged)
                                    .operation("setupWindowControl", &KTBaseMenuScene::setupWindowControl)
                                    .operation("setupVolumeControl", &KTBaseMenuScene::setupVolumeControl)
                                    .operation("setSoundVolumeStr:", &KTBaseMenuScene::setSoundVolumeStr)
                                    .operation("setMusicVolumeStr:", &KTBaseMenuScene::setMusicVolumeStr)
                                    .operation("showTutorial:", &KTBaseMenuScene::showTutorial)
                                    .operation("showAddUser", &KTBaseMenuScene::showAddUser)
                                    .operation("showAddFirstUser", &KTBaseMenuScene::showAddFirstUser)
                                    .operation("fillUserList", &KTBaseMenuScene::fillUserList)
                                    .operation("cancelAddUser", &KTBaseMenuScene::cancelAddUser)
                                    .operation("addUser",
                                               [](KTObject& scene, const KTArgument&) -> KTObjectRef {
                                                   static_cast<KTBaseMenuScene&>(scene).addUser();
                                                   return nullptr;
                                               })
                                    .operation("addFirstUser", &KTBaseMenuScene::addFirstUser)
                                    .operation("selectUser:", &KTBaseMenuScene::selectUser)
                                    .operation("deleteSelectedUser", &KTBaseMenuScene::deleteSelectedUser);
    return cls;
}
KT_REGISTER_CLASS(KTBaseMenuScene);

// Through the settings' providers, so that the audio, the window and bound controls all follow.
void KTBaseMenuScene::loadCurrentUserSettings() {
    users().load();
    KTSettingsManager& settings = KTSettingsManager::sharedManager();
    if (!users().selectedUser()) {
        settings.fullscreen()->setBool(true);
        settings.soundVolume()->setFloat(kDefaultVolume);
        settings.musicVolume()->setFloat(kDefaultVolume);
        return;
    }
    settings.updateUserSettings();
}

void KTBaseMenuScene::saveCurrentUserSettings() {
    const auto user = users().selectedUser();
    if (!user) return;
    user->setObject(KTDirector::shared().fullscreen(), KTSettingsManager::kFullscreenKey);
    user->setObject(audioVolume(&KTAudioControl::soundVolume), KTSettingsManager::kSoundVolumeKey);
    user->setObject(audioVolume(&KTAudioControl::musicVolume), KTSettingsManager::kMusicVolumeKey);
    users().save();
}

template <typename T>
std::shared_ptr<T> KTBaseMenuScene::control(std::string_view name) {
    auto found = std::dynamic_pointer_cast<T>(getChildByName(name));
    if (!found) {
        KTLogContentProblem(KTFormat("no %@ named \"%@\"", T::staticClass().name(), std::string(name)),
                            className());
    }
    return found;
}

void KTBaseMenuScene::setFullscreen() {
    KTDirector::shared().setFullscreen(true);
    saveCurrentUserSettings();
}

void KTBaseMenuScene::setWindow() {
    KTDirector::shared().setFullscreen(false);
    saveCurrentUserSettings();
}

void KTBaseMenuScene::setupWindowControl() {
    if (const auto checkbox = control<KTCheckbox>("fullscreen_checkbox")) {
        checkbox->setChecked(KTDirector::shared().fullscreen());
    }
}

void KTBaseMenuScene::setupVolumeControl() {
    for (const char* name : {"sound_volume_value", "sound_volume_value2"}) {
        if (const auto slider = control<KTSlider>(name))
            slider->setValue(audioVolume(&KTAudioControl::soundVolume));
    }
    if (const auto slider = control<KTSlider>("music_volume_value")) {
        slider->setValue(audioVolume(&KTAudioControl::musicVolume));
    }
}

void KTBaseMenuScene::setSoundVolumeStr(const std::string& volume) {
    KTScene::setSoundVolumeStr(volume);
    setupVolumeControl();
}

void KTBaseMenuScene::setMusicVolumeStr(const std::string& volume) {
    KTScene::setMusicVolumeStr(volume);
    setupVolumeControl();
}

// Once per profile; a tutorial whose file is missing is tried again next time.
void KTBaseMenuScene::showTutorial(const std::string& name) {
    const auto user = users().selectedUser();
    if (user && user->tutorialHandled(name)) return;
    if (!showPopup(KTFormat("data/partials/tutorial/%@.xml", name)) || !user) return;
    user->setTutorialHandled(name);
    users().save();
}

void KTBaseMenuScene::showAddUser() {
    if (users().count() >= KTUserManager::kMaxUsers) {
        setState("too_many_users");
        return;
    }
    setState("add_user");
    setFocus(control<KTTextInput>("username_input"));
}

// The field takes the keys at once, prefilled with as much of the computer account's name as its font can
// show.
void KTBaseMenuScene::showAddFirstUser() {
    setState("add_first_user");
    const auto input = control<KTTextInput>("first_username_input");
    setFocus(input);
    if (!input) return;
    const std::string name = KTResourceManager::osUserName();
    input->setTypedText(input->font() ? input->font()->filterString(name) : name);
}

void KTBaseMenuScene::fillUserList() {
    if (const auto list = control<KTList>("userlist")) list->fill(users());
    if (const auto button = control<KTNode>("add_user_button")) button->setEnabled(true);
}

void KTBaseMenuScene::cancelAddUser() {
    clearInput("username_input");
    setState("users");
}

std::string KTBaseMenuScene::typedName(std::string_view input) {
    const auto field = control<KTTextInput>(input);
    return field ? std::string(KTTrimmed(field->text())) : std::string();
}

void KTBaseMenuScene::clearInput(std::string_view input) {
    if (const auto field = control<KTTextInput>(input)) field->setTypedText("");
}

bool KTBaseMenuScene::addUser() {
    const std::string name = typedName("username_input");
    KTLog("NEW USER NAME: %@", name);
    if (name.empty()) return false;
    if (!users().checkUserName(name)) {
        showPopup(kUserExistsPopup);
        setFocus(nullptr);
        return false;
    }
    users().add(name);
    fillUserList();
    clearInput("username_input");
    setupUserData();
    setState("users");
    saveCurrentUserSettings();
    setFocus(nullptr);
    return true;
}

// The first name is trimmed like every other.
void KTBaseMenuScene::addFirstUser() {
    KTLog("addFirstUser called");
    const std::string name = typedName("first_username_input");
    KTLog("first_username_input: %@", name);
    if (name.empty()) return;
    users().add(name);
    fillUserList();
    clearInput("first_username_input");
    setFocus(nullptr);
    setState("default");
    setupUserData();
    saveCurrentUserSettings();
}

void KTBaseMenuScene::settingsChanged() {
    loadCurrentUserSettings();
    setupWindowControl();
    setupVolumeControl();
    setupUserData();
}

void KTBaseMenuScene::selectUser(const std::string& name) {
    saveCurrentUserSettings();
    users().selectByName(name);
    settingsChanged();
}

void KTBaseMenuScene::deleteSelectedUser() {
    users().removeSelected();
    closePopup();
    if (!users().selectedUser()) {
        showAddFirstUser();
        return;
    }
    fillUserList();
    setState("users");
    settingsChanged();
}

}  // namespace kt

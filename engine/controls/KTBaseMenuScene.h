#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "engine/core/KTScene.h"

namespace kt {

// Base of the menu scenes: the handler operations of the settings and profile screens (window or full
// screen, the volume sliders, the profile list with adding, selecting and deleting, the first-start name
// input, tutorials shown once per profile), working on controls found by name in the scene's file. Its two
// class operations carry the settings between the running program and the selected profile.
class KTBaseMenuScene : public KTScene {
public:
    KT_CLASS(KTBaseMenuScene)

    static constexpr const char* kUserExistsPopup = "data/partials/main/user_exists_popup.xml";

    // Reads the profiles and applies the selected one's window mode and volumes; without a profile, full
    // screen and both volumes at 0.8.
    static void loadCurrentUserSettings();
    // Stores the window mode and volumes in force into the selected profile and saves.
    static void saveCurrentUserSettings();

    // A hook for the menus, called after every profile change.
    virtual void setupUserData() {}
    void setFullscreen();
    void setWindow();
    void fullscreenChanged() { saveCurrentUserSettings(); }
    void setupWindowControl();
    void setupVolumeControl();
    void setSoundVolumeStr(const std::string& volume);
    void setMusicVolumeStr(const std::string& volume);
    void showTutorial(const std::string& name);
    void showAddUser();
    void showAddFirstUser();
    void fillUserList();
    void cancelAddUser();
    // Whether a profile was added.
    bool addUser();
    void addFirstUser();
    void selectUser(const std::string& name);
    void deleteSelectedUser();

private:
    // The node of that name, of the class wanted; a missing one is reported once.
    template <typename T>
    std::shared_ptr<T> control(std::string_view name);
    // The trimmed text of a text input.
    std::string typedName(std::string_view input);
    void clearInput(std::string_view input);
    void settingsChanged();
};

}  // namespace kt

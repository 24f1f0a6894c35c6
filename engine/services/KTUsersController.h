#pragma once

#include <memory>

#include "engine/core/KTDataSource.h"

namespace kt {

class KTUserManager;

// The controller behind the profile screens: scene files call its operations through handlers and bind
// their fields to its providers. It turns the typed name into a new profile, deletes the selected one,
// picks the scene state that follows, and keeps the selected profile's name, greeting and tokens current
// whenever the profiles change.
class KTUsersController : public KTObject {
public:
    KT_CLASS(KTUsersController)

    KTUsersController();
    ~KTUsersController() override;
    KTUsersController(const KTUsersController&) = delete;
    KTUsersController& operator=(const KTUsersController&) = delete;

    const std::shared_ptr<KTStringDataSource>& newUserName() const { return newUserName_; }
    const std::shared_ptr<KTStringDataSource>& currentUserName() const { return currentUserName_; }
    const std::shared_ptr<KTStringDataSource>& welcomeUserText() const { return welcomeUserText_; }
    const std::shared_ptr<KTNumberDataSource>& soundVolume() const { return soundVolume_; }
    const std::shared_ptr<KTNumberDataSource>& musicVolume() const { return musicVolume_; }
    const std::shared_ptr<KTNumberDataSource>& fullscreen() const { return fullscreen_; }
    const std::shared_ptr<KTNumberDataSource>& currentUserTokens() const { return currentUserTokens_; }
    static KTUserManager& users();

    void addUser();
    void addFirstUser();
    void deleteSelectedUser();
    void switchToAddUserState();
    void updateCurrentUserName();

private:
    // The typed name without surrounding white space, and the input cleared once a profile has it.
    std::string typedName() const;
    static void setSceneState(const std::string& state);
    static bool full();

    std::shared_ptr<KTStringDataSource> newUserName_;
    std::shared_ptr<KTStringDataSource> currentUserName_;
    std::shared_ptr<KTStringDataSource> welcomeUserText_;
    std::shared_ptr<KTNumberDataSource> soundVolume_;
    std::shared_ptr<KTNumberDataSource> musicVolume_;
    std::shared_ptr<KTNumberDataSource> fullscreen_;
    std::shared_ptr<KTNumberDataSource> currentUserTokens_;
};

}  // namespace kt

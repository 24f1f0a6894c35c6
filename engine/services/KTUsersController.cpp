#include "engine/services/KTUsersController.h"

#include <algorithm>

#include "engine/core/KTDirector.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTLocale.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTNotificationCenter.h"
#include "engine/core/KTScene.h"
#include "engine/core/KTTextValues.h"
#include "engine/services/KTSettingsManager.h"
#include "engine/services/KTUserManager.h"

namespace kt {
namespace {

// Scene files reach the providers by binding to these operations.
template <auto Getter>
KTOperation provider() {
    return [](KTObject& target, const KTArgument&) -> KTObjectRef {
        return (static_cast<KTUsersController&>(target).*Getter)();
    };
}

}  // namespace

const KTClass& KTUsersController::staticClass() {
    static const KTClass& cls =
        KTClass::define<KTUsersController>("KTUsersController", KTObject::staticClass())
            .operation("newUserName", provider<&KTUsersController::newUserName>())
            .operation("currentUserName", provider<&KTUsersController::currentUserName>())
            .operation("welcomeUserText", provider<&KTUsersController::welcomeUserText>())
            .operation("soundVolume", provider<&KTUsersController::soundVolume>())
            .operation("musicVolume", provider<&KTUsersController::musicVolume>())
            .operation("fullscreen", provider<&KTUsersController::fullscreen>())
            .operation("currentUserTokens", provider<&KTUsersController::currentUserTokens>())
            .operation("users",
                       [](KTObject&, const KTArgument&) -> KTObjectRef { return users().shared_from_this(); })
            .operation("addUser", &KTUsersController::addUser)
            .operation("addFirstUser", &KTUsersController::addFirstUser)
            .operation("deleteSelectedUser", &KTUsersController::deleteSelectedUser)
            .operation("switchToAddUserState", &KTUsersController::switchToAddUserState)
            .operation("updateCurrentUserName", &KTUsersController::updateCurrentUserName);
    return cls;
}
KT_REGISTER_CLASS(KTUsersController);

KTUsersController::KTUsersController()
    : newUserName_(std::make_shared<KTStringDataSource>()),
      currentUserName_(std::make_shared<KTStringDataSource>()),
      welcomeUserText_(std::make_shared<KTStringDataSource>()),
      currentUserTokens_(std::make_shared<KTNumberDataSource>()) {
    const KTSettingsManager& settings = KTSettingsManager::sharedManager();
    soundVolume_ = settings.soundVolume();
    musicVolume_ = settings.musicVolume();
    fullscreen_ = settings.fullscreen();
    KTNotificationCenter::shared().addObserver(this, "", &users(),
                                               [this](const KTNotification&) { updateCurrentUserName(); });
    updateCurrentUserName();
}

KTUsersController::~KTUsersController() {
    KTNotificationCenter::shared().removeObserver(this);
}

KTUserManager& KTUsersController::users() {
    return KTUserManager::sharedManager();
}

void KTUsersController::setSceneState(const std::string& state) {
    if (const auto scene = KTDirector::shared().currentScene()) scene->setState(state);
}

std::string KTUsersController::typedName() const {
    return std::string(KTTrimmed(newUserName_->stringValue()));
}

void KTUsersController::updateCurrentUserName() {
    const auto user = users().selectedUser();
    if (!user) return;
    const std::string name = user->name();
    KTLog("updateCurrentUserName: %@", name);
    // Options the profile lacks take the present settings; the profile's language comes first, so that the
    // welcome is in it.
    KTSettingsManager::sharedManager().updateUserSettings();
    currentUserName_->setStringQuietly(name);
    welcomeUserText_->setStringQuietly(KTLocalizeFormat("Welcome, %@", name));
    currentUserName_->commit();
    welcomeUserText_->commit();
    currentUserTokens_->setInt(user->tokens());
}

// The menu's own limit counts too, so that no screen lets a profile in that another would refuse.
bool KTUsersController::full() {
    const std::size_t limit = std::min<std::size_t>(users().usersCountLimit(), KTUserManager::kMaxUsers);
    return users().count() >= limit;
}

void KTUsersController::switchToAddUserState() {
    setSceneState(full() ? "too_many_users" : "add_user");
}

void KTUsersController::addUser() {
    if (full()) {
        setSceneState("too_many_users");
        return;
    }
    const std::string name = typedName();
    if (name.empty()) return;
    KTLog("KTUsersController addUser:%@", name);
    if (!users().checkUserName(name)) {
        setSceneState("username_used");
        return;
    }
    users().add(name);
    newUserName_->setString("");
    setSceneState("users");
    updateCurrentUserName();
}

// The first profile's name is trimmed like every other.
void KTUsersController::addFirstUser() {
    const std::string name = typedName();
    if (name.empty()) return;
    KTLog("KTUsersController addFirstUser:%@", name);
    users().add(name);
    newUserName_->setString("");
    setSceneState("default");
}

void KTUsersController::deleteSelectedUser() {
    users().removeSelected();
    setSceneState(users().selectedUser() ? "users" : "add_first_user");
}

}  // namespace kt

#pragma once

#include <memory>

#include "engine/core/KTLog.h"
#include "engine/services/KTUserManager.h"

namespace moonbrook {

// Keeps one manager per selected profile: the manager is built for the profile selected at its first use
// and built again once another profile is selected.
template <typename Manager>
class ProfileBoundManager {
public:
    Manager& current() {
        const auto user = kt::KTUserManager::sharedManager().selectedUser();
        if (manager_ && user != owner_) {
            kt::KTLog("selected user changed, rebuilding for profile %i",
                      kt::KTUserManager::sharedManager().selectedIdx());
            manager_.reset();
        }
        if (!manager_) {
            owner_ = user;
            manager_ = std::make_unique<Manager>(user);
        }
        return *manager_;
    }
    void reset() {
        manager_.reset();
        owner_.reset();
    }

private:
    std::unique_ptr<Manager> manager_;
    // Held so that a profile made after this one was deleted can never be taken for it.
    std::shared_ptr<kt::KTUser> owner_;
};

}  // namespace moonbrook

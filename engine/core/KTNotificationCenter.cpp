#include "engine/core/KTNotificationCenter.h"

#include <algorithm>

namespace kt {

KTNotificationCenter& KTNotificationCenter::shared() {
    // Never destroyed: nodes and providers held by other singletons unregister in their destructors, which
    // may run after this one's at exit.
    static KTNotificationCenter* const center = new KTNotificationCenter;
    return *center;
}

void KTNotificationCenter::addObserver(const void* observer, std::string name, const KTObject* sender,
                                       Callback callback) {
    registrations_.push_back({nextId_++, observer, std::move(name), sender, std::move(callback)});
}

void KTNotificationCenter::removeObserver(const void* observer) {
    std::erase_if(registrations_, [observer](const Registration& r) { return r.observer == observer; });
}

void KTNotificationCenter::removeObserver(const void* observer, std::string_view name,
                                          const KTObject* sender) {
    std::erase_if(registrations_, [&](const Registration& r) {
        return r.observer == observer && r.name == name && r.sender == sender;
    });
}

bool KTNotificationCenter::isRegistered(std::uint64_t id) const {
    return std::any_of(registrations_.begin(), registrations_.end(),
                       [id](const Registration& r) { return r.id == id; });
}

void KTNotificationCenter::post(std::string_view name, KTObject* sender) {
    // Observers may register or leave while they are told, so the matches are taken first and each one is
    // checked again just before it is called.
    std::vector<std::pair<std::uint64_t, Callback>> matches;
    for (const Registration& r : registrations_) {
        if ((r.name.empty() || r.name == name) && (!r.sender || r.sender == sender)) {
            matches.emplace_back(r.id, r.callback);
        }
    }
    const KTNotification notification{name, sender};
    for (const auto& [id, callback] : matches) {
        if (isRegistered(id)) callback(notification);
    }
}

}  // namespace kt

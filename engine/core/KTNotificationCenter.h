#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kt {

class KTObject;

struct KTNotification {
    std::string_view name;
    KTObject* sender = nullptr;
};

// Synchronous notifications by name. An observer registers for a name (empty: any) and a sender (none: any);
// posting calls the matching observers in registration order, inside the post call.
class KTNotificationCenter {
public:
    using Callback = std::function<void(const KTNotification&)>;

    static KTNotificationCenter& shared();

    void addObserver(const void* observer, std::string name, const KTObject* sender, Callback callback);
    // Removes every registration of the observer; safe while a post is being delivered.
    void removeObserver(const void* observer);
    void removeObserver(const void* observer, std::string_view name, const KTObject* sender);
    void post(std::string_view name, KTObject* sender);

private:
    struct Registration {
        std::uint64_t id;
        const void* observer;
        std::string name;
        const KTObject* sender;
        Callback callback;
    };

    bool isRegistered(std::uint64_t id) const;

    std::vector<Registration> registrations_;
    std::uint64_t nextId_ = 1;
};

}  // namespace kt

#include "engine/core/KTControllerManager.h"

namespace kt {

KTControllerManager& KTControllerManager::shared() {
    static KTControllerManager manager;
    return manager;
}

KTObjectRef KTControllerManager::getControllerByName(std::string_view name) {
    const auto found = controllers_.find(name);
    if (found != controllers_.end()) return found->second;
    const KTClass* cls = KTClass::named(name);
    KTObjectRef controller = cls ? cls->create() : nullptr;
    if (controller) controllers_.emplace(std::string(name), controller);
    return controller;
}

void KTControllerManager::setController(const std::string& name, KTObjectRef controller) {
    controllers_[name] = std::move(controller);
}

}  // namespace kt

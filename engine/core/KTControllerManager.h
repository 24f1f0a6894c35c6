#pragma once

#include <map>
#include <string>
#include <string_view>

#include "engine/core/KTObject.h"

namespace kt {

// Named controller objects that handler messages and value-provider bindings can target. A controller is
// created from the class of the same name on first request and lives until exit.
class KTControllerManager {
public:
    static KTControllerManager& shared();

    KTObjectRef getControllerByName(std::string_view name);
    void setController(const std::string& name, KTObjectRef controller);
    void removeAllControllers() { controllers_.clear(); }

private:
    std::map<std::string, KTObjectRef, std::less<>> controllers_;
};

}  // namespace kt

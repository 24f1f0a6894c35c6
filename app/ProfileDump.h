#pragma once

#include <nlohmann/json.hpp>

#include "engine/core/KTPlist.h"
#include "engine/services/KTUserManager.h"

namespace moonbrook {

// A property-list value as JSON: dates as seconds since 1970, data as an array of bytes.
nlohmann::json plistToJson(const kt::KTPlist& value);
// The profiles: "selected" (the selected profile's name, or null) and "users", every key of each profile.
nlohmann::json describeProfiles(const kt::KTUserManager& users);

}  // namespace moonbrook

#pragma once

#include <optional>
#include <string>

#include "engine/core/KTPlist.h"

namespace moonbrook {

// A property list of the content, found through the resource manager; none when it is missing or damaged
// (either is logged once).
std::optional<kt::KTPlist> readContentFile(const std::string& name);

}  // namespace moonbrook

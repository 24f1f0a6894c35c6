#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/core/KTPlist.h"

namespace moonbrook {

// A property list of the content, found through the resource manager; none when it is missing or damaged
// (either is logged once).
std::optional<kt::KTPlist> readContentFile(const std::string& name);
// Logs once that a content file read well but does not hold what the game expects, with its path.
void logUnexpectedContent(const std::string& name, std::string_view problem);

}  // namespace moonbrook

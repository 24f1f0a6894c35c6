#pragma once

#include <string>
#include <string_view>

namespace kt {

// Reports a content file that is missing or cannot be read: one log line per file and problem for the whole
// run, so a screen that keeps asking for the file does not flood the log. Callers go on without the file.
void KTLogContentProblem(std::string_view problem, const std::string& path);

}  // namespace kt

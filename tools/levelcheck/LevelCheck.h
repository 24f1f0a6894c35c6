#pragma once

#include <ostream>

#include "tools/levelcheck/LevelCheckOptions.h"

namespace moonbrook::levelcheck {

// Plays and reports the levels of the options: the table on `out`, problems on `err`, the JSON and SVG
// files where asked. Answers the exit code: 0, or 1 when a level could not be read, a report could not be
// written, a job failed or (with --check) a level was never won or soft-locked. Expects the engine
// prepared by installHeadlessEngine.
int runLevelCheck(const LevelCheckOptions& options, std::ostream& out, std::ostream& err);

// Every level of every episode in "data/episodes.plist" under the data root, in order.
std::vector<std::string> shippedLevels(const std::string& dataRoot);

}  // namespace moonbrook::levelcheck

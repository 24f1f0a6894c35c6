#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tools/levelcheck/LevelReport.h"

namespace moonbrook::levelcheck {

// What was played, as the reports state it.
struct CheckSettings {
    std::string bot;
    int runs = 0;
    unsigned seed = 0;
    float thinkTime = 0;
    int powerupLevel = 0;
};

// A readable table, one line per level.
std::string reportTable(const std::vector<LevelReport>& reports);
// The reports as JSON for tools; the same runs give the same text.
std::string reportJson(const CheckSettings& settings, const std::vector<LevelReport>& reports);
// A chart of the levels in the given order: the spread of the win times as bars and the win rate as a line.
std::string reportSvg(const CheckSettings& settings, const std::vector<LevelReport>& reports);

// Writes the text to a file beside the target and renames it over the target, so that readers never see a
// half-written file; false (with the reason in `error`) when that fails.
bool writeFileAtomically(const std::filesystem::path& path, const std::string& text, std::string& error);

}  // namespace moonbrook::levelcheck

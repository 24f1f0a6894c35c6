#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace moonbrook {

// The automation options; the game itself takes none.
struct AppOptions {
    bool headless = false;
    std::optional<std::uint64_t> frames;
    std::optional<float> fixedDeltaTime;
    std::optional<std::uint32_t> seed;
    std::optional<std::string> scriptPath;
    // Start straight in the play scene of this level.
    std::optional<std::string> levelName;
    // Start in the level editor on this level (development and tests).
    std::optional<std::string> editLevelName;
    // Start in a menu scene loaded from this scene file (screens under test).
    std::optional<std::string> sceneFile;
};

// What a command line asks for: a run with its options, the usage text, or a mistake to report.
struct CommandLine {
    AppOptions options;
    bool helpRequested = false;
    std::string error;
};

inline constexpr std::string_view kUsage =
    "usage: moonbrook [--headless] [--frames N] [--fixed-dt SECONDS] [--seed N] [--script FILE]"
    " [--level NAME] [--edit NAME] [--scene FILE]";

// The arguments after the program's name. Options take their value as the next argument or after '='.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace moonbrook

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ScriptCommandRegistry.h"

namespace moonbrook {

// A script made ready to run: one command per line, '#' at the start of a word opens a comment to the end of
// the line, blank lines are skipped.
struct Script {
    struct Step {
        int line = 0;
        ScriptAction action;
    };

    // The file name that messages begin with.
    std::string name;
    std::vector<Step> steps;

    // Every line is checked before anything runs; on the first bad one the answer is none and `error` says
    // "NAME:LINE: what is wrong".
    static std::optional<Script> parse(std::string_view text, std::string name,
                                       const ScriptCommandRegistry& commands, std::string& error);
    static std::optional<Script> load(const std::string& path, const ScriptCommandRegistry& commands,
                                      std::string& error);
};

}  // namespace moonbrook

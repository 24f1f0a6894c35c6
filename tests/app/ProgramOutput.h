#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "tests/app/GameProcess.h"

namespace moonbrook::test {

// The first node of that name in a dumped scene tree, or none.
const nlohmann::json* findNode(const nlohmann::json& node, const std::string& name);
// Whether a text node in the dumped tree shows that text, hidden or not.
bool showsText(const nlohmann::json& node, const std::string& text);
// How often the part occurs in the text.
std::size_t occurrences(const std::string& text, const std::string& part);

// A test of the real program run headless in a folder of the test's own, and of what its runs leave there.
class ProgramRunTest : public ::testing::Test {
protected:
    // Runs the program to its end and answers its exit code (none when it had to be killed); its error
    // output is kept in errorOutput_.
    std::optional<int> run(const std::vector<std::string>& arguments,
                           const GameProcess::Environment& environment = {});
    // Writes the script to "script.txt" and runs it headless with a fixed step of 0.0166 s and seed 5, then
    // the further arguments, which may give another step.
    std::optional<int> runScript(const std::string& script, const std::vector<std::string>& arguments = {},
                                 const GameProcess::Environment& environment = {});

    nlohmann::json dumped(const std::string& name) const;
    // The first node of that name in a dumped scene, inside the named parent for childOf; null when missing.
    static nlohmann::json node(const nlohmann::json& scene, const std::string& name);
    static nlohmann::json childOf(const nlohmann::json& scene, const std::string& parent,
                                  const std::string& name);
    // Player profiles, each a name and its further plist entries, with the one named selected.
    void writeProfiles(const std::vector<std::pair<std::string, std::string>>& profiles,
                       const std::string& selected) const;
    // One selected profile named "Ann".
    void writeProfile(const std::string& entries) const { writeProfiles({{"Ann", entries}}, "Ann"); }

    std::chrono::seconds timeout_{180};
    TestFolder folder_;
    std::string errorOutput_;
};

}  // namespace moonbrook::test

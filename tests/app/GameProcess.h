#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace moonbrook::test {

// The program's log, below the working folder a GameProcess gives it.
inline constexpr const char* kLog = "data-home/Moonbrook/log.txt";
// A profile's "tutorials" with every tutorial of the first levels seen, so that none covers the board.
inline constexpr const char* kAllTutorials =
    "<key>tutorials</key><dict><key>basics</key><integer>1</integer><key>plates</key><integer>1</integer>"
    "<key>tokens</key><integer>1</integer><key>locks</key><integer>1</integer></dict>";

// The real program as a child process, started in a working folder of the test's with the per-user folder
// pointed to its "data-home", its error output kept in its "stderr.txt". A child still running at the end is
// killed.
class GameProcess {
public:
    // Variables mapped to none are removed from the child's environment.
    using Environment = std::map<std::string, std::optional<std::string>>;

    GameProcess(const std::filesystem::path& folder, const std::vector<std::string>& arguments,
                const Environment& environment = {});
    ~GameProcess();
    GameProcess(const GameProcess&) = delete;
    GameProcess& operator=(const GameProcess&) = delete;

    // The exit code (128 + the signal when a signal ended it); none while it still runs after the timeout.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    bool running();
    std::string errorOutput() const;

private:
    std::filesystem::path folder_;
    pid_t pid_ = -1;
    std::optional<int> exitCode_;
};

// A fresh folder named after the running test, removed again at the end.
class TestFolder {
public:
    TestFolder();
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    void write(const std::string& name, const std::string& text) const;
    // Makes "data" see the content tree through links, one per entry. The folders named (paths inside
    // "data", such as "levels" or "partials/tutorial") become folders of the test's own, holding links to
    // the content's entries, so that the test may add or remove files in them.
    void linkContent(const std::filesystem::path& content, const std::vector<std::string>& ownFolders = {}) const;
    std::string read(const std::string& name) const;

private:
    std::filesystem::path path_;
};

}  // namespace moonbrook::test

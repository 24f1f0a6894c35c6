#include "tests/app/GameProcess.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/support/DataFileTest.h"

namespace moonbrook::test {
namespace {

constexpr const char* kErrorOutputName = "stderr.txt";

// Runs in the forked child only: nothing here may return to the test framework.
[[noreturn]] void becomeGame(const std::filesystem::path& folder, const std::vector<std::string>& arguments,
                             const GameProcess::Environment& environment) {
    const int errorOutput = open((folder / kErrorOutputName).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (errorOutput < 0 || dup2(errorOutput, STDERR_FILENO) < 0 || chdir(folder.c_str()) != 0) _exit(127);
    setenv("XDG_DATA_HOME", (folder / "data-home").c_str(), 1);
    std::string leakOptions = "suppressions=" MOONBROOK_LSAN_SUPPRESSIONS;
    if (const char* inherited = std::getenv("LSAN_OPTIONS"))
        leakOptions = std::string(inherited) + ":" + leakOptions;
    setenv("LSAN_OPTIONS", leakOptions.c_str(), 1);
    // Mesa's GL driver is unloaded before the leak report, so its one-time allocations can be told apart only
    // by the frames below it: unwind fully on allocation.
    std::string addressOptions = "fast_unwind_on_malloc=0";
    if (const char* inherited = std::getenv("ASAN_OPTIONS"))
        addressOptions = std::string(inherited) + ":" + addressOptions;
    setenv("ASAN_OPTIONS", addressOptions.c_str(), 1);
    // The texts are English whatever language the machine running the tests speaks, unless a test says.
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", "C", 1);
    for (const auto& [name, value] : environment) {
        if (value) {
            setenv(name.c_str(), value->c_str(), 1);
        } else {
            unsetenv(name.c_str());
        }
    }
    std::vector<char*> argv{const_cast<char*>(MOONBROOK_BINARY)};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(MOONBROOK_BINARY, argv.data());
    _exit(127);
}

}  // namespace

GameProcess::GameProcess(const std::filesystem::path& folder, const std::vector<std::string>& arguments,
                         const Environment& environment)
    : folder_(folder) {
    pid_ = fork();
    if (pid_ == 0) becomeGame(folder, arguments, environment);
    EXPECT_GT(pid_, 0) << "fork failed";
}

GameProcess::~GameProcess() {
    if (running()) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
}

bool GameProcess::running() {
    if (pid_ <= 0 || exitCode_) return false;
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
    exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return false;
}

std::optional<int> GameProcess::waitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (running() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return running() ? std::nullopt : exitCode_;
}

std::string GameProcess::errorOutput() const {
    return kt::test::readFile(folder_ / kErrorOutputName);
}

TestFolder::TestFolder() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    // The process number keeps apart the runs of several build folders at once.
    path_ = std::filesystem::temp_directory_path() / ("moonbrook-" + std::string(test->test_suite_name()) +
                                                      "." + test->name() + "-" + std::to_string(getpid()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TestFolder::~TestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

// A link to the content is replaced, never written through.
void TestFolder::write(const std::string& name, const std::string& text) const {
    if (std::filesystem::is_symlink(path_ / name)) std::filesystem::remove(path_ / name);
    std::ofstream(path_ / name, std::ios::binary) << text;
}

namespace {

// Links every entry of `from` into `to`, except those on the way to one of the own folders, which become
// real folders treated the same way.
void linkEntries(const std::filesystem::path& from, const std::filesystem::path& to,
                 const std::set<std::filesystem::path>& ownFolders, const std::filesystem::path& relative) {
    std::filesystem::create_directories(to);
    for (const auto& entry : std::filesystem::directory_iterator(from)) {
        const std::filesystem::path inside = relative / entry.path().filename();
        const bool onTheWay = std::ranges::any_of(ownFolders, [&inside](const std::filesystem::path& own) {
            return std::mismatch(inside.begin(), inside.end(), own.begin(), own.end()).first == inside.end();
        });
        if (onTheWay && entry.is_directory()) {
            linkEntries(entry.path(), to / entry.path().filename(), ownFolders, inside);
        } else {
            std::filesystem::create_symlink(entry.path(), to / entry.path().filename());
        }
    }
}

}  // namespace

void TestFolder::linkContent(const std::filesystem::path& content, const std::vector<std::string>& ownFolders) const {
    const std::set<std::filesystem::path> own(ownFolders.begin(), ownFolders.end());
    linkEntries(content, path_ / "data", own, {});
    for (const std::filesystem::path& folder : own)
        std::filesystem::create_directories(path_ / "data" / folder);
}

std::string TestFolder::read(const std::string& name) const {
    return kt::test::readFile(path_ / name);
}

}  // namespace moonbrook::test

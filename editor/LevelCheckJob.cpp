#include "editor/LevelCheckJob.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <vector>

#include "engine/core/KTResourceManager.h"

extern char** environ;

namespace moonbrook {

namespace {

namespace fs = std::filesystem;

constexpr const char* kChecker = "moonbrook-levelcheck";

// The checker beside this program, as the build and an installation place them.
fs::path checkerPath() {
    std::error_code failed;
    const fs::path program = fs::read_symlink("/proc/self/exe", failed);
    return failed ? fs::path(kChecker) : program.parent_path() / kChecker;
}

LevelCheckVerdict verdictOf(const nlohmann::json& level) {
    LevelCheckVerdict verdict;
    verdict.runs = level.value("runs", 0);
    verdict.wins = level.value("wins", 0);
    verdict.winRate = level.value("win_rate", 0.0);
    const nlohmann::json& times = level["win_time"];
    verdict.medianTime = times.value("median", 0.0f);
    verdict.best5Time = times.value("best_5_percent", 0.0f);
    const nlohmann::json& suggested = level["suggested"];
    verdict.goldTime = suggested.value("gold", 0.0f);
    verdict.threeStars = suggested.value("three_stars", 0.0f);
    verdict.twoStars = suggested.value("two_stars", 0.0f);
    verdict.oneStar = suggested.value("one_star", 0.0f);
    verdict.timeLimit = suggested.value("time_limit", 0.0f);
    verdict.softLocks = level["left_without_move_by"].value("never", 0);
    verdict.verdict = level.value("verdict", "");
    return verdict;
}

}  // namespace

std::unique_ptr<LevelCheckJob> LevelCheckJob::start(const std::string& levelName, const kt::KTPlist& level,
                                                    std::string& error) {
    const fs::path checker = checkerPath();
    if (!fs::is_regular_file(checker)) {
        error = "The level check is not built (" + checker.string() + ")";
        return nullptr;
    }
    std::string folder = (fs::temp_directory_path() / "moonbrook-editor-check-XXXXXX").string();
    if (!mkdtemp(folder.data())) {
        error = "The level check has no temporary folder";
        return nullptr;
    }
    std::unique_ptr<LevelCheckJob> job(new LevelCheckJob());
    job->folder_ = folder;
    const std::string levelPath = folder + "/" + levelName + ".xml";
    if (!level.writeFile(levelPath)) {
        error = "The level check cannot write " + levelPath;
        return nullptr;
    }
    const std::string base = kt::KTResourceManager::shared().baseDataPath();
    const std::string dataRoot = fs::absolute(base.empty() ? fs::path(".") : fs::path(base)).string();
    std::vector<std::string> arguments{checker.string(), "--runs", std::to_string(kRuns),
                                       "--progress",     "--json", folder + "/report.json",
                                       "--data",         dataRoot, levelPath};
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);

    std::array<int, 2> ends{};
    if (pipe2(ends.data(), O_CLOEXEC) != 0) {
        error = "The level check cannot be started";
        return nullptr;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, ends[1], STDERR_FILENO);
    const int spawned = posix_spawn(&job->pid_, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(ends[1]);
    job->progressPipe_ = ends[0];
    if (spawned != 0) {
        job->pid_ = -1;
        error = "The level check cannot be started";
        return nullptr;
    }
    fcntl(job->progressPipe_, F_SETFL, O_NONBLOCK);
    return job;
}

LevelCheckJob::~LevelCheckJob() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    if (progressPipe_ >= 0) close(progressPipe_);
    std::error_code ignored;
    if (!folder_.empty()) fs::remove_all(folder_, ignored);
}

bool LevelCheckJob::poll() {
    if (pid_ <= 0) return false;
    readProgress();
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) != pid_) return true;
    pid_ = -1;
    readProgress();
    finish(status);
    return false;
}

void LevelCheckJob::readProgress() {
    std::array<char, 512> buffer{};
    ssize_t count = 0;
    while ((count = read(progressPipe_, buffer.data(), buffer.size())) > 0)
        pending_.append(buffer.data(), static_cast<std::size_t>(count));
    std::size_t end = 0;
    while ((end = pending_.find('\n')) != std::string::npos) {
        const std::string line = pending_.substr(0, end);
        pending_.erase(0, end + 1);
        if (line.starts_with("runs ")) {
            runsDone_ = std::atoi(line.c_str() + 5);
        } else if (!line.empty()) {
            error_ = line;
        }
    }
}

void LevelCheckJob::finish(int status) {
    std::ifstream report(folder_ + "/report.json");
    const nlohmann::json root = nlohmann::json::parse(report, nullptr, false);
    if (root.is_discarded() || !root["levels"].is_array() || root["levels"].empty() ||
        root["levels"][0].contains("error")) {
        if (error_.empty())
            error_ = "The level check ended without a verdict (status " + std::to_string(status) + ")";
        return;
    }
    verdict_ = verdictOf(root["levels"][0]);
}

}  // namespace moonbrook

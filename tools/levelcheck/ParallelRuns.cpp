#include "tools/levelcheck/ParallelRuns.h"

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <memory>

#include "tools/levelcheck/Bots.h"

namespace moonbrook::levelcheck {

namespace {

// One finished run as a job sends it to the parent.
struct RunRecord {
    int task;
    RunResult result;
};

struct Job {
    pid_t pid = -1;
    int fd = -1;
};

RunResult playTask(const RunPlan& plan, int task) {
    const auto level = static_cast<std::size_t>(task / plan.runs);
    const int run = task % plan.runs;
    const std::unique_ptr<Bot> bot = makeBot(plan.bot);
    return plan.levels[level].run(*bot, runSeed(plan.seed, plan.names[level], run));
}

bool writeAll(int fd, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = write(fd, bytes, size);
        if (written <= 0) return false;
        bytes += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Plays every jobs-th task from `first` on and sends each result down the pipe; never returns.
[[noreturn]] void runJob(const RunPlan& plan, int first, int total, int fd) {
    for (int task = first; task < total; task += plan.jobs) {
        const RunRecord record{task, playTask(plan, task)};
        if (!writeAll(fd, &record, sizeof record)) _exit(1);
    }
    _exit(0);
}

std::optional<Job> startJob(const RunPlan& plan, int first, int total) {
    std::array<int, 2> ends{};
    if (pipe(ends.data()) != 0) return std::nullopt;
    const pid_t pid = fork();
    if (pid < 0) {
        close(ends[0]);
        close(ends[1]);
        return std::nullopt;
    }
    if (pid == 0) {
        close(ends[0]);
        runJob(plan, first, total, ends[1]);
    }
    close(ends[1]);
    return Job{pid, ends[0]};
}

// Reads records from the jobs until every pipe has closed; false when a record came short.
bool collect(std::vector<Job>& jobs, std::vector<std::optional<RunResult>>& results,
             const std::function<void(int, int)>& progress) {
    int done = 0;
    const int total = static_cast<int>(results.size());
    std::vector<std::size_t> filled(jobs.size(), 0);
    std::vector<RunRecord> partial(jobs.size());
    std::size_t open = jobs.size();
    while (open > 0) {
        std::vector<pollfd> fds;
        for (const Job& job : jobs)
            fds.push_back({job.fd, POLLIN, 0});
        if (poll(fds.data(), fds.size(), -1) < 0) return false;
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            if (jobs[i].fd < 0 || fds[i].revents == 0) continue;
            auto* bytes = reinterpret_cast<char*>(&partial[i]);
            const ssize_t got = read(jobs[i].fd, bytes + filled[i], sizeof(RunRecord) - filled[i]);
            if (got <= 0) {
                close(jobs[i].fd);
                jobs[i].fd = -1;
                --open;
                if (filled[i] != 0) return false;
                continue;
            }
            filled[i] += static_cast<std::size_t>(got);
            if (filled[i] < sizeof(RunRecord)) continue;
            filled[i] = 0;
            if (partial[i].task < 0 || partial[i].task >= total) return false;
            results[static_cast<std::size_t>(partial[i].task)] = partial[i].result;
            if (progress) progress(++done, total);
        }
    }
    return true;
}

}  // namespace

std::uint32_t runSeed(std::uint32_t seed, std::string_view level, int run) {
    // FNV-1a over the seed, the level's name and the run number.
    std::uint32_t hash = 2166136261u;
    const auto mix = [&hash](std::uint32_t byte) {
        hash ^= byte & 0xffu;
        hash *= 16777619u;
    };
    for (int shift = 0; shift < 32; shift += 8)
        mix(seed >> shift);
    for (const char c : level)
        mix(static_cast<unsigned char>(c));
    for (int shift = 0; shift < 32; shift += 8)
        mix(static_cast<std::uint32_t>(run) >> shift);
    return hash;
}

std::optional<std::vector<std::vector<RunResult>>> playAll(const RunPlan& plan,
                                                           const std::function<void(int, int)>& progress) {
    const int total = static_cast<int>(plan.levels.size()) * plan.runs;
    std::vector<std::optional<RunResult>> results(static_cast<std::size_t>(total));
    if (plan.jobs <= 1) {
        for (int task = 0; task < total; ++task) {
            results[static_cast<std::size_t>(task)] = playTask(plan, task);
            if (progress) progress(task + 1, total);
        }
    } else {
        std::vector<Job> jobs;
        bool started = true;
        for (int first = 0; first < plan.jobs && first < total; ++first) {
            const auto job = startJob(plan, first, total);
            started = started && job.has_value();
            if (job) jobs.push_back(*job);
        }
        const bool complete = started && collect(jobs, results, progress);
        // A job still writing sees its pipe close and stops, so none is waited for forever.
        for (const Job& job : jobs) {
            if (job.fd >= 0) close(job.fd);
        }
        bool clean = true;
        for (const Job& job : jobs) {
            int status = 0;
            waitpid(job.pid, &status, 0);
            clean = clean && WIFEXITED(status) && WEXITSTATUS(status) == 0;
        }
        if (!complete || !clean) return std::nullopt;
    }

    std::vector<std::vector<RunResult>> perLevel(plan.levels.size());
    for (int task = 0; task < total; ++task) {
        const auto& result = results[static_cast<std::size_t>(task)];
        if (!result) return std::nullopt;
        perLevel[static_cast<std::size_t>(task / plan.runs)].push_back(*result);
    }
    return perLevel;
}

}  // namespace moonbrook::levelcheck

#include "tools/levelcheck/LevelCheck.h"

#include <unistd.h>

#include <filesystem>

#include "engine/core/KTPlist.h"
#include "tools/levelcheck/LevelReport.h"
#include "tools/levelcheck/ParallelRuns.h"
#include "tools/levelcheck/ReportOutput.h"

namespace moonbrook::levelcheck {

namespace {

// Runs below this many are played without a progress bar.
constexpr int kProgressFromRuns = 20;
constexpr int kProgressWidth = 40;

struct LevelFile {
    std::string name;
    std::string path;
    kt::KTPlist data;
    std::string error;
};

// A name is looked up in the data's levels folder; anything with a slash or ending in ".xml" is a path.
LevelFile readLevel(const std::string& dataRoot, const std::string& argument) {
    const bool isPath = argument.find('/') != std::string::npos || argument.ends_with(".xml");
    const std::filesystem::path path =
        isPath ? std::filesystem::path(argument)
               : std::filesystem::path(dataRoot) / "data/levels" / (argument + ".xml");
    LevelFile level{isPath ? path.stem().string() : argument, path.string(), {}, {}};
    const auto data =
        std::filesystem::is_regular_file(path) ? kt::KTPlist::readFile(path.string()) : std::nullopt;
    if (!data) {
        level.error = "cannot read the level file " + level.path + " (missing or damaged)";
    } else if (!data->isDictionary() || !(*data)["options"]["map"].isString()) {
        level.error = "not a level file (no options with a map): " + level.path;
    } else {
        level.data = *data;
    }
    return level;
}

void showProgress(int done, int total) {
    const int filled = done * kProgressWidth / total;
    std::fprintf(stderr, "\r[%s%s] %d/%d runs", std::string(static_cast<std::size_t>(filled), '#').c_str(),
                 std::string(static_cast<std::size_t>(kProgressWidth - filled), ' ').c_str(), done, total);
    if (done == total) std::fprintf(stderr, "\n");
}

void reportProgressLine(int done, int total) {
    std::fprintf(stderr, "runs %d/%d\n", done, total);
    std::fflush(stderr);
}

bool failsCheck(const LevelReport& report) {
    return report.error.empty() && (report.wins == 0 || report.softLocks > 0);
}

bool writeReports(const LevelCheckOptions& options, const std::vector<LevelReport>& reports,
                  std::ostream& err) {
    const CheckSettings settings{options.bot, options.runs, options.seed, options.thinkTime,
                                 options.powerupLevel};
    bool written = true;
    for (const auto& [path, text] :
         {std::pair{options.json, options.json.empty() ? "" : reportJson(settings, reports)},
          std::pair{options.svg, options.svg.empty() ? "" : reportSvg(settings, reports)}}) {
        std::string error;
        if (path.empty() || writeFileAtomically(path, text, error)) continue;
        err << "moonbrook-levelcheck: " << error << "\n";
        written = false;
    }
    return written;
}

}  // namespace

std::vector<std::string> shippedLevels(const std::string& dataRoot) {
    std::vector<std::string> names;
    const auto episodes =
        kt::KTPlist::readFile((std::filesystem::path(dataRoot) / "data/episodes.plist").string());
    if (!episodes) return names;
    for (const kt::KTPlist& episode : (*episodes)["episodes"].arrayValue()) {
        for (const kt::KTPlist& level : episode["levels"].arrayValue())
            names.push_back(level.stringValue());
    }
    return names;
}

int runLevelCheck(const LevelCheckOptions& options, std::ostream& out, std::ostream& err) {
    std::vector<std::string> arguments = options.levels;
    if (options.all) {
        const auto shipped = shippedLevels(options.dataRoot);
        arguments.insert(arguments.end(), shipped.begin(), shipped.end());
    }
    std::vector<LevelFile> files;
    RunPlan plan{{}, {}, options.runs, options.bot, options.seed, options.jobs};
    const SimulationOptions simulation{.thinkTime = options.thinkTime, .maxTime = options.maxTime};
    int status = 0;
    for (const std::string& argument : arguments) {
        files.push_back(readLevel(options.dataRoot, argument));
        const LevelFile& file = files.back();
        if (!file.error.empty()) {
            err << "moonbrook-levelcheck: " << file.error << "\n";
            status = 1;
            continue;
        }
        plan.levels.emplace_back(file.name, file.data, simulation);
        plan.names.push_back(file.name);
    }

    const bool showBar =
        isatty(STDERR_FILENO) && options.runs * static_cast<int>(plan.levels.size()) >= kProgressFromRuns;
    std::function<void(int, int)> progress;
    if (options.progressLines) {
        progress = reportProgressLine;
    } else if (showBar) {
        progress = showProgress;
    }
    const auto results = playAll(plan, progress);
    if (!results) {
        err << "moonbrook-levelcheck: a job ended without its results\n";
        return 1;
    }
    std::vector<LevelReport> reports;
    std::size_t played = 0;
    for (const LevelFile& file : files) {
        if (!file.error.empty()) {
            LevelReport unread;
            unread.level = file.name;
            unread.error = file.error;
            reports.push_back(std::move(unread));
            continue;
        }
        LevelReport report = summarise(file.name, (*results)[played++]);
        report.timeLimit = static_cast<float>(file.data["options"]["time_limit"].realValue());
        if (options.check && failsCheck(report)) {
            err << "moonbrook-levelcheck: " << file.name << ": "
                << (report.wins == 0 ? "never won" : "soft-locks") << "\n";
            status = 1;
        }
        reports.push_back(std::move(report));
    }
    out << reportTable(reports);
    if (!writeReports(options, reports, err)) status = 1;
    return status;
}

}  // namespace moonbrook::levelcheck

#include <unistd.h>

#include <fstream>
#include <iostream>

#include "app/Application.h"
#include "engine/core/KTFormat.h"
#include "game/scenes/MainMenuScene.h"
#include "tools/levelcheck/LevelCheck.h"
#include "tools/levelcheck/ProfileFolder.h"
#include "tools/soak/SoakDriver.h"

namespace {

using namespace moonbrook;
using namespace moonbrook::soak;

constexpr std::size_t kOutlinePoints = 13;
constexpr double kKilobytesPerMegabyte = 1024;

double megabytes(double kilobytes) {
    return kilobytes / kKilobytesPerMegabyte;
}

// The figures and the memory curve on `out`; false when no level was played to its end or the memory grew
// faster than allowed.
bool report(const SoakOptions& options, const SoakDriver& driver, std::ostream& out) {
    const SoakFigures& figures = driver.figures();
    const MemoryCurve& memory = driver.memory();
    out << kt::KTFormat("soak: %i levels played, %i won, %u frames in %.1f minutes (bot %@, seed %u)\n",
                        figures.levelsPlayed, figures.wins, figures.frames, figures.seconds / 60, options.bot,
                        options.seed);
    out << "resident memory (minutes: MB): " << memory.outline(kOutlinePoints) << "\n";
    if (figures.levelsPlayed == 0) {
        out << "no level was played to its end\n";
        return false;
    }
    const auto growth = memory.warmGrowthPerTenMinutes();
    const auto warm = memory.warmStart();
    if (!growth || !warm) {
        out << "memory growth: not judged, the run ended too soon after its first level\n";
        return true;
    }
    const bool within = !options.maxGrowth || megabytes(*growth) <= *options.maxGrowth;
    out << kt::KTFormat(
        "memory growth after the first level (from %.1f MB at %.1f minutes): %.2f MB per 10 minutes",
        megabytes(static_cast<double>(warm->kilobytes)), warm->seconds / 60, megabytes(*growth));
    if (options.maxGrowth)
        out << kt::KTFormat(", limit %.2f: %@", *options.maxGrowth, within ? "ok" : "too much");
    out << "\n";
    return within;
}

}  // namespace

int main(int argc, char** argv) {
    std::string error;
    auto options = parseSoakOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "moonbrook-soak: " << error << "\n" << kSoakUsage;
        return kExitBadUsage;
    }
    std::ofstream samples;
    if (!options->samplesFile.empty()) {
        samples.open(options->samplesFile, std::ios::binary);
        if (!(samples << MemoryCurve::kCsvHeader)) {
            std::cerr << "moonbrook-soak: cannot write " << options->samplesFile << "\n";
            return 1;
        }
    }
    // The game reads its content from the data/ folder of its working directory.
    const std::string dataRoot =
        options->dataRoot.empty() ? levelcheck::defaultDataRoot() : options->dataRoot;
    std::vector<std::string> levels = levelcheck::shippedLevels(dataRoot);
    levels.emplace_back(MainMenuScene::kChallengeLevel);
    if (chdir(dataRoot.c_str()) != 0) {
        std::cerr << "moonbrook-soak: cannot enter " << dataRoot << "\n";
        return kExitBadUsage;
    }
    const levelcheck::ProfileFolder profiles;
    if (!profiles.made()) {
        std::cerr << "moonbrook-soak: cannot make a temporary folder\n";
        return 1;
    }

    AppOptions app;
    app.headless = true;
    app.fixedDeltaTime = levelcheck::SimulationOptions().frameTime;
    app.seed = options->seed;
    app.levelName = levels.front();
    SoakDriver driver(*options, levels, std::cout, samples.is_open() ? &samples : nullptr);
    const int status = runGame(app, &driver);
    const bool passed = report(*options, driver, std::cout);
    if (status != kExitSuccess) return status;
    return passed ? 0 : 1;
}

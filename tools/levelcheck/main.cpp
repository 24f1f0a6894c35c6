#include <iostream>

#include "tools/levelcheck/LevelCheck.h"
#include "tools/levelcheck/ProfileFolder.h"
#include "tools/levelcheck/Simulation.h"

int main(int argc, char** argv) {
    using namespace moonbrook::levelcheck;
    std::string error;
    auto options = parseLevelCheckOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "moonbrook-levelcheck: " << error << "\n" << kLevelCheckUsage;
        return 2;
    }
    if (options->dataRoot.empty()) options->dataRoot = defaultDataRoot();

    const ProfileFolder profiles;
    if (!profiles.made()) {
        std::cerr << "moonbrook-levelcheck: cannot make a temporary folder\n";
        return 1;
    }
    installHeadlessEngine(options->dataRoot, options->powerupLevel);
    return runLevelCheck(*options, std::cout, std::cerr);
}

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <iostream>

#include "tools/levelcheck/LevelCheck.h"
#include "tools/levelcheck/Simulation.h"

namespace {

// The folder of the program when data/ lies beside it (the build tree), else the current folder.
std::string defaultDataRoot() {
    std::error_code failed;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (!failed && std::filesystem::is_directory(program.parent_path() / "data/levels"))
        return program.parent_path().string();
    return ".";
}

}  // namespace

int main(int argc, char** argv) {
    using namespace moonbrook::levelcheck;
    std::string error;
    auto options = parseLevelCheckOptions(std::vector<std::string>(argv + 1, argv + argc), error);
    if (!options) {
        std::cerr << "moonbrook-levelcheck: " << error << "\n" << kLevelCheckUsage;
        return 2;
    }
    if (options->dataRoot.empty()) options->dataRoot = defaultDataRoot();

    // The simulation's own profile lives in a folder of its own, away from the players' profiles.
    std::string profiles = (std::filesystem::temp_directory_path() / "moonbrook-levelcheck-XXXXXX").string();
    if (!mkdtemp(profiles.data())) {
        std::cerr << "moonbrook-levelcheck: cannot make a temporary folder\n";
        return 1;
    }
    setenv("XDG_DATA_HOME", profiles.c_str(), 1);
    installHeadlessEngine(options->dataRoot, options->powerupLevel);
    const int status = runLevelCheck(*options, std::cout, std::cerr);
    std::error_code ignored;
    std::filesystem::remove_all(profiles, ignored);
    return status;
}

#pragma once

#include <string>
#include <vector>

namespace moonbrook {

// Where the editor reads and writes data files such as "data/levels/001.xml". The game reads the copy staged
// beside the program; in a development build that copy is overwritten by the next build, so a save also
// goes to the repository's own data folder, named by the file "repository-data.txt" in the working folder.
class LevelFiles {
public:
    static constexpr const char* kRepositoryNote = "repository-data.txt";

    // The staged copy the game reads (where it will be, for a file not yet written).
    static std::string stagedPath(const std::string& name);
    // Every copy a save writes: the repository's first when known, then the staged one.
    static std::vector<std::string> savePaths(const std::string& name);
    static std::string levelName(const std::string& level) { return "data/levels/" + level + ".xml"; }
};

}  // namespace moonbrook

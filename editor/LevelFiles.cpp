#include "editor/LevelFiles.h"

#include <fstream>

#include "engine/core/KTResourceManager.h"

namespace moonbrook {

namespace {

constexpr std::string_view kDataPrefix = "data/";

// The repository's data folder named in the note, without a final line break; empty without a note.
std::string repositoryDataFolder() {
    std::ifstream note(LevelFiles::kRepositoryNote);
    std::string folder;
    std::getline(note, folder);
    while (!folder.empty() && (folder.back() == '/' || folder.back() == '\r' || folder.back() == ' '))
        folder.pop_back();
    return folder;
}

}  // namespace

std::string LevelFiles::stagedPath(const std::string& name) {
    kt::KTResourceManager& resources = kt::KTResourceManager::shared();
    if (const std::optional<std::string> path = resources.getPath(name)) return *path;
    return resources.baseDataPath() + name;
}

std::vector<std::string> LevelFiles::savePaths(const std::string& name) {
    std::vector<std::string> paths;
    const std::string repository = repositoryDataFolder();
    if (!repository.empty() && name.starts_with(kDataPrefix))
        paths.push_back(repository + "/" + name.substr(kDataPrefix.size()));
    paths.push_back(stagedPath(name));
    return paths;
}

}  // namespace moonbrook

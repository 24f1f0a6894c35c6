#include "tools/levelcheck/ProfileFolder.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>

namespace moonbrook::levelcheck {

ProfileFolder::ProfileFolder() {
    std::string path = (std::filesystem::temp_directory_path() / "moonbrook-tool-XXXXXX").string();
    if (!mkdtemp(path.data())) return;
    path_ = path;
    setenv("XDG_DATA_HOME", path_.c_str(), 1);
}

ProfileFolder::~ProfileFolder() {
    if (path_.empty()) return;
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string defaultDataRoot() {
    std::error_code failed;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", failed);
    if (!failed && std::filesystem::is_directory(program.parent_path() / "data/levels"))
        return program.parent_path().string();
    return ".";
}

}  // namespace moonbrook::levelcheck

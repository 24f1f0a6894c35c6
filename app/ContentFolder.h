#pragma once

#include <filesystem>
#include <string>

namespace moonbrook {

// Where the content names ("data/...") are found, as the resource manager's base path.
//
// An installed program (<prefix>/bin/moonbrook) reads the content installed beside it, below
// <prefix>/share/moonbrook, from whatever working folder it was started in. Anywhere else, as in a build
// tree, the names stay relative to the working folder: tools/dev.sh starts the program in the build folder,
// tests give each run a folder of its own content, designers point it at theirs. `installedContent` is the
// content folder relative to the program's folder; the answer ends with a slash unless it is empty.
std::string contentBasePath(const std::filesystem::path& program,
                            const std::filesystem::path& installedContent);

// The running program's file, or an empty path when the system does not say.
std::filesystem::path runningProgram();

}  // namespace moonbrook

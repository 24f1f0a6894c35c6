#include "app/ContentFolder.h"

#include <system_error>

namespace moonbrook {

std::string contentBasePath(const std::filesystem::path& program,
                            const std::filesystem::path& installedContent) {
    if (program.empty()) return {};
    std::error_code error;
    const std::filesystem::path folder =
        std::filesystem::weakly_canonical(program.parent_path() / installedContent, error);
    if (error || !std::filesystem::is_directory(folder / "data", error)) return {};
    return (folder / "").string();
}

std::filesystem::path runningProgram() {
    std::error_code error;
    std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::path() : program;
}

}  // namespace moonbrook

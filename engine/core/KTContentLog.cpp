#include "engine/core/KTContentLog.h"

#include <set>

#include "engine/core/KTLog.h"

namespace kt {

void KTLogContentProblem(std::string_view problem, const std::string& path) {
    static std::set<std::string, std::less<>> reported;
    std::string key = std::string(problem) + '\n' + path;
    if (!reported.insert(std::move(key)).second) return;
    KTLog("%@: %@", problem, path);
}

}  // namespace kt

#include "game/ContentFile.h"

#include "engine/core/KTContentLog.h"
#include "engine/core/KTResourceManager.h"

namespace moonbrook {

std::optional<kt::KTPlist> readContentFile(const std::string& name) {
    const auto path = kt::KTResourceManager::shared().getPath(name);
    if (!path) return std::nullopt;
    return kt::KTPlist::readFile(*path);
}

void logUnexpectedContent(const std::string& name, std::string_view problem) {
    kt::KTLogContentProblem(problem, kt::KTResourceManager::shared().getPath(name).value_or(name));
}

}  // namespace moonbrook

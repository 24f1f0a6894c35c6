#include "game/ContentFile.h"

#include "engine/core/KTResourceManager.h"

namespace moonbrook {

std::optional<kt::KTPlist> readContentFile(const std::string& name) {
    const auto path = kt::KTResourceManager::shared().getPath(name);
    if (!path) return std::nullopt;
    return kt::KTPlist::readFile(*path);
}

}  // namespace moonbrook

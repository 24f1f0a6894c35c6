#include "editor/LevelSet.h"

#include <algorithm>
#include <utility>

namespace moonbrook {

std::optional<int> LevelSet::indexOf(const std::string& level) const {
    const kt::KTPlist::Array& names = names_.arrayValue();
    const auto found = std::ranges::find_if(
        names, [&level](const kt::KTPlist& name) { return name.stringValue() == level; });
    if (found == names.end()) return std::nullopt;
    return static_cast<int>(found - names.begin());
}

std::optional<int> LevelSet::clampedIndex(const std::string& level, int offset) const {
    const std::optional<int> index = indexOf(level);
    if (!index) return std::nullopt;
    return std::clamp(*index + offset, 0, static_cast<int>(names_.size()) - 1);
}

std::optional<int> LevelSet::move(const std::string& level, int offset) {
    const std::optional<int> from = indexOf(level);
    const std::optional<int> to = clampedIndex(level, offset);
    if (!from || !to) return std::nullopt;
    if (*from != *to) {
        kt::KTPlist::Array& names = names_.mutableArray();
        std::swap(names[static_cast<std::size_t>(*from)], names[static_cast<std::size_t>(*to)]);
    }
    return to;
}

}  // namespace moonbrook

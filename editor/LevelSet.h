#pragma once

#include <optional>
#include <string>

#include "engine/core/KTPlist.h"

namespace moonbrook {

// The order of the levels: "data/levelset.xml", an array of level names.
class LevelSet {
public:
    explicit LevelSet(kt::KTPlist names) : names_(std::move(names)) {}

    const kt::KTPlist& names() const { return names_; }
    std::optional<int> indexOf(const std::string& level) const;
    // The index offset from the level's, kept within the set; none when the level is not in it.
    std::optional<int> clampedIndex(const std::string& level, int offset) const;
    // Exchanges the level with the one at the clamped offset; the level's new index, none when it is not
    // in the set. The set is unchanged when the offset leads nowhere.
    std::optional<int> move(const std::string& level, int offset);
    std::string levelAt(int index) const { return names_.at(static_cast<std::size_t>(index)).stringValue(); }

private:
    kt::KTPlist names_;
};

}  // namespace moonbrook

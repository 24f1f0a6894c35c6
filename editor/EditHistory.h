#pragma once

#include <cstddef>
#include <deque>
#include <optional>

#include "engine/core/KTPlist.h"

namespace moonbrook {

// The undo and redo stacks of the level editor: whole level snapshots, the oldest dropped beyond the limit.
class EditHistory {
public:
    static constexpr std::size_t kLimit = 50;

    // Keeps the level as it was before a change; a new change forgets what could be redone.
    void recordChange(kt::KTPlist before);
    // The level to go back to, given the level as it stands; none when nothing is left.
    std::optional<kt::KTPlist> undo(kt::KTPlist current);
    std::optional<kt::KTPlist> redo(kt::KTPlist current);
    void clear();
    std::size_t undoCount() const { return undo_.size(); }
    std::size_t redoCount() const { return redo_.size(); }

private:
    static void push(std::deque<kt::KTPlist>& stack, kt::KTPlist level);
    static std::optional<kt::KTPlist> move(std::deque<kt::KTPlist>& from, std::deque<kt::KTPlist>& to,
                                           kt::KTPlist current);

    std::deque<kt::KTPlist> undo_;
    std::deque<kt::KTPlist> redo_;
};

}  // namespace moonbrook

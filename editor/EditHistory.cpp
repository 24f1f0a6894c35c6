#include "editor/EditHistory.h"

#include <utility>

namespace moonbrook {

void EditHistory::recordChange(kt::KTPlist before) {
    push(undo_, std::move(before));
    redo_.clear();
}

std::optional<kt::KTPlist> EditHistory::undo(kt::KTPlist current) {
    return move(undo_, redo_, std::move(current));
}

std::optional<kt::KTPlist> EditHistory::redo(kt::KTPlist current) {
    return move(redo_, undo_, std::move(current));
}

void EditHistory::clear() {
    undo_.clear();
    redo_.clear();
}

void EditHistory::push(std::deque<kt::KTPlist>& stack, kt::KTPlist level) {
    stack.push_back(std::move(level));
    if (stack.size() > kLimit) stack.pop_front();
}

std::optional<kt::KTPlist> EditHistory::move(std::deque<kt::KTPlist>& from, std::deque<kt::KTPlist>& to,
                                             kt::KTPlist current) {
    if (from.empty()) return std::nullopt;
    kt::KTPlist level = std::move(from.back());
    from.pop_back();
    push(to, std::move(current));
    return level;
}

}  // namespace moonbrook

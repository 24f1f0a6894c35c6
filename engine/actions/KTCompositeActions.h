#pragma once

#include <initializer_list>
#include <memory>
#include <vector>

#include "engine/actions/KTAction.h"

namespace kt {

using KTActionList = std::vector<std::shared_ptr<KTFiniteTimeAction>>;

// Runs its actions side by side. It lasts as long as the longest one and hands every one the same
// normalised time, so shorter actions are stretched to its length.
class KTSpawn final : public KTActionInterval {
public:
    // Empty entries are left out.
    explicit KTSpawn(KTActionList actions);

    static std::shared_ptr<KTSpawn> actions(std::initializer_list<std::shared_ptr<KTFiniteTimeAction>> list) {
        return std::make_shared<KTSpawn>(KTActionList(list));
    }

    void startWithTarget(std::shared_ptr<KTNode> target) override;
    void stop() override;
    void update(float t) override;

private:
    KTActionList actions_;
};

// Runs its actions one after another; it lasts as long as all of them together. The time of each frame
// goes to the current action only: when that action reaches its end share, the next one is started and
// shown at 0 in the same frame, and the one left behind is not shown at its end. Instant actions in a row
// therefore all run in one frame, and the first action starts with the sequence.
class KTSequence final : public KTActionInterval {
public:
    // Empty entries are left out.
    explicit KTSequence(KTActionList actions);

    static std::shared_ptr<KTSequence> actions(
        std::initializer_list<std::shared_ptr<KTFiniteTimeAction>> list) {
        return std::make_shared<KTSequence>(KTActionList(list));
    }

    void startWithTarget(std::shared_ptr<KTNode> target) override;
    void stop() override;
    bool isDone() const override { return currentIndex_ >= actions_.size(); }
    void update(float t) override;

private:
    // Time of the current action, from 0 at its share's start to 1 at its share's end.
    float localTime(float t) const;
    void advance();

    KTActionList actions_;
    // Entry i: the share of the whole duration at which action i ends.
    std::vector<float> switchPoints_;
    KTFiniteTimeAction* current_ = nullptr;
    std::size_t currentIndex_ = 0;
};

}  // namespace kt

#include "engine/actions/KTCompositeActions.h"

#include <algorithm>

namespace kt {
namespace {

KTActionList withoutEmptyEntries(KTActionList actions) {
    std::erase(actions, nullptr);
    return actions;
}

}  // namespace

KTSpawn::KTSpawn(KTActionList actions)
    : KTActionInterval(0), actions_(withoutEmptyEntries(std::move(actions))) {
    float longest = 0;
    for (const auto& action : actions_)
        longest = std::max(longest, action->duration());
    setDuration(longest);
}

void KTSpawn::startWithTarget(std::shared_ptr<KTNode> target) {
    KTActionInterval::startWithTarget(std::move(target));
    for (const auto& action : actions_)
        action->startWithTarget(targetRef());
}

void KTSpawn::stop() {
    for (const auto& action : actions_)
        action->stop();
    KTActionInterval::stop();
}

void KTSpawn::update(float t) {
    for (const auto& action : actions_)
        action->update(t);
}

KTSequence::KTSequence(KTActionList actions)
    : KTActionInterval(0), actions_(withoutEmptyEntries(std::move(actions))) {
    float total = 0;
    for (const auto& action : actions_)
        total += action->duration();
    setDuration(total);
    float sum = 0;
    for (const auto& action : actions_) {
        sum += action->duration();
        // Without any length every action ends at once; sum / total would be 0 / 0.
        switchPoints_.push_back(total > 0 ? sum / total : 1.0f);
    }
}

void KTSequence::startWithTarget(std::shared_ptr<KTNode> target) {
    KTActionInterval::startWithTarget(std::move(target));
    currentIndex_ = 0;
    current_ = actions_.empty() ? nullptr : actions_.front().get();
    if (current_) current_->startWithTarget(targetRef());
}

void KTSequence::stop() {
    if (current_) current_->stop();
    current_ = nullptr;
    KTActionInterval::stop();
}

float KTSequence::localTime(float t) const {
    const float start = currentIndex_ > 0 ? switchPoints_[currentIndex_ - 1] : 0.0f;
    const float end = currentIndex_ < actions_.size() ? switchPoints_[currentIndex_] : start;
    return end - start == 0 ? 0.0f : (t - start) / (end - start);
}

void KTSequence::update(float t) {
    float u = localTime(t);
    while (((current_ && current_->isDone()) || u >= 1.0f) && currentIndex_ < actions_.size()) {
        advance();
        u = 0;
    }
    if (current_) current_->update(u);
}

void KTSequence::advance() {
    ++currentIndex_;
    current_ = currentIndex_ < actions_.size() ? actions_[currentIndex_].get() : nullptr;
    if (current_) current_->startWithTarget(targetRef());
}

}  // namespace kt

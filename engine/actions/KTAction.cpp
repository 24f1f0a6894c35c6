#include "engine/actions/KTAction.h"

#include <algorithm>

namespace kt {

void KTActionInterval::startWithTarget(std::shared_ptr<KTNode> target) {
    KTFiniteTimeAction::startWithTarget(std::move(target));
    elapsed_ = 0;
    firstTick_ = true;
}

void KTActionInterval::step(float dt) {
    if (firstTick_) {
        firstTick_ = false;
        elapsed_ = 0;
    } else {
        elapsed_ += dt;
    }
    update(progress());
}

float KTActionInterval::progress() const {
    // Without a length, elapsed / duration would be 0 / 0 on the first step.
    if (duration() <= 0) return 1.0f;
    return std::min(elapsed_ / duration(), 1.0f);
}

void KTActionInstant::startWithTarget(std::shared_ptr<KTNode> target) {
    KTFiniteTimeAction::startWithTarget(std::move(target));
    execute();
}

}  // namespace kt

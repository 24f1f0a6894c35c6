#include "engine/actions/KTIntervalActions.h"

#include "engine/core/KTNode.h"

namespace kt {

void KTWait::update(float t) {
    if (t < 1.0f || !innerAction_) return;
    // Dropped before it starts, so that it runs once even if starting it leads back here.
    const std::shared_ptr<KTActionInstant> then = std::move(innerAction_);
    then->startWithTarget(targetRef());
}

void KTMoveTo::startWithTarget(std::shared_ptr<KTNode> target) {
    KTActionInterval::startWithTarget(std::move(target));
    if (!this->target()) return;
    startPosition_ = this->target()->position();
    delta_ = CGPointSub(endPosition_, startPosition_);
}

void KTMoveTo::update(float t) {
    if (KTNode* node = target()) node->setPosition(CGPointAdd(startPosition_, CGPointScale(delta_, t)));
}

}  // namespace kt

#pragma once

#include <memory>

#include "engine/actions/KTAction.h"
#include "engine/core/KTGeometry.h"

namespace kt {

// Waits for its duration and then, when it was given one, starts an instant action once. Inside a sequence
// the wait is left before it reaches its end, so there its instant action never runs: follow the wait with
// the action instead.
class KTWait final : public KTActionInterval {
public:
    explicit KTWait(float seconds, std::shared_ptr<KTActionInstant> then = nullptr)
        : KTActionInterval(seconds), innerAction_(std::move(then)) {}

    static std::shared_ptr<KTWait> waitFor(float seconds) { return std::make_shared<KTWait>(seconds); }
    static std::shared_ptr<KTWait> waitFor(float seconds, std::shared_ptr<KTActionInstant> then) {
        return std::make_shared<KTWait>(seconds, std::move(then));
    }

    void update(float t) override;

private:
    std::shared_ptr<KTActionInstant> innerAction_;
};

// Moves the target in a straight line from where it is when the action starts to a position.
class KTMoveTo final : public KTActionInterval {
public:
    KTMoveTo(float seconds, CGPoint position) : KTActionInterval(seconds), endPosition_(position) {}

    static std::shared_ptr<KTMoveTo> actionWithDuration(float seconds, CGPoint position) {
        return std::make_shared<KTMoveTo>(seconds, position);
    }

    void startWithTarget(std::shared_ptr<KTNode> target) override;
    void update(float t) override;

private:
    CGPoint startPosition_;
    CGPoint endPosition_;
    CGPoint delta_;
};

}  // namespace kt

#pragma once

#include <memory>

namespace kt {

class KTAction;
class KTNode;

// Runs timed actions on nodes; the actions module installs its manager in the director.
class KTActionRunner {
public:
    virtual ~KTActionRunner() = default;

    virtual void runAction(std::shared_ptr<KTAction> action, KTNode& target) = 0;
    virtual void stopAllActions(const KTNode& target) = 0;
    // Steps every running action by the frame's elapsed seconds.
    virtual void update(float dt) = 0;
};

}  // namespace kt

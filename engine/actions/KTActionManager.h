#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "engine/core/KTActionRunner.h"

namespace kt {

// Steps every running action once per frame and drops the ones that are done. Actions may run, finish or
// stop actions from inside the pass: an action added during the pass is started at once and stepped from the
// next frame on, and an action stopped during the pass is not stepped again, not even later in that pass.
class KTActionManager final : public KTActionRunner {
public:
    // The manager installed in the director; the actions module is installed on first use
    // (KTInstallActionsModule).
    static KTActionManager& shared();

    // Starts the action on the target now and steps it from the next frame on.
    void runAction(std::shared_ptr<KTAction> action, KTNode& target) override;
    // Drops every action whose target is the node, without stopping it.
    void stopAllActions(const KTNode& target) override;
    void update(float dt) override;

    std::size_t runningActionCount() const;
    // Running actions whose target is the node.
    std::size_t runningActionCount(const KTNode& target) const;

private:
    // Slots of actions stopped during the pass are emptied and closed up after it.
    std::vector<std::shared_ptr<KTAction>> actions_;
    // Added during the pass; they join actions_ at the start of the next.
    std::vector<std::shared_ptr<KTAction>> added_;
    bool inLoop_ = false;
};

}  // namespace kt

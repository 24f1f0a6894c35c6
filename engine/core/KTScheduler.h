#pragma once

#include <memory>

#include "engine/core/KTArray.h"

namespace kt {

class KTNode;

// Calls update: on every node that asked for per-frame updates. Nodes scheduled or unscheduled during a
// pass wait in their own lists until the director applies them after the pass.
class KTScheduler {
public:
    static KTScheduler& shared();

    void scheduleUpdateFor(const std::shared_ptr<KTNode>& node);
    void unscheduleUpdateFor(const std::shared_ptr<KTNode>& node);
    void update(float dt);
    void addTargets();
    void removeTargets();
    void removeAllTargets();
    void logTargets() const;

    const KTArray<KTNode>& targets() const { return targets_; }

private:
    KTArray<KTNode> targets_;
    KTArray<KTNode> addList_;
    KTArray<KTNode> removeList_;
    bool inLoop_ = false;
};

}  // namespace kt

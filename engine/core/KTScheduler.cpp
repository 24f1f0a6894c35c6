#include "engine/core/KTScheduler.h"

#include "engine/core/KTLog.h"
#include "engine/core/KTNode.h"

namespace kt {

KTScheduler& KTScheduler::shared() {
    static KTScheduler scheduler;
    return scheduler;
}

void KTScheduler::scheduleUpdateFor(const std::shared_ptr<KTNode>& node) {
    if (!node || targets_.containsObject(node.get()) || addList_.containsObject(node.get())) return;
    if (inLoop_) {
        addList_.addObject(node);
    } else {
        targets_.addObject(node);
    }
}

void KTScheduler::unscheduleUpdateFor(const std::shared_ptr<KTNode>& node) {
    if (!node) return;
    if (inLoop_) {
        removeList_.addObject(node);
    } else {
        targets_.removeObject(node.get());
    }
}

void KTScheduler::update(float dt) {
    inLoop_ = true;
    const std::size_t count = targets_.count();
    for (std::size_t i = 0; i < count; ++i) {
        if (const auto node = targets_.objectAtIndex(i)) node->update(dt);
    }
    inLoop_ = false;
}

void KTScheduler::addTargets() {
    while (const auto node = addList_.lastObject()) {
        targets_.addObject(node);
        addList_.removeLastObject();
    }
}

void KTScheduler::removeTargets() {
    while (const auto node = removeList_.lastObject()) {
        removeList_.removeLastObject();
        targets_.removeObject(node.get());
    }
}

void KTScheduler::removeAllTargets() {
    targets_.removeAllObjects();
}

void KTScheduler::logTargets() const {
    KTLog("KTScheduler targets (%i):", targets_.count());
    for (const auto& node : targets_)
        KTLog("  %@", node->description());
}

}  // namespace kt

#include "engine/actions/KTActionManager.h"

#include <algorithm>
#include <iterator>

#include "engine/actions/KTAction.h"
#include "engine/actions/KTActionsModule.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTNode.h"

namespace kt {

KTActionManager& KTActionManager::shared() {
    auto* installed = dynamic_cast<KTActionManager*>(KTDirector::shared().actionRunner());
    if (installed) return *installed;
    KTInstallActionsModule();
    return static_cast<KTActionManager&>(*KTDirector::shared().actionRunner());
}

void KTActionManager::runAction(std::shared_ptr<KTAction> action, KTNode& target) {
    if (!action) return;
    action->startWithTarget(target.sharedAs<KTNode>());
    (inLoop_ ? added_ : actions_).push_back(std::move(action));
}

void KTActionManager::stopAllActions(const KTNode& target) {
    const auto runsOnTarget = [&target](const std::shared_ptr<KTAction>& action) {
        return action && action->target() == &target;
    };
    std::erase_if(added_, runsOnTarget);
    if (inLoop_) {
        for (auto& slot : actions_) {
            if (runsOnTarget(slot)) slot.reset();
        }
    } else {
        std::erase_if(actions_, runsOnTarget);
    }
}

void KTActionManager::update(float dt) {
    actions_.insert(actions_.end(), std::make_move_iterator(added_.begin()),
                    std::make_move_iterator(added_.end()));
    added_.clear();

    inLoop_ = true;
    const std::size_t count = actions_.size();
    for (std::size_t i = 0; i < count; ++i) {
        // Held here, because the action may empty its own slot by stopping its target's actions.
        const std::shared_ptr<KTAction> action = actions_[i];
        if (!action) continue;
        action->step(dt);
        if (action->isDone()) actions_[i].reset();
    }
    inLoop_ = false;
    std::erase(actions_, nullptr);
}

std::size_t KTActionManager::runningActionCount() const {
    // During the pass, stopped and finished actions leave empty slots behind.
    const auto running =
        std::ranges::count_if(actions_, [](const auto& action) { return action != nullptr; });
    return static_cast<std::size_t>(running) + added_.size();
}

std::size_t KTActionManager::runningActionCount(const KTNode& target) const {
    const auto onTarget = [&target](const auto& action) { return action && action->target() == &target; };
    return static_cast<std::size_t>(std::ranges::count_if(actions_, onTarget) +
                                    std::ranges::count_if(added_, onTarget));
}

}  // namespace kt

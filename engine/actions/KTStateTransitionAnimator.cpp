#include "engine/actions/KTStateTransitionAnimator.h"

#include <cstdint>

#include "engine/actions/KTActionTween.h"
#include "engine/actions/KTCompositeActions.h"
#include "engine/actions/KTInstantActions.h"
#include "engine/actions/KTIntervalActions.h"
#include "engine/core/KTMessage.h"
#include "engine/core/KTNode.h"
#include "engine/core/KTState.h"

namespace kt {
namespace {

std::shared_ptr<KTFiniteTimeAction> actionForValue(const std::string& key, double value, float seconds) {
    const auto number = static_cast<float>(value);
    if (key == "x") return KTActionTweenX::actionWithDuration(seconds, number);
    if (key == "y") return KTActionTweenY::actionWithDuration(seconds, number);
    if (key == "w") return KTActionTweenW::actionWithDuration(seconds, number);
    if (key == "h") return KTActionTweenH::actionWithDuration(seconds, number);
    if (key == "color")
        return KTActionTweenColor::actionWithDuration(seconds, Color{static_cast<std::uint32_t>(value)});
    if (key == "visible")
        return value != 0 ? std::shared_ptr<KTFiniteTimeAction>(KTShow::action()) : KTHide::action();
    if (key == "enabled")
        return value != 0 ? std::shared_ptr<KTFiniteTimeAction>(KTEnable::action()) : KTDisable::action();
    return nullptr;
}

std::shared_ptr<KTSendMessage> sendMessage(const std::string& definition) {
    return KTSendMessage::actionWithMessage(std::make_shared<KTMessage>(definition));
}

}  // namespace

std::shared_ptr<KTActionInterval> KTStateTransitionAnimator::actionWithTime(const KTState& state,
                                                                            float seconds) {
    KTActionList actions;
    for (const auto& [key, value] : state.values)
        actions.push_back(actionForValue(key, value, seconds));
    if (state.nextStateName) {
        actions.push_back(KTWait::waitFor(seconds, KTSetState::actionWithStateName(*state.nextStateName)));
    }
    if (state.callName)
        actions.push_back(KTWait::waitFor(seconds, KTCall::actionWithSelectorName(*state.callName)));
    if (state.startMessage) actions.push_back(sendMessage(*state.startMessage));
    if (state.message) actions.push_back(KTWait::waitFor(seconds, sendMessage(*state.message)));
    return std::make_shared<KTSpawn>(std::move(actions));
}

void KTStateTransitionAnimator::animate(KTNode& node, const KTState& state, float seconds) {
    const std::shared_ptr<KTActionInterval> action = actionWithTime(state, seconds);
    if (seconds != 0 || nestedImmediateSwitches_ >= kMaxNestedImmediateSwitches) {
        node.runAction(action);
        return;
    }
    ++nestedImmediateSwitches_;
    action->startWithTarget(node.sharedAs<KTNode>());
    action->update(1.0f);
    --nestedImmediateSwitches_;
}

}  // namespace kt

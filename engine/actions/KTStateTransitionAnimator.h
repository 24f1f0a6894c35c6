#pragma once

#include <memory>

#include "engine/core/KTStateAnimator.h"

namespace kt {

class KTActionInterval;

// Moves nodes into their named states with actions: the state's values are tweened over the transition time,
// and its next state, call and end message follow when the time is over.
class KTStateTransitionAnimator final : public KTStateAnimator {
public:
    // One action, run side by side: tweens of x, y, w, h and colour to the state's values; showing or hiding
    // and enabling or disabling at once; the start message at once; after the seconds, the switch to the next
    // state, the call of the state's operation on the node and the end message.
    static std::shared_ptr<KTActionInterval> actionWithTime(const KTState& state, float seconds);

    // Over time the action runs on the node; with 0 seconds it is played to its end before this returns.
    void animate(KTNode& node, const KTState& state, float seconds) override;

private:
    // States whose next state follows after 0 seconds could switch back and forth for ever inside one call;
    // switches nested deeper than this go through the action manager and so take one frame each.
    static constexpr int kMaxNestedImmediateSwitches = 32;
    int nestedImmediateSwitches_ = 0;
};

}  // namespace kt

#pragma once

namespace kt {

class KTNode;
class KTState;

// Moves a node into a state; the actions module installs its implementation in the director.
class KTStateAnimator {
public:
    virtual ~KTStateAnimator() = default;

    // Runs the state's transition over the seconds given; with 0 seconds the values and the end effects
    // apply before this returns.
    virtual void animate(KTNode& node, const KTState& state, float seconds) = 0;
};

}  // namespace kt

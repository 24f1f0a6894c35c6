#pragma once

#include <string>
#include <vector>

#include "engine/core/KTNode.h"
#include "engine/core/KTState.h"
#include "engine/core/KTStateAnimator.h"

namespace kt::test {

// Writes down every state switch ("node:state@seconds") and moves the node to the state's x at once,
// whatever the time; the real animator lives in the actions module.
class FakeStateAnimator : public KTStateAnimator {
public:
    std::vector<std::string> switches;

    void animate(KTNode& node, const KTState& state, float seconds) override {
        switches.push_back(node.name() + ":" + state.name + "@" + std::to_string(seconds).substr(0, 3));
        if (const auto x = state.values.find("x"); x != state.values.end())
            node.setX(static_cast<float>(x->second));
    }
};

}  // namespace kt::test

#pragma once

#include <string>
#include <vector>

#include "engine/core/KTNode.h"
#include "engine/core/KTState.h"
#include "engine/core/KTStateAnimator.h"

namespace kt::test {

// Writes down every state switch ("node:state@seconds") and moves the node to the state's place at once,
// whatever the time; the real animator lives in the actions module.
class FakeStateAnimator : public KTStateAnimator {
public:
    std::vector<std::string> switches;

    void animate(KTNode& node, const KTState& state, float seconds) override {
        switches.push_back(node.name() + ":" + state.name + "@" + std::to_string(seconds).substr(0, 3));
        for (const auto& [key, value] : state.values) {
            if (key == "x") node.setX(static_cast<float>(value));
            if (key == "y") node.setY(static_cast<float>(value));
        }
    }
};

}  // namespace kt::test

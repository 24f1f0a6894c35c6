#pragma once

#include <string>
#include <vector>

#include "engine/core/KTNode.h"
#include "engine/core/KTState.h"
#include "engine/core/KTStateAnimator.h"

namespace kt::test {

// Writes down every state switch ("node:state@seconds") and applies the state's values at once, whatever
// the time; the real animator lives in the actions module.
class FakeStateAnimator : public KTStateAnimator {
public:
    std::vector<std::string> switches;

    void animate(KTNode& node, const KTState& state, float seconds) override {
        switches.push_back(node.name() + ":" + state.name + "@" + std::to_string(seconds).substr(0, 3));
        for (const auto& [key, value] : state.values)
            apply(node, key, value);
    }

private:
    static void apply(KTNode& node, const std::string& key, double value) {
        const auto number = static_cast<float>(value);
        if (key == "x") node.setX(number);
        if (key == "y") node.setY(number);
        if (key == "w") node.setW(number);
        if (key == "h") node.setH(number);
        if (key == "color") node.setColor(Color{static_cast<std::uint32_t>(value)});
        if (key == "visible") node.setVisible(value != 0);
        if (key == "enabled") node.setEnabled(value != 0);
    }
};

}  // namespace kt::test

#pragma once

#include <nlohmann/json.hpp>

#include "engine/core/KTScene.h"

namespace moonbrook {

// A node and its subtree: class, name, position, size, visible, enabled, state (null without one), children.
nlohmann::json describeNode(const kt::KTNode& node);
// The running scene: its class, its current state and its whole tree; nulls when no scene runs.
nlohmann::json describeScene(const kt::KTScene* scene);

}  // namespace moonbrook

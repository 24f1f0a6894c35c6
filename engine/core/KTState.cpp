#include "engine/core/KTState.h"

#include "engine/core/KTNode.h"

namespace kt {

void KTState::loadFromNode(const KTNode& node) {
    values["x"] = node.x();
    values["y"] = node.y();
    values["w"] = node.w();
    values["h"] = node.h();
    values["color"] = node.color().rep;
    values["visible"] = node.visible() ? 1 : 0;
    values["enabled"] = node.enabled() ? 1 : 0;
}

}  // namespace kt

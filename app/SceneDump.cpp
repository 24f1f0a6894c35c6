#include "app/SceneDump.h"

#include "engine/core/KTState.h"

namespace moonbrook {
namespace {

nlohmann::json stateName(const kt::KTNode& node) {
    const kt::KTState* state = node.currentState();
    return state ? nlohmann::json(state->name) : nlohmann::json(nullptr);
}

}  // namespace

nlohmann::json describeNode(const kt::KTNode& node) {
    nlohmann::json children = nlohmann::json::array();
    for (const auto& child : node.children()) {
        if (child) children.push_back(describeNode(*child));
    }
    return {{"class", node.className()},        {"name", node.name()},
            {"position", {node.x(), node.y()}}, {"size", {node.w(), node.h()}},
            {"visible", node.visible()},        {"enabled", node.enabled()},
            {"state", stateName(node)},         {"children", std::move(children)}};
}

nlohmann::json describeScene(const kt::KTScene* scene) {
    if (!scene) return {{"class", nullptr}, {"state", nullptr}, {"tree", nullptr}};
    return {{"class", scene->className()}, {"state", stateName(*scene)}, {"tree", describeNode(*scene)}};
}

}  // namespace moonbrook

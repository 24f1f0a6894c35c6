#include "app/SceneDump.h"

#include "engine/controls/KTCheckbox.h"
#include "engine/controls/KTListItem.h"
#include "engine/controls/KTSlider.h"
#include "engine/controls/KTVariantContainer.h"
#include "engine/core/KTState.h"
#include "engine/render/KTText.h"

namespace moonbrook {
namespace {

nlohmann::json stateName(const kt::KTNode& node) {
    const kt::KTState* state = node.currentState();
    return state ? nlohmann::json(state->name) : nlohmann::json(nullptr);
}

// What a control holds beyond the common fields: the text shown or typed (a list's lines included), a check
// box's state, a slider's value, the shown variant's name.
void addControlValues(const kt::KTNode& node, nlohmann::json& description) {
    if (dynamic_cast<const kt::KTText*>(&node) || dynamic_cast<const kt::KTListItem*>(&node)) {
        description["text"] = node.text();
    }
    if (const auto* checkbox = dynamic_cast<const kt::KTCheckbox*>(&node))
        description["checked"] = checkbox->checked();
    if (const auto* slider = dynamic_cast<const kt::KTSlider*>(&node)) description["value"] = slider->value();
    if (const auto* variants = dynamic_cast<const kt::KTVariantContainer*>(&node)) {
        const std::string selected = variants->selectedName();
        description["selected"] = selected.empty() ? nlohmann::json(nullptr) : nlohmann::json(selected);
    }
}

}  // namespace

nlohmann::json describeNode(const kt::KTNode& node) {
    nlohmann::json children = nlohmann::json::array();
    for (const auto& child : node.children()) {
        if (child) children.push_back(describeNode(*child));
    }
    nlohmann::json description = {{"class", node.className()},        {"name", node.name()},
                                  {"position", {node.x(), node.y()}}, {"size", {node.w(), node.h()}},
                                  {"visible", node.visible()},        {"enabled", node.enabled()},
                                  {"state", stateName(node)},         {"children", std::move(children)}};
    addControlValues(node, description);
    return description;
}

nlohmann::json describeScene(const kt::KTScene* scene) {
    if (!scene) return {{"class", nullptr}, {"state", nullptr}, {"tree", nullptr}};
    return {{"class", scene->className()}, {"state", stateName(*scene)}, {"tree", describeNode(*scene)}};
}

}  // namespace moonbrook

#include "engine/core/KTState.h"

#include <string_view>

#include "engine/core/KTNode.h"
#include "engine/core/KTTextValues.h"
#include "engine/core/XMLElement.h"

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

void KTState::loadFromXMLElement(const XMLElement& element) {
    loadFromDictionary(element.attributes());
}

void KTState::loadFromDictionary(const XMLAttributes& attributes) {
    if (const std::string* value = attributes.find("name")) name = *value;
    for (const char* key : {"x", "y", "w", "h"}) {
        if (const std::string* value = attributes.find(key)) {
            values[key] = static_cast<float>(KTLeadingReal(*value));
        }
    }
    if (const std::string* value = attributes.find("color")) {
        values["color"] = KTMakeColorFromCString(*value).rep;
    }
    for (const char* key : {"visible", "enabled"}) {
        if (const std::string* value = attributes.find(key)) values[key] = KTBoolFromText(*value) ? 1 : 0;
    }
    auto text = [&attributes](std::string_view key, std::optional<std::string>& field) {
        if (const std::string* value = attributes.find(key)) field = *value;
    };
    text("next_state", nextStateName);
    text("call", callName);
    text("on_end", message);
    text("on_start", startMessage);
}

}  // namespace kt

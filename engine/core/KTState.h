#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace kt {

class KTNode;
class XMLAttributes;
class XMLElement;

// A named set of property values a node can be switched to, with what happens when the switch ends.
// Values are keyed by property: "x", "y", "w", "h" (floats), "color" (packed colour), "visible" and
// "enabled" (0 or 1).
class KTState {
public:
    std::string name;
    std::map<std::string, double> values;
    // Switched to when the transition ends.
    std::optional<std::string> nextStateName;
    // Operation called on the node when the transition ends.
    std::optional<std::string> callName;
    // Handler definitions sent when the transition ends and when it starts.
    std::optional<std::string> message;
    std::optional<std::string> startMessage;

    // A snapshot of the node's present values.
    void loadFromNode(const KTNode& node);
    // A "state" element of a scene file: name, x, y, w, h, color, visible, enabled, next_state, call,
    // on_end and on_start; other attributes are ignored.
    void loadFromXMLElement(const XMLElement& element);
    void loadFromDictionary(const XMLAttributes& attributes);
};

}  // namespace kt

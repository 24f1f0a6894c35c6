#include "tests/app/DumpedScene.h"

namespace moonbrook::test {

const nlohmann::json* findNode(const nlohmann::json& node, const std::string& name) {
    if (node["name"] == name) return &node;
    for (const nlohmann::json& child : node["children"]) {
        if (const nlohmann::json* found = findNode(child, name)) return found;
    }
    return nullptr;
}

}  // namespace moonbrook::test

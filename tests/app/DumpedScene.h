#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace moonbrook::test {

// The first node of that name in a tree written by "dump scene"; none when there is none.
const nlohmann::json* findNode(const nlohmann::json& node, const std::string& name);

}  // namespace moonbrook::test

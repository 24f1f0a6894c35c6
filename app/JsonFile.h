#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "app/ScriptContext.h"

namespace moonbrook {

// Writes a dump command's JSON, indented by two, with bytes that are no UTF-8 replaced; a file that cannot be
// written fails the command.
ScriptStatus writeJsonFile(ScriptContext& context, const std::string& path, const nlohmann::json& json);

}  // namespace moonbrook

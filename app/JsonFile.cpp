#include "app/JsonFile.h"

#include <fstream>

namespace moonbrook {

ScriptStatus writeJsonFile(ScriptContext& context, const std::string& path, const nlohmann::json& json) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
    file.close();
    if (!file) return context.fail("cannot write '" + path + "'");
    return ScriptStatus::finished;
}

}  // namespace moonbrook

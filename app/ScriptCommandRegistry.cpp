#include "app/ScriptCommandRegistry.h"

namespace moonbrook {

void ScriptCommandRegistry::add(std::string name, Parser parser) {
    parsers_[std::move(name)] = std::move(parser);
}

const ScriptCommandRegistry::Parser* ScriptCommandRegistry::find(std::string_view name) const {
    const auto found = parsers_.find(name);
    return found == parsers_.end() ? nullptr : &found->second;
}

bool ScriptCommandRegistry::isFamily(std::string_view firstWord) const {
    const std::string prefix = std::string(firstWord) + ' ';
    const auto candidate = parsers_.lower_bound(prefix);
    return candidate != parsers_.end() && candidate->first.starts_with(prefix);
}

}  // namespace moonbrook

#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "app/ScriptArguments.h"
#include "app/ScriptContext.h"

namespace moonbrook {

// Script commands by name. A name may be two words ("dump scene"); the longer name wins when both match.
class ScriptCommandRegistry {
public:
    // Reads the command's arguments and answers what the command does; problems go to the arguments.
    using Parser = std::function<ScriptAction(ScriptArguments& arguments)>;

    void add(std::string name, Parser parser);
    const Parser* find(std::string_view name) const;
    // Some command's name begins with this word and a space ("dump" for "dump scene").
    bool isFamily(std::string_view firstWord) const;

private:
    std::map<std::string, Parser, std::less<>> parsers_;
};

}  // namespace moonbrook

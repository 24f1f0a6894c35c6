#include "app/Script.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "app/Words.h"

namespace moonbrook {
namespace {

std::string_view withoutComment(std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || isBlank(line[i - 1]))) return line.substr(0, i);
    }
    return line;
}

// The command's name, one or two words, with the text of its arguments; none when no command has that name.
struct Command {
    std::string name;
    std::string_view arguments;
    const ScriptCommandRegistry::Parser* parser = nullptr;
};

Command findCommand(std::string_view line, const ScriptCommandRegistry& commands) {
    const auto [first, afterFirst] = splitFirstWord(line);
    const auto [second, afterSecond] = splitFirstWord(afterFirst);
    if (!second.empty()) {
        std::string twoWords = std::string(first) + ' ' + std::string(second);
        if (const auto* parser = commands.find(twoWords)) return {std::move(twoWords), afterSecond, parser};
        if (commands.isFamily(first) && !commands.find(first))
            return {std::move(twoWords), afterSecond, nullptr};
    }
    return {std::string(first), afterFirst, commands.find(first)};
}

}  // namespace

std::optional<Script> Script::parse(std::string_view text, std::string name,
                                    const ScriptCommandRegistry& commands, std::string& error) {
    Script script;
    script.name = std::move(name);
    int lineNumber = 0;
    for (std::size_t begin = 0; begin < text.size();) {
        const std::size_t end = std::min(text.find('\n', begin), text.size());
        const std::string_view line = trimmed(withoutComment(text.substr(begin, end - begin)));
        begin = end + 1;
        ++lineNumber;
        if (line.empty()) continue;

        const Command command = findCommand(line, commands);
        if (!command.parser) {
            error =
                script.name + ":" + std::to_string(lineNumber) + ": unknown command '" + command.name + "'";
            return std::nullopt;
        }
        ScriptArguments arguments(command.arguments);
        ScriptAction action = (*command.parser)(arguments);
        arguments.finish();
        if (!arguments.ok()) {
            error = script.name + ":" + std::to_string(lineNumber) + ": " + command.name + ": " +
                    arguments.error();
            return std::nullopt;
        }
        script.steps.push_back({lineNumber, std::move(action)});
    }
    return script;
}

std::optional<Script> Script::load(const std::string& path, const ScriptCommandRegistry& commands,
                                   std::string& error) {
    std::error_code ignored;
    std::ifstream file(path, std::ios::binary);
    if (!file || std::filesystem::is_directory(path, ignored)) {
        error = path + ": cannot read the script";
        return std::nullopt;
    }
    std::ostringstream text;
    text << file.rdbuf();
    return parse(text.str(), path, commands, error);
}

}  // namespace moonbrook

#include "tools/levelcheck/LevelCheckOptions.h"

#include <charconv>
#include <functional>
#include <map>

#include "tools/levelcheck/Bots.h"

namespace moonbrook::levelcheck {

namespace {

template <typename Number>
bool parseNumber(const std::string& text, Number& value) {
    const char* end = text.data() + text.size();
    const auto [stop, failed] = std::from_chars(text.data(), end, value);
    return failed == std::errc() && stop == end;
}

// An option that takes a value: it stores the value and answers whether it was acceptable.
using Setter = std::function<bool(LevelCheckOptions&, const std::string&)>;

const std::map<std::string, Setter, std::less<>>& valueOptions() {
    static const std::map<std::string, Setter, std::less<>> options{
        {"--runs", [](auto& o, const auto& v) { return parseNumber(v, o.runs) && o.runs > 0; }},
        {"--jobs", [](auto& o, const auto& v) { return parseNumber(v, o.jobs) && o.jobs > 0; }},
        {"--seed", [](auto& o, const auto& v) { return parseNumber(v, o.seed); }},
        {"--think", [](auto& o, const auto& v) { return parseNumber(v, o.thinkTime) && o.thinkTime >= 0; }},
        {"--powerups",
         [](auto& o, const auto& v) { return parseNumber(v, o.powerupLevel) && o.powerupLevel >= 0; }},
        {"--max-time", [](auto& o, const auto& v) { return parseNumber(v, o.maxTime) && o.maxTime > 0; }},
        {"--json", [](auto& o, const auto& v) { return !(o.json = v).empty(); }},
        {"--svg", [](auto& o, const auto& v) { return !(o.svg = v).empty(); }},
        {"--data", [](auto& o, const auto& v) { return !(o.dataRoot = v).empty(); }},
        {"--bot",
         [](auto& o, const auto& v) {
             o.bot = v;
             return makeBot(v) != nullptr;
         }},
    };
    return options;
}

}  // namespace

std::optional<LevelCheckOptions> parseLevelCheckOptions(const std::vector<std::string>& arguments,
                                                        std::string& error) {
    LevelCheckOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (bool* flag = argument == "--all"        ? &options.all
                         : argument == "--check"    ? &options.check
                         : argument == "--progress" ? &options.progressLines
                                                    : nullptr) {
            *flag = true;
            continue;
        }
        if (!argument.starts_with("--")) {
            options.levels.push_back(argument);
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const auto option = valueOptions().find(name);
        if (option == valueOptions().end()) {
            error = "unknown option " + name;
            return std::nullopt;
        }
        if (equals == std::string::npos && i + 1 >= arguments.size()) {
            error = name + " needs a value";
            return std::nullopt;
        }
        const std::string value = equals == std::string::npos ? arguments[++i] : argument.substr(equals + 1);
        if (!option->second(options, value)) {
            error = "bad value for " + name + ": " + value;
            return std::nullopt;
        }
    }
    if (options.levels.empty() && !options.all) {
        error = "no level given";
        return std::nullopt;
    }
    return options;
}

}  // namespace moonbrook::levelcheck

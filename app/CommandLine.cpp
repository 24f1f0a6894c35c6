#include "app/CommandLine.h"

#include <array>

#include "app/NumberParsing.h"

namespace moonbrook {
namespace {

struct Option {
    std::string_view name;
    // What the value must be, for the error message; empty for a switch that takes none.
    std::string_view valueDescription;
    // Stores the value; false when it is not acceptable.
    bool (*apply)(AppOptions& options, std::string_view value);
};

constexpr std::array kOptions{
    Option{"--headless", "",
           [](AppOptions& options, std::string_view) {
               options.headless = true;
               return true;
           }},
    Option{"--frames", "a whole number of frames above 0",
           [](AppOptions& options, std::string_view value) {
               options.frames = parseNumber<std::uint64_t>(value);
               return options.frames.value_or(0) > 0;
           }},
    Option{"--fixed-dt", "a number of seconds above 0",
           [](AppOptions& options, std::string_view value) {
               options.fixedDeltaTime = parseNumber<float>(value);
               return options.fixedDeltaTime.value_or(0) > 0;
           }},
    Option{"--seed", "a whole number from 0 to 4294967295",
           [](AppOptions& options, std::string_view value) {
               options.seed = parseNumber<std::uint32_t>(value);
               return options.seed.has_value();
           }},
    Option{"--script", "a file name",
           [](AppOptions& options, std::string_view value) {
               options.scriptPath = std::string(value);
               return !value.empty();
           }},
    Option{"--level", "a level name",
           [](AppOptions& options, std::string_view value) {
               options.levelName = std::string(value);
               return !value.empty();
           }},
    Option{"--edit", "a level name",
           [](AppOptions& options, std::string_view value) {
               options.editLevelName = std::string(value);
               return !value.empty();
           }},
    Option{"--scene", "a scene file",
           [](AppOptions& options, std::string_view value) {
               options.sceneFile = std::string(value);
               return !value.empty();
           }},
};

const Option* findOption(std::string_view name) {
    for (const Option& option : kOptions) {
        if (option.name == name) return &option;
    }
    return nullptr;
}

}  // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine result;
    for (std::size_t i = 0; i < arguments.size() && result.error.empty(); ++i) {
        const std::string_view argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            result.helpRequested = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::string_view name = argument.substr(0, equals);
        const Option* option = findOption(name);
        if (!option) {
            result.error = "unknown option '" + std::string(name) + "'";
            continue;
        }
        std::optional<std::string_view> value;
        if (equals != std::string_view::npos) {
            value = argument.substr(equals + 1);
        } else if (!option->valueDescription.empty() && i + 1 < arguments.size()) {
            value = arguments[++i];
        }
        if (option->valueDescription.empty() && value) {
            result.error = std::string(name) + " takes no value";
        } else if (!option->valueDescription.empty() && !value) {
            result.error = std::string(name) + " needs " + std::string(option->valueDescription);
        } else if (!option->apply(result.options, value.value_or(""))) {
            result.error = std::string(name) + " needs " + std::string(option->valueDescription) + ", not '" +
                           std::string(*value) + "'";
        }
    }
    return result;
}

}  // namespace moonbrook

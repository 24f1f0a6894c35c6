#include "tools/levelcheck/LevelCheckOptions.h"

#include "tools/levelcheck/Bots.h"
#include "tools/levelcheck/OptionParser.h"

namespace moonbrook::levelcheck {

namespace {

const OptionParser<LevelCheckOptions>& parser() {
    static const OptionParser<LevelCheckOptions> parser = [] {
        OptionParser<LevelCheckOptions> options;
        options.value("--runs", [](auto& o, const auto& v) { return parseNumber(v, o.runs) && o.runs > 0; })
            .value("--jobs", [](auto& o, const auto& v) { return parseNumber(v, o.jobs) && o.jobs > 0; })
            .value("--seed", [](auto& o, const auto& v) { return parseNumber(v, o.seed); })
            .value("--think",
                   [](auto& o, const auto& v) { return parseNumber(v, o.thinkTime) && o.thinkTime >= 0; })
            .value(
                "--powerups",
                [](auto& o, const auto& v) { return parseNumber(v, o.powerupLevel) && o.powerupLevel >= 0; })
            .value("--max-time",
                   [](auto& o, const auto& v) { return parseNumber(v, o.maxTime) && o.maxTime > 0; })
            .value("--json", [](auto& o, const auto& v) { return !(o.json = v).empty(); })
            .value("--svg", [](auto& o, const auto& v) { return !(o.svg = v).empty(); })
            .value("--data", [](auto& o, const auto& v) { return !(o.dataRoot = v).empty(); })
            .value("--bot",
                   [](auto& o, const auto& v) {
                       o.bot = v;
                       return makeBot(v) != nullptr;
                   })
            .flag("--all", &LevelCheckOptions::all)
            .flag("--check", &LevelCheckOptions::check)
            .flag("--progress", &LevelCheckOptions::progressLines)
            .words([](auto& o, const auto& word) { o.levels.push_back(word); });
        return options;
    }();
    return parser;
}

}  // namespace

std::optional<LevelCheckOptions> parseLevelCheckOptions(const std::vector<std::string>& arguments,
                                                        std::string& error) {
    auto options = parser().parse(arguments, error);
    if (options && options->levels.empty() && !options->all) {
        error = "no level given";
        return std::nullopt;
    }
    return options;
}

}  // namespace moonbrook::levelcheck

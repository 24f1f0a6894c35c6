#include "tools/soak/SoakOptions.h"

#include "tools/levelcheck/Bots.h"
#include "tools/levelcheck/OptionParser.h"

namespace moonbrook::soak {

namespace {

using levelcheck::parseNumber;

const levelcheck::OptionParser<SoakOptions>& parser() {
    static const levelcheck::OptionParser<SoakOptions> parser = [] {
        levelcheck::OptionParser<SoakOptions> options;
        options
            .value("--minutes",
                   [](auto& o, const auto& v) { return parseNumber(v, o.minutes) && o.minutes > 0; })
            .value("--seed", [](auto& o, const auto& v) { return parseNumber(v, o.seed); })
            .value("--think",
                   [](auto& o, const auto& v) { return parseNumber(v, o.thinkTime) && o.thinkTime >= 0; })
            .value("--level-time",
                   [](auto& o, const auto& v) { return parseNumber(v, o.levelTime) && o.levelTime > 0; })
            .value(
                "--powerups",
                [](auto& o, const auto& v) { return parseNumber(v, o.powerupLevel) && o.powerupLevel >= 0; })
            .value(
                "--sample-every",
                [](auto& o, const auto& v) { return parseNumber(v, o.sampleSeconds) && o.sampleSeconds > 0; })
            .value("--max-growth",
                   [](auto& o, const auto& v) {
                       if (v == "off") {
                           o.maxGrowth.reset();
                           return true;
                       }
                       double limit = 0;
                       if (!parseNumber(v, limit) || limit < 0) return false;
                       o.maxGrowth = limit;
                       return true;
                   })
            .value("--samples", [](auto& o, const auto& v) { return !(o.samplesFile = v).empty(); })
            .value("--data", [](auto& o, const auto& v) { return !(o.dataRoot = v).empty(); })
            .value("--bot", [](auto& o, const auto& v) {
                o.bot = v;
                return levelcheck::makeBot(v) != nullptr;
            });
        return options;
    }();
    return parser;
}

}  // namespace

std::optional<SoakOptions> parseSoakOptions(const std::vector<std::string>& arguments, std::string& error) {
    return parser().parse(arguments, error);
}

}  // namespace moonbrook::soak

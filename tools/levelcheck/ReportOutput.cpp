#include "tools/levelcheck/ReportOutput.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>

#include "engine/core/KTFormat.h"

namespace moonbrook::levelcheck {

namespace {

using nlohmann::ordered_json;

ordered_json levelJson(const LevelReport& report) {
    ordered_json level;
    level["level"] = report.level;
    if (!report.error.empty()) {
        level["error"] = report.error;
        return level;
    }
    level["runs"] = report.runs;
    level["wins"] = report.wins;
    level["win_rate"] = report.winRate;
    level["win_time"] = {{"best_5_percent", report.winTime.best5},
                         {"median", report.winTime.median},
                         {"worst_5_percent", report.winTime.worst5}};
    level["mean_moves"] = report.meanMoves;
    level["no_move_settles_per_run"] = report.stuckPerRun;
    level["left_without_move_by"] = {{"powerup", report.escapedByPowerup},
                                     {"restart", report.escapedByRestart},
                                     {"never", report.softLocks}};
    level["time_limit"] = report.timeLimit;
    level["suggested"] = {{"gold", report.stars.gold},
                          {"three_stars", report.stars.threeStars},
                          {"two_stars", report.stars.twoStars},
                          {"one_star", report.stars.oneStar},
                          {"time_limit", report.stars.timeLimit}};
    level["verdict"] = verdictName(report.verdict);
    return level;
}

std::string escapeXml(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '&':
                escaped += "&amp;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

std::string seconds(float value) {
    return kt::KTFormat("%.1f", value);
}

// Chart geometry: the plot area inside the margins, times on the left axis, win rate on the right.
constexpr float kWidth = 900;
constexpr float kHeight = 420;
constexpr float kLeft = 70;
constexpr float kRight = 70;
constexpr float kTop = 50;
constexpr float kBottom = 60;

struct Plot {
    float maxTime;
    std::size_t count;
    float slot() const {
        return (kWidth - kLeft - kRight) / static_cast<float>(std::max<std::size_t>(count, 1));
    }
    float x(std::size_t i) const { return kLeft + slot() * (static_cast<float>(i) + 0.5f); }
    float yTime(float t) const { return kHeight - kBottom - (kHeight - kTop - kBottom) * t / maxTime; }
    float yRate(double rate) const {
        return kHeight - kBottom - (kHeight - kTop - kBottom) * static_cast<float>(rate);
    }
};

void svgAxes(std::string& svg, const Plot& plot, const CheckSettings& settings) {
    svg += kt::KTFormat(
        "<text x=\"%.0f\" y=\"28\" font-size=\"18\">Level check: %@ bot, %i runs per level</text>\n", kLeft,
        escapeXml(settings.bot), settings.runs);
    const float bottom = kHeight - kBottom;
    svg += kt::KTFormat("<line x1=\"%.0f\" y1=\"%.0f\" x2=\"%.0f\" y2=\"%.0f\" stroke=\"#444\"/>\n", kLeft,
                        bottom, kWidth - kRight, bottom);
    for (int tick = 0; tick <= 4; ++tick) {
        const float t = plot.maxTime * static_cast<float>(tick) / 4;
        const float y = plot.yTime(t);
        svg += kt::KTFormat("<line x1=\"%.0f\" y1=\"%.1f\" x2=\"%.0f\" y2=\"%.1f\" stroke=\"#ddd\"/>\n",
                            kLeft, y, kWidth - kRight, y);
        svg += kt::KTFormat("<text x=\"%.0f\" y=\"%.1f\" font-size=\"12\" text-anchor=\"end\">%@ s</text>\n",
                            kLeft - 6, y + 4, seconds(t));
        svg += kt::KTFormat("<text x=\"%.0f\" y=\"%.1f\" font-size=\"12\">%i %%</text>\n",
                            kWidth - kRight + 6, y + 4, tick * 25);
    }
}

// The level's time limit, and the bar and whiskers of its win times.
void svgLevelMarks(std::string& svg, const Plot& plot, std::size_t i, const LevelReport& report) {
    const float x = plot.x(i);
    const float half = plot.slot() * 0.3f;
    if (report.timeLimit > 0) {
        const float y = plot.yTime(report.timeLimit);
        svg += kt::KTFormat(
            "<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"#2a8c4a\" stroke-width=\"3\"/>\n",
            x - half * 1.4f, y, x + half * 1.4f, y);
    }
    if (report.wins == 0) return;
    const float top = plot.yTime(report.winTime.median);
    svg += kt::KTFormat("<rect x=\"%.1f\" y=\"%.1f\" width=\"%.1f\" height=\"%.1f\" fill=\"#7a9fd6\"/>\n",
                        x - half, top, 2 * half, kHeight - kBottom - top);
    svg += kt::KTFormat("<line x1=\"%.1f\" y1=\"%.1f\" x2=\"%.1f\" y2=\"%.1f\" stroke=\"#223\"/>\n", x,
                        plot.yTime(report.winTime.best5), x, plot.yTime(report.winTime.worst5));
}

}  // namespace

std::string reportTable(const std::vector<LevelReport>& reports) {
    std::string table =
        kt::KTFormat("%-10s %5s %7s %7s %7s %6s %7s %13s %22s %7s  %@\n", "level", "win%", "best5%", "median",
                     "worst5%", "moves", "nomove", "out p/r/never", "gold/3*/2*/1* (s)", "limit", "verdict");
    for (const LevelReport& report : reports) {
        if (!report.error.empty()) {
            table += kt::KTFormat("%-10s %@\n", report.level, report.error);
            continue;
        }
        const std::string escapes =
            kt::KTFormat("%i/%i/%i", report.escapedByPowerup, report.escapedByRestart, report.softLocks);
        const std::string stars =
            kt::KTFormat("%.0f/%.0f/%.0f/%.0f", report.stars.gold, report.stars.threeStars,
                         report.stars.twoStars, report.stars.oneStar);
        const std::string limit = kt::KTFormat("%.0f>%.0f", report.timeLimit, report.stars.timeLimit);
        table += kt::KTFormat("%-10s %5.0f %7.1f %7.1f %7.1f %6.1f %7.2f %13s %22s %7s  %@\n", report.level,
                              report.winRate * 100, report.winTime.best5, report.winTime.median,
                              report.winTime.worst5, report.meanMoves, report.stuckPerRun, escapes, stars,
                              limit, verdictName(report.verdict));
    }
    return table;
}

std::string reportJson(const CheckSettings& settings, const std::vector<LevelReport>& reports) {
    ordered_json root;
    root["bot"] = settings.bot;
    root["runs"] = settings.runs;
    root["seed"] = settings.seed;
    root["think_time"] = settings.thinkTime;
    root["powerup_level"] = settings.powerupLevel;
    root["levels"] = ordered_json::array();
    for (const LevelReport& report : reports)
        root["levels"].push_back(levelJson(report));
    return root.dump(2) + "\n";
}

std::string reportSvg(const CheckSettings& settings, const std::vector<LevelReport>& reports) {
    float maxTime = 10;
    for (const LevelReport& report : reports)
        maxTime = std::max({maxTime, report.winTime.worst5, report.timeLimit});
    const Plot plot{maxTime * 1.1f, reports.size()};
    std::string svg = kt::KTFormat(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.0f\" height=\"%.0f\" "
        "font-family=\"sans-serif\">\n"
        "<rect width=\"100%%\" height=\"100%%\" fill=\"white\"/>\n",
        kWidth, kHeight);
    svgAxes(svg, plot, settings);
    std::string rateLine;
    for (std::size_t i = 0; i < reports.size(); ++i) {
        const LevelReport& report = reports[i];
        svg += kt::KTFormat("<text x=\"%.1f\" y=\"%.0f\" font-size=\"12\" text-anchor=\"middle\">%@</text>\n",
                            plot.x(i), kHeight - kBottom + 18, escapeXml(report.level));
        if (!report.error.empty()) continue;
        svgLevelMarks(svg, plot, i, report);
        rateLine +=
            kt::KTFormat("%@%.1f,%.1f", rateLine.empty() ? "" : " ", plot.x(i), plot.yRate(report.winRate));
    }
    if (!rateLine.empty()) {
        svg += kt::KTFormat("<polyline points=\"%@\" fill=\"none\" stroke=\"#d0543c\" stroke-width=\"2\"/>\n",
                            rateLine);
    }
    svg += kt::KTFormat(
        "<text x=\"%.0f\" y=\"%.0f\" font-size=\"12\">bars: median time to win, whiskers: best and worst 5 "
        "%%; "
        "green: the level's time limit; line: win rate</text>\n</svg>\n",
        kLeft, kHeight - 14);
    return svg;
}

bool writeFileAtomically(const std::filesystem::path& path, const std::string& text, std::string& error) {
    std::filesystem::path temporary = path;
    temporary += kt::KTFormat(".tmp-%i", static_cast<int>(getpid()));
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out) {
            error = "cannot write " + temporary.string();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return false;
        }
    }
    std::error_code failed;
    std::filesystem::rename(temporary, path, failed);
    if (failed) {
        error = "cannot replace " + path.string() + ": " + failed.message();
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return false;
    }
    return true;
}

}  // namespace moonbrook::levelcheck

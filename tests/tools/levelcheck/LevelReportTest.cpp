#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "tools/levelcheck/LevelCheckOptions.h"
#include "tools/levelcheck/LevelReport.h"
#include "tools/levelcheck/ReportOutput.h"

namespace moonbrook::levelcheck {
namespace {

RunResult win(float time, int moves) {
    return {.won = true, .time = time, .moves = moves};
}

TEST(LevelReportTest, SummaryCountsWinsMovesEscapesAndSuggestsStarTimes) {
    std::vector<RunResult> runs;
    for (int i = 1; i <= 18; ++i)
        runs.push_back(win(10.0f * static_cast<float>(i), 10));
    RunResult restarted = win(200, 30);
    restarted.stuckSettles = 2;
    restarted.escapedByPowerup = 1;
    restarted.restarts = 1;
    runs.push_back(restarted);
    runs.push_back({.won = false, .time = 600, .moves = 50});

    const LevelReport report = summarise("007", runs);
    EXPECT_EQ(report.runs, 20);
    EXPECT_EQ(report.wins, 19);
    EXPECT_DOUBLE_EQ(report.winRate, 0.95);
    EXPECT_EQ(report.winTime.best5, 10);
    EXPECT_EQ(report.winTime.median, 100);
    EXPECT_EQ(report.winTime.worst5, 200);
    EXPECT_DOUBLE_EQ(report.meanMoves, (18 * 10 + 30 + 50) / 20.0);
    EXPECT_DOUBLE_EQ(report.stuckPerRun, 0.1);
    EXPECT_EQ(report.escapedByPowerup, 1);
    EXPECT_EQ(report.escapedByRestart, 1);
    EXPECT_EQ(report.softLocks, 0);
    EXPECT_EQ(report.verdict, Verdict::ok);

    // Gold the best 5 %, three stars the median, two stars 90 %, one star 95 %, rounded up to 5 s; the limit
    // is the two-star time unless the game's 0.7 rule needs more for three stars at the median.
    EXPECT_EQ(report.stars.gold, 10);
    EXPECT_EQ(report.stars.threeStars, 100);
    EXPECT_EQ(report.stars.twoStars, 180);
    EXPECT_EQ(report.stars.oneStar, 200);
    EXPECT_EQ(report.stars.timeLimit, 180);
    EXPECT_EQ(summarise("fast", {win(10, 1), win(11, 1)}).stars.timeLimit, 15);
}

TEST(LevelReportTest, VerdictsPutSoftLocksBeforeDifficulty) {
    std::vector<RunResult> runs{win(30, 5), {.won = false, .time = 600}, {.won = false, .time = 600}};
    EXPECT_EQ(summarise("a", runs).verdict, Verdict::tooHard);
    runs.push_back({.won = false, .softLocked = true});
    EXPECT_EQ(summarise("a", runs).verdict, Verdict::softLockRisk);
    const LevelReport never = summarise("b", {{.won = false, .time = 600}});
    EXPECT_EQ(never.wins, 0);
    EXPECT_EQ(never.stars.timeLimit, 0);
    EXPECT_EQ(summarise("c", {}).runs, 0);
}

TEST(LevelReportTest, JsonNamesEveryFigureAndKeepsErrorsApartAndSvgEscapesLevelNames) {
    LevelReport broken;
    broken.level = "bad";
    broken.error = "cannot read the level file bad.xml";
    const std::vector<LevelReport> reports{summarise("001", {win(40, 8), win(50, 9)}), broken};
    const auto json = nlohmann::json::parse(reportJson({"greedy", 2, 5, 1.5f, 1}, reports));
    EXPECT_EQ(json["bot"], "greedy");
    EXPECT_EQ(json["seed"], 5);
    ASSERT_EQ(json["levels"].size(), 2u);
    EXPECT_EQ(json["levels"][0]["win_rate"], 1.0);
    EXPECT_EQ(json["levels"][0]["win_time"]["median"], 40.0);
    EXPECT_EQ(json["levels"][0]["verdict"], "ok");
    EXPECT_EQ(json["levels"][1]["error"], broken.error);
    EXPECT_FALSE(json["levels"][1].contains("wins"));

    const std::string table = reportTable(reports);
    EXPECT_NE(table.find("001"), std::string::npos);
    EXPECT_NE(table.find(broken.error), std::string::npos);
    const std::string svg = reportSvg({"greedy", 2, 5, 1.5f, 1}, reports);
    EXPECT_TRUE(svg.starts_with("<svg"));
    EXPECT_NE(svg.find("polyline"), std::string::npos);
    const std::string escaped = reportSvg({"greedy", 1, 1, 1.5f, 1}, {summarise("a<b&c", {win(10, 1)})});
    EXPECT_NE(escaped.find("a&lt;b&amp;c"), std::string::npos);
    EXPECT_EQ(escaped.find("a<b"), std::string::npos);
}

TEST(LevelCheckOptionsTest, ReadsValuesInBothSpellingsAndRefusesBadOnes) {
    std::string error;
    const auto options = parseLevelCheckOptions(
        {"--runs", "5", "--bot=lookahead", "--jobs=3", "--seed", "9", "001", "x.xml"}, error);
    ASSERT_TRUE(options) << error;
    EXPECT_EQ(options->runs, 5);
    EXPECT_EQ(options->bot, "lookahead");
    EXPECT_EQ(options->jobs, 3);
    EXPECT_EQ(options->seed, 9u);
    EXPECT_EQ(options->levels, (std::vector<std::string>{"001", "x.xml"}));

    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--bot", "clever", "001"},
                                                {"--runs", "0", "001"},
                                                {"--runs", "2x", "001"},
                                                {"--jobs"},
                                                {"--colour", "001"},
                                                {"--runs", "3"}}) {
        EXPECT_FALSE(parseLevelCheckOptions(bad, error)) << bad.front();
        EXPECT_FALSE(error.empty());
    }
}

}  // namespace
}  // namespace moonbrook::levelcheck

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <memory>
#include <set>

#include "tests/app/GameProcess.h"
#include "tests/app/ProgramOutput.h"

namespace moonbrook::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr auto kTimeout = 120s;

// Where the play scene puts the board, and the cell size.
constexpr int kBoardX = 52;
constexpr int kBoardY = 150;
constexpr int kCell = 46;

// A layer string with the rows' letters placed from (x0, y0), '0' elsewhere.
std::string layer(const std::vector<std::string>& rows, int x0, int y0) {
    std::string text(20 * 13, '0');
    for (std::size_t y = 0; y < rows.size(); ++y)
        text.replace(static_cast<std::size_t>(y0 + static_cast<int>(y)) * 20 + static_cast<std::size_t>(x0),
                     rows[y].size(), rows[y]);
    return text;
}

// A 5 x 5 field at (5, 3) without emitters: nothing new enters, so every ball that leaves was removed.
// Dragging (7, 7) onto (8, 7) lines up three 'a' in the bottom row.
std::string closedLevel() {
    const std::string map = layer({"11111", "11111", "11111", "11111", "11111"}, 5, 3);
    const std::string balls = layer({"abcda", "bcdab", "cdabc", "dabcd", "aabac"}, 5, 3);
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           "<key>id</key><integer>0</integer><key>options</key><dict>"
           "<key>map</key><string>" +
           map + "</string><key>preplaced_balls</key><string>" + balls +
           "</string><key>time_limit</key><integer>60</integer></dict></dict></plist>\n";
}

// The game's own content tree seen from the test's folder, with room for levels of the test's own.
class BoardProgramTest : public ::testing::Test {
protected:
    BoardProgramTest() { folder_.linkContent(MOONBROOK_CONTENT_DATA, {"levels"}); }

    // Runs the level with the script, then quits, and answers the exit code.
    std::optional<int> play(const std::string& level, const std::string& script) {
        folder_.write("script.txt", script + "quit\n");
        GameProcess game(folder_.path(), {"--headless", "--level", level, "--fixed-dt", "0.0166", "--seed",
                                          "5", "--script", "script.txt"});
        const std::optional<int> exitCode = game.waitForExit(kTimeout);
        errorOutput_ = game.errorOutput();
        return exitCode;
    }

    nlohmann::json dumped(const std::string& name) const { return nlohmann::json::parse(folder_.read(name)); }

    TestFolder folder_;
    std::string errorOutput_;
};

// Balls resting in the dumped board's cells; emitters hold their next ball, placeholders are no balls.
int ballCount(const nlohmann::json& board) {
    int count = 0;
    for (const nlohmann::json& cell : board["cells"])
        count += !cell["emitter"].get<bool>() && cell["ball"].is_string() && cell["ball"] != "0" ? 1 : 0;
    return count;
}

TEST_F(BoardProgramTest, ADraggedSwapRemovesTheLineAndScoresTenPerBall) {
    folder_.write("data/levels/closed.xml", closedLevel());
    ASSERT_EQ(play("closed",
                   "wait-idle\ndump board before.json\ndrag-cell 7 7 1 0\nwait-idle\n"
                   "dump board after.json\n"),
              0)
        << errorOutput_;
    const nlohmann::json before = dumped("before.json");
    const nlohmann::json after = dumped("after.json");
    EXPECT_EQ(ballCount(before), 25);
    EXPECT_EQ(before["score"], 0);
    const int removed = ballCount(before) - ballCount(after);
    EXPECT_GE(removed, 3);
    EXPECT_EQ(after["score"], 10 * removed);
}

TEST_F(BoardProgramTest, ClickSelectsTheCellAndTheDumpNamesEveryFieldAlikeInEveryRun) {
    ASSERT_EQ(play("001", "wait-idle\nclick-cell 9 6\ndump board board.json\n"), 0) << errorOutput_;
    const nlohmann::json board = dumped("board.json");
    // The fixed seed and time step make every run of the same script the same.
    ASSERT_EQ(play("001", "wait-idle\nclick-cell 9 6\ndump board board.json\n"), 0) << errorOutput_;
    EXPECT_EQ(dumped("board.json"), board);
    EXPECT_EQ(board["level"], "001");
    EXPECT_EQ(board["selected"], nlohmann::json::parse("[9, 6]"));
    for (const char* field : {"score", "play_time", "moving", "paused", "plates_count", "start_plates_count",
                              "tokens_count", "click_mode"})
        EXPECT_TRUE(board.contains(field)) << field;
    // Level 001: 7 x 7 cells with 9 plates, under 7 emitters.
    ASSERT_EQ(board["cells"].size(), 56u);
    // The emitters' row comes first; an emitter holds the ball it drops next.
    nlohmann::json emitter = board["cells"][0];
    EXPECT_TRUE(emitter["ball"].is_string());
    emitter.erase("ball");
    EXPECT_EQ(emitter, nlohmann::json::parse(R"({"x": 6, "y": 2, "plates": 0, "locked": false, "crate": "0",
        "crate_level": 0, "emitter": true, "playable": false, "enabled": false, "target": false})"));
    const auto selected = std::find_if(board["cells"].begin(), board["cells"].end(), [](const auto& cell) {
        return cell["x"] == 9 && cell["y"] == 6;
    });
    ASSERT_NE(selected, board["cells"].end());
    EXPECT_EQ((*selected)["playable"], true);
    EXPECT_EQ((*selected)["emitter"], false);
}

TEST_F(BoardProgramTest, MistakesStopTheRunNamingTheLine) {
    EXPECT_EQ(play("001", "wait 1\nclick-cell 0 0\n"), 2);
    EXPECT_NE(errorOutput_.find("script.txt:2: the board has no cell at 0 0"), std::string::npos)
        << errorOutput_;
    EXPECT_EQ(play("no-such-level", "wait 1\n"), 2);
    EXPECT_NE(errorOutput_.find("no level named 'no-such-level'"), std::string::npos) << errorOutput_;
    folder_.write("plain.txt", "wait-idle\nquit\n");
    GameProcess plain(folder_.path(), {"--headless", "--script", "plain.txt"});
    EXPECT_EQ(plain.waitForExit(kTimeout), 2);
    EXPECT_NE(plain.errorOutput().find("plain.txt:1: no board is running"), std::string::npos);
}

TEST_F(BoardProgramTest, ScreenshotShowsTheFramedFieldWithDistinctBalls) {
    ASSERT_EQ(play("001", "wait-idle\nscreenshot shot.png\n"), 0) << errorOutput_;
    const Screenshot shot(folder_.path() / "shot.png");
    ASSERT_TRUE(shot.loaded());
    // The frame's violet band runs along each side of the 7 x 7 field (cells 6..12, 3..9), 4 pixels into
    // the tile beside the outer cells.
    constexpr Pixel kFrameViolet{0x8a, 0x4f, 0xd6};
    const int left = kBoardX + 6 * kCell;
    const int top = kBoardY + 3 * kCell;
    const int right = kBoardX + 13 * kCell;
    const int bottom = kBoardY + 10 * kCell;
    const int middleX = (left + right) / 2;
    const int middleY = (top + bottom) / 2;
    EXPECT_TRUE(near(shot.at(middleX + 10, top - 5), kFrameViolet, 40));
    EXPECT_TRUE(near(shot.at(middleX + 10, bottom + 4), kFrameViolet, 40));
    EXPECT_TRUE(near(shot.at(left - 5, middleY + 10), kFrameViolet, 40));
    EXPECT_TRUE(near(shot.at(right + 4, middleY + 10), kFrameViolet, 40));
    // Balls of several colours: the cells' centres, coarsely quantised.
    std::set<std::array<int, 3>> colours;
    for (int y = 3; y <= 9; ++y) {
        for (int x = 6; x <= 12; ++x) {
            const Pixel pixel = shot.at(kBoardX + x * kCell + kCell / 2, kBoardY + y * kCell + kCell / 2 + 6);
            colours.insert({pixel.r / 64, pixel.g / 64, pixel.b / 64});
        }
    }
    EXPECT_GE(colours.size(), 4u);
}

}  // namespace
}  // namespace moonbrook::test

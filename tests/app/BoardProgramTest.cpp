#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <memory>
#include <set>

#include "tests/app/GameProcess.h"
#include "tests/app/ProgramOutput.h"
#include "tests/app/WindowCapture.h"

namespace moonbrook::test {
namespace {

// Where the play scene puts the board, and the cell size.
constexpr int kBoardX = 52;
constexpr int kBoardY = 150;
constexpr int kCell = 46;

// The game's own content tree seen from the test's folder.
class BoardProgramTest : public ProgramRunTest {
protected:
    BoardProgramTest() { folder_.linkContent(MOONBROOK_CONTENT_DATA); }

    // Runs the level with the script, then quits, and answers the exit code.
    std::optional<int> play(const std::string& level, const std::string& script) {
        return runScript(script + "quit\n", {"--level", level});
    }
};

// The screenshot is taken before the click, on the settled board.
TEST_F(BoardProgramTest, TheSettledFieldShowsFramedWithDistinctBallsAndAClickSelectsItsCellAlikeInEveryRun) {
    const std::string script = "wait-idle\nscreenshot shot.png\nclick-cell 9 6\ndump board board.json\n";
    ASSERT_EQ(play("001", script), 0) << errorOutput_;
    const nlohmann::json board = dumped("board.json");
    // The fixed seed and time step make every run of the same script the same.
    ASSERT_EQ(play("001", script), 0) << errorOutput_;
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

    const std::optional<RgbImage> shot = readPng(folder_.path() / "shot.png");
    ASSERT_TRUE(shot && shot->width == 1024 && shot->height == 768);
    // The frame's violet band runs along each side of the 7 x 7 field (cells 6..12, 3..9), 4 pixels into
    // the tile beside the outer cells.
    constexpr Pixel kFrameViolet{0x8a, 0x4f, 0xd6};
    const int left = kBoardX + 6 * kCell;
    const int top = kBoardY + 3 * kCell;
    const int right = kBoardX + 13 * kCell;
    const int bottom = kBoardY + 10 * kCell;
    const int middleX = (left + right) / 2;
    const int middleY = (top + bottom) / 2;
    EXPECT_TRUE(near(shot->at(middleX + 10, top - 5), kFrameViolet, 40));
    EXPECT_TRUE(near(shot->at(middleX + 10, bottom + 4), kFrameViolet, 40));
    EXPECT_TRUE(near(shot->at(left - 5, middleY + 10), kFrameViolet, 40));
    EXPECT_TRUE(near(shot->at(right + 4, middleY + 10), kFrameViolet, 40));
    // Balls of several colours: the cells' centres, coarsely quantised.
    std::set<std::array<int, 3>> colours;
    for (int y = 3; y <= 9; ++y) {
        for (int x = 6; x <= 12; ++x) {
            const Pixel pixel =
                shot->at(kBoardX + x * kCell + kCell / 2, kBoardY + y * kCell + kCell / 2 + 6);
            colours.insert({pixel.r / 64, pixel.g / 64, pixel.b / 64});
        }
    }
    EXPECT_GE(colours.size(), 4u);
}

}  // namespace
}  // namespace moonbrook::test

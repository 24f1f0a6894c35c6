#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

#include "tests/app/GameProcess.h"
#include "tests/app/ProgramOutput.h"

namespace moonbrook::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

class WholeGameProgramTest : public ProgramRunTest {
protected:
    WholeGameProgramTest() {
        folder_.linkContent(MOONBROOK_CONTENT_DATA);
        timeout_ = 600s;
    }

    // Runs one of the scripts in tests/data/scripts with the per-user folder left as the runs before made
    // it; the exit code.
    std::optional<int> run(const std::string& script) {
        return ProgramRunTest::run({"--headless", "--seed", "2", "--fixed-dt", "0.0166", "--script",
                                    (fs::path(MOONBROOK_TEST_SCRIPTS) / script).string()});
    }
};

TEST_F(WholeGameProgramTest, ANewPlayerMeetsTheStoryWinsTheFirstLevelAndFindsItAgainAfterARestart) {
    ASSERT_FALSE(fs::exists(folder_.path() / "data-home"));
    ASSERT_EQ(run("whole_game.txt"), 0) << errorOutput_;

    // The profile the new player makes is MenuProgramTest's; here it is found again after the restart.
    EXPECT_EQ(dumped("map_tutorial.json")["class"], "MainMenuScene");
    EXPECT_EQ(dumped("map_tutorial.json")["state"], "tutorial");
    EXPECT_EQ(dumped("after_story.json")["users"][0]["tutorials"]["map"], 1);

    // The plates the swaps cleared are those the level had left after its first balls fell.
    EXPECT_EQ(dumped("first_board.json")["level"], "001");
    EXPECT_GT(dumped("first_board.json")["plates_count"].get<int>(), 0);
    EXPECT_EQ(dumped("won.json")["state"], "win");
    const nlohmann::json won = dumped("won_profile.json")["users"][0];
    EXPECT_TRUE(won["levelResults"].contains("001"));
    EXPECT_GT(won["plates"].get<int>(), 0);
    // The won level opening the next is MenuProgramTest's; here the way back reaches the menu.
    EXPECT_EQ(dumped("back.json")["class"], "MainMenuScene");

    ASSERT_EQ(run("whole_game_again.txt"), 0) << errorOutput_;
    const nlohmann::json again = dumped("again.json");
    ASSERT_EQ(again["users"].size(), 1u);
    EXPECT_EQ(again["selected"], "Mia");
    for (const char* key : {"name", "levelResults", "plates", "tokens", "tutorials"})
        EXPECT_EQ(again["users"][0][key], won[key]) << key;
    EXPECT_EQ(node(dumped("levels_again.json"), "l1")["enabled"], true);
}

}  // namespace
}  // namespace moonbrook::test

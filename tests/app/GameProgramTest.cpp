#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "tests/app/GameProcess.h"
#include "tests/app/ProgramOutput.h"
#include "tests/app/WindowCapture.h"
#include "tests/support/DataFileTest.h"

namespace moonbrook::test {
namespace {

namespace fs = std::filesystem;

// The hammer bought at its first level: it charges in 45 seconds of play.
constexpr const char* kHammerBought =
    "<key>powerups</key><dict><key>hammer</key><dict><key>maxLevel</key><integer>1</integer></dict></dict>";

// The program on real levels, each test with a player profile of its own and the game's content.
class GameProgramTest : public ProgramRunTest {
protected:
    GameProgramTest() {
        folder_.linkContent(MOONBROOK_CONTENT_DATA, {"levels", "partials/tutorial", "partials/backgrounds"});
    }

    // The tutorials named have no file.
    void removeTutorials(const std::vector<std::string>& names) const {
        for (const std::string& name : names)
            fs::remove(folder_.path() / "data/partials/tutorial" / (name + ".xml"));
    }

    // Runs the level with the script, then quits; the exit code.
    std::optional<int> play(const std::string& level, const std::string& script,
                            const std::string& dt = "0.0166") {
        return runScript(script + "quit\n", {"--level", level, "--fixed-dt", dt});
    }

    bool shown(const nlohmann::json& scene, const std::string& name) const {
        return node(scene, name)["visible"] == true;
    }
    nlohmann::json profile() const { return dumped("profiles.json")["users"][0]; }
    // The charge of a bought powerup shows on its button as its level's picture.
    static bool charged(const nlohmann::json& scene) {
        return childOf(scene, "powerup_hammer", "button_l_1")["visible"] == true;
    }
};

// After the restart, Escape pauses and the popups lead back; then a fast win: 10 seconds against the level's
// 45 earn three stars. Keys pressed over the panel, the instant win among them, change nothing.
TEST_F(GameProgramTest,
       RightClickKeepsTheHammersChargeRestartSpendsItPopupsLeadBackAndAFastWinRewardsThreeStars) {
    folder_.write("devmode", "");
    writeProfile(std::string(kAllTutorials) + kHammerBought +
                 "<key>plates</key><integer>5</integer><key>tokens</key><integer>2</integer>");
    ASSERT_EQ(play("001",
                   "wait 470\nclick-node powerup_hammer\nwait 2\ndump board hammer.json\n"
                   "click 500 400 right\nwait 2\ndump scene charged.json\ndump board before.json\n"
                   "click-node restart_hud_button\nwait-state restart_question 5\nwait 10\n"
                   "click-node restart_no\nwait-state default 10\ndump board kept.json\n"
                   "click-node restart_hud_button\nwait-state restart_question 5\nwait 10\n"
                   "click-node restart_yes\nwait-state default 10\nwait 1\n"
                   "dump scene restarted.json\ndump board after.json\n"
                   "key Escape\nwait-state pause 5\ndump board paused.json\ndump scene pause.json\n"
                   "wait 40\nclick-node continue_button\nwait-state default 10\ndump board running.json\n"
                   "click-node pause_button\nwait-state pause 5\nwait 40\nclick-node hide_button\n"
                   "wait-state hide 10\ndump scene hidden.json\nwait 40\nclick-node show_button\n"
                   "wait-state default 10\nwait 2\ndump scene shown.json\n"
                   "wait 94\nkey w\nwait-state win 100\nwait 60\nkey w\nkey Escape\nkey F5\nwait 60\n"
                   "dump scene won.json\ndump board board.json\ndump profiles profiles.json\n",
                   "0.1"),
              0)
        << errorOutput_;
    EXPECT_EQ(dumped("hammer.json")["click_mode"], 1);
    EXPECT_EQ(dumped("before.json")["click_mode"], 0);
    EXPECT_TRUE(charged(dumped("charged.json")));
    EXPECT_GT(dumped("before.json")["play_time"].get<float>(), 45);
    // "Keep playing" leaves the level as it was.
    EXPECT_GE(dumped("kept.json")["play_time"].get<float>(), dumped("before.json")["play_time"].get<float>());
    EXPECT_FALSE(charged(dumped("restarted.json")));
    EXPECT_LT(dumped("after.json")["play_time"].get<float>(), 1);
    EXPECT_FALSE(dumped("after.json")["paused"].get<bool>());
    EXPECT_EQ(dumped("after.json")["cells"].size(), dumped("before.json")["cells"].size());
    const std::string log = folder_.read(kLog);
    // The file "devmode" beside the program allows the instant win below.
    EXPECT_NE(log.find("Development mode enabled"), std::string::npos);
    EXPECT_NE(log.find("restart: board reset ok"), std::string::npos);
    // The scene and its board are kept: the layout was loaded once.
    EXPECT_EQ(log.find("GameScene init"), log.rfind("GameScene init"));

    EXPECT_TRUE(dumped("paused.json")["paused"].get<bool>());
    EXPECT_TRUE(shown(dumped("pause.json"), "pause_popup"));
    EXPECT_FALSE(dumped("running.json")["paused"].get<bool>());
    // Hidden, the board is out of sight; shown again, only the HUD and the field remain.
    EXPECT_FALSE(shown(dumped("hidden.json"), "field"));
    EXPECT_TRUE(shown(dumped("hidden.json"), "hide_popup"));
    const nlohmann::json shownAgain = dumped("shown.json");
    EXPECT_EQ(shownAgain["state"], "default");
    EXPECT_TRUE(shown(shownAgain, "field"));
    for (const char* popup : {"pause_popup", "hide_popup", "restart_popup", "win_panel", "tutorial_box"})
        EXPECT_FALSE(shown(shownAgain, popup)) << popup;

    const nlohmann::json won = dumped("won.json");
    EXPECT_EQ(won["state"], "win");
    EXPECT_TRUE(shown(won, "win_panel"));
    EXPECT_EQ(node(won, "stars")["selected"], "3");
    EXPECT_EQ(node(won, "final_score")["text"], std::to_string(dumped("board.json")["score"].get<int>()));
    const int platesWon = dumped("board.json")["start_plates_count"].get<int>();
    ASSERT_GT(platesWon, 0);
    EXPECT_EQ(node(won, "final_gold")["text"], std::to_string(5 + platesWon));
    EXPECT_EQ(profile()["plates"], 5 + platesWon);
    EXPECT_NEAR(profile()["levelResults"]["001"].get<float>(), 10, 0.5);
}

std::string describe(Pixel pixel) {
    return std::to_string(pixel.r) + "," + std::to_string(pixel.g) + "," + std::to_string(pixel.b);
}

int brightness(Pixel pixel) {
    return pixel.r + pixel.g + pixel.b;
}

TEST_F(GameProgramTest, ATutorialCoversTheHudAndTheBoardOnceAcrossLevelsAndRuns) {
    writeProfile("");
    removeTutorials({"crates_w", "crates_s", "requestors"});
    // Level 006 has locks: the game's own tutorial for them shows from 3 seconds of play and the board waits
    // under it.
    ASSERT_EQ(play("006",
                   "wait 60\nscreenshot hud.png\nwait-state tutorial 400\nwait 60\n"
                   "screenshot tutorial.png\ndump scene tutorial.json\ndump board paused.json\n"
                   "key Escape\nwait 2\ndump scene still.json\nclick-node tutorial_ok\n"
                   "wait-state default 60\ndump board running.json\n"),
              0)
        << errorOutput_;
    const nlohmann::json box = node(dumped("tutorial.json"), "tutorial_box");
    EXPECT_TRUE(box["visible"].get<bool>());
    EXPECT_EQ(box["position"], nlohmann::json::parse("[0, 0]"));
    EXPECT_EQ(box["size"], nlohmann::json::parse("[1024, 768]"));
    EXPECT_TRUE(dumped("paused.json")["paused"].get<bool>());
    // Escape does not cover a tutorial with the pause.
    EXPECT_EQ(dumped("still.json")["state"], "tutorial");
    EXPECT_FALSE(dumped("running.json")["paused"].get<bool>());

    const std::optional<RgbImage> hud = readPng(folder_.path() / "hud.png");
    ASSERT_TRUE(hud && hud->width == 1024 && hud->height == 768);
    // The bar's violet along the top, the pale bars of the pause icon, the first time star's gold, and the
    // hammer button's pink rim at the right.
    EXPECT_TRUE(near(hud->at(200, 50), {0x4a, 0x24, 0x79}, 30)) << describe(hud->at(200, 50));
    EXPECT_TRUE(near(hud->at(965, 42), {0xff, 0xf4, 0xc2}, 30)) << describe(hud->at(965, 42));
    EXPECT_TRUE(near(hud->at(414, 64), {0xff, 0xd2, 0x3f}, 40)) << describe(hud->at(414, 64));
    EXPECT_TRUE(near(hud->at(928, 180), {0xff, 0x9a, 0xd5}, 40)) << describe(hud->at(928, 180));
    const std::optional<RgbImage> tutorial = readPng(folder_.path() / "tutorial.png");
    ASSERT_TRUE(tutorial && tutorial->width == 1024 && tutorial->height == 768);
    // The tutorial covers the HUD and the powerups with its dimming backdrop, and its button sits at the
    // bottom of its panel, bright over the dimmed board.
    for (const auto& [x, y] : {std::pair{200, 50}, std::pair{965, 42}, std::pair{928, 180}}) {
        EXPECT_LT(brightness(tutorial->at(x, y)), brightness(hud->at(x, y)) * 2 / 3)
            << x << "," << y << ": " << describe(tutorial->at(x, y));
    }
    const Pixel button = tutorial->at(432, 588);
    EXPECT_GT(button.r, 200) << describe(button);
    EXPECT_GT(brightness(button), brightness(hud->at(432, 588))) << describe(button);

    // Level 012 has locks too, and crates and candy requests whose tutorials have no file.
    ASSERT_EQ(play("012", "wait 600\ndump scene later.json\ndump profiles profiles.json\n"), 0)
        << errorOutput_;
    EXPECT_EQ(dumped("later.json")["state"], "default");
    EXPECT_EQ(folder_.read(kLog).find("tutorial_box="), std::string::npos);
    for (const char* name : {"locks", "crates_w", "crates_s", "requestors"})
        EXPECT_EQ(profile()["tutorials"][name], 1) << name;
}

// The test's level has no moves left after its one swap, and names a background that does not exist.
TEST_F(GameProgramTest, NoMovesAreToldAfterTheHintDelayAndAMissingBackgroundFallsBackLoggedOnce) {
    folder_.write("devmode", "");
    writeProfile(kAllTutorials);
    std::string level = kt::test::readFile(fs::path(MOONBROOK_TEST_LEVELS) / "no_moves.xml");
    const std::size_t options = level.find("<dict>", level.find("<key>options</key>"));
    ASSERT_NE(options, std::string::npos);
    level.insert(options + 6, "<key>background</key><string>nope.xml</string>");
    folder_.write("data/levels/painted.xml", level);
    fs::remove(folder_.path() / "data/partials/backgrounds/episode1.xml");
    folder_.write("data/partials/backgrounds/episode1.xml",
                  "<container><image name=\"episode_sky\" filename=\"data/gfx/gui/play/veil.png\" "
                  "color=\"203060FF\"/></container>");
    // F6 swaps the background for black and back, which looks for the level's own file again.
    ASSERT_EQ(play("painted",
                   "wait 2\ndump scene first.json\nkey F6\nwait 1\ndump scene black.json\nkey F6\n"
                   "wait 1\ndump scene again.json\nwait-idle\nclick-cell 9 6\nclick-cell 10 6\n"
                   "wait-idle\ndump board after.json\ndump scene before.json\nwait 400\n"
                   "dump scene notice.json\nscreenshot notice.png\n",
                   "0.05"),
              0)
        << errorOutput_;
    EXPECT_EQ(dumped("after.json")["plates_count"], 1);
    EXPECT_FALSE(shown(dumped("before.json"), "no_move_notice"));
    const nlohmann::json notice = dumped("notice.json");
    EXPECT_TRUE(shown(notice, "no_move_notice"));
    EXPECT_EQ(notice["state"], "default");

    EXPECT_TRUE(node(dumped("first.json"), "episode_sky").is_object());
    EXPECT_FALSE(node(dumped("black.json"), "episode_sky").is_object());
    EXPECT_TRUE(node(dumped("again.json"), "episode_sky").is_object());
    const std::string log = folder_.read(kLog);
    EXPECT_EQ(occurrences(log, "file not found: data/partials/backgrounds/nope.xml"), 1u) << log;
    EXPECT_EQ(occurrences(log, "setting BG: data/partials/backgrounds/episode1.xml"), 2u) << log;
}

}  // namespace
}  // namespace moonbrook::test

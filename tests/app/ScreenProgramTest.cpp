#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>

#include "tests/app/GameProcess.h"
#include "tests/app/ProgramOutput.h"

namespace moonbrook::test {
namespace {

namespace fs = std::filesystem;

// The program on the test scene with every control, in a folder that sees the game's content.
class ScreenProgramTest : public ProgramRunTest {
protected:
    ScreenProgramTest() {
        folder_.linkContent(MOONBROOK_CONTENT_DATA);
        fs::create_symlink(MOONBROOK_TEST_SCENE, folder_.path() / "controls.sg.xml");
    }

    std::optional<int> run(const std::string& script) {
        return runScript(script, {"--scene", "controls.sg.xml"});
    }
};

TEST_F(ScreenProgramTest, AProfileTypedIntoTheScreenIsAddedAndSavedWhole) {
    ASSERT_EQ(run("wait 2\n"
                  "click-node add_button\n"
                  "wait-state add_user 10\n"
                  "text   Zoë Дмитрий 😀\n"
                  "key Return\n"
                  "wait-state users 10\n"
                  "click-node fullscreen_checkbox\n"
                  "dump scene scene.json\n"
                  "dump profiles profiles.json\n"
                  "quit\n"),
              0)
        << errorOutput_;
    const nlohmann::json profiles = dumped("profiles.json");
    EXPECT_EQ(profiles["selected"], "Zoë Дмитрий 😀");
    ASSERT_EQ(profiles["users"].size(), 1u);
    EXPECT_EQ(profiles["users"][0]["name"], "Zoë Дмитрий 😀");
    EXPECT_NE(folder_.read("data-home/Moonbrook/users.xml").find("<string>Zoë Дмитрий 😀</string>"),
              std::string::npos);

    const nlohmann::json scene = dumped("scene.json");
    EXPECT_EQ(scene["class"], "KTBaseMenuScene");
    EXPECT_EQ(scene["state"], "users");
    EXPECT_EQ((*findNode(scene["tree"], "username_input"))["text"], "");
    EXPECT_EQ((*findNode(scene["tree"], "welcome"))["text"], "Welcome, Zoë Дмитрий 😀");
    const nlohmann::json& list = *findNode(scene["tree"], "userlist");
    ASSERT_EQ(list["children"].size(), 1u);
    EXPECT_EQ(list["children"][0]["text"], "Zoë Дмитрий 😀");
    EXPECT_EQ((*findNode(scene["tree"], "fullscreen_checkbox"))["checked"], true);
    EXPECT_EQ((*findNode(scene["tree"], "tokens_stars"))["selected"], "0");
    EXPECT_EQ(profiles["users"][0]["fullscreen"], true);
    EXPECT_TRUE((*findNode(scene["tree"], "sound_volume_value"))["value"].is_number());
}

TEST_F(ScreenProgramTest, ACommandThatMissesStopsTheRunWithItsLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"wait 2\nclick-node no_such_node\nquit\n", "script.txt:2: no node named 'no_such_node' is on stage"},
        // A text field's cursor is hidden while another has the focus.
        {"wait 2\nclick-node cursor\nquit\n", "script.txt:2: no node named 'cursor' is shown"},
        {"wait-state add_user 5\nquit\n", "script.txt:1: state add_user not reached in 5 frames"},
        {"wait-scene KTBaseMenuScene 3\nwait-scene GameScene 3\nquit\n",
         "script.txt:2: scene GameScene not reached in 3 frames"},
    };
    for (const auto& [script, error] : cases) {
        EXPECT_EQ(run(script), 2) << script;
        EXPECT_NE(errorOutput_.find(error), std::string::npos) << errorOutput_;
    }
}

}  // namespace
}  // namespace moonbrook::test

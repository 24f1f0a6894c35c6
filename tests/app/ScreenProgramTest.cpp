#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

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
    ASSERT_EQ(run("wait 2\nclick-node add_button\nwait-state add_user 10\ntext   Zoë Дмитрий 😀\nkey Return\n"
                  "wait-state users 10\nclick-node fullscreen_checkbox\n"
                  "dump scene scene.json\ndump profiles profiles.json\nquit\n"),
              0)
        << errorOutput_;
    const nlohmann::json profiles = dumped("profiles.json");
    EXPECT_EQ(profiles["selected"], "Zoë Дмитрий 😀");
    ASSERT_EQ(profiles["users"].size(), 1u);
    EXPECT_NE(folder_.read("data-home/Moonbrook/users.xml").find("<string>Zoë Дмитрий 😀</string>"),
              std::string::npos);

    const nlohmann::json scene = dumped("scene.json");
    EXPECT_EQ(scene["class"], "KTBaseMenuScene");
    EXPECT_EQ(scene["state"], "users");
    EXPECT_EQ(node(scene, "username_input")["text"], "");
    EXPECT_EQ(node(scene, "welcome")["text"], "Welcome, Zoë Дмитрий 😀");
    const nlohmann::json list = node(scene, "userlist");
    ASSERT_EQ(list["children"].size(), 1u);
    EXPECT_EQ(list["children"][0]["text"], "Zoë Дмитрий 😀");
    EXPECT_EQ(node(scene, "fullscreen_checkbox")["checked"], true);
    EXPECT_EQ(node(scene, "tokens_stars")["selected"], "0");
    EXPECT_EQ(profiles["users"][0]["fullscreen"], true);
    EXPECT_TRUE(node(scene, "sound_volume_value")["value"].is_number());
}

struct Mistake {
    std::vector<std::string> arguments;
    std::string script;
    std::string error;
};

TEST_F(ScreenProgramTest, ACommandThatMissesStopsTheRunWithItsLine) {
    const std::vector<std::string> controls = {"--scene", "controls.sg.xml"};
    const Mistake cases[] = {
        {controls, "wait 2\nclick-node no_such_node\n",
         "script.txt:2: no node named 'no_such_node' is on stage"},
        // A text field's cursor is hidden while another has the focus.
        {controls, "wait 2\nclick-node cursor\n", "script.txt:2: no node named 'cursor' is shown"},
        {controls, "wait-scene KTBaseMenuScene 3\nwait-scene GameScene 3\n",
         "script.txt:2: scene GameScene not reached in 3 frames"},
        {controls, "wait-idle\n", "script.txt:1: no board is running"},
        {{"--level", "001"}, "wait 1\nclick-cell 0 0\n", "script.txt:2: the board has no cell at 0 0"},
        {{"--level", "no-such-level"}, "wait 1\n", "no level named 'no-such-level'"},
    };
    for (const auto& [arguments, script, error] : cases) {
        EXPECT_EQ(runScript(script + "quit\n", arguments), 2) << script;
        EXPECT_NE(errorOutput_.find(error), std::string::npos) << errorOutput_;
    }
}

}  // namespace
}  // namespace moonbrook::test

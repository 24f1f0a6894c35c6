#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>

#include "tests/app/GameProcess.h"
#include "tests/app/ProgramOutput.h"

namespace moonbrook::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

constexpr auto kTimeout = 60s;

// The program on the test scene with every control, in a folder that sees the game's content.
class ScreenProgramTest : public ::testing::Test {
protected:
    ScreenProgramTest() {
        folder_.linkContent(MOONBROOK_CONTENT_DATA);
        fs::create_symlink(MOONBROOK_TEST_SCENE, folder_.path() / "controls.sg.xml");
    }

    std::optional<int> run(const std::string& script) {
        folder_.write("script.txt", script);
        GameProcess game(folder_.path(), {"--headless", "--fixed-dt", "0.0166", "--scene", "controls.sg.xml",
                                          "--script", "script.txt"});
        const std::optional<int> exitCode = game.waitForExit(kTimeout);
        errorOutput_ = game.errorOutput();
        return exitCode;
    }
    nlohmann::json dumped(const std::string& name) const { return nlohmann::json::parse(folder_.read(name)); }

    TestFolder folder_;
    std::string errorOutput_;
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
    EXPECT_EQ(run("wait 2\nclick-node no_such_node\nquit\n"), 2);
    EXPECT_NE(errorOutput_.find("script.txt:2: no node named 'no_such_node' is on stage"), std::string::npos)
        << errorOutput_;
    // A text field's cursor is hidden while another has the focus.
    EXPECT_EQ(run("wait 2\nclick-node cursor\nquit\n"), 2);
    EXPECT_NE(errorOutput_.find("script.txt:2: no node named 'cursor' is shown"), std::string::npos)
        << errorOutput_;
    EXPECT_EQ(run("wait-state add_user 5\nquit\n"), 2);
    EXPECT_NE(errorOutput_.find("script.txt:1: state add_user not reached in 5 frames"), std::string::npos)
        << errorOutput_;
    EXPECT_EQ(run("wait-scene KTBaseMenuScene 3\nwait-scene GameScene 3\nquit\n"), 2);
    EXPECT_NE(errorOutput_.find("script.txt:2: scene GameScene not reached in 3 frames"), std::string::npos)
        << errorOutput_;
}

}  // namespace
}  // namespace moonbrook::test

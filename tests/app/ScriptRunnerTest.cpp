#include <gtest/gtest.h>

#include <fstream>
#include <nlohmann/json.hpp>

#include "app/Application.h"
#include "app/BasicScriptCommands.h"
#include "app/ScriptRunner.h"
#include "engine/core/KTFormat.h"
#include "tests/support/EngineTest.h"
#include "tests/support/FakePlatform.h"

namespace moonbrook {
namespace {

using kt::ButtonName;
using kt::CGPoint;

// Writes down the input it receives with the frame it arrives in, e.g. "2 down 257 30.0 40.0".
class InputRecordingScene : public kt::KTScene {
public:
    std::vector<std::string> input;

    void mouseMove(CGPoint point) override { record(kt::KTFormat("move %.1f %.1f", point.x, point.y)); }
    void buttonDown(ButtonName button, CGPoint point) override {
        record(kt::KTFormat("down %u %.1f %.1f", static_cast<unsigned>(button), point.x, point.y));
    }
    void buttonUp(ButtonName button, CGPoint point) override {
        record(kt::KTFormat("up %u %.1f %.1f", static_cast<unsigned>(button), point.x, point.y));
    }
    void keyDown(ButtonName button) override {
        record(kt::KTFormat("key %u", static_cast<unsigned>(button)));
    }
    void textInput(const std::string& text) override { record("text " + text); }

private:
    void record(const std::string& what) {
        input.push_back(std::to_string(kt::KTDirector::shared().frameCount() + 1) + " " + what);
    }
};

class ScriptRunnerTest : public kt::test::EngineTest {
protected:
    ScriptRunnerTest() {
        auto platform = std::make_unique<kt::test::FakePlatform>();
        platform_ = platform.get();
        director_.setPlatform(std::move(platform));
        addBasicScriptCommands(commands_);
    }

    // Runs the script in the director's loop, as the program does, for at most the frames given.
    void run(std::string_view text, std::uint64_t maxFrames = 100) {
        std::string error;
        std::optional<Script> script = Script::parse(text, "run.txt", commands_, error);
        ASSERT_TRUE(script) << error;
        runner_.emplace(std::move(*script), director_);
        AppOptions options;
        options.frames = maxFrames;
        installAutomation(options, &*runner_, director_);
        director_.runWithScene(scene_);
    }

    kt::KTDirector& director_ = kt::KTDirector::shared();
    kt::test::FakePlatform* platform_ = nullptr;
    ScriptCommandRegistry commands_;
    std::optional<ScriptRunner> runner_;
    std::shared_ptr<InputRecordingScene> scene_ = kt::KTNode::node<InputRecordingScene>();
};

TEST_F(ScriptRunnerTest, PointerCommandsArriveAtTheirLogicalPointsThroughTheLetterbox) {
    // A 1920 x 1080 window shows the logical screen 1440 x 1080 wide with bars of 240 on both sides.
    platform_->usable = {1920, 1080};
    director_.setWindowSize({1920, 1080});
    run("move 10 20\npress 30 40 right\nrelease 50 60 middle\nclick 512 384\nquit");
    const std::vector<std::string> expected{
        "2 move 10.0 20.0",   "3 move 30.0 40.0",     "3 down 257 30.0 40.0", "4 move 50.0 60.0",
        "4 move 50.0 60.0",   "4 up 258 50.0 60.0",   "5 move 512.0 384.0",   "5 down 256 512.0 384.0",
        "5 move 512.0 384.0", "5 up 256 512.0 384.0",
    };
    EXPECT_EQ(scene_->input, expected);
    EXPECT_TRUE(runner_->finished());
    EXPECT_EQ(platform_->mousePosition(), (CGPoint{960, 540}));
}

TEST_F(ScriptRunnerTest, InputIsDeliveredBeforeTheNextCommandRunsAndQuitSkipsTheRest) {
    run("key a\nwait 3\nkey F5\nwait 0\ntext hi there\nquit\nkey b\n");
    const std::vector<std::string> expected{"2 key 97", "6 key 1073741886", "7 text hi there"};
    EXPECT_EQ(scene_->input, expected);
    EXPECT_EQ(director_.frameCount(), 7u);
    // The step after the quit never ran.
    EXPECT_FALSE(runner_->finished());
    EXPECT_EQ(runner_->failure(), "");
}

TEST_F(ScriptRunnerTest, FrameLimitEndsAWaitingScript) {
    run("wait 1000\nkey a", 10);
    EXPECT_EQ(director_.frameCount(), 10u);
    EXPECT_FALSE(runner_->finished());
    EXPECT_EQ(runner_->failure(), "");
}

TEST_F(ScriptRunnerTest, DumpSceneWritesTheRunningTreeAndAFailingCommandStopsTheRunNamingItsLine) {
    auto child = kt::KTNode::node();
    // A name that is not UTF-8 is written all the same.
    child->setName("odd \xff name");
    scene_->addChild(child);
    const auto path = userDataHome() / "scene.json";
    run("dump scene " + path.string() + "\n\ndump scene /nonexistent-folder/scene.json\nkey a");
    EXPECT_EQ(runner_->failure(), "run.txt:3: cannot write '/nonexistent-folder/scene.json'");
    EXPECT_FALSE(director_.running());
    EXPECT_TRUE(scene_->input.empty());
    std::ifstream file(path);
    const nlohmann::json dump = nlohmann::json::parse(file);
    EXPECT_EQ(dump["class"], "KTScene");
    EXPECT_EQ(dump["tree"]["children"][0]["name"], "odd \xEF\xBF\xBD name");
}

}  // namespace
}  // namespace moonbrook

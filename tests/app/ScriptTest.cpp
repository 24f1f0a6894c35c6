#include <gtest/gtest.h>

#include <vector>

#include "app/BasicScriptCommands.h"
#include "app/Script.h"

namespace moonbrook {
namespace {

class ScriptTest : public ::testing::Test {
protected:
    ScriptTest() { addBasicScriptCommands(commands_); }

    std::optional<Script> parse(std::string_view text) {
        error_.clear();
        return Script::parse(text, "test.txt", commands_, error_);
    }
    // The error of a script that must not parse.
    std::string errorOf(std::string_view text) {
        EXPECT_FALSE(parse(text)) << text;
        return error_;
    }

    ScriptCommandRegistry commands_;
    std::string error_;
};

TEST_F(ScriptTest, CommentsBlankLinesAndCarriageReturnsAreSkipped) {
    const auto script = parse(
        "# set-up\n"
        "\n"
        "   \t\n"
        "wait 3   # let it settle\r\n"
        "  click 10 20 right\r\n"
        "#quit\n"
        "dump scene out#1.json # a hash inside a word is kept\n"
        "quit");
    ASSERT_TRUE(script) << error_;
    std::vector<int> lines;
    for (const auto& step : script->steps)
        lines.push_back(step.line);
    EXPECT_EQ(lines, (std::vector<int>{4, 5, 7, 8}));
    EXPECT_EQ(script->name, "test.txt");
}

TEST_F(ScriptTest, EveryBasicCommandParses) {
    const auto script = parse(
        "wait 0\nwait 10\nmove 1.5 -3\npress 1 2\npress 1 2 middle\nrelease 1 2 right\nclick 512 384 left\n"
        "key F5\nkey escape\nkey Left Shift\nkey w\ntext hello world\ndump scene out/scene.json\nquit\n");
    ASSERT_TRUE(script) << error_;
    EXPECT_EQ(script->steps.size(), 14u);
}

TEST_F(ScriptTest, UnknownCommandsAndBadArgumentsNameTheLineAndTheProblem) {
    EXPECT_EQ(errorOf("dump sceen a.json"), "test.txt:1: unknown command 'dump sceen'");
    EXPECT_EQ(errorOf("dump"), "test.txt:1: unknown command 'dump'");
    EXPECT_EQ(errorOf("Quit"), "test.txt:1: unknown command 'Quit'");
    EXPECT_EQ(errorOf("wait"), "test.txt:1: wait: missing frame count");
    EXPECT_EQ(errorOf("wait -1"), "test.txt:1: wait: frame count must be a whole number, not '-1'");
    EXPECT_EQ(errorOf("wait 2.5"), "test.txt:1: wait: frame count must be a whole number, not '2.5'");
    EXPECT_EQ(errorOf("move 10"), "test.txt:1: move: missing Y");
    EXPECT_EQ(errorOf("move ten 10"), "test.txt:1: move: X must be a number, not 'ten'");
    EXPECT_EQ(errorOf("move 1 nan"), "test.txt:1: move: Y must be a number, not 'nan'");
    EXPECT_EQ(errorOf("move 1 2 3"), "test.txt:1: move: unexpected argument '3'");
    EXPECT_EQ(errorOf("click 1 2 left extra"), "test.txt:1: click: unexpected argument 'extra'");
    EXPECT_EQ(errorOf("press 1 2 up"), "test.txt:1: press: unknown button 'up' (left, right or middle)");
    EXPECT_EQ(errorOf("key"), "test.txt:1: key: missing key name");
    EXPECT_EQ(errorOf("key NoSuchKey"), "test.txt:1: key: unknown key name 'NoSuchKey'");
    EXPECT_EQ(errorOf("text   # nothing to type"), "test.txt:1: text: missing text");
    EXPECT_EQ(errorOf("dump scene"), "test.txt:1: dump scene: missing file name");
    EXPECT_EQ(errorOf("quit now"), "test.txt:1: quit: unexpected argument 'now'");
    // The first bad line is reported, after good ones.
    EXPECT_EQ(errorOf("wait 1\nquit\nmove 1\nbogus\n"), "test.txt:3: move: missing Y");
}

}  // namespace
}  // namespace moonbrook

#include <gtest/gtest.h>

#include <utility>

#include "app/BoardScriptCommands.h"
#include "app/Script.h"

namespace moonbrook {
namespace {

class BoardScriptCommandsTest : public ::testing::Test {
protected:
    BoardScriptCommandsTest() { addBoardScriptCommands(commands_); }

    std::optional<Script> parse(std::string_view text) {
        error_.clear();
        return Script::parse(text, "board.txt", commands_, error_);
    }

    ScriptCommandRegistry commands_;
    std::string error_;
};

TEST_F(BoardScriptCommandsTest, EveryBoardCommandParses) {
    const auto script = parse(
        "click-cell 0 0\nclick-cell 19 12\ndrag-cell 3 4 1 0\ndrag-cell 3 4 0 -1\ndrag-cell 3 4 -2 0\n"
        "wait-idle\nwait-idle 600\ndump board out/board.json\n");
    ASSERT_TRUE(script) << error_;
    EXPECT_EQ(script->steps.size(), 8u);
}

TEST_F(BoardScriptCommandsTest, BadArgumentsNameTheLineAndTheProblem) {
    const std::pair<const char*, const char*> cases[] = {
        {"click-cell 3", "board.txt:1: click-cell: missing CY"},
        {"click-cell 20 0", "board.txt:1: click-cell: CX must be a whole number from 0 to 19, not '20'"},
        {"click-cell 0 13", "board.txt:1: click-cell: CY must be a whole number from 0 to 12, not '13'"},
        {"click-cell -1 0", "board.txt:1: click-cell: CX must be a whole number from 0 to 19, not '-1'"},
        {"click-cell 1.5 0", "board.txt:1: click-cell: CX must be a whole number from 0 to 19, not '1.5'"},
        {"click-cell 1 2 3", "board.txt:1: click-cell: unexpected argument '3'"},
        {"drag-cell 1 2 1", "board.txt:1: drag-cell: missing DY"},
        {"drag-cell 1 2 x 0", "board.txt:1: drag-cell: DX must be a whole number from -20 to 20, not 'x'"},
        {"wait-idle -5", "board.txt:1: wait-idle: MAX must be a whole number, not '-5'"},
        {"wait-idle 5 6", "board.txt:1: wait-idle: unexpected argument '6'"},
        {"dump board", "board.txt:1: dump board: missing file name"},
    };
    for (const auto& [line, error] : cases) {
        EXPECT_FALSE(parse(line)) << line;
        EXPECT_EQ(error_, error);
    }
}

}  // namespace
}  // namespace moonbrook

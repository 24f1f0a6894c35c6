#include <gtest/gtest.h>

#include "app/BoardScriptCommands.h"
#include "app/Script.h"

namespace moonbrook {
namespace {

struct BadLine {
    const char* line;
    const char* error;
};

class BoardScriptCommandsTest : public ::testing::TestWithParam<BadLine> {
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

TEST_P(BoardScriptCommandsTest, BadArgumentsNameTheLineAndTheProblem) {
    EXPECT_FALSE(parse(GetParam().line));
    EXPECT_EQ(error_, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BoardScriptCommandsTest,
    ::testing::Values(BadLine{"click-cell 3", "board.txt:1: click-cell: missing CY"},
                      BadLine{"click-cell 20 0",
                              "board.txt:1: click-cell: CX must be a whole number from 0 to 19, not '20'"},
                      BadLine{"click-cell 0 13",
                              "board.txt:1: click-cell: CY must be a whole number from 0 to 12, not '13'"},
                      BadLine{"click-cell -1 0",
                              "board.txt:1: click-cell: CX must be a whole number from 0 to 19, not '-1'"},
                      BadLine{"click-cell 1.5 0",
                              "board.txt:1: click-cell: CX must be a whole number from 0 to 19, not '1.5'"},
                      BadLine{"click-cell 1 2 3", "board.txt:1: click-cell: unexpected argument '3'"},
                      BadLine{"drag-cell 1 2 1", "board.txt:1: drag-cell: missing DY"},
                      BadLine{"drag-cell 1 2 x 0",
                              "board.txt:1: drag-cell: DX must be a whole number from -20 to 20, not 'x'"},
                      BadLine{"wait-idle -5", "board.txt:1: wait-idle: MAX must be a whole number, not '-5'"},
                      BadLine{"wait-idle 5 6", "board.txt:1: wait-idle: unexpected argument '6'"},
                      BadLine{"dump board", "board.txt:1: dump board: missing file name"}));

}  // namespace
}  // namespace moonbrook

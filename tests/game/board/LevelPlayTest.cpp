#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/KTFormat.h"
#include "game/board/Ball.h"
#include "game/board/Cell.h"
#include "tests/game/board/BoardTest.h"

namespace moonbrook::test {
namespace {

constexpr int kEpisodeLevelCount = 48;
// Turns played on each level, each checked for a field left playable.
constexpr int kTurns = 3;

// Cells where the board itself would find a line to remove.
std::vector<std::string> cellsInLines(const Board& board) {
    std::vector<std::string> found;
    for (int y = 0; y < static_cast<int>(kSizeY); ++y) {
        for (int x = 0; x < static_cast<int>(kSizeX); ++x) {
            const CellRef cell = board.cellAt(x, y);
            if (cell && !board.checkLineAtCell(*cell).empty()) found.push_back(kt::KTFormat("%i,%i", x, y));
        }
    }
    return found;
}

// Cells that should hold a ball on a settled board but do not: every crate-free cell with an emitter
// somewhere above it in its column.
std::vector<std::string> emptyCellsBelowEmitters(const Board& board) {
    std::vector<std::string> empty;
    for (int x = 0; x < static_cast<int>(kSizeX); ++x) {
        bool fed = false;
        for (int y = 0; y < static_cast<int>(kSizeY); ++y) {
            const CellRef entry = board.gridEntryAt(x, y);
            if (entry && entry->emitter()) fed = true;
            const CellRef cell = board.cellAt(x, y);
            if (fed && cell && !cell->crate() && (!cell->ball() || cell->ball()->type() == u'0'))
                empty.push_back(kt::KTFormat("%i,%i", x, y));
        }
    }
    return empty;
}

// Every level of the four episodes, and the challenge level.
std::vector<std::string> shippedLevels() {
    std::vector<std::string> names;
    for (int number = 1; number <= kEpisodeLevelCount; ++number)
        names.push_back(kt::KTFormat("%03i", number));
    names.emplace_back("spooky_challenge");
    return names;
}

class LevelPlayTest : public BoardTest, public ::testing::WithParamInterface<std::string> {
protected:
    void startLevel(const std::string& name) {
        board = Board::boardWithLevel(name);
        holder->addChild(board);
        board->reset();
    }

    // A settled board is one a player can go on with: nothing left to match, every fed cell filled.
    // A won board stops, with its last gaps left open.
    void expectPlayable(const std::string& when) {
        EXPECT_EQ(cellsInLines(*board), std::vector<std::string>{}) << when << picture();
        if (!board->pause()) {
            EXPECT_EQ(emptyCellsBelowEmitters(*board), std::vector<std::string>{}) << when << picture();
        }
    }

    // The field's rows, for failure messages.
    std::string picture() const {
        std::string text = "\n";
        for (const std::string& row : rows(0, static_cast<int>(kSizeY) - 1))
            text += "|" + row + "\n";
        return text;
    }

    // A turn on plates first, so that the play heads for the win.
    static Turn pickTurn(const std::vector<Turn>& turns) {
        for (const Turn& turn : turns) {
            if (turn.cell->plates() > 0 || turn.neighbour->plates() > 0) return turn;
        }
        return turns.front();
    }
};

TEST_P(LevelPlayTest, LevelLoadsSettlesAndStaysPlayableThroughItsFirstTurns) {
    const std::string& name = GetParam();
    startLevel(name);
    ASSERT_GT(board->plates() + board->tokensCount(), 0u) << name << " has no cells or nothing to do";
    ASSERT_TRUE(settle()) << name;
    expectPlayable(name);
    EXPECT_FALSE(board->findAllTurns().empty()) << name << picture();
    // Later fields may run out of moves, which the game answers with its notice and powerups.
    for (int turn = 1; turn <= kTurns && !board->pause(); ++turn) {
        const std::vector<Turn> turns = board->findAllTurns();
        if (turns.empty()) break;
        const Turn played = pickTurn(turns);
        board->setSelected(played.neighbour);
        board->startSwapWith(played.cell);
        ASSERT_TRUE(settle()) << name << " turn " << turn;
        expectPlayable(name + " after turn " + std::to_string(turn));
    }
}

INSTANTIATE_TEST_SUITE_P(ShippedLevels, LevelPlayTest, ::testing::ValuesIn(shippedLevels()));

}  // namespace
}  // namespace moonbrook::test

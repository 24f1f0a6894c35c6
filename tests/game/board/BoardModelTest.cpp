// The field built from a level: cells, plates, emitters, preplaced balls, crates, locks, frame and counters.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/board/Ball.h"
#include "game/board/Board.h"
#include "game/board/Cell.h"
#include "tests/game/board/BoardTest.h"

namespace moonbrook::test {
namespace {

class BoardModelTest : public BoardTest {};

TEST_F(BoardModelTest, BuildsCellsAndPreplacedBallsFromTheLayers) {
    Layers layers;
    layers.map = {"111", "101", "111"};
    layers.balls = {"abc", "cdb", "eab"};
    makeBoard(layers);
    EXPECT_EQ(rows(0, 2), (std::vector<std::string>{"abc", "c b", "eab"}));
    EXPECT_TRUE(settle());
    EXPECT_EQ(rows(0, 2), (std::vector<std::string>{"abc", "c b", "eab"}));
}

}  // namespace
}  // namespace moonbrook::test

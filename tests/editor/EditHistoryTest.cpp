#include <gtest/gtest.h>

#include "editor/EditHistory.h"
#include "editor/LevelSet.h"

namespace moonbrook {
namespace {

TEST(EditHistoryTest, KeepsTheLastFiftyChangesAndForgetsRedoOnANewChange) {
    EditHistory history;
    for (int change = 0; change < 60; ++change)
        history.recordChange(change);
    int current = 60;
    while (const std::optional<kt::KTPlist> previous = history.undo(current))
        current = static_cast<int>(previous->intValue());
    EXPECT_EQ(current, 10);
    EXPECT_EQ(history.redoCount(), 50u);

    EXPECT_EQ(history.redo(current)->intValue(), 11);
    history.recordChange(11);
    EXPECT_EQ(history.redoCount(), 0u);
    EXPECT_FALSE(history.redo(12));
    EXPECT_EQ(history.undo(12)->intValue(), 11);
    EXPECT_EQ(history.undo(11)->intValue(), 10);
}

TEST(LevelSetTest, MovesALevelWithinTheEndsAndIgnoresLevelsOutsideTheSet) {
    LevelSet set(kt::KTPlist(kt::KTPlist::Array{"001", "002", "003"}));
    EXPECT_EQ(set.move("001", -1), 0);
    EXPECT_EQ(set.move("002", 5), 2);
    EXPECT_EQ(set.levelAt(1), "003");
    EXPECT_EQ(set.levelAt(2), "002");
    EXPECT_EQ(set.clampedIndex("001", -3), 0);
    EXPECT_FALSE(set.move("999", 1));
}

}  // namespace
}  // namespace moonbrook

#include <gtest/gtest.h>

#include <vector>

#include "engine/core/KTArray.h"
#include "engine/core/KTBoard.h"
#include "engine/core/KTButtonName.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTGeometry.h"
#include "engine/core/KTRandom.h"

namespace kt {
namespace {

class RandomTest : public ::testing::Test {
protected:
    void SetUp() override { KTRandom::shared().seed(1); }
};

TEST_F(RandomTest, TheGeneratorStartsWithTheClassicSequenceFromSeedOne) {
    const std::vector<int> expected{41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
    std::vector<int> seen;
    for (std::size_t i = 0; i < expected.size(); ++i)
        seen.push_back(KTRandom::shared().next());
    EXPECT_EQ(seen, expected);
}

TEST_F(RandomTest, HelpersStayInsideTheirBounds) {
    EXPECT_EQ(randi(3, 3), 3);
    for (int i = 0; i < 1000; ++i) {
        const int r = randi(-2, 5);
        EXPECT_GE(r, -2);
        EXPECT_LE(r, 5);
        const float f = randf(1, 2);
        EXPECT_GE(f, 1);
        EXPECT_LE(f, 2);
    }
}

TEST_F(RandomTest, ShuffleKeepsTheElementsAndLeavesOneAlone) {
    std::vector<int> one{7};
    ShuffleArray(one);
    EXPECT_EQ(one, std::vector<int>{7});
    EXPECT_EQ(KTRandom::shared().next(), 41) << "a single element draws nothing";

    std::vector<int> many{1, 2, 3, 4, 5, 6};
    ShuffleArray(many);
    std::vector<int> sorted = many;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<int>{1, 2, 3, 4, 5, 6}));
}

struct Item {
    int id;
};

TEST(ArrayTest, RemovingAnObjectStoredTwiceRemovesBothAndKeepsTheOrder) {
    KTArray<Item> array;
    auto a = std::make_shared<Item>(Item{1});
    auto b = std::make_shared<Item>(Item{2});
    auto c = std::make_shared<Item>(Item{3});
    array.addObject(a);
    array.addObject(b);
    array.addObject(c);
    array.addObject(b);
    array.removeObject(b.get());
    ASSERT_EQ(array.count(), 2u);
    EXPECT_EQ(array.objectAtIndex(0), a);
    EXPECT_EQ(array.objectAtIndex(1), c);
    EXPECT_EQ(array.objectAtIndex(2), nullptr);
    EXPECT_EQ(array.indexOfObject(b.get()), 0x7FFFFFFFu);
    array.replaceObjectAtIndex(5, b);
    array.replaceObjectAtIndex(1, b);
    EXPECT_EQ(array.lastObject(), b);
}

TEST(BoardTest, CellsOutsideTheGridAreEmptyAndIgnoreWrites) {
    KTBoard<Item> board(3, 2);
    auto item = std::make_shared<Item>(Item{9});
    board.setObject(item, 2, 1);
    board.setObject(item, 3, 0);
    board.setObject(item, -1, 0);
    EXPECT_EQ(board.objectAt(2, 1), item);
    EXPECT_EQ(board.objectAt(KTPositionMake(2, 1)), item);
    EXPECT_EQ(board.objectAt(3, 0), nullptr);
    EXPECT_EQ(board.objectAt(0, 2), nullptr);
    EXPECT_EQ(item.use_count(), 2);
}

TEST(GeometryTest, NormalizingTheZeroVectorKeepsItZero) {
    EXPECT_EQ(CGPointNormalize(CGPointZero), CGPointZero);
}

TEST(FormatTest, PlaceholdersFormatLikePrintf) {
    const std::pair<std::string, const char*> formatted[] = {
        {KTFormat("data/levels/%@.xml", "level_01"), "data/levels/level_01.xml"},
        {KTFormat("%i of %d", 3, 7u), "3 of 7"},
        {KTFormat("%@ %@", 2.5, 7), "2.5 7"},
        {KTFormat("100%%"), "100%"},
        {KTFormat("%@ and %@", "one"), "one and "},
        {KTFormat("%u", kbF5), "1073741886"},
        {KTFormat("trailing %"), "trailing %"}};
    for (const auto& [produced, expected] : formatted)
        EXPECT_EQ(produced, expected);
}

}  // namespace
}  // namespace kt

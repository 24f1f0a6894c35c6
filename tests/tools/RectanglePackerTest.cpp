#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "engine/core/KTRandom.h"
#include "tools/content/RectanglePacker.h"

namespace moonbrook::tools {
namespace {

bool overlapWithPadding(const PackedRectangle& a, const PackedRectangle& b, int padding) {
    return a.x < b.x + b.width + padding && b.x < a.x + a.width + padding && a.y < b.y + b.height + padding &&
           b.y < a.y + a.height + padding;
}

struct PackCase {
    const char* name;
    std::vector<PackSize> sizes;
};

void PrintTo(const PackCase& packCase, std::ostream* out) {
    *out << packCase.name;
}

std::vector<PackSize> randomSizes(int count, int maxSide) {
    std::vector<PackSize> sizes;
    for (int i = 0; i < count; ++i)
        sizes.push_back({1 + kt::randi(0, maxSide - 1), 1 + kt::randi(0, maxSide - 1)});
    return sizes;
}

class RectanglePackerTest : public ::testing::TestWithParam<PackCase> {};

TEST_P(RectanglePackerTest, KeepsEveryRectangleWholeInsideThePageAndApartFromTheOthers) {
    constexpr int padding = 2;
    const std::vector<PackSize>& sizes = GetParam().sizes;
    const auto page = packRectangles(sizes, padding);
    ASSERT_TRUE(page);
    ASSERT_EQ(page->rectangles.size(), sizes.size());
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const PackedRectangle& rect = page->rectangles[i];
        EXPECT_EQ(rect.width, sizes[i].width);
        EXPECT_EQ(rect.height, sizes[i].height);
        EXPECT_GE(rect.x, padding);
        EXPECT_GE(rect.y, padding);
        EXPECT_LE(rect.x + rect.width + padding, page->width);
        EXPECT_LE(rect.y + rect.height + padding, page->height);
        for (std::size_t j = i + 1; j < sizes.size(); ++j) {
            EXPECT_FALSE(overlapWithPadding(rect, page->rectangles[j], padding)) << i << " and " << j;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Layouts, RectanglePackerTest,
                         ::testing::Values(PackCase{"nothing", {}}, PackCase{"one_cell", {{46, 46}}},
                                           PackCase{"a_board_of_cells", std::vector<PackSize>(40, {46, 46})},
                                           PackCase{"strips_and_dots",
                                                    {{300, 3}, {3, 300}, {1, 1}, {1, 1}, {120, 40}}},
                                           PackCase{"glyph_like", randomSizes(200, 30)},
                                           PackCase{"mixed_pictures", randomSizes(60, 140)}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(RectanglePacker, PrefersTheSmallestPageThatHoldsEverythingWithinTheLargest) {
    const auto pair = packRectangles(std::vector<PackSize>(2, {20, 20}), 2);
    ASSERT_TRUE(pair);
    EXPECT_EQ(pair->width, 64);
    EXPECT_EQ(pair->height, 32);
    const auto four = packRectangles(std::vector<PackSize>(4, {20, 20}), 2);
    ASSERT_TRUE(four);
    EXPECT_EQ(four->width, 64);
    EXPECT_EQ(four->height, 64);
    // Nothing that cannot fit the largest page is packed.
    EXPECT_FALSE(packRectangles({{100, 100}}, 2, 64));
    EXPECT_FALSE(packRectangles(std::vector<PackSize>(5, {30, 30}), 2, 64));
}

}  // namespace
}  // namespace moonbrook::tools

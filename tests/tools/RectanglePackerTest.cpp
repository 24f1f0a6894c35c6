#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "engine/core/KTRandom.h"
#include "tools/content/RectanglePacker.h"

namespace moonbrook::tools {
namespace {

bool overlapWithPadding(const PackedRectangle& a, const PackedRectangle& b, int padding) {
    return a.x < b.x + b.width + padding && b.x < a.x + a.width + padding && a.y < b.y + b.height + padding &&
           b.y < a.y + a.height + padding;
}

std::vector<PackSize> randomSizes(int count, int maxSide) {
    std::vector<PackSize> sizes;
    for (int i = 0; i < count; ++i)
        sizes.push_back({1 + kt::randi(0, maxSide - 1), 1 + kt::randi(0, maxSide - 1)});
    return sizes;
}

TEST(RectanglePacker, KeepsEveryRectangleWholeInsideThePageAndApartFromTheOthers) {
    constexpr int padding = 2;
    const std::pair<const char*, std::vector<PackSize>> layouts[] = {
        {"nothing", {}},
        {"one cell", {{46, 46}}},
        {"a board of cells", std::vector<PackSize>(40, {46, 46})},
        {"strips and dots", {{300, 3}, {3, 300}, {1, 1}, {1, 1}, {120, 40}}},
        {"glyph-like", randomSizes(200, 30)},
        {"mixed pictures", randomSizes(60, 140)}};
    for (const auto& [layout, sizes] : layouts) {
        SCOPED_TRACE(layout);
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
}

TEST(RectanglePacker, PrefersTheSmallestPageThatHoldsEverythingWithinTheLargest) {
    const auto pair = packRectangles(std::vector<PackSize>(2, {20, 20}), 2);
    ASSERT_TRUE(pair);
    EXPECT_EQ(std::pair(pair->width, pair->height), std::pair(64, 32));
    const auto four = packRectangles(std::vector<PackSize>(4, {20, 20}), 2);
    ASSERT_TRUE(four);
    EXPECT_EQ(std::pair(four->width, four->height), std::pair(64, 64));
    // Nothing that cannot fit the largest page is packed.
    EXPECT_FALSE(packRectangles({{100, 100}}, 2, 64));
    EXPECT_FALSE(packRectangles(std::vector<PackSize>(5, {30, 30}), 2, 64));
}

}  // namespace
}  // namespace moonbrook::tools

#include <gtest/gtest.h>

#include "tools/soak/MemoryCurve.h"

namespace moonbrook::soak {
namespace {

// One sample a minute with the memory given in kilobytes.
MemoryCurve curve(const std::vector<std::int64_t>& kilobytes, std::size_t warmFrom) {
    MemoryCurve memory;
    for (std::size_t i = 0; i < kilobytes.size(); ++i) {
        if (i == warmFrom) memory.markWarm();
        memory.add({60.0 * static_cast<double>(i), 1000 * i, static_cast<int>(i), kilobytes[i]});
    }
    return memory;
}

TEST(MemoryCurveTest, GrowthIsTheSlopeOfTheWarmSamplesOnly) {
    // The first level fills the caches (40 MB); after it the memory grows 100 kB a minute, around a
    // zigzag of the allocator's own.
    const MemoryCurve memory = curve({10000, 50000, 50100, 50250, 50300, 50450, 50500}, 1);
    ASSERT_TRUE(memory.warmGrowthPerTenMinutes());
    EXPECT_NEAR(*memory.warmGrowthPerTenMinutes(), 1000, 30);
    EXPECT_EQ(memory.warmStart()->kilobytes, 50000);

    // A later mark does not move the start of the warm part.
    MemoryCurve marked = curve({10000, 50000, 50000}, 1);
    marked.markWarm();
    EXPECT_EQ(marked.warmStart()->seconds, 60);
    EXPECT_NEAR(*marked.warmGrowthPerTenMinutes(), 0, 1e-9);

    // No growth is judged before two warm samples.
    EXPECT_FALSE(curve({10000, 50000, 60000}, 3).warmGrowthPerTenMinutes());
    EXPECT_FALSE(curve({10000, 50000, 60000}, 2).warmGrowthPerTenMinutes());
    EXPECT_FALSE(curve({10000, 50000}, 5).warmStart());
}

TEST(MemoryCurveTest, OutlineSpansTheRunAndCsvLinesHoldEveryFigure) {
    const MemoryCurve memory = curve({1024, 2048, 3072, 4096, 5120}, 1);
    EXPECT_EQ(memory.outline(3), "0.0: 1.0, 2.0: 3.0, 4.0: 5.0");
    EXPECT_EQ(memory.outline(10), "0.0: 1.0, 1.0: 2.0, 2.0: 3.0, 3.0: 4.0, 4.0: 5.0");
    EXPECT_EQ(MemoryCurve::csvLine(memory.samples()[1]), "60.0,1000,1,2048\n");
}

TEST(MemoryCurveTest, ResidentMemoryOfThisProcessIsRead) {
    const auto before = residentKilobytes();
    ASSERT_TRUE(before);
    EXPECT_GT(*before, 0);
}

}  // namespace
}  // namespace moonbrook::soak

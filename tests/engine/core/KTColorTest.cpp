#include <gtest/gtest.h>

#include <cstdint>

#include "engine/core/KTColor.h"

namespace kt {
namespace {

TEST(ColorTest, TextsAreReadAsHexadecimalChannels) {
    const std::pair<const char*, std::uint32_t> texts[] = {
        {"FF8000", 0xFFFF8000}, {"abc", 0xFFFFFFFF},     {"", 0xFFFFFFFF},
        {"zz00zz", 0xFF000000}, {"1020304", 0xFF102030},
    };
    for (const auto& [text, expected] : texts)
        EXPECT_EQ(KTMakeColorFromCString(text).rep, expected) << text;
}

TEST(ColorTest, RgbaSwapExchangesRedAndBlue) {
    EXPECT_EQ(KTColorRGBA(Color{0x11223344}), 0x11443322u);
    std::uint32_t pixels[2] = {0xFF0000FF, 0x80123456};
    KTConvertARGB2RGBA(pixels, 2);
    EXPECT_EQ(pixels[0], 0xFFFF0000u);
    EXPECT_EQ(pixels[1], 0x80563412u);
}

TEST(ColorTest, MultiplyingByWhiteKeepsTheColourAndByZeroClears) {
    EXPECT_EQ(KTMultColors(Color{0x80FF4020}, kColorWhite).rep, 0x80FF4020u);
    EXPECT_EQ(KTMultColors(Color{0x80FF4020}, Color{0}).rep, 0u);
    // 0x80/255 * 0x80/255 = 0.2519..., times 255 truncates to 64.
    EXPECT_EQ(KTMultColors(Color{0x80808080}, Color{0x80808080}).rep, 0x40404040u);
}

TEST(ColorTest, LerpTruncatesAndSaturatesAboveOne) {
    EXPECT_EQ(KTLerpColor(Color{0x00000000}, Color{0xFFFFFFFF}, 0.5f).rep, 0x7F7F7F7Fu);
    EXPECT_EQ(KTLerpColor(Color{0x00000000}, Color{0xFFFFFFFF}, 1.5f).rep, 0xFFFFFFFFu);
}

}  // namespace
}  // namespace kt

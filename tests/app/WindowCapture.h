#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace moonbrook::test {

struct Pixel {
    int r = 0;
    int g = 0;
    int b = 0;
};

// Each channel within the tolerance.
bool near(Pixel pixel, Pixel wanted, int tolerance);

// Rows of R, G, B bytes, top row first.
struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    Pixel at(int x, int y) const;
    // Mean of each channel over the pixels whose centres lie in the rectangle.
    std::array<double, 3> average(double left, double top, double right, double bottom) const;
};

std::optional<RgbImage> readPng(const std::filesystem::path& path);

// Where the logical 1024 x 768 screen lies in a picture of that size: centred, scaled uniformly.
struct LogicalArea {
    double left = 0;
    double top = 0;
    double scale = 1;

    static LogicalArea in(int width, int height);
    double toPixelX(double logicalX) const { return left + logicalX * scale; }
    double toPixelY(double logicalY) const { return top + logicalY * scale; }
};

// The logical screen is cut into 32 x 32 blocks and each block's mean colour compared; a block differs when a
// channel's mean is off by more than the tolerance. Animations keep a few blocks apart between two moments.
struct Comparison {
    int blocks = 0;
    int differing = 0;
};
Comparison compareLogicalScreens(const RgbImage& shown, const LogicalArea& area, const RgbImage& logical);
// The brightest channel mean of the margins around the logical screen; 0 when there are none.
double brightestMargin(const RgbImage& shown, const LogicalArea& area);

}  // namespace moonbrook::test

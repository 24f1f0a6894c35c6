#include "tests/app/WindowCapture.h"

#include <stb/stb_image.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace moonbrook::test {
namespace {

constexpr double kLogicalWidth = 1024;
constexpr double kLogicalHeight = 768;
constexpr int kBlock = 32;
constexpr double kTolerance = 24;
// Margins narrower than this are edge rounding, not bars.
constexpr double kMinimumMargin = 4;

}  // namespace

bool near(Pixel pixel, Pixel wanted, int tolerance) {
    return std::abs(pixel.r - wanted.r) <= tolerance && std::abs(pixel.g - wanted.g) <= tolerance &&
           std::abs(pixel.b - wanted.b) <= tolerance;
}

Pixel RgbImage::at(int x, int y) const {
    const auto at =
        (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 3;
    return {rgb[at], rgb[at + 1], rgb[at + 2]};
}

std::array<double, 3> RgbImage::average(double left, double top, double right, double bottom) const {
    const int x0 = std::clamp(static_cast<int>(std::ceil(left - 0.5)), 0, width);
    const int x1 = std::clamp(static_cast<int>(std::ceil(right - 0.5)), 0, width);
    const int y0 = std::clamp(static_cast<int>(std::ceil(top - 0.5)), 0, height);
    const int y1 = std::clamp(static_cast<int>(std::ceil(bottom - 0.5)), 0, height);
    std::array<double, 3> sum{};
    for (int y = y0; y < y1; ++y) {
        for (int x = x0; x < x1; ++x) {
            const Pixel pixel = at(x, y);
            sum[0] += pixel.r;
            sum[1] += pixel.g;
            sum[2] += pixel.b;
        }
    }
    const double count = std::max(1, (x1 - x0) * (y1 - y0));
    for (double& channel : sum)
        channel /= count;
    return sum;
}

std::optional<RgbImage> readPng(const std::filesystem::path& path) {
    int width = 0, height = 0, channels = 0;
    const std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load(path.c_str(), &width, &height, &channels, STBI_rgb), stbi_image_free);
    if (!pixels) return std::nullopt;
    RgbImage image{width, height, {}};
    image.rgb.assign(pixels.get(), pixels.get() + static_cast<std::ptrdiff_t>(width) * height * 3);
    return image;
}

LogicalArea LogicalArea::in(int width, int height) {
    const double scale = std::min(width / kLogicalWidth, height / kLogicalHeight);
    return {(width - kLogicalWidth * scale) / 2, (height - kLogicalHeight * scale) / 2, scale};
}

Comparison compareLogicalScreens(const RgbImage& shown, const LogicalArea& area, const RgbImage& logical) {
    const LogicalArea same = LogicalArea::in(logical.width, logical.height);
    Comparison result;
    for (int top = 0; top < kLogicalHeight; top += kBlock) {
        for (int left = 0; left < kLogicalWidth; left += kBlock) {
            const auto a = shown.average(area.toPixelX(left), area.toPixelY(top),
                                         area.toPixelX(left + kBlock), area.toPixelY(top + kBlock));
            const auto b = logical.average(same.toPixelX(left), same.toPixelY(top),
                                           same.toPixelX(left + kBlock), same.toPixelY(top + kBlock));
            ++result.blocks;
            for (std::size_t channel = 0; channel < 3; ++channel) {
                if (std::fabs(a[channel] - b[channel]) > kTolerance) {
                    ++result.differing;
                    break;
                }
            }
        }
    }
    return result;
}

double brightestMargin(const RgbImage& shown, const LogicalArea& area) {
    const double right = area.toPixelX(kLogicalWidth);
    const double bottom = area.toPixelY(kLogicalHeight);
    std::vector<std::array<double, 3>> margins;
    if (area.left >= kMinimumMargin) {
        margins.push_back(shown.average(0, 0, area.left - 1, shown.height));
        margins.push_back(shown.average(right + 1, 0, shown.width, shown.height));
    }
    if (area.top >= kMinimumMargin) {
        margins.push_back(shown.average(0, 0, shown.width, area.top - 1));
        margins.push_back(shown.average(0, bottom + 1, shown.width, shown.height));
    }
    double brightest = 0;
    for (const auto& margin : margins)
        brightest = std::max({brightest, margin[0], margin[1], margin[2]});
    return brightest;
}

}  // namespace moonbrook::test

#include "tests/app/WindowCapture.h"

#include <stb/stb_image.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

namespace moonbrook::test {
namespace {

constexpr double kLogicalWidth = 1024;
constexpr double kLogicalHeight = 768;
constexpr int kBlock = 32;
constexpr double kTolerance = 24;
// Margins narrower than this are edge rounding, not bars.
constexpr double kMinimumMargin = 4;

struct PipeCloser {
    void operator()(FILE* pipe) const { pclose(pipe); }
};

// The next number of a binary PPM header, skipping white space and comments.
std::optional<int> headerNumber(FILE* file) {
    int c = std::fgetc(file);
    while (c == '#' || std::isspace(c)) {
        if (c == '#') {
            while (c != '\n' && c != EOF) c = std::fgetc(file);
        }
        c = std::fgetc(file);
    }
    int value = 0;
    bool digits = false;
    while (std::isdigit(c)) {
        value = value * 10 + (c - '0');
        digits = true;
        c = std::fgetc(file);
    }
    return digits ? std::optional<int>(value) : std::nullopt;
}

// xwdtopnm writes 16 bits a sample for some visuals; the high byte is kept.
std::optional<RgbImage> readPpm(FILE* file) {
    if (std::fgetc(file) != 'P' || std::fgetc(file) != '6') return std::nullopt;
    const std::optional<int> width = headerNumber(file);
    const std::optional<int> height = headerNumber(file);
    const std::optional<int> maximum = headerNumber(file);
    if (!width || !height || (maximum != 255 && maximum != 65535) || *width <= 0 || *height <= 0)
        return std::nullopt;
    const std::size_t sampleBytes = maximum == 255 ? 1 : 2;
    RgbImage image{*width, *height, {}};
    image.rgb.resize(static_cast<std::size_t>(*width) * static_cast<std::size_t>(*height) * 3);
    std::vector<std::uint8_t> samples(image.rgb.size() * sampleBytes);
    if (std::fread(samples.data(), 1, samples.size(), file) != samples.size()) return std::nullopt;
    for (std::size_t i = 0; i < image.rgb.size(); ++i) image.rgb[i] = samples[i * sampleBytes];
    return image;
}

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
            const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                                    static_cast<std::size_t>(x)) * 3;
            for (std::size_t channel = 0; channel < 3; ++channel) sum[channel] += rgb[at + channel];
        }
    }
    const double count = std::max(1, (x1 - x0) * (y1 - y0));
    for (double& channel : sum) channel /= count;
    return sum;
}

// Read from the root window, not the program's: xwd mixes up the colours of a window with a DirectColor
// visual, which is what SDL picks for OpenGL under Xvfb.
std::optional<RgbImage> captureScreenArea(int left, int top, int width, int height) {
    const std::unique_ptr<FILE, PipeCloser> pipe(popen("xwd -silent -root | xwdtopnm 2>/dev/null", "r"));
    if (!pipe) return std::nullopt;
    const std::optional<RgbImage> screen = readPpm(pipe.get());
    if (!screen || left < 0 || top < 0 || width <= 0 || height <= 0 || left + width > screen->width ||
        top + height > screen->height)
        return std::nullopt;
    RgbImage area{width, height, {}};
    const auto rowBytes = static_cast<std::size_t>(width) * 3;
    area.rgb.resize(rowBytes * static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        const auto from = (static_cast<std::size_t>(top + y) * static_cast<std::size_t>(screen->width) +
                           static_cast<std::size_t>(left)) * 3;
        std::copy_n(screen->rgb.begin() + static_cast<std::ptrdiff_t>(from), rowBytes,
                    area.rgb.begin() + static_cast<std::ptrdiff_t>(rowBytes * static_cast<std::size_t>(y)));
    }
    return area;
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
            const auto a = shown.average(area.toPixelX(left), area.toPixelY(top), area.toPixelX(left + kBlock),
                                         area.toPixelY(top + kBlock));
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
    for (const auto& margin : margins) brightest = std::max({brightest, margin[0], margin[1], margin[2]});
    return brightest;
}

}  // namespace moonbrook::test

#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace moonbrook::tools {

// A picture in memory, 4 bytes per pixel (R, G, B, A), top row first, as the content tools read and write it.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    RgbaImage() = default;
    RgbaImage(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h * 4, 0) {}

    // None when the file is missing or no image stb_image can decode.
    static std::optional<RgbaImage> load(const std::string& path);
    bool savePng(const std::string& path) const;

    std::uint8_t* pixel(int x, int y) {
        return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    }
    const std::uint8_t* pixel(int x, int y) const {
        return pixels.data() + (static_cast<std::size_t>(y) * width + x) * 4;
    }
    // Copies the whole source with its top left corner at (x, y); parts outside this image are clipped.
    void copyFrom(const RgbaImage& source, int x, int y);
};

}  // namespace moonbrook::tools

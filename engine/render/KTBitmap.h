#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "engine/core/KTGeometry.h"

namespace kt {

enum class BitmapFormat { rgb = 0, rgba = 1, argb = 2 };

// A decoded image in memory: rows top first without padding. Files are always decoded to R, G, B, A.
class KTBitmap {
public:
    KTBitmap() = default;
    // An unreadable or undecodable file leaves the bitmap empty.
    static KTBitmap fromFile(const std::string& path);
    static KTBitmap fromPixels(int width, int height, BitmapFormat format, std::vector<std::uint8_t> data);

    bool empty() const { return bytes_ == 0; }
    CGSize size() const { return {static_cast<float>(width_), static_cast<float>(height_)}; }
    int width() const { return width_; }
    int height() const { return height_; }
    std::span<const std::uint8_t> data() const { return {pixels_.get(), bytes_}; }
    BitmapFormat bitmapFormat() const { return format_; }
    int bytesPerPixel() const { return format_ == BitmapFormat::rgb ? 3 : 4; }

private:
    int width_ = 0;
    int height_ = 0;
    BitmapFormat format_ = BitmapFormat::rgba;
    // The decoder's own memory for a file, so that its pixels are never copied.
    std::shared_ptr<const std::uint8_t> pixels_;
    std::size_t bytes_ = 0;
};

}  // namespace kt

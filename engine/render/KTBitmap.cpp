#include "engine/render/KTBitmap.h"

#include <stb/stb_image.h>

#include <cstdio>
#include <memory>

namespace kt {
namespace {

constexpr std::size_t kMaxPathBytes = 1023;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

KTBitmap KTBitmap::fromFile(const std::string& path) {
    if (path.size() > kMaxPathBytes) return {};
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return {};
    int width = 0;
    int height = 0;
    int channels = 0;
    stbi_uc* const decoded = stbi_load_from_file(file.get(), &width, &height, &channels, STBI_rgb_alpha);
    if (!decoded) return {};
    std::shared_ptr<const std::uint8_t> pixels(decoded, stbi_image_free);
    if (width <= 0 || height <= 0) return {};
    KTBitmap bitmap;
    bitmap.pixels_ = std::move(pixels);
    bitmap.width_ = width;
    bitmap.height_ = height;
    bitmap.format_ = BitmapFormat::rgba;
    bitmap.bytes_ = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    return bitmap;
}

KTBitmap KTBitmap::fromPixels(int width, int height, BitmapFormat format, std::vector<std::uint8_t> data) {
    KTBitmap bitmap;
    bitmap.width_ = width;
    bitmap.height_ = height;
    bitmap.format_ = format;
    bitmap.bytes_ = data.size();
    const auto owner = std::make_shared<const std::vector<std::uint8_t>>(std::move(data));
    bitmap.pixels_ = std::shared_ptr<const std::uint8_t>(owner, owner->data());
    return bitmap;
}

}  // namespace kt

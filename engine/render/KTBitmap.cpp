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

struct PixelsFreer {
    void operator()(stbi_uc* pixels) const { stbi_image_free(pixels); }
};

}  // namespace

KTBitmap KTBitmap::fromFile(const std::string& path) {
    if (path.size() > kMaxPathBytes) return {};
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) return {};
    int width = 0;
    int height = 0;
    int channels = 0;
    const std::unique_ptr<stbi_uc, PixelsFreer> pixels(
        stbi_load_from_file(file.get(), &width, &height, &channels, STBI_rgb_alpha));
    if (!pixels || width <= 0 || height <= 0) return {};
    const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
    return fromPixels(width, height, BitmapFormat::rgba, {pixels.get(), pixels.get() + bytes});
}

KTBitmap KTBitmap::fromPixels(int width, int height, BitmapFormat format, std::vector<std::uint8_t> data) {
    KTBitmap bitmap;
    bitmap.width_ = width;
    bitmap.height_ = height;
    bitmap.format_ = format;
    bitmap.data_ = std::move(data);
    return bitmap;
}

}  // namespace kt

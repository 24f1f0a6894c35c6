#include "tools/content/RgbaImage.h"

#include <stb_image.h>
#include <stb_image_write.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace moonbrook::tools {

std::optional<RgbaImage> RgbaImage::load(const std::string& path) {
    int w = 0;
    int h = 0;
    int channels = 0;
    std::unique_ptr<stbi_uc, void (*)(void*)> data(stbi_load(path.c_str(), &w, &h, &channels, 4),
                                                   stbi_image_free);
    if (!data) return std::nullopt;
    RgbaImage image(w, h);
    std::memcpy(image.pixels.data(), data.get(), image.pixels.size());
    return image;
}

bool RgbaImage::savePng(const std::string& path) const {
    return stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4) != 0;
}

void RgbaImage::copyFrom(const RgbaImage& source, int x, int y) {
    const int firstRow = std::max(0, -y);
    const int lastRow = std::min(source.height, height - y);
    const int firstColumn = std::max(0, -x);
    const int lastColumn = std::min(source.width, width - x);
    if (firstColumn >= lastColumn) return;
    const auto rowBytes = static_cast<std::size_t>(lastColumn - firstColumn) * 4;
    for (int row = firstRow; row < lastRow; ++row) {
        std::memcpy(pixel(x + firstColumn, y + row), source.pixel(firstColumn, row), rowBytes);
    }
}

}  // namespace moonbrook::tools

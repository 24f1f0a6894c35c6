#include "tests/engine/render/TestImages.h"

#include <stb/stb_image_write.h>

#include <filesystem>
#include <vector>

#include "engine/core/KTColor.h"

namespace kt::test {

void writeTestPng(const std::string& path, int width, int height,
                  const std::function<std::uint32_t(int x, int y)>& argbAt) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::vector<std::uint8_t> pixels;
    pixels.reserve(static_cast<std::size_t>(width * height * 4));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const Color color{argbAt(x, y)};
            pixels.insert(pixels.end(), {color.red(), color.green(), color.blue(), color.alpha()});
        }
    }
    stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4);
}

}  // namespace kt::test

#include "tests/engine/render/RenderTest.h"

#include <stb/stb_image_write.h>

#include <filesystem>

#include "engine/actions/KTActionsModule.h"
#include "engine/core/KTDirector.h"
#include "engine/render/KTRenderModule.h"

namespace kt::test {

RenderTest::RenderTest() {
    KTInstallActionsModule();
    render = KTInstallRenderModule(backend);
}

std::string RenderTest::writePng(const std::string& name, int width, int height, std::uint32_t argb) const {
    const std::filesystem::path path = dataRoot() + name;
    std::filesystem::create_directories(path.parent_path());
    const Color color{argb};
    std::vector<std::uint8_t> pixels;
    for (int i = 0; i < width * height; ++i) {
        pixels.insert(pixels.end(), {color.red(), color.green(), color.blue(), color.alpha()});
    }
    stbi_write_png(path.c_str(), width, height, 4, pixels.data(), width * 4);
    return path.string();
}

void RenderTest::drawFrame() const {
    KTDirector::shared().doDraw();
}

}  // namespace kt::test

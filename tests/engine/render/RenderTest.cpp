#include "tests/engine/render/RenderTest.h"

#include "engine/actions/KTActionsModule.h"
#include "engine/core/KTDirector.h"
#include "engine/render/KTRenderModule.h"
#include "tests/engine/render/TestImages.h"

namespace kt::test {

RenderTest::RenderTest() {
    KTInstallActionsModule();
    render = KTInstallRenderModule(backend);
}

std::string RenderTest::writePng(const std::string& name, int width, int height, std::uint32_t argb) const {
    const std::string path = dataRoot() + name;
    writeTestPng(path, width, height, [argb](int, int) { return argb; });
    return path;
}

void RenderTest::drawFrame() const {
    KTDirector::shared().doDraw();
}

void RenderTest::drawNode(KTNode& node) const {
    render->begin();
    node.visit();
    render->end();
}

}  // namespace kt::test

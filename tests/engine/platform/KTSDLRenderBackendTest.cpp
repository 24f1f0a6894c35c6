#include <gtest/gtest.h>

#include "engine/actions/KTActionsModule.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTResourceManager.h"
#include "engine/platform/KTSDLPlatform.h"
#include "engine/platform/KTSDLRenderBackend.h"
#include "engine/render/KTImage.h"
#include "engine/render/KTImage9.h"
#include "engine/render/KTRender.h"
#include "engine/render/KTRenderModule.h"
#include "engine/render/KTText.h"
#include "tests/engine/render/TestImages.h"
#include "tests/support/DataFileTest.h"

namespace kt {
namespace {

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;
constexpr int kTolerance = 12;

// Draws scenes headless through SDL's software renderer and probes the pixels of the logical screen.
class KTSDLRenderBackendTest : public test::DataFileTest {
protected:
    void openWindow() {
        std::string error;
        auto platform = KTSDLPlatform::create(true, error);
        ASSERT_TRUE(platform) << error;
        KTSDLPlatform& sdl = *platform;
        director_.setPlatform(std::move(platform));
        director_.createWindow();
        backend_ = KTSDLRenderBackend::create(sdl.window(), error);
        ASSERT_TRUE(backend_) << error;
        KTInstallActionsModule();
        KTInstallRenderModule(backend_);
        scene_ = runScene();
    }

    void drawAndCapture() {
        backend_->captureNextFrame([this](const KTFrameImage& image) { frame_ = image; });
        director_.doDraw();
        ASSERT_EQ(frame_.width, 1024);
        ASSERT_EQ(frame_.height, 768);
    }

    Color pixel(int x, int y) const {
        const auto at = static_cast<std::size_t>((y * frame_.width + x) * 4);
        const auto& p = frame_.rgba;
        return KTColorFromChannels(p[at + 3], p[at], p[at + 1], p[at + 2]);
    }

    static void expectNear(Color actual, std::uint32_t expected) {
        const Color wanted{expected};
        EXPECT_NEAR(actual.red(), wanted.red(), kTolerance) << std::hex << actual.rep;
        EXPECT_NEAR(actual.green(), wanted.green(), kTolerance) << std::hex << actual.rep;
        EXPECT_NEAR(actual.blue(), wanted.blue(), kTolerance) << std::hex << actual.rep;
    }

    std::string png(const std::string& name, int width, int height,
                    const std::function<std::uint32_t(int, int)>& argbAt) const {
        test::writeTestPng(dataRoot() + name, width, height, argbAt);
        return name;
    }

    KTDirector& director_ = KTDirector::shared();
    std::shared_ptr<KTSDLRenderBackend> backend_;
    std::shared_ptr<KTScene> scene_;
    KTFrameImage frame_;
};

// Images plain, tinted and without a file; a nine-patch whose corners are green; a text of two glyphs.
TEST_F(KTSDLRenderBackendTest, ImagesNinePatchesAndTextsShowTheirPixelsTintedAndBlendedOverWhatIsBelow) {
    openWindow();
    const std::string red = png("gfx/red.png", 64, 64, [](int, int) { return kRed; });
    auto plain = KTImage::imageFromFile(red);
    plain->setPosition({100, 100});
    auto tinted = KTImage::imageFromFile(red);
    tinted->setPosition({300, 100});
    tinted->setColor(Color{0x80FFFFFF});
    auto fill = KTNode::node<KTImage>();
    fill->setPosition({500, 100});
    fill->setSize({50, 50});
    fill->setColor(Color{kGreen});

    const std::string panel = png("gfx/panel.png", 30, 30, [](int x, int y) {
        const bool corner = (x < 10 || x >= 20) && (y < 10 || y >= 20);
        return corner ? kGreen : kWhite;
    });
    auto nine = KTImage9::imageFromFile(panel, 10);
    nine->setPosition({200, 200});
    nine->setSize({300, 120});

    png("fonts/ink_0.png", 32, 32, [](int x, int y) { return x < 16 && y < 16 ? kWhite : 0u; });
    writeFile("fonts/ink.xml", R"(<font><pages><page id="0" file="ink_0.png"/></pages><chars>
<char id="35" x="0" y="0" width="16" height="16" xoffset="0" yoffset="0" xadvance="24" page="0"/>
</chars></font>)");
    auto text = KTNode::node<KTText>();
    text->setAttributes({{"font", "fonts/ink.xml"}, {"x", "600"}, {"y", "400"}, {"color", "FF0000"}});
    text->setText("##");
    const std::shared_ptr<KTNode> nodes[] = {plain, tinted, fill, nine, text};
    for (const auto& node : nodes)
        scene_->addChild(node);
    drawAndCapture();

    struct Probe {
        int x, y;
        std::uint32_t expected;
    };
    const Probe probes[] = {{132, 132, kRed},     {332, 132, 0xFF800000}, {525, 125, kGreen},
                            {90, 90, 0xFF000000}, {204, 204, kGreen},     {495, 315, kGreen},
                            {350, 205, kWhite},   {350, 260, kWhite},     {608, 408, kRed},
                            {632, 408, kRed},     {620, 408, 0xFF000000}};
    for (const Probe& probe : probes) {
        SCOPED_TRACE(::testing::Message() << "pixel " << probe.x << ", " << probe.y);
        expectNear(pixel(probe.x, probe.y), probe.expected);
    }
}

}  // namespace
}  // namespace kt

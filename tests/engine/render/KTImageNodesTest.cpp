#include <gtest/gtest.h>

#include "engine/core/KTNodeFactory.h"
#include "engine/render/KTImage.h"
#include "engine/render/KTImage9.h"
#include "engine/render/KTImageData.h"
#include "tests/engine/render/RenderTest.h"

namespace kt::test {
namespace {

class KTImageNodesTest : public RenderTest {
protected:
    void drawNode(KTNode& node) {
        render->begin();
        node.visit();
        render->end();
    }
};

TEST_F(KTImageNodesTest, ImageTakesItsFileSizeAndDrawsTintedByTheNodeColour) {
    writePng("gfx/icon.png", 40, 20, 0xFFFFFFFF);
    auto image = std::static_pointer_cast<KTImage>(KTNodeFactory::shared().generateNodeOfType("image"));
    ASSERT_TRUE(image);
    image->setAttributes({{"x", "10"}, {"y", "5"}, {"filename", "gfx/icon.png"}, {"color", "FF000080"}});
    EXPECT_EQ(image->size(), (CGSize{40, 20}));
    EXPECT_FALSE(image->enabled());
    drawNode(*image);
    ASSERT_EQ(backend->batches.size(), 1u);
    const auto& vertices = backend->batches[0].vertices;
    EXPECT_NE(backend->batches[0].texture, KTRenderBackend::kNoTexture);
    EXPECT_FLOAT_EQ(vertices[0].x, 10);
    EXPECT_FLOAT_EQ(vertices[2].y, 25);
    EXPECT_EQ(vertices[0].r, 0xFF);
    EXPECT_EQ(vertices[0].g, 0);
    EXPECT_EQ(vertices[0].a, 0x80);
    EXPECT_EQ(render->color(), kColorWhite);
}

TEST_F(KTImageNodesTest, WithoutAPictureAnImageFillsItsRectangleWithItsColourAndANinePatchDrawsNothing) {
    KTImage image;
    image.setAttributes({{"filename", "gfx/missing.png"}, {"width", "8"}, {"height", "8"}});
    EXPECT_FALSE(image.image());
    KTImage9 panel;
    panel.setSize({50, 50});
    panel.setCorner(10);
    drawNode(image);
    drawNode(panel);
    ASSERT_EQ(backend->batches.size(), 1u);
    EXPECT_EQ(backend->batches[0].texture, KTRenderBackend::kNoTexture);
}

}  // namespace
}  // namespace kt::test

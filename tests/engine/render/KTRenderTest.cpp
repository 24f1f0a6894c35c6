#include <gtest/gtest.h>

#include <cmath>

#include "engine/core/KTDataSource.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTNodeFactory.h"
#include "engine/core/KTResourceManager.h"
#include "engine/render/KTImageData.h"
#include "engine/render/KTRender.h"
#include "engine/render/KTRenderStatsManager.h"
#include "tests/engine/render/RenderTest.h"
#include "tests/support/FakePlatform.h"

namespace kt::test {
namespace {

class KTRenderTest : public RenderTest {
protected:
    std::shared_ptr<KTImageData> loadImage(const std::string& name, int width, int height) {
        writePng(name, width, height, 0xFFFFFFFF);
        return KTResourceManager::shared().getImage(name);
    }
    const RecordingBackend::Batch& onlyBatch() const {
        EXPECT_EQ(backend->batches.size(), 1u);
        return backend->batches.front();
    }
};

TEST_F(KTRenderTest, NewestTransformActsFirstAndPopRestoresTheSavedOne) {
    render->push();
    render->translate({10, 20});
    render->scale({2, 3});
    EXPECT_EQ(render->translatePoint({1, 1}), (CGPoint{12, 23}));
    render->push();
    render->rotate(90);
    const CGPoint rotated = render->translatePoint({1, 0});
    EXPECT_NEAR(rotated.x, 10, 1e-4);
    EXPECT_NEAR(rotated.y, 23, 1e-4);
    render->pop();
    EXPECT_EQ(render->translatePoint({1, 1}), (CGPoint{12, 23}));
    render->pop();
    render->pop();
    EXPECT_EQ(render->translatePoint({1, 1}), (CGPoint{1, 1}));
}

TEST_F(KTRenderTest, ColourStackMultipliesChannelsAndIgnoresAnEmptyPop) {
    render->setColor(Color{0xFF808080});
    render->pushColor();
    render->multColor(Color{0x80FFFFFF});
    EXPECT_EQ(render->color().alpha(), 0x80);
    EXPECT_EQ(render->color().red(), 0x80);
    render->popColor();
    render->popColor();
    EXPECT_EQ(render->color(), Color{0xFF808080});
}

TEST_F(KTRenderTest, UntexturedRectangleIsFilledWithTheCurrentColourAtItsExactCorners) {
    render->begin();
    render->translate({100, 50});
    render->setColor(Color{0x80FF0000});
    render->drawRect({{0, 0}, {10, 20}});
    render->identity();
    render->end();
    const RecordingBackend::Batch& batch = onlyBatch();
    EXPECT_EQ(batch.texture, KTRenderBackend::kNoTexture);
    ASSERT_EQ(batch.vertices.size(), 4u);
    EXPECT_FLOAT_EQ(batch.vertices[0].x, 100);
    EXPECT_FLOAT_EQ(batch.vertices[0].y, 50);
    EXPECT_FLOAT_EQ(batch.vertices[2].x, 110);
    EXPECT_FLOAT_EQ(batch.vertices[2].y, 70);
    EXPECT_EQ(batch.vertices[0].r, 0xFF);
    EXPECT_EQ(batch.vertices[0].a, 0x80);

    // Two triangles of one winding whose areas add up to the rectangle's cover it without overlapping.
    ASSERT_EQ(batch.indices.size(), 6u);
    const auto signedArea = [&](std::size_t first) {
        const KTBackendVertex& a = batch.vertices.at(static_cast<std::size_t>(batch.indices[first]));
        const KTBackendVertex& b = batch.vertices.at(static_cast<std::size_t>(batch.indices[first + 1]));
        const KTBackendVertex& c = batch.vertices.at(static_cast<std::size_t>(batch.indices[first + 2]));
        return 0.5f * ((b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y));
    };
    EXPECT_GT(signedArea(0) * signedArea(3), 0);
    EXPECT_FLOAT_EQ(std::abs(signedArea(0)) + std::abs(signedArea(3)), 200);
}

// Switching between part and whole of one region must not leave the other's coordinates behind; a part
// reaching outside the image is held inside it.
TEST_F(KTRenderTest, TexturedRectangleMapsTheSubRectangleOrTheWholeOfItsRegionInsideTheUnitSquare) {
    const auto sheet = loadImage("sheet.png", 128, 128);
    ASSERT_TRUE(sheet);
    const KTImageData region(sheet->texture(), {{64, 0}, {32, 32}});
    const CGRect rightHalf{{0.5f, 0}, {0.5f, 1}};
    render->begin();
    render->setImageData(&region, rightHalf);
    render->drawRect({{0, 0}, {16, 32}});
    render->setImageData(&region);
    render->drawRect({{0, 0}, {32, 32}});
    render->setImageData(&region, rightHalf);
    render->drawRect({{0, 0}, {16, 32}});
    render->setImageData(sheet.get(), {{-0.25f, 0.5f}, {1.5f, 0.6f}});
    render->drawRect({{0, 0}, {4, 4}});
    render->end();
    const auto& vertices = onlyBatch().vertices;
    ASSERT_EQ(vertices.size(), 16u);
    for (std::size_t outside = 12; outside < 16; ++outside) {
        EXPECT_GE(vertices[outside].u, 0);
        EXPECT_LE(vertices[outside].u, 1);
        EXPECT_GE(vertices[outside].v, 0);
        EXPECT_LE(vertices[outside].v, 1);
    }
    for (const std::size_t first : {0u, 8u}) {
        EXPECT_FLOAT_EQ(vertices[first].u, 0.625f);
        EXPECT_FLOAT_EQ(vertices[first].v, 0);
        EXPECT_FLOAT_EQ(vertices[first + 2].u, 0.75f);
        EXPECT_FLOAT_EQ(vertices[first + 2].v, 0.25f);
    }
    EXPECT_FLOAT_EQ(vertices[4].u, 0.5f);
    EXPECT_FLOAT_EQ(vertices[6].u, 0.75f);
    EXPECT_FLOAT_EQ(vertices[6].v, 0.25f);
}

TEST_F(KTRenderTest, BatchesBreakOnlyWhereTheTextureChangesOrTheBufferFills) {
    const auto first = loadImage("a.png", 4, 4);
    const auto second = loadImage("b.png", 4, 4);
    render->begin();
    render->setImageData(first.get());
    render->setColor(Color{0xFFFF0000});
    render->drawRect({{0, 0}, {4, 4}});
    render->translate({5, 5});
    render->setColor(Color{0xFF00FF00});
    render->drawRect({{0, 0}, {4, 4}});
    render->setImageData(second.get());
    render->drawRect({{0, 0}, {4, 4}});
    render->end();
    ASSERT_EQ(backend->batches.size(), 2u);
    EXPECT_EQ(backend->batches[0].vertices.size(), 8u);
    EXPECT_NE(backend->batches[0].texture, backend->batches[1].texture);

    backend->batches.clear();
    render->begin();
    render->setImageData(first.get());
    for (int i = 0; i < 1100; ++i)
        render->drawQuad(CGQuadMake(0, 0, 1, 0, 1, 1, 0, 1));
    render->end();
    ASSERT_EQ(backend->batches.size(), 2u);
    EXPECT_EQ(backend->batches[0].vertices.size(), KTRenderBackend::kMaxVertices);
    EXPECT_EQ(backend->batches[1].indices.size(), 76u * 6);
    EXPECT_EQ(backend->lastFrameBatches(), 2u);
}

TEST_F(KTRenderTest, CountsRectanglesAndQuadsButNotTrianglesAndAMaskSuppressesDrawing) {
    const auto image = loadImage("a.png", 4, 4);
    render->begin();
    render->setImageData(image.get());
    render->drawRect({{0, 0}, {4, 4}});
    render->drawQuad(CGQuadMake(0, 0, 1, 0, 1, 1, 0, 1));
    render->drawTri({}, {}, {});
    render->setMaskData(image.get());
    render->drawRect({{0, 0}, {4, 4}});
    EXPECT_EQ(render->lastFrameRects(), 0u);
    render->end();
    EXPECT_EQ(render->lastFrameRects(), 3u);
    EXPECT_EQ(onlyBatch().vertices.size(), 11u);

    render->setSimulate(true);
    render->begin();
    render->drawRect({{0, 0}, {4, 4}});
    render->end();
    EXPECT_EQ(render->lastFrameRects(), 0u);
}

// The play area is centred in the window and scaled uniformly, between bars at the sides or at the top and
// bottom; it follows the window's drawable when that changes.
TEST_F(KTRenderTest, TheLetterboxCentresThePlayAreaAndFollowsTheWindowsDrawable) {
    auto owned = std::make_unique<FakePlatform>();
    FakePlatform& platform = *owned;
    KTDirector& director = KTDirector::shared();
    director.setPlatform(std::move(owned));
    platform.usable = {4000, 4000};
    director.setWindowSize({1024, 768});
    director.createWindow();
    // Asked for the desktop's size, but the window kept its own.
    director.setFullscreen(true);
    const struct {
        CGSize drawable;
        CGPoint topLeft;
        CGPoint bottomRight;
    } windows[] = {{{1024, 768}, {0, 0}, {1024, 768}},
                   {{1280, 720}, {160, 0}, {1120, 720}},
                   {{1024, 1024}, {0, 128}, {1024, 896}}};
    for (const auto& [drawable, topLeft, bottomRight] : windows) {
        SCOPED_TRACE(::testing::Message() << drawable.width << " x " << drawable.height);
        if (drawable != CGSize{1024, 768}) {
            platform.drawable = drawable;
            KTEvent resized;
            resized.type = KTEvent::Type::resized;
            director.handleEvent(resized);
        }
        backend->batches.clear();
        render->begin();
        render->drawRect({{0, 0}, {1024, 768}});
        render->end();
        const auto& vertices = onlyBatch().vertices;
        EXPECT_NEAR(vertices[0].x, topLeft.x, 1e-3);
        EXPECT_NEAR(vertices[0].y, topLeft.y, 1e-3);
        EXPECT_NEAR(vertices[2].x, bottomRight.x, 1e-3);
        EXPECT_NEAR(vertices[2].y, bottomRight.y, 1e-3);
    }
}

TEST_F(KTRenderTest, FrameRateIsPublishedEveryMeasuringPeriod) {
    KTRenderStatsManager stats;
    for (int quarter = 0; quarter < 5; ++quarter) {
        for (int frame = 0; frame < 30; ++frame)
            stats.end();
        stats.update(0.5f);
        if (quarter == 2) {
            EXPECT_EQ(stats.fps(), 0);
        }
    }
    EXPECT_FLOAT_EQ(stats.fps(), 60);
    EXPECT_DOUBLE_EQ(stats.fpsDataSource()->numberValue(), 60);
    EXPECT_EQ(KTNodeFactory::shared().fpsDataSource(), KTRenderStatsManager::shared().fpsDataSource());
}

}  // namespace
}  // namespace kt::test

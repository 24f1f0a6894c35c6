// Pictures: image data and atlases, image nodes and sprites.
#include <gtest/gtest.h>

#include <limits>

#include "engine/actions/KTAffineAnimation.h"
#include "engine/core/KTNodeFactory.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTScheduler.h"
#include "engine/render/KTAnimation.h"
#include "engine/render/KTBitmap.h"
#include "engine/render/KTImage.h"
#include "engine/render/KTImage9.h"
#include "engine/render/KTImageData.h"
#include "engine/render/KTSprite.h"
#include "engine/render/KTTexture.h"
#include "tests/engine/render/RenderTest.h"

namespace kt::test {
namespace {

class KTImageDataTest : public RenderTest {};

TEST_F(KTImageDataTest, ImageFileBecomesATextureOfExactlyItsSize) {
    writePng("gfx/wide.png", 100, 50, 0xFF336699);
    const auto image = KTResourceManager::shared().getImage("gfx/wide.png");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->texture()->size(), (CGSize{100, 50}));
    EXPECT_EQ(image->size(), (CGSize{100, 50}));
    EXPECT_EQ(image->tRect(), (CGRect{{0, 0}, {1, 1}}));
    EXPECT_NE(image->texture()->handle(), KTRenderBackend::kNoTexture);
    const KTBitmap bitmap = KTBitmap::fromFile(dataRoot() + "gfx/wide.png");
    ASSERT_EQ(bitmap.data().size(), 100u * 50u * 4u);
    EXPECT_EQ(std::vector<std::uint8_t>(bitmap.data().end() - 4, bitmap.data().end()),
              (std::vector<std::uint8_t>{0x33, 0x66, 0x99, 0xFF}));
}

TEST_F(KTImageDataTest, ConvertsUnitCoordinatesOfTheRegionIntoTextureCoordinates) {
    const auto texture =
        std::make_shared<KTTexture>(KTBitmap::fromPixels(128, 128, BitmapFormat::rgba, {}), nullptr);
    const KTImageData region(texture, {{64, 0}, {32, 32}});
    const CGRect inner = region.getRect();
    EXPECT_FLOAT_EQ(inner.origin.x, 65 + 0.5f / 128);
    EXPECT_EQ(inner.size, (CGSize{30, 30}));
    const KTImageData child(region, {{2, 3}, {8, 8}});
    EXPECT_FLOAT_EQ(child.rect().origin.x, 67 + 0.5f / 128);
    EXPECT_EQ(child.texture(), texture);
    EXPECT_EQ(child.tRect(), CGRectZero);
    EXPECT_EQ(child.wholeTRect(), child.tRect({{0, 0}, {1, 1}}));
}

TEST_F(KTImageDataTest, DamagedOrMissingFilesGiveNoImageAndAreLoggedOnce) {
    writeFile("gfx/broken.png", "\x89PNG\r\n\x1a\n truncated");
    for (int attempt = 0; attempt < 2; ++attempt) {
        EXPECT_FALSE(KTResourceManager::shared().getImage("gfx/broken.png"));
    }
    EXPECT_EQ(countInLog("broken.png"), 1);
    EXPECT_TRUE(KTBitmap::fromFile(dataRoot() + "gfx/missing.png").empty());
    // A whole header, checksum included, that claims a picture of a million pixels square asks for no memory.
    const std::string hugeHeader(
        "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\x0f\x42\x40\0\x0f\x42\x40\x08\x06\0\0\0"
        "\x5c\x6d\x38\x7d",
        33);
    writeFile("gfx/huge.png", hugeHeader);
    EXPECT_TRUE(KTBitmap::fromFile(dataRoot() + "gfx/huge.png").empty());
    EXPECT_TRUE(KTBitmap::fromFile(std::string(2000, 'a')).empty());
}

TEST_F(KTImageDataTest, AtlasFramesShareOneTextureThatIsReleasedWithTheLastRegion) {
    writePng("gfx/atlas.png", 64, 32, 0xFFFFFFFF);
    writeFile("gfx/ui.atlas.plist", R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
  <key>metadata</key><dict><key>textureFileName</key><string>atlas.png</string></dict>
  <key>frames</key><dict>
    <key>left</key><dict><key>x</key><integer>0</integer><key>y</key><integer>0</integer>
      <key>width</key><integer>32</integer><key>height</key><integer>32</integer></dict>
    <key>right</key><dict><key>x</key><integer>32</integer><key>y</key><integer>0</integer>
      <key>width</key><integer>32</integer><key>height</key><integer>32</integer></dict>
  </dict>
</dict></plist>)");
    KTResourceManager& resources = KTResourceManager::shared();
    resources.loadAtlas("gfx/ui.atlas.plist");
    auto left = resources.getImage("left");
    auto right = resources.getImage("right");
    ASSERT_TRUE(left && right);
    EXPECT_EQ(left->texture(), right->texture());
    EXPECT_EQ(right->tRect(), (CGRect{{0.5f, 0}, {0.5f, 1}}));

    const KTRenderBackend::TextureHandle handle = left->texture()->handle();
    resources.clearImageCache();
    left.reset();
    EXPECT_TRUE(backend->releasedTextures.empty());
    right.reset();
    EXPECT_EQ(backend->releasedTextures, std::vector<KTRenderBackend::TextureHandle>{handle});
}

using KTImageNodesTest = RenderTest;

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
}

TEST_F(KTImageNodesTest, NinePatchKeepsItsCornersAndStretchesTheRestInOneBatch) {
    writePng("gfx/panel.png", 30, 30, 0xFFFFFFFF);
    auto panel = std::static_pointer_cast<KTImage9>(KTNodeFactory::shared().generateNodeOfType("image9"));
    panel->setAttributes({{"filename", "gfx/panel.png"}, {"corner", "10"}});
    panel->setPosition({5, 5});
    panel->setSize({100, 60});
    drawNode(*panel);
    ASSERT_EQ(backend->batches.size(), 1u);
    const auto& vertices = backend->batches[0].vertices;
    ASSERT_EQ(vertices.size(), 36u);
    const auto corner = [&](int patch, int vertex) {
        return vertices[static_cast<std::size_t>(patch * 4 + vertex)];
    };
    EXPECT_FLOAT_EQ(corner(0, 0).x, 5);
    EXPECT_FLOAT_EQ(corner(0, 2).x, 15);
    EXPECT_FLOAT_EQ(corner(0, 2).u, 1.0f / 3);
    EXPECT_FLOAT_EQ(corner(4, 0).x, 15);
    EXPECT_FLOAT_EQ(corner(4, 2).x, 95);
    EXPECT_FLOAT_EQ(corner(4, 2).y, 55);
    EXPECT_FLOAT_EQ(corner(8, 0).u, 2.0f / 3);
    EXPECT_FLOAT_EQ(corner(8, 2).x, 105);
    EXPECT_FLOAT_EQ(corner(8, 2).y, 65);
    EXPECT_FLOAT_EQ(corner(8, 2).v, 1);
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

class KTSpriteTest : public RenderTest {
protected:
    std::shared_ptr<KTAnimation> makeAnimation(const std::string& name, int frames, float length, bool loop) {
        auto animation = KTAnimation::animation();
        animation->setName(name);
        animation->setLoop(loop);
        for (int i = 0; i < frames; ++i)
            animation->addFrame(nullptr, length);
        return animation;
    }
    std::shared_ptr<KTSprite> spriteOnStage(std::initializer_list<std::shared_ptr<KTAnimation>> animations) {
        auto sprite = KTSprite::sprite();
        for (const auto& animation : animations)
            sprite->addChild(animation);
        runScene()->addChild(sprite);
        return sprite;
    }
    void advance(float dt) {
        KTScheduler& scheduler = KTScheduler::shared();
        scheduler.addTargets();
        scheduler.update(dt);
        scheduler.removeTargets();
    }
};

TEST_F(KTSpriteTest, FinishedAnimationHandsOverToTheDefaultAndWithoutOneNothingShows) {
    const auto walk = makeAnimation("walk", 3, 0.1f, false);
    const auto sprite = spriteOnStage({makeAnimation("default", 1, 1, true), walk});
    EXPECT_EQ(sprite->currentAnimationName(), "default");
    sprite->setAnimation("walk");
    EXPECT_EQ(sprite->children().count(), 1u);
    for (int step = 0; step < 3; ++step)
        advance(0.1f);
    EXPECT_EQ(sprite->currentAnimationName(), "walk");
    EXPECT_EQ(walk->currentFrameIndex(), 2u);
    advance(0.01f);
    EXPECT_EQ(sprite->currentAnimationName(), "default");
    EXPECT_FALSE(walk->isOnStage());
    EXPECT_EQ(sprite->children().firstObject(), sprite->currentAnimation());

    const auto withoutDefault = spriteOnStage({makeAnimation("walk", 2, 0.1f, false)});
    EXPECT_FALSE(withoutDefault->currentAnimation());
    drawFrame();
    EXPECT_TRUE(backend->batches.empty()) << "a sprite without a default shows nothing of its own";
}

TEST_F(KTSpriteTest, LongUpdateSkipsFramesAndLoopsOfOneFrameOrWithoutLengthStayPut) {
    const auto spin = makeAnimation("spin", 5, 0.1f, true);
    const auto idle = makeAnimation("default", 1, 0.1f, true);
    const auto sprite = spriteOnStage({idle, spin});
    advance(0.35f);
    EXPECT_EQ(idle->currentFrameIndex(), 0u);
    sprite->setAnimation("spin");
    advance(0.35f);
    EXPECT_EQ(spin->currentFrameIndex(), 3u);
    advance(0.2f);
    EXPECT_EQ(spin->currentFrameIndex(), 0u);
    EXPECT_FLOAT_EQ(spin->t(), 0.55f);

    // A loop of frames without length stays put instead of hanging.
    for (const float length : {0.0f, -0.5f}) {
        const auto still = makeAnimation("still", 3, length, true);
        const auto stuck = spriteOnStage({makeAnimation("default", 1, 1, true), still});
        stuck->setAnimation("still");
        advance(0.1f);
        advance(0.1f);
        EXPECT_EQ(stuck->currentAnimationName(), "still");
    }
}

TEST_F(KTSpriteTest, TheStartingPhaseStaysWithinTheTimeShiftAndADamagedShiftGivesNoneOrADay) {
    const auto animation = makeAnimation("spin", 5, 0.1f, true);
    const struct {
        float shift;
        float longest;
    } cases[] = {{0.5f, 0.5f},
                 {-2.0f, 0.0f},
                 {std::numeric_limits<float>::quiet_NaN(), 0.0f},
                 {1e7f, 86400.0f},
                 {std::numeric_limits<float>::infinity(), 86400.0f}};
    for (const auto& [shift, longest] : cases) {
        SCOPED_TRACE(shift);
        animation->setMaxTimeShift(shift);
        animation->reset();
        EXPECT_GE(animation->t(), 0.0f);
        EXPECT_LE(animation->t(), longest);
        // A long shift still shifts.
        if (longest > 1) {
            EXPECT_GT(animation->t(), 0.0f);
        }
    }
}

TEST_F(KTSpriteTest, SettingTheRunningAnimationRestartsItAndUnknownNamesChangeNothing) {
    const auto spin = makeAnimation("spin", 3, 0.1f, true);
    const auto sprite = spriteOnStage({makeAnimation("default", 1, 1, true), spin});
    sprite->setAnimation("spin");
    advance(0.15f);
    EXPECT_EQ(spin->currentFrameIndex(), 1u);
    sprite->setAnimation("spin");
    EXPECT_EQ(spin->currentFrameIndex(), 0u);
    sprite->setAnimation("nothing");
    EXPECT_EQ(sprite->currentAnimation(), spin);
    sprite->setAnimationIfDefault("default");
    EXPECT_EQ(sprite->currentAnimation(), spin);
}

TEST_F(KTSpriteTest, AffineAnimationMovesAndTintsTheFrameAtTheAnimationsTimeOnly) {
    const auto idle = makeAnimation("default", 1, 1, true);
    idle->setSize({10, 10});
    KTAffineAnimationKey start;
    KTAffineAnimationKey end;
    end.t = 1;
    end.move = {100, 0};
    end.color = Color{0x00FFFFFF};
    idle->setAffineAnimation(std::make_shared<KTAffineAnimation>(std::vector{start, end}, false));
    spriteOnStage({idle});
    advance(0.5f);
    drawFrame();
    drawFrame();
    ASSERT_EQ(backend->batches.size(), 2u);
    const KTBackendVertex& corner = backend->batches[1].vertices[0];
    EXPECT_FLOAT_EQ(corner.x, 50);
    EXPECT_EQ(corner.a, 0x7F);
    EXPECT_EQ(render->color(), kColorWhite);
}

TEST_F(KTSpriteTest, SpriteFileGivesNamedAnimationsWithFramesInFileOrder) {
    writePng("gfx/a.png", 16, 8, 0xFFFFFFFF);
    writePng("gfx/b.png", 16, 8, 0xFF000000);
    writeFile("gfx/ball.sprite.xml", R"(<sprite w="32" h="32">
  <animation name="default" loop="1">
    <frame filename="gfx/a.png" length="0.2"/>
    <frame filename="gfx/b.png" length="0.3"/>
  </animation>
  <animation name="pop"><frame filename="gfx/b.png" length="0.1"/></animation>
</sprite>)");
    const auto sprite = KTNode::nodeFromFile<KTSprite>("gfx/ball.sprite.xml");
    EXPECT_EQ(sprite->animationNames(), (std::vector<std::string>{"default", "pop"}));
    runScene()->addChild(sprite);
    const auto animation = sprite->currentAnimation();
    ASSERT_TRUE(animation);
    EXPECT_FLOAT_EQ(animation->length(), 0.5f);
    EXPECT_TRUE(animation->loop());
    EXPECT_EQ(animation->size(), (CGSize{32, 32}));

    drawFrame();
    ASSERT_EQ(backend->batches.size(), 1u);
    EXPECT_FLOAT_EQ(backend->batches[0].vertices[2].x, 32);
}

}  // namespace
}  // namespace kt::test

#include <gtest/gtest.h>

#include "engine/core/KTResourceManager.h"
#include "engine/render/KTBitmap.h"
#include "engine/render/KTImageData.h"
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

}  // namespace
}  // namespace kt::test

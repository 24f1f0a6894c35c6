#include <gtest/gtest.h>

#include <filesystem>

#include "engine/core/KTPlist.h"
#include "tests/support/DataFileTest.h"
#include "tools/content/AtlasPacker.h"
#include "tools/content/RgbaImage.h"

namespace moonbrook::tools {
namespace {

struct Picture {
    std::string frameName;
    int width;
    int height;
    std::uint8_t red;
};

class AtlasPackerTest : public kt::test::DataFileTest {
protected:
    AtlasFrameSource writePicture(const Picture& picture) const {
        RgbaImage image(picture.width, picture.height);
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                std::uint8_t* pixel = image.pixel(x, y);
                pixel[0] = picture.red;
                pixel[1] = static_cast<std::uint8_t>(x);
                pixel[2] = static_cast<std::uint8_t>(y);
                pixel[3] = 255;
            }
        }
        const std::string path = dataRoot() + picture.frameName;
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        EXPECT_TRUE(image.savePng(path));
        return {picture.frameName, path};
    }
};

TEST_F(AtlasPackerTest, EveryFrameNamesTheRectangleThatHoldsItsPicture) {
    const std::vector<Picture> pictures = {{"data/gfx/balls/a/01.png", 46, 46, 10},
                                           {"data/gfx/board/lock.png", 30, 12, 20},
                                           {"data/x.png", 5, 70, 30}};
    std::vector<AtlasFrameSource> sources;
    for (const Picture& picture : pictures)
        sources.push_back(writePicture(picture));
    const std::string atlasPath = dataRoot() + "out/things.atlas.plist";
    std::filesystem::create_directories(dataRoot() + "out");

    ASSERT_EQ(packAtlas(sources, atlasPath), std::nullopt);

    const auto atlas = kt::KTPlist::readFile(atlasPath);
    ASSERT_TRUE(atlas);
    EXPECT_EQ((*atlas)["metadata"]["textureFileName"].stringValue(), "things.png");
    const auto texture = RgbaImage::load(dataRoot() + "out/things.png");
    ASSERT_TRUE(texture);
    ASSERT_EQ((*atlas)["frames"].size(), pictures.size());
    for (const Picture& picture : pictures) {
        const kt::KTPlist& frame = (*atlas)["frames"][picture.frameName];
        ASSERT_EQ(frame["width"].intValue(), picture.width) << picture.frameName;
        ASSERT_EQ(frame["height"].intValue(), picture.height) << picture.frameName;
        const int left = static_cast<int>(frame["x"].intValue());
        const int top = static_cast<int>(frame["y"].intValue());
        for (const auto& [x, y] : {std::pair{0, 0}, std::pair{picture.width - 1, picture.height - 1}}) {
            const std::uint8_t* pixel = texture->pixel(left + x, top + y);
            EXPECT_EQ(pixel[0], picture.red) << picture.frameName;
            EXPECT_EQ(pixel[1], x) << picture.frameName;
            EXPECT_EQ(pixel[2], y) << picture.frameName;
        }
    }
}

TEST_F(AtlasPackerTest, AnUnreadablePictureWritesNoAtlas) {
    const AtlasFrameSource good = writePicture({"data/good.png", 8, 8, 1});
    writeFile("data/broken.png", "not a picture");
    const std::string atlasPath = dataRoot() + "broken.atlas.plist";

    const auto problem = packAtlas({good, {"data/broken.png", dataRoot() + "data/broken.png"}}, atlasPath);

    ASSERT_TRUE(problem);
    EXPECT_NE(problem->find("data/broken.png"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(atlasPath));
}

}  // namespace
}  // namespace moonbrook::tools

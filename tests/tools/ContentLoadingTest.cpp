// Loads the built data tree through the engine's own loaders, as the game will: fonts, atlases and sprites.
#include <gtest/gtest.h>

#include "engine/core/KTResourceManager.h"
#include "engine/core/KTScheduler.h"
#include "engine/render/KTAnimation.h"
#include "engine/render/KTAnimationFrame.h"
#include "engine/render/KTFont.h"
#include "engine/render/KTImageData.h"
#include "engine/render/KTSprite.h"
#include "tests/tools/BuiltContentTest.h"

namespace kt::test {
namespace {

using ContentLoadingTest = BuiltContentTest;

TEST_F(ContentLoadingTest, EveryFontDrawsTheGamesLettersAndDigits) {
    for (const std::string& name : filesBelow("data/fonts", ".xml")) {
        const auto font = KTResourceManager::shared().getFont(name);
        ASSERT_TRUE(font) << name;
        for (const int code :
             std::initializer_list<int>{'M', 'o', 'b', 'k', ' ', '0', '9', ':', '+', '%', 0xC4, 0xE9, 0xFC}) {
            EXPECT_TRUE(font->getGlyphForChar(code)) << name << " " << code;
        }
        EXPECT_GT(font->width("Moonbrook"), 40.0f) << name;
        EXPECT_GT(font->width("Moonbrook"), font->width("Moon")) << name;
    }
}

// The board's sprites find their pictures in the ball and board atlases by the pictures' own names.
TEST_F(ContentLoadingTest, BoardSpritesStartWithACellSizedPictureFromTheirAtlas) {
    KTResourceManager::shared().loadAtlas("data/gfx/balls/balls.atlas.plist");
    KTResourceManager::shared().loadAtlas("data/gfx/board/board.atlas.plist");
    const auto ball = KTResourceManager::shared().getImage("data/gfx/balls/a/01.png");
    const auto lock = KTResourceManager::shared().getImage("data/gfx/board/lock.png");
    ASSERT_TRUE(ball && lock);
    EXPECT_NE(ball->texture(), lock->texture());
    std::vector<std::string> sprites = filesBelow("data/gfx/balls", ".sprite.xml");
    sprites.push_back("data/gfx/board/grid.sprite.xml");
    const auto scene = runScene();
    for (const std::string& name : sprites) {
        const auto sprite = KTSprite::sprite();
        sprite->loadFromFile(name);
        scene->addChild(sprite);
        KTScheduler::shared().addTargets();
        KTScheduler::shared().update(0.01f);
        ASSERT_TRUE(sprite->currentAnimation()) << name;
        const KTAnimationFrame* frame = sprite->currentAnimation()->currentFrame();
        ASSERT_TRUE(frame && frame->imageData()) << name;
        EXPECT_EQ(frame->imageData()->width(), 46u) << name;
        EXPECT_EQ(frame->imageData()->height(), 46u) << name;
        EXPECT_EQ(frame->imageData()->texture(), (name.ends_with("grid.sprite.xml") ? lock : ball)->texture())
            << name;
        scene->removeChild(sprite.get());
    }
}

}  // namespace
}  // namespace kt::test

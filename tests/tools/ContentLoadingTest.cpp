// Loads the built data tree through the engine's own loaders, as the game will: fonts, atlases, sprites and
// effect files.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/actions/KTActionsModule.h"
#include "engine/core/KTNodeFactory.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTScheduler.h"
#include "engine/core/XMLElement.h"
#include "engine/render/KTAnimation.h"
#include "engine/render/KTAnimationFrame.h"
#include "engine/render/KTFont.h"
#include "engine/render/KTImageData.h"
#include "engine/render/KTRenderModule.h"
#include "engine/render/KTSprite.h"
#include "tests/engine/render/RenderTest.h"

namespace kt::test {
namespace {

namespace fs = std::filesystem;

const fs::path kRoot = MOONBROOK_CONTENT_ROOT;

class ContentLoadingTest : public DataFileTest {
protected:
    ContentLoadingTest() {
        KTInstallActionsModule();
        KTInstallRenderModule(std::make_shared<RecordingBackend>());
        KTResourceManager::shared().setBaseDataPath(kRoot.string() + "/");
    }

    static std::vector<std::string> filesBelow(const std::string& folder, std::string_view suffix) {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(kRoot / folder)) {
            const std::string name = entry.path().lexically_relative(kRoot).generic_string();
            if (name.ends_with(suffix)) names.push_back(name);
        }
        return names;
    }
};

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

TEST_F(ContentLoadingTest, AtlasFramesAreFoundByTheirPictureNames) {
    KTResourceManager::shared().loadAtlas("data/gfx/balls/balls.atlas.plist");
    KTResourceManager::shared().loadAtlas("data/gfx/board/board.atlas.plist");
    const auto ball = KTResourceManager::shared().getImage("data/gfx/balls/a/01.png");
    const auto lock = KTResourceManager::shared().getImage("data/gfx/board/lock.png");
    ASSERT_TRUE(ball && lock);
    EXPECT_EQ(ball->width(), 46u);
    EXPECT_EQ(lock->width(), 46u);
    EXPECT_NE(ball->texture(), lock->texture());
    EXPECT_EQ(KTResourceManager::shared().getImage("data/gfx/balls/e/01.png")->texture(), ball->texture());
}

TEST_F(ContentLoadingTest, BoardSpritesStartWithACellSizedPicture) {
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
        scene->removeChild(sprite.get());
    }
}

// Element names the scene-file loader skips silently when misspelt: every one must be in the node factory's
// table, apart from states, transitions, tooltips and the keys of affine animations.
void expectKnownElements(const XMLElement& element, const std::string& file) {
    for (const XMLElement& child : element.children()) {
        const std::string& name = child.name();
        if (name != "state" && name != "transition" && name != "tooltip" && name != "key") {
            EXPECT_FALSE(KTNodeFactory::classNameForElement(name).empty()) << file << ": <" << name << ">";
        }
        expectKnownElements(child, file);
    }
}

TEST_F(ContentLoadingTest, SceneFilesUseOnlyElementsTheNodeFactoryBuilds) {
    for (const char* folder : {"data/effects", "data/Characters", "data/gfx", "data/scenes"}) {
        for (const std::string& name : filesBelow(folder, ".xml")) {
            if (name.find("/anim/") != std::string::npos) continue;
            const auto root = KTResourceManager::shared().getXML(name);
            ASSERT_TRUE(root) << name;
            expectKnownElements(*root, name);
        }
    }
}

}  // namespace
}  // namespace kt::test

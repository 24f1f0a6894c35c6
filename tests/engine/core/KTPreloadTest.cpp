#include <gtest/gtest.h>

#include "engine/core/KTDirector.h"
#include "engine/core/KTProgressIndicator.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTScene.h"
#include "tests/engine/core/FakeMediaLoaders.h"
#include "tests/support/DataFileTest.h"
#include "tests/support/FakePlatform.h"

namespace kt {
namespace {

class RecordingProgress : public KTNode, public KTProgressIndicator {
public:
    std::vector<float> values;
    void setProgress(float progress) override { values.push_back(progress); }
};

// Every image takes the given milliseconds of the platform's clock to load.
class SlowImageLoader : public test::FakeImageLoader {
public:
    SlowImageLoader(test::FakePlatform& platform, std::uint32_t milliseconds)
        : platform_(platform), milliseconds_(milliseconds) {}

    std::shared_ptr<KTImageData> loadImage(const std::string& path) override {
        platform_.now += milliseconds_;
        return FakeImageLoader::loadImage(path);
    }

private:
    test::FakePlatform& platform_;
    std::uint32_t milliseconds_;
};

class PreloadTest : public test::DataFileTest {
protected:
    PreloadTest() {
        auto fake = std::make_unique<test::FakePlatform>();
        platform = fake.get();
        director().setPlatform(std::move(fake));
    }

    static KTDirector& director() { return KTDirector::shared(); }

    // A list of image files, each present, and a loading scene queued before the target scene.
    void startLoading(int fileCount, std::uint32_t millisecondsPerFile) {
        std::string list = "<plist version=\"1.0\"><array><integer>7</integer>";
        for (int i = 0; i < fileCount; ++i) {
            const std::string name = "data/gfx/image" + std::to_string(i) + ".png";
            writeFile(name, "png");
            list += "<string>" + name + "</string>";
        }
        writeFile("data/preload.plist", list + "</array></plist>");
        images = std::make_shared<SlowImageLoader>(*platform, millisecondsPerFile);
        KTResourceManager::shared().setImageLoader(images);

        loading->addChild(KTNode::node());
        loading->addChild(progress);
        director().preloadWithScene(loading, "data/preload.plist");
        director().setScene(target);
        director().doUpdate();
        ASSERT_EQ(director().currentScene(), loading);
    }

    test::FakePlatform* platform = nullptr;
    std::shared_ptr<SlowImageLoader> images;
    std::shared_ptr<KTScene> loading = KTNode::node<KTScene>();
    std::shared_ptr<KTScene> target = KTNode::node<KTScene>();
    std::shared_ptr<RecordingProgress> progress = KTNode::node<RecordingProgress>();
};

TEST_F(PreloadTest, ASliceLoadsFilesUntilMoreThan99MillisecondsHavePassed) {
    startLoading(5, 40);
    director().doDraw();
    EXPECT_EQ(loading->preloadPosition(), 3u);
    EXPECT_EQ(progress->values, (std::vector<float>{0.2f, 0.4f, 0.6f}));
    director().doUpdate();
    EXPECT_EQ(director().currentScene(), loading);

    director().doDraw();
    EXPECT_EQ(loading->preloadPosition(), 5u);
    EXPECT_EQ(progress->values.back(), 1.0f);
    director().doUpdate();
    EXPECT_EQ(director().currentScene(), target);
    EXPECT_EQ(images->loaded.size(), 5u);
}

TEST_F(PreloadTest, AFileLongerThanTheSliceEndsItAfterThatFile) {
    startLoading(2, 150);
    director().doDraw();
    EXPECT_EQ(loading->preloadPosition(), 1u);
    director().doDraw();
    EXPECT_EQ(loading->preloadPosition(), 2u);
    director().doUpdate();
    EXPECT_EQ(director().currentScene(), loading);
    director().doDraw();
    director().doUpdate();
    EXPECT_EQ(director().currentScene(), target);
}

TEST_F(PreloadTest, AMissingListSwitchesAtTheFirstDraw) {
    director().preloadWithScene(loading, "data/no_such_list.plist");
    director().setScene(target);
    director().doUpdate();
    EXPECT_TRUE(loading->preloadList().empty());
    director().doDraw();
    director().doUpdate();
    EXPECT_EQ(director().currentScene(), target);
}

}  // namespace
}  // namespace kt

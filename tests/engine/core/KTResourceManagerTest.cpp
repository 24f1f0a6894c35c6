#include <gtest/gtest.h>

#include <filesystem>

#include "engine/core/KTLocale.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/XMLElement.h"
#include "tests/engine/core/FakeMediaLoaders.h"
#include "tests/support/DataFileTest.h"

namespace kt {
namespace {

using test::asMedia;
using test::FakeMedia;
using test::fakeOf;

constexpr const char* kGermanLocale =
    "<plist version=\"1.0\"><dict><key>strings</key><dict><key>Play</key><string>Spielen</string>"
    "<key>Empty</key><string></string><key>Level %@</key><string>Stufe %@</string>"
    "<key>Broken %@</key><string>%999999999d|%.999999999f</string></dict>"
    "<key>fonts</key><dict><key>data/fonts/menu.xml</key><string>data/fonts/menu_de.xml</string></dict>"
    "</dict></plist>";

class ResourceTest : public test::DataFileTest {
protected:
    ResourceTest() {
        images = std::make_shared<test::FakeImageLoader>();
        resources().setImageLoader(images);
    }

    static KTResourceManager& resources() { return KTResourceManager::shared(); }

    void useGermanLocale() {
        writeFile("data/locales/de.plist", kGermanLocale);
        KTLocale::loadLocale("de", "data/locales/de.plist");
        KTLocale::setLocale("de");
    }

    std::shared_ptr<test::FakeImageLoader> images;
};

// With the locale "de" and the channel "ch/" in use, the candidates in the order they are tried; each is
// taken away in turn. Without a locale the localised copies are passed over (the language tests).
TEST_F(ResourceTest, APathIsLookedUpInTheChannelThenTheBaseEachLocalisedFirst) {
    useGermanLocale();
    resources().setChannelDataPath("ch/");
    const std::string candidates[] = {"ch/ldata/de/data/x.png", "ch/data/x.png", "ldata/de/data/x.png",
                                      "data/x.png"};
    for (const std::string& file : candidates)
        writeFile(file, "x");
    for (const std::string& file : candidates) {
        EXPECT_EQ(resources().getPath("data/x.png"), dataRoot() + file);
        std::filesystem::remove(dataRoot() + file);
        resources().forgetResolvedPaths();
    }
    EXPECT_EQ(resources().getPath("data/x.png"), std::nullopt);
}

TEST_F(ResourceTest, AFoundPathIsRememberedAndAMissingOneLoggedOnce) {
    const std::string file = writeFile("data/x.png", "x");
    ASSERT_TRUE(resources().getPath("data/x.png"));
    std::filesystem::remove(file);
    EXPECT_EQ(resources().getPath("data/x.png"), file);

    EXPECT_FALSE(resources().getPath("data/missing.png"));
    EXPECT_FALSE(resources().getPath("data/missing.png"));
    EXPECT_EQ(countInLog("data/missing.png"), 1);
}

TEST_F(ResourceTest, ImagesLoadOnceUntilTheCacheIsClearedAndAnUndecodableOneIsNotCached) {
    writeFile("data/a.png", "png");
    const auto first = resources().getImage("data/a.png");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(fakeOf(*first).path, dataRoot() + "data/a.png");
    EXPECT_EQ(resources().getImage("data/a.png"), first);
    EXPECT_EQ(images->loaded.size(), 1u);

    resources().clearImageCache();
    EXPECT_NE(resources().getImage("data/a.png"), nullptr);
    EXPECT_EQ(images->loaded.size(), 2u);

    writeFile("data/c.bad", "?");
    EXPECT_EQ(resources().getImage("data/c.bad"), nullptr);
    EXPECT_EQ(resources().getImage("data/c.bad"), nullptr);
    EXPECT_EQ(images->loaded.size(), 4u);
    EXPECT_EQ(countInLog("data/c.bad"), 1);

    EXPECT_EQ(resources().getImage("data/absent.png"), nullptr);
    const std::string translated = writeFile("elsewhere/b.png", "png");
    EXPECT_NE(resources().getImage(translated, true), nullptr);
}

TEST_F(ResourceTest, XMLTreesAreSharedUntilForgottenAndDamagedFilesRetriedAfterRepair) {
    writeFile("data/scenes/a.xml", "<scene><image/></scene>");
    const auto tree = resources().getXML("data/scenes/a.xml");
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(resources().getXML("data/scenes/a.xml"), tree);
    writeFile("data/scenes/a.xml", "<scene><text/></scene>");
    EXPECT_EQ(resources().getXML("data/scenes/a.xml"), tree);
    resources().forgetFile("data/scenes/a.xml");
    const auto rewritten = resources().getXML("data/scenes/a.xml");
    ASSERT_NE(rewritten, nullptr);
    EXPECT_EQ(rewritten->children().front().name(), "text");

    writeFile("data/scenes/b.xml", "<scene><image");
    EXPECT_EQ(resources().getXML("data/scenes/b.xml"), nullptr);
    writeFile("data/scenes/b.xml", "<scene><image/></scene>");
    EXPECT_NE(resources().getXML("data/scenes/b.xml"), nullptr);
}

TEST_F(ResourceTest, SamplesKeepTheLoopFlagOfTheFirstLoad) {
    int loads = 0;
    resources().setSampleLoader([&loads](const std::string& path, bool loop) {
        ++loads;
        return asMedia<KTSample>(std::make_shared<FakeMedia>(FakeMedia{path, {}, loop}));
    });
    writeFile("data/sounds/pop.ogg", "ogg");
    const auto looping = resources().getSample("data/sounds/pop.ogg", true);
    ASSERT_NE(looping, nullptr);
    EXPECT_EQ(resources().getSample("data/sounds/pop.ogg"), looping);
    EXPECT_TRUE(fakeOf(*looping).loop);
    EXPECT_EQ(loads, 1);
}

TEST_F(ResourceTest, FontsFollowTheLocaleSubstitution) {
    resources().setFontLoader([](const std::string& path) {
        return asMedia<KTFont>(std::make_shared<FakeMedia>(FakeMedia{path, {}, false}));
    });
    writeFile("data/fonts/menu.xml", "<font/>");
    writeFile("data/fonts/menu_de.xml", "<font/>");
    const auto plain = resources().getFont("data/fonts/menu.xml");
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(fakeOf(*plain).path, dataRoot() + "data/fonts/menu.xml");

    useGermanLocale();
    const auto german = resources().getFont("data/fonts/menu.xml");
    ASSERT_NE(german, nullptr);
    EXPECT_EQ(fakeOf(*german).path, dataRoot() + "data/fonts/menu_de.xml");
}

TEST_F(ResourceTest, AtlasFramesAreFoundByNameWithoutFiles) {
    writeFile("data/gfx/balls.atlas.plist", test::kAtlas);
    writeFile("data/gfx/sheet.png", "png");
    resources().loadAtlas("data/gfx/balls.atlas.plist");

    const auto* frames = resources().atlasFrames("data/gfx/balls.atlas.plist");
    ASSERT_NE(frames, nullptr);
    EXPECT_EQ(*frames, (std::vector<std::string>{"ball_red.png", "ball_blue.png"}));
    const auto blue = resources().getImage("ball_blue.png");
    ASSERT_NE(blue, nullptr);
    EXPECT_EQ(fakeOf(*blue).path, dataRoot() + "data/gfx/sheet.png");
    EXPECT_EQ(fakeOf(*blue).rect, (CGRect{{46, 0}, {46, 46}}));
    EXPECT_EQ(countInLog("atlas loaded: data/gfx/balls.atlas.plist"), 1);

    resources().loadAtlas("data/gfx/balls.atlas.plist");
    EXPECT_EQ(images->loaded.size(), 1u);
    resources().clearImageCache();
    EXPECT_EQ(resources().atlasFrames("data/gfx/balls.atlas.plist"), nullptr);

    // Without its texture an atlas loads nothing.
    std::filesystem::remove(dataRoot() + "data/gfx/sheet.png");
    resources().forgetFile("data/gfx/sheet.png");
    resources().loadAtlas("data/gfx/balls.atlas.plist");
    EXPECT_EQ(resources().atlasFrames("data/gfx/balls.atlas.plist"), nullptr);
    EXPECT_EQ(resources().getImage("ball_red.png"), nullptr);
}

// Each name with what preloading it loads; once its file is gone, only a tree that preloading put in the
// cache is still there.
TEST_F(ResourceTest, PreloadingLoadsByExtension) {
    std::string loads;
    resources().setSampleLoader([&loads](const std::string& path, bool loop) {
        loads += "sample";
        return asMedia<KTSample>(std::make_shared<FakeMedia>(FakeMedia{path, {}, loop}));
    });
    writeFile("data/gfx/sheet.png", "png");
    const std::pair<std::string, const char*> cases[] = {
        {"data/gfx/a.png", "image"},     {"data/gfx/a.jpg", "image"},         {"data/scenes/a.xml", "xml"},
        {"data/sounds/a.ogg", "sample"}, {"data/gfx/a.atlas.plist", "atlas"}, {"data/levels.plist", ""},
        {"data/notes.txt", ""}};
    for (const auto& [name, expected] : cases) {
        loads.clear();
        images->loaded.clear();
        const std::string file = writeFile(name, name.ends_with(".plist") ? test::kAtlas : "<a/>");
        resources().preloadFile(name);
        std::filesystem::remove(file);
        if (resources().atlasFrames(name)) {
            loads += "atlas";
        } else if (!images->loaded.empty()) {
            loads += "image";
        }
        if (resources().getXML(name)) loads += "xml";
        EXPECT_EQ(loads, expected) << name;
    }
}

TEST_F(ResourceTest,
       TranslationsIgnoreBlanksAndEmptyEntriesCannotAskForHugeFieldsAndAMissingFileTranslatesNothing) {
    EXPECT_EQ(KTLocalize(" Play "), " Play ");
    EXPECT_EQ(KTLocalizeFormat("Level %@", 4), "Level 4");
    useGermanLocale();
    EXPECT_EQ(KTLocalize("\n Play\n"), "Spielen");
    EXPECT_EQ(KTLocalize(" Empty "), " Empty ");
    EXPECT_EQ(KTLocalizeFormat("Level %@", 4), "Stufe 4");
    EXPECT_EQ(KTLocalizeFormat("Lives %@", 3), "Lives 3");
    EXPECT_LT(KTLocale::currentLocale()->translateString("Broken %@", 5).size(), 1000u);
    EXPECT_EQ(KTLocale::currentLocale()->substituteFont("data/fonts/other.xml"), "data/fonts/other.xml");

    KTLocale::setLocale("fr");
    EXPECT_EQ(KTLocale::currentLocale(), nullptr);
    EXPECT_EQ(KTLocalize(" Play "), " Play ");
    EXPECT_EQ(countInLog("setLocale: fr => (null), locales: de"), 1);

    KTLocale::loadLocale("pt", "data/locales/pt.plist");
    KTLocale::setLocale("pt");
    ASSERT_NE(KTLocale::currentLocale(), nullptr);
    EXPECT_EQ(KTLocalize("Play"), "Play");
}

}  // namespace
}  // namespace kt

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "engine/core/KTLanguage.h"
#include "engine/core/KTLocale.h"
#include "engine/core/KTResourceManager.h"
#include "tests/engine/core/FakeMediaLoaders.h"
#include "tests/support/DataFileTest.h"

namespace kt {
namespace {

// An environment made of the variables given.
KTLanguage::Environment environment(std::map<std::string, std::string> variables) {
    return [variables = std::move(variables)](const char* name) -> const char* {
        const auto found = variables.find(name);
        return found == variables.end() ? nullptr : found->second.c_str();
    };
}

TEST(LanguageChoiceTest, APosixLocaleNameGivesItsLanguageAndAnythingElseEnglish) {
    const std::map<std::string, std::string> cases = {
        {"de_DE.UTF-8", "de"}, {"fr_CA", "fr"},   {"de", "de"}, {"FR_fr", "fr"},
        {"de_AT@euro", "de"},  {"ast_ES", "ast"}, {"C", "en"},  {"POSIX", "en"},
        {"C.UTF-8", "en"},     {"en_GB", "en"},   {"", "en"},   {"german", "en"},
        {"../de", "en"},       {"d1_DE", "en"},   {"_DE", "en"}};
    for (const auto& [locale, language] : cases)
        EXPECT_EQ(KTLanguage::fromPosixLocale(locale), language) << locale;
}

TEST(LanguageChoiceTest, TheEnvironmentDecidesInPosixOrder) {
    EXPECT_EQ(KTLanguage::fromEnvironment(environment({})), "en");
    EXPECT_EQ(KTLanguage::fromEnvironment(environment({{"LANG", "de_DE.UTF-8"}})), "de");
    EXPECT_EQ(KTLanguage::fromEnvironment(environment({{"LANG", "de_DE.UTF-8"}, {"LC_MESSAGES", "fr_FR"}})),
              "fr");
    EXPECT_EQ(KTLanguage::fromEnvironment(
                  environment({{"LANG", "de_DE"}, {"LC_MESSAGES", "de_DE"}, {"LC_ALL", "fr_CA.UTF-8"}})),
              "fr");
    // An empty variable is passed over; a set one decides even when it names no language.
    EXPECT_EQ(KTLanguage::fromEnvironment(environment({{"LANG", "fr_FR"}, {"LC_ALL", ""}})), "fr");
    EXPECT_EQ(KTLanguage::fromEnvironment(environment({{"LANG", "de_DE"}, {"LC_ALL", "C"}})), "en");
}

TEST(LanguageChoiceTest, TheDefaultSettingNamesALanguageOrLeavesItToTheEnvironment) {
    const auto german = environment({{"LANG", "de_DE.UTF-8"}});
    EXPECT_EQ(KTLanguage::fromDefaultSetting(nullptr, german), "de");
    const std::map<std::string, std::string> cases = {
        {"auto", "de"}, {"", "de"}, {"nolocale", "en"}, {"fr", "fr"}};
    for (const auto& [setting, language] : cases)
        EXPECT_EQ(KTLanguage::fromDefaultSetting(&setting, german), language) << setting;
}

constexpr const char* kGerman =
    "<plist version=\"1.0\"><dict><key>strings</key><dict><key>Play</key><string>Spielen</string></dict>"
    "</dict></plist>";

class LanguageUseTest : public test::DataFileTest {
protected:
    LanguageUseTest() { writeFile("data/locales/de.plist", kGerman); }
};

TEST_F(LanguageUseTest, ALanguageWithItsLocaleFileIsShownAndEnglishNeedsNone) {
    EXPECT_TRUE(KTLanguage::available("en"));
    EXPECT_TRUE(KTLanguage::available("de"));
    EXPECT_EQ(KTLanguage::current(), "en");
    EXPECT_TRUE(KTLanguage::use("de"));
    EXPECT_EQ(KTLanguage::current(), "de");
    EXPECT_EQ(KTLocalize("Play"), "Spielen");
    EXPECT_FALSE(KTLanguage::use("de"));
    EXPECT_TRUE(KTLanguage::use("en"));
    EXPECT_EQ(KTLocale::currentLocale(), nullptr);
    EXPECT_EQ(KTLocalize("Play"), "Play");
}

TEST_F(LanguageUseTest, ALanguageWithoutItsFileOrWithABadNameLeavesEnglishLoggedOnce) {
    KTLanguage::use("de");
    EXPECT_TRUE(KTLanguage::use("it"));
    EXPECT_EQ(KTLanguage::current(), "en");
    EXPECT_FALSE(KTLanguage::use("it"));
    EXPECT_EQ(countInLog("data/locales/it.plist"), 1);

    for (const char* bad : {"../de", "", "de.plist/"}) {
        EXPECT_FALSE(KTLanguage::available(bad)) << bad;
        EXPECT_FALSE(KTLanguage::use(bad)) << bad;
    }
    EXPECT_EQ(KTLanguage::current(), "en");
}

// Paths found while one language was shown must not answer for the next, but atlas frames, which have no
// files, stay found.
TEST_F(LanguageUseTest, AnotherLanguageFindsItsOwnLocalisedFilesAndKeepsAtlasFrames) {
    auto images = std::make_shared<test::FakeImageLoader>();
    KTResourceManager& resources = KTResourceManager::shared();
    resources.setImageLoader(images);
    writeFile("data/gfx/title.png", "x");
    writeFile("ldata/de/data/gfx/title.png", "x");
    writeFile("data/gfx/sheet.png", "x");
    writeFile("data/gfx/balls.atlas.plist", test::kAtlas);
    resources.loadAtlas("data/gfx/balls.atlas.plist");
    EXPECT_EQ(resources.getPath("data/gfx/title.png"), dataRoot() + "data/gfx/title.png");

    KTLanguage::use("de");
    EXPECT_EQ(resources.getPath("data/gfx/title.png"), dataRoot() + "ldata/de/data/gfx/title.png");
    EXPECT_NE(resources.getImage("ball_red.png"), nullptr);
    KTLanguage::use("en");
    EXPECT_EQ(resources.getPath("data/gfx/title.png"), dataRoot() + "data/gfx/title.png");
    EXPECT_NE(resources.getImage("ball_red.png"), nullptr);
}

}  // namespace
}  // namespace kt

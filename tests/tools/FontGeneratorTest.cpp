#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <tuple>

#include "engine/core/XMLElement.h"
#include "tests/support/DataFileTest.h"
#include "tools/content/FontGenerator.h"
#include "tools/content/RgbaImage.h"

namespace moonbrook::tools {
namespace {

constexpr const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
// The title face, which has no no-break spaces of its own.
constexpr const char* kTitleFontFile = "/usr/share/fonts/opentype/lobster/lobster.otf";

struct Char {
    int x, y, width, height, xoffset, xadvance;
};

float number(const kt::XMLElement& element, const char* name) {
    const std::string* text = element.attribute(name);
    return text ? std::stof(*text) : -1.0f;
}

class FontGeneratorTest : public kt::test::DataFileTest {
protected:
    std::shared_ptr<const kt::XMLElement> generate(float outline, const char* fontFile = kFontFile) {
        FontStyle style;
        style.fontPath = fontFile;
        style.pixelSize = 18;
        style.fillTop = {255, 255, 255};
        style.fillBottom = {200, 180, 255};
        style.outline = {40, 20, 60};
        style.outlineWidth = outline;
        style.characters = latinCharacters();
        std::filesystem::create_directories(dataRoot() + "fonts");
        EXPECT_EQ(generateFont(style, dataRoot() + "fonts/test.xml"), std::nullopt);
        return kt::XMLElement::fromFile(dataRoot() + "fonts/test.xml");
    }

    static std::map<int, Char> chars(const kt::XMLElement& root) {
        std::map<int, Char> result;
        for (const kt::XMLElement& element : root.childNamed("chars")->children()) {
            result[static_cast<int>(number(element, "id"))] = {
                static_cast<int>(number(element, "x")),       static_cast<int>(number(element, "y")),
                static_cast<int>(number(element, "width")),   static_cast<int>(number(element, "height")),
                static_cast<int>(number(element, "xoffset")), static_cast<int>(number(element, "xadvance"))};
        }
        return result;
    }
};

TEST_F(FontGeneratorTest, WritesAPageAndADrawnRectangleForEveryLatinCharacter) {
    const auto root = generate(2.0f);
    ASSERT_TRUE(root);
    const kt::XMLElement* page = root->childNamed("pages")->childNamed("page");
    ASSERT_TRUE(page);
    const auto pageImage = RgbaImage::load(dataRoot() + "fonts/" + *page->attribute("file"));
    ASSERT_TRUE(pageImage);

    const std::map<int, Char> table = chars(*root);
    for (const char32_t code : latinCharacters()) {
        if (code == U'\u00ad') continue;
        ASSERT_TRUE(table.contains(static_cast<int>(code))) << static_cast<int>(code);
    }
    for (const auto& [code, glyph] : table) {
        ASSERT_LE(glyph.x + glyph.width, pageImage->width) << code;
        ASSERT_LE(glyph.y + glyph.height, pageImage->height) << code;
        if (code == ' ' || glyph.width == 0) continue;
        int opaque = 0;
        for (int y = glyph.y; y < glyph.y + glyph.height; ++y) {
            for (int x = glyph.x; x < glyph.x + glyph.width; ++x)
                opaque += pageImage->pixel(x, y)[3] > 128;
        }
        EXPECT_GT(opaque, 0) << "character " << code << " is blank";
    }
}

TEST_F(FontGeneratorTest, StoresAdvancesThatMoveTheTextPenByTheRealAdvanceAndKeepsKerningPairs) {
    const auto root = generate(0.0f);
    ASSERT_TRUE(root);
    const std::map<int, Char> table = chars(*root);
    const auto pen = [&](char c) { return table.at(c).xadvance - table.at(c).xoffset; };
    // DejaVu Sans Bold at 18 px: "W" is about 19 px wide, "i" about 6, the space about 6.
    EXPECT_NEAR(pen('W'), 19, 2);
    EXPECT_NEAR(pen('i'), 6, 2);
    EXPECT_NEAR(pen(' '), 6, 2);
    const kt::XMLElement* kernings = root->childNamed("kernings");
    ASSERT_TRUE(kernings);
    bool foundAV = false;
    for (const kt::XMLElement& kerning : kernings->children()) {
        if (number(kerning, "first") == 'A' && number(kerning, "second") == 'V') {
            foundAV = true;
            EXPECT_LT(number(kerning, "amount"), 0.0f);
        }
    }
    EXPECT_TRUE(foundAV);
}

TEST_F(FontGeneratorTest, LendsThePlainSpaceToAFaceWithoutNoBreakSpaces) {
    const auto root = generate(0.0f, kTitleFontFile);
    ASSERT_TRUE(root);
    const std::map<int, Char> table = chars(*root);
    for (const int code : {0xa0, 0x202f}) {
        ASSERT_TRUE(table.contains(code)) << code;
        EXPECT_EQ(table.at(code).xadvance, table.at(' ').xadvance) << code;
    }
}

TEST_F(FontGeneratorTest, ReportsAMissingFontAndWritesNothing) {
    FontStyle style;
    style.fontPath = dataRoot() + "no-such-font.ttf";
    style.characters = latinCharacters();
    const auto problem = generateFont(style, dataRoot() + "missing.xml");
    ASSERT_TRUE(problem);
    EXPECT_NE(problem->find("no-such-font.ttf"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(dataRoot() + "missing.xml"));
}

TEST(FontColor, ReadsHexadecimalColoursOnly) {
    const auto color = parseFontColor("#2a1240");
    ASSERT_TRUE(color);
    EXPECT_EQ(std::tuple(color->r, color->g, color->b), std::tuple(0x2a, 0x12, 0x40));
    for (const char* bad : {"", "#12345", "12345g", "#1234567", "red"})
        EXPECT_FALSE(parseFontColor(bad)) << bad;
}

}  // namespace
}  // namespace moonbrook::tools

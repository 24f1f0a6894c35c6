#include <gtest/gtest.h>

#include "engine/core/KTResourceManager.h"
#include "engine/render/KTFont.h"
#include "tests/engine/render/FontTest.h"

namespace kt::test {
namespace {

class KTFontTest : public FontTest {
protected:
    std::shared_ptr<KTFont> font = KTResourceManager::shared().getFont(kFontName);
};

TEST_F(KTFontTest, ReadsGlyphsOnTheirPageWithKerningAndMeasuresTexts) {
    ASSERT_TRUE(font);
    const KTGlyph* glyph = font->getGlyphForChar('b');
    ASSERT_TRUE(glyph);
    ASSERT_TRUE(glyph->page());
    EXPECT_EQ(glyph->trect(), (CGRect{{0.25f, 0}, {0.125f, 0.1875f}}));
    EXPECT_EQ(glyph->getRect({100, 50}), (CGRect{{100, 54}, {8, 12}}));
    const KTGlyph* a = font->getGlyphForChar('A');
    EXPECT_FLOAT_EQ(a->getKerningForNext('W'), 3);
    EXPECT_FLOAT_EQ(a->getKerningForNext('X'), 0);
    EXPECT_FALSE(font->getGlyphForChar('z'));

    // A width sums the advances, less the offsets and the kerning; characters without glyphs count nothing.
    const std::pair<const char*, float> widths[] = {{"", 0},    {"abc", 30}, {"a b", 25}, {"AV", 22},
                                                    {"VA", 24}, {"x", 8},    {"a?a", 20}, {"a\xC3\xA9", 10}};
    for (const auto& [text, width] : widths) {
        SCOPED_TRACE(text);
        EXPECT_FLOAT_EQ(font->width(text), width);
    }
}

TEST_F(KTFontTest, DrawsEachGlyphAtItsRoundedPlaceInOneBatch) {
    render->begin();
    font->draw(*render, "Ax", {10, 20});
    render->end();
    ASSERT_EQ(backend->batches.size(), 1u);
    const auto& vertices = backend->batches[0].vertices;
    ASSERT_EQ(vertices.size(), 8u);
    EXPECT_FLOAT_EQ(vertices[4].x, 24);
    EXPECT_FLOAT_EQ(vertices[4].y, 27);
    EXPECT_FLOAT_EQ(vertices[4].u, 0.5f);
}

TEST_F(KTFontTest, FilterKeepsOnlyCharactersWithGlyphs) {
    EXPECT_EQ(font->filterString("a\xC3\xA9 b?c\n"), "a bc");
    EXPECT_EQ(font->filterString("a\xFF\xC3"
                                 "b\xE2\x82"),
              "ab");
}

TEST_F(KTFontTest, ExtraKerningEntriesAreDroppedAndLogged) {
    KTGlyph glyph('q', nullptr, {{0, 0}, {4, 4}}, 0, 0, 4);
    for (int next = 1000; next < 1256; ++next)
        glyph.addKerning(1, next);
    glyph.addKerning(7, 'Z');
    EXPECT_FLOAT_EQ(glyph.getKerningForNext('Z'), 0);
    EXPECT_EQ(countInLog("MAX_KERNING reached!"), 1);
}

TEST_F(KTFontTest, FontWithoutItsPartsHasNoGlyphsAndAMissingFileNoFont) {
    writeFile("fonts/empty.xml", "<font><info face=\"x\"/></font>");
    const auto empty = KTResourceManager::shared().getFont("fonts/empty.xml");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->glyphs().empty());
    EXPECT_FLOAT_EQ(empty->width("abc"), 0);
    EXPECT_FALSE(KTResourceManager::shared().getFont("fonts/missing.xml"));
}

}  // namespace
}  // namespace kt::test

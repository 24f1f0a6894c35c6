#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "engine/core/KTDataSource.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTNodeFactory.h"
#include "engine/core/KTResourceManager.h"
#include "engine/render/KTFont.h"
#include "engine/render/KTText.h"
#include "tests/engine/render/RenderTest.h"

namespace kt::test {
namespace {

// Writes "fonts/test.xml": one 64 x 64 page; a, b and c advance 10, the blank 5, A and V 12 with A
// kerned by -2 before V and by 3 before W; x carries an offset of 2 inside its advance of 10.
class FontTest : public RenderTest {
protected:
    FontTest() {
        writePng("fonts/test_0.png", 64, 64, 0xFFFFFFFF);
        writeFile(kFontName, R"(<font>
      <info face="test"/>
      <pages><page id="0" file="test_0.png"/></pages>
      <chars count="7">
        <char id="97" x="0" y="0" width="8" height="12" xoffset="0" yoffset="4" xadvance="10" page="0"/>
        <char id="98" x="16" y="0" width="8" height="12" xoffset="0" yoffset="4" xadvance="10" page="0"/>
        <char id="99" x="32" y="0" width="8" height="12" xoffset="0" yoffset="4" xadvance="10" page="0"/>
        <char id="32" x="48" y="48" width="0" height="0" xoffset="0" yoffset="0" xadvance="5" page="0"/>
        <char id="65" x="0" y="16" width="12" height="16" xoffset="0" yoffset="0" xadvance="12" page="0"/>
        <char id="86" x="16" y="16" width="12" height="16" xoffset="0" yoffset="0" xadvance="12" page="0"/>
        <char id="120" x="32" y="32" width="6" height="8" xoffset="2" yoffset="6.5" xadvance="10" page="0"/>
      </chars>
      <kernings>
        <kerning first="65" second="86" amount="-2"/>
        <kerning first="65" second="87" amount="3"/>
      </kernings>
    </font>)");
    }

    static constexpr const char* kFontName = "fonts/test.xml";
};

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

class KTTextTest : public FontTest {
protected:
    std::shared_ptr<KTText> makeText(XMLAttributes attributes) {
        attributes.set("font", kFontName);
        auto text = std::static_pointer_cast<KTText>(KTNodeFactory::shared().generateNodeOfType("text"));
        text->setAttributes(attributes);
        return text;
    }
    // The left edge and top of each glyph drawn in one frame.
    std::vector<CGPoint> glyphCorners(KTNode& node) {
        drawNode(node);
        std::vector<CGPoint> corners;
        for (const auto& batch : backend->batches) {
            for (std::size_t i = 0; i < batch.vertices.size(); i += 4)
                corners.push_back({batch.vertices[i].x, batch.vertices[i].y});
        }
        return corners;
    }
};

TEST_F(KTTextTest, WrapsAtBlanksIntoLinesOfTheNodeWidth) {
    const std::tuple<const char*, float, std::vector<std::string>> cases[] = {
        {"aaa bbb ccc", 65, {"aaa bbb", "ccc"}}, {"aaa bbb ccc", 100, {"aaa bbb ccc"}},
        {"aaaaaa bb", 40, {"", "aaaaaa", "bb"}}, {"aa\nbb", 45, {"aa bb"}},
        {"aa  bb", 30, {"aa ", "bb"}},           {"", 30, {""}}};
    for (const auto& [shown, width, lines] : cases) {
        SCOPED_TRACE(::testing::Message() << '"' << shown << "\" in " << width);
        const auto text = makeText({{"w", std::to_string(width)}, {"line_height", "20"}});
        text->setText(shown);
        EXPECT_EQ(text->lines(), lines);
    }
}

TEST_F(KTTextTest, AlignsLinesHorizontallyAndVertically) {
    const auto right = makeText({{"x", "200"}, {"y", "10"}, {"align", "right"}});
    right->setText("abcb");
    EXPECT_FLOAT_EQ(glyphCorners(*right).front().x, 160);

    backend->batches.clear();
    const auto centred = makeText({{"x", "0"},
                                   {"y", "0"},
                                   {"w", "100"},
                                   {"h", "100"},
                                   {"line_height", "20"},
                                   {"align", "center"},
                                   {"valign", "center"}});
    centred->setText("aaaaaa bbbbbb cccccc");
    ASSERT_EQ(centred->lines().size(), 3u);
    const std::vector<CGPoint> corners = glyphCorners(*centred);
    EXPECT_FLOAT_EQ(corners.front().x, 20);
    EXPECT_FLOAT_EQ(corners.front().y, 20 + 4);
    EXPECT_FLOAT_EQ(corners.back().x, 20 + 50);
    EXPECT_FLOAT_EQ(corners.back().y, 60 + 4);
}

TEST_F(KTTextTest, ATimeShowsMinutesAndSecondsRoundedUp) {
    const std::pair<float, const char*> times[] = {
        {125.2f, "02:06"}, {0, "00:00"}, {59.5f, "01:00"}, {3601, "00:01"}};
    for (const auto& [seconds, shown] : times) {
        KTText text;
        text.setTime(seconds);
        EXPECT_EQ(text.text(), shown) << seconds << " s";
    }
}

TEST_F(KTTextTest, FollowsItsValueProviderAfterTheDelay) {
    const auto score = std::make_shared<KTStringDataSource>("10");
    const auto text = makeText({{"dataSourceDelay", "0.5"}});
    text->setDataSource(score);
    EXPECT_EQ(text->text(), "10");
    runScene()->addChild(text);
    score->setString("20");
    EXPECT_EQ(text->text(), "10");
    KTDirector::shared().setFixedDeltaTime(0.3f);
    for (int frame = 0; frame < 3; ++frame)
        KTDirector::shared().doUpdate();
    EXPECT_EQ(text->text(), "20");
}

TEST_F(KTTextTest, AFontWithoutItsPartsHasNoGlyphsAndATextWithoutItsFontDrawsNothing) {
    writeFile("fonts/empty.xml", "<font><info face=\"x\"/></font>");
    const auto empty = KTResourceManager::shared().getFont("fonts/empty.xml");
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->glyphs().empty());
    EXPECT_FLOAT_EQ(empty->width("abc"), 0);
    EXPECT_FALSE(KTResourceManager::shared().getFont("fonts/missing.xml"));
    KTText text;
    text.setAttributes({{"font", "fonts/missing.xml"}});
    text.setText("abc");
    EXPECT_TRUE(glyphCorners(text).empty());
}

}  // namespace
}  // namespace kt::test

#include <gtest/gtest.h>

#include "engine/core/KTDataSource.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTNodeFactory.h"
#include "engine/render/KTText.h"
#include "tests/engine/render/FontTest.h"

namespace kt::test {
namespace {

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
        render->begin();
        node.visit();
        render->end();
        std::vector<CGPoint> corners;
        for (const auto& batch : backend->batches) {
            for (std::size_t i = 0; i < batch.vertices.size(); i += 4)
                corners.push_back({batch.vertices[i].x, batch.vertices[i].y});
        }
        return corners;
    }
};

struct WrapCase {
    const char* text;
    float width;
    std::vector<std::string> lines;
};

class KTTextWrapTest : public KTTextTest, public ::testing::WithParamInterface<WrapCase> {};

TEST_P(KTTextWrapTest, WrapsAtBlanksIntoLinesOfTheNodeWidth) {
    const auto text = makeText({{"w", std::to_string(GetParam().width)}, {"line_height", "20"}});
    text->setText(GetParam().text);
    EXPECT_EQ(text->lines(), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Texts, KTTextWrapTest,
                         ::testing::Values(WrapCase{"aaa bbb ccc", 65, {"aaa bbb", "ccc"}},
                                           WrapCase{"aaa bbb ccc", 100, {"aaa bbb ccc"}},
                                           WrapCase{"aaaaaa bb", 40, {"", "aaaaaa", "bb"}},
                                           WrapCase{"aa\nbb", 45, {"aa bb"}},
                                           WrapCase{"aa  bb", 30, {"aa ", "bb"}}, WrapCase{"", 30, {""}}));

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

TEST_F(KTTextTest, TextIsTintedByTheNodeAndRestoresTheRendererColour) {
    const auto text = makeText({{"color", "00FF00"}});
    text->setText("a");
    render->setColor(Color{0x80FFFFFF});
    render->begin();
    render->setColor(Color{0x80FFFFFF});
    text->visit();
    EXPECT_EQ(render->color(), Color{0x80FFFFFF});
    render->end();
    const KTBackendVertex& vertex = backend->batches.at(0).vertices.at(0);
    EXPECT_EQ(vertex.r, 0);
    EXPECT_EQ(vertex.g, 0xFF);
    EXPECT_EQ(vertex.a, 0x80);
}

struct TimeCase {
    float seconds;
    const char* shown;
};

class KTTextTimeTest : public KTTextTest, public ::testing::WithParamInterface<TimeCase> {};

TEST_P(KTTextTimeTest, ShowsMinutesAndSecondsRoundedUp) {
    KTText text;
    text.setTime(GetParam().seconds);
    EXPECT_EQ(text.text(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Times, KTTextTimeTest,
                         ::testing::Values(TimeCase{125.2f, "02:06"}, TimeCase{0, "00:00"},
                                           TimeCase{59.5f, "01:00"}, TimeCase{3601, "00:01"}));

TEST_F(KTTextTest, FollowsItsValueProviderAfterTheDelay) {
    const auto score = std::make_shared<KTStringDataSource>("10");
    const auto text = makeText({{"dataSourceDelay", "0.5"}});
    text->setDataSource(score);
    EXPECT_EQ(text->text(), "10");
    runScene()->addChild(text);
    score->setString("20");
    EXPECT_EQ(text->text(), "10");
    KTDirector::shared().setFixedDeltaTime(0.3f);
    KTDirector::shared().doUpdate();
    KTDirector::shared().doUpdate();
    KTDirector::shared().doUpdate();
    EXPECT_EQ(text->text(), "20");

    const auto immediate = makeText({});
    immediate->setDataSource(score);
    score->setString("30");
    EXPECT_EQ(immediate->text(), "30");
}

TEST_F(KTTextTest, TextWithoutItsFontDrawsNothing) {
    KTText text;
    text.setAttributes({{"font", "fonts/missing.xml"}});
    text.setText("abc");
    EXPECT_TRUE(glyphCorners(text).empty());
}

}  // namespace
}  // namespace kt::test

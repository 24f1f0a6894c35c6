#include <gtest/gtest.h>

#include <tuple>

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
    KTDirector::shared().doUpdate();
    KTDirector::shared().doUpdate();
    KTDirector::shared().doUpdate();
    EXPECT_EQ(text->text(), "20");
}

TEST_F(KTTextTest, TextWithoutItsFontDrawsNothing) {
    KTText text;
    text.setAttributes({{"font", "fonts/missing.xml"}});
    text.setText("abc");
    EXPECT_TRUE(glyphCorners(text).empty());
}

}  // namespace
}  // namespace kt::test

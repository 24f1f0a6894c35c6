#include <gmock/gmock.h>

#include <functional>
#include <string>

#include "engine/actions/KTActionTween.h"
#include "engine/actions/KTFloatProperty.h"
#include "tests/engine/actions/ActionTestFixture.h"

namespace kt::test {
namespace {

// A node with a float property of its own, registered by name as game classes register theirs.
class ScrollingNode : public KTNode {
public:
    KT_CLASS(ScrollingNode)

    float displacementX() const { return displacementX_; }
    void setDisplacementX(float value) { displacementX_ = value; }

private:
    float displacementX_ = 0;
};

const KTClass& ScrollingNode::staticClass() {
    static const KTClass& cls = KTClass::define<ScrollingNode>("ScrollingNode", KTNode::staticClass());
    return cls;
}
KT_REGISTER_CLASS(ScrollingNode);
KT_REGISTER_FLOAT_PROPERTY(ScrollingNode, "displacementX", displacementX, setDisplacementX);

class DerivedScrollingNode : public ScrollingNode {
public:
    KT_CLASS(DerivedScrollingNode)
};

const KTClass& DerivedScrollingNode::staticClass() {
    static const KTClass& cls =
        KTClass::define<DerivedScrollingNode>("DerivedScrollingNode", ScrollingNode::staticClass());
    return cls;
}
KT_REGISTER_CLASS(DerivedScrollingNode);

struct FloatTweenCase {
    std::string name;
    std::function<std::shared_ptr<KTActionInterval>(float seconds, float end)> make;
    std::function<float(const KTNode&)> read;
    std::function<void(KTNode&, float)> write;
};

void PrintTo(const FloatTweenCase& c, std::ostream* out) {
    *out << c.name;
}

class FloatTweenTest : public ActionTest, public ::testing::WithParamInterface<FloatTweenCase> {};

TEST_P(FloatTweenTest, GoesFromTheValueAtStartToTheEndValue) {
    const FloatTweenCase& c = GetParam();
    const auto scrolling = KTNode::node<DerivedScrollingNode>();
    const auto tween = c.make(1, 30);
    c.write(*scrolling, 100);
    c.write(*scrolling, 10);
    scrolling->runAction(tween);
    frames(2, 0.25f);
    EXPECT_EQ(c.read(*scrolling), 15);
    frames(3, 0.25f);
    EXPECT_EQ(c.read(*scrolling), 30);
    EXPECT_EQ(manager().runningActionCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Properties, FloatTweenTest,
    ::testing::Values(
        FloatTweenCase{"x", [](float s, float e) { return KTActionTweenX::actionWithDuration(s, e); },
                       [](const KTNode& n) { return n.x(); }, [](KTNode& n, float v) { n.setX(v); }},
        FloatTweenCase{"y", [](float s, float e) { return KTActionTweenY::actionWithDuration(s, e); },
                       [](const KTNode& n) { return n.y(); }, [](KTNode& n, float v) { n.setY(v); }},
        FloatTweenCase{"w", [](float s, float e) { return KTActionTweenW::actionWithDuration(s, e); },
                       [](const KTNode& n) { return n.w(); }, [](KTNode& n, float v) { n.setW(v); }},
        FloatTweenCase{"h", [](float s, float e) { return KTActionTweenH::actionWithDuration(s, e); },
                       [](const KTNode& n) { return n.h(); }, [](KTNode& n, float v) { n.setH(v); }},
        FloatTweenCase{
            "key", [](float s, float e) { return KTActionTween::actionWithDuration(s, "displacementX", e); },
            [](const KTNode& n) { return static_cast<const ScrollingNode&>(n).displacementX(); },
            [](KTNode& n, float v) { static_cast<ScrollingNode&>(n).setDisplacementX(v); }}),
    [](const ::testing::TestParamInfo<FloatTweenCase>& param) { return param.param.name; });

using TweenTest = ActionTest;

TEST_F(TweenTest, EndsExactlyOnTheEndValue) {
    node->setX(0.1f);
    const auto tween = KTActionTweenX::actionWithDuration(1, 0.7f);
    tween->startWithTarget(node);
    tween->update(1);
    EXPECT_EQ(node->x(), 0.7f);
}

TEST_F(TweenTest, KeyTweenLeavesANodeWithoutThatPropertyAlone) {
    node->setPosition({3, 4});
    node->runAction(KTActionTween::actionWithDuration(0.5f, "displacementX", 100));
    node->runAction(KTActionTween::actionWithDuration(0.5f, "noSuchProperty", 100));
    frames(3, 0.25f);
    EXPECT_EQ(node->position(), CGPointMake(3, 4));
    EXPECT_EQ(KTFloatProperty::find(*node, "displacementX"), nullptr);
}

TEST_F(TweenTest, ColourFadesChannelByChannelFromTheColourAtStart) {
    const auto fade = KTActionTweenColor::actionWithDuration(1, Color{0xFFFFFFFF});
    node->setColor(Color{0xFF000000});
    node->runAction(fade);
    frames(3, 0.25f);
    EXPECT_EQ(node->color(), Color{0xFF7F7F7F});
    frames(2, 0.25f);
    EXPECT_EQ(node->color(), Color{0xFFFFFFFF});
}

}  // namespace
}  // namespace kt::test

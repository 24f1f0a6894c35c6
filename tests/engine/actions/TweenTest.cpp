// Tweens, and the eases that drive them.
#include <gmock/gmock.h>

#include <cmath>
#include <functional>

#include "engine/actions/KTActionTween.h"
#include "engine/actions/KTEase.h"
#include "engine/actions/KTFloatProperty.h"
#include "tests/engine/actions/ActionTestFixture.h"

namespace kt::test {
namespace {

using ::testing::ElementsAre;

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

using FloatTweenTest = ActionTest;

// x stands for the node's floats, which share one template; displacementX is registered by name on a base
// class.
TEST_F(FloatTweenTest, GoesFromTheValueAtStartToTheEndValue) {
    const auto scrolling = KTNode::node<DerivedScrollingNode>();
    const auto moveX = KTActionTweenX::actionWithDuration(1, 30);
    const auto scroll = KTActionTween::actionWithDuration(1, "displacementX", 30);
    scrolling->setX(10);
    scrolling->setDisplacementX(10);
    scrolling->runAction(moveX);
    scrolling->runAction(scroll);
    frames(2, 0.25f);
    EXPECT_EQ(scrolling->x(), 15);
    EXPECT_EQ(scrolling->displacementX(), 15);
    frames(3, 0.25f);
    EXPECT_EQ(scrolling->x(), 30);
    EXPECT_EQ(scrolling->displacementX(), 30);
    EXPECT_EQ(manager().runningActionCount(), 0u);
}

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

using EaseMaker = std::function<std::shared_ptr<KTActionEase>(std::shared_ptr<KTActionInterval>)>;

template <typename Ease>
EaseMaker withRate(float rate) {
    return [rate](std::shared_ptr<KTActionInterval> other) {
        return Ease::actionWithAction(std::move(other), rate);
    };
}

template <typename Ease>
EaseMaker plain() {
    return [](std::shared_ptr<KTActionInterval> other) { return Ease::actionWithAction(std::move(other)); };
}

struct EaseCase {
    const char* name;
    EaseMaker make;
    float t;
    float expected;
    // Bit-exact where the curve is meant to hit a value exactly, else within four float steps.
    bool exact;
};

TEST(EaseCurveTest, HandsTheWrappedActionTheCurvesValue) {
    const EaseCase cases[] = {
        {"none", plain<KTActionEase>(), 0.3f, 0.3f, true},
        {"in 3", withRate<KTEaseIn>(3), 0.5f, 0.125f, true},
        {"out 3", withRate<KTEaseOut>(3), 0.125f, 0.5f, false},
        {"in-out 2 first half", withRate<KTEaseInOut>(2), 0.25f, 0.125f, true},
        {"in-out 3 second half", withRate<KTEaseInOut>(3), 0.75f, 0.9375f, true},
        // A fractional rate mirrors the first half instead of raising a negative number to it.
        {"in-out 2.5 second half", withRate<KTEaseInOut>(2.5f), 0.75f,
         static_cast<float>(1 - 0.5 * std::pow(0.5, 2.5)), false},
        {"exponential in start", plain<KTEaseExponentialIn>(), 0, 0, true},
        {"exponential in middle", plain<KTEaseExponentialIn>(), 0.5f, 0.03125f - 0.001f, false},
        {"exponential in end", plain<KTEaseExponentialIn>(), 1, 0.999f, true},
        {"exponential out middle", plain<KTEaseExponentialOut>(), 0.5f, 0.96875f, true},
        {"exponential out end", plain<KTEaseExponentialOut>(), 1, 1, true},
        {"exponential in-out start", plain<KTEaseExponentialInOut>(), 0, 0.00048828125f, true},
        {"exponential in-out end", plain<KTEaseExponentialInOut>(), 1, 0.99951171875f, true},
        {"sine in middle", plain<KTEaseSineIn>(), 0.5f, 1 - std::sqrt(0.5f), false},
        {"sine in end", plain<KTEaseSineIn>(), 1, 1, true},
        {"sine out middle", plain<KTEaseSineOut>(), 0.5f, std::sqrt(0.5f), false},
        {"sine out end", plain<KTEaseSineOut>(), 1, 1, true},
        {"sine in-out quarter", plain<KTEaseSineInOut>(), 0.25f, 0.5f - 0.5f * std::sqrt(0.5f), false},
        {"sine in-out end", plain<KTEaseSineInOut>(), 1, 1, true}};
    for (const EaseCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.name << " at " << c.t);
        const float eased = c.make(nullptr)->ease(c.t);
        if (c.exact) {
            EXPECT_EQ(eased, c.expected);
        } else {
            EXPECT_FLOAT_EQ(eased, c.expected);
        }
    }
}

using EaseTest = ActionTest;

TEST_F(EaseTest, TakesItsDurationFromTheWrappedActionAndAloneDecidesWhenItIsDone) {
    const auto inner = interval("inner", 1);
    const auto ease = KTEaseIn::actionWithAction(inner, 2);
    EXPECT_EQ(ease->duration(), 1);
    node->runAction(ease);
    frames(3, 0.5f);
    EXPECT_THAT(takeLog(), ElementsAre("inner start", "inner 0", "inner 0.25", "inner 1"));
    EXPECT_EQ(inner->elapsed(), 0);
    EXPECT_EQ(manager().runningActionCount(), 0u);
}

}  // namespace
}  // namespace kt::test

#include <gmock/gmock.h>

#include <cctype>
#include <cmath>
#include <functional>
#include <string>

#include "engine/actions/KTEase.h"
#include "tests/engine/actions/ActionTestFixture.h"

namespace kt::test {
namespace {

using ::testing::ElementsAre;

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
    std::string name;
    EaseMaker make;
    float t;
    float expected;
    // Bit-exact where the curve is meant to hit a value exactly, else within four float steps.
    bool exact;
};

void PrintTo(const EaseCase& c, std::ostream* out) {
    *out << c.name << " at " << c.t;
}

class EaseCurveTest : public ::testing::TestWithParam<EaseCase> {};

TEST_P(EaseCurveTest, HandsTheWrappedActionTheCurvesValue) {
    const EaseCase& c = GetParam();
    const float eased = c.make(nullptr)->ease(c.t);
    if (c.exact) {
        EXPECT_EQ(eased, c.expected);
    } else {
        EXPECT_FLOAT_EQ(eased, c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Curves, EaseCurveTest,
    ::testing::Values(
        EaseCase{"none", plain<KTActionEase>(), 0.3f, 0.3f, true},
        EaseCase{"in 3", withRate<KTEaseIn>(3), 0.5f, 0.125f, true},
        EaseCase{"out 3", withRate<KTEaseOut>(3), 0.125f, 0.5f, false},
        EaseCase{"in-out 2 first half", withRate<KTEaseInOut>(2), 0.25f, 0.125f, true},
        EaseCase{"in-out 3 second half", withRate<KTEaseInOut>(3), 0.75f, 0.9375f, true},
        // A fractional rate mirrors the first half instead of raising a negative number to it.
        EaseCase{"in-out 2.5 second half", withRate<KTEaseInOut>(2.5f), 0.75f,
                 static_cast<float>(1 - 0.5 * std::pow(0.5, 2.5)), false},
        EaseCase{"exponential in start", plain<KTEaseExponentialIn>(), 0, 0, true},
        EaseCase{"exponential in middle", plain<KTEaseExponentialIn>(), 0.5f, 0.03125f - 0.001f, false},
        EaseCase{"exponential in end", plain<KTEaseExponentialIn>(), 1, 0.999f, true},
        EaseCase{"exponential out middle", plain<KTEaseExponentialOut>(), 0.5f, 0.96875f, true},
        EaseCase{"exponential out end", plain<KTEaseExponentialOut>(), 1, 1, true},
        EaseCase{"exponential in-out start", plain<KTEaseExponentialInOut>(), 0, 0.00048828125f, true},
        EaseCase{"exponential in-out end", plain<KTEaseExponentialInOut>(), 1, 0.99951171875f, true},
        EaseCase{"sine in middle", plain<KTEaseSineIn>(), 0.5f, 1 - std::sqrt(0.5f), false},
        EaseCase{"sine in end", plain<KTEaseSineIn>(), 1, 1, true},
        EaseCase{"sine out middle", plain<KTEaseSineOut>(), 0.5f, std::sqrt(0.5f), false},
        EaseCase{"sine out end", plain<KTEaseSineOut>(), 1, 1, true},
        EaseCase{"sine in-out quarter", plain<KTEaseSineInOut>(), 0.25f, 0.5f - 0.5f * std::sqrt(0.5f),
                 false},
        EaseCase{"sine in-out end", plain<KTEaseSineInOut>(), 1, 1, true}),
    [](const ::testing::TestParamInfo<EaseCase>& param) {
        std::string name = param.param.name;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        }
        return name;
    });

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

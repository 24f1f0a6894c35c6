#include <gmock/gmock.h>

#include <functional>
#include <string>

#include "engine/actions/KTInstantActions.h"
#include "tests/engine/actions/ActionTestFixture.h"
#include "tests/engine/actions/RecordingNodes.h"

namespace kt::test {
namespace {

using ::testing::ElementsAre;

struct FlagCase {
    std::string name;
    std::function<std::shared_ptr<KTActionInstant>()> make;
    std::function<void(KTNode&)> prepare;
    std::function<bool(const KTNode&)> holds;
};

void PrintTo(const FlagCase& c, std::ostream* out) {
    *out << c.name;
}

class InstantEffectTest : public ActionTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(InstantEffectTest, WorksWhenStartedAndNotLater) {
    const FlagCase& c = GetParam();
    c.prepare(*node);
    node->runAction(c.make());
    EXPECT_TRUE(c.holds(*node));
    c.prepare(*node);
    frame(0.25f);
    EXPECT_FALSE(c.holds(*node));
    EXPECT_EQ(manager().runningActionCount(), 0u);
}

TEST_P(InstantEffectTest, StartedWithoutANodeDoesNothing) {
    GetParam().make()->startWithTarget(nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Effects, InstantEffectTest,
    ::testing::Values(
        FlagCase{"Show", [] { return KTShow::action(); }, [](KTNode& n) { n.setVisible(false); },
                 [](const KTNode& n) { return n.visible(); }},
        FlagCase{"Hide", [] { return KTHide::action(); }, [](KTNode& n) { n.setVisible(true); },
                 [](const KTNode& n) { return !n.visible(); }},
        FlagCase{"Enable", [] { return KTEnable::action(); }, [](KTNode& n) { n.setEnabled(false); },
                 [](const KTNode& n) { return n.enabled(); }},
        FlagCase{"Disable", [] { return KTDisable::action(); }, [](KTNode& n) { n.setEnabled(true); },
                 [](const KTNode& n) { return !n.enabled(); }},
        FlagCase{"SetColor", [] { return KTSetColor::actionWithTargetColor(Color{0x80102030}); },
                 [](KTNode& n) { n.setColor(kColorWhite); },
                 [](const KTNode& n) { return n.color() == Color{0x80102030}; }}),
    [](const ::testing::TestParamInfo<FlagCase>& param) { return param.param.name; });

using InstantActionTest = ActionTest;

TEST_F(InstantActionTest, CallFindsTheOperationByNameWithOrWithoutItsArgument) {
    const auto target = KTNode::node<RecordingNode>();
    target->runAction(KTCall::actionWithSelectorName("bump"));
    target->runAction(KTCall::actionWithSelectorName("note:", std::string("hello")));
    target->runAction(KTCall::actionWithSelectorName("noSuchOperation"));
    EXPECT_THAT(target->calls, ElementsAre("bump", "note hello"));
    node->runAction(KTCall::actionWithSelectorName("bump"));
}

TEST_F(InstantActionTest, RemoveTakesTheNodeOutOfItsParentOnly) {
    const auto parent = KTNode::node();
    parent->addChild(node);
    node->runAction(KTRemove::action());
    EXPECT_FALSE(parent->hasChildren());
    EXPECT_EQ(node->parent(), nullptr);
    node->runAction(KTRemove::action());
}

}  // namespace
}  // namespace kt::test

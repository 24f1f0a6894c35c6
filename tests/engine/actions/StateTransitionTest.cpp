#include <gmock/gmock.h>

#include <string>

#include "engine/core/KTDirector.h"
#include "engine/core/KTState.h"
#include "tests/engine/actions/ActionTestFixture.h"
#include "tests/engine/actions/RecordingNodes.h"

namespace kt::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class StateTransitionTest : public ActionTest {
protected:
    StateTransitionTest() {
        runScene(scene);
        scene->addChild(target);
    }

    KTState& addState(const std::string& name) {
        auto state = std::make_shared<KTState>();
        state->name = name;
        target->addState(state);
        return *state;
    }

    std::shared_ptr<RecordingScene> scene = std::make_shared<RecordingScene>();
    std::shared_ptr<RecordingNode> target = KTNode::node<RecordingNode>();
};

TEST_F(StateTransitionTest, WithTimeZeroAppliesValuesAndEndEffectsWithinTheCall) {
    KTState& open = addState("open");
    open.values = {{"x", 40},      {"y", 50},     {"w", 60}, {"h", 70}, {"color", 0x80FF0000},
                   {"visible", 0}, {"enabled", 0}};
    open.callName = "bump";
    open.startMessage = "note:start";
    open.message = "note:end";
    addState("after").values = {{"x", 5}};
    open.nextStateName = "after";
    target->setTransitionTime("open", "after", 1);

    target->setState("open", 0);

    EXPECT_EQ(target->position(), CGPointMake(40, 50));
    EXPECT_EQ(target->size(), CGSizeMake(60, 70));
    EXPECT_EQ(target->color(), Color{0x80FF0000});
    EXPECT_FALSE(target->visible());
    EXPECT_FALSE(target->enabled());
    EXPECT_THAT(target->calls, ElementsAre("bump"));
    EXPECT_EQ(target->currentState()->name, "after");
    KTDirector::shared().processMessages();
    EXPECT_THAT(scene->calls, ElementsAre("note start", "note end"));
    // The next state takes the transition time of its own pair.
    frames(3, 0.5f);
    EXPECT_EQ(target->x(), 5);
}

TEST_F(StateTransitionTest, OverTimeTweensFromTheValuesAtTheSwitchAndEndsOneFrameLate) {
    target->setPosition({0, 0});
    KTState& open = addState("open");
    open.values = {{"x", 100}, {"visible", 1}};
    open.callName = "bump";
    open.startMessage = "note:start";
    open.message = "note:end";
    target->setVisible(false);

    target->setState("open", 1);
    EXPECT_TRUE(target->visible());
    KTDirector::shared().processMessages();
    EXPECT_THAT(scene->calls, ElementsAre("note start"));

    frames(3, 0.25f);
    EXPECT_EQ(target->x(), 50);
    frame(0.25f);
    EXPECT_THAT(target->calls, IsEmpty());
    frame(0.25f);
    EXPECT_EQ(target->x(), 100);
    EXPECT_THAT(target->calls, ElementsAre("bump"));
    KTDirector::shared().processMessages();
    EXPECT_THAT(scene->calls, ElementsAre("note start", "note end"));
}

TEST_F(StateTransitionTest, ASwitchStopsTheRunningTransition) {
    addState("right").values = {{"x", 100}};
    addState("left").values = {{"x", -100}};
    target->setState("right", 1);
    frames(3, 0.25f);
    target->setState("left", 0);
    frames(4, 0.25f);
    EXPECT_EQ(target->x(), -100);
}

TEST_F(StateTransitionTest, StatesThatSwitchBackAndForthAtOnceDoNotRecurseForever) {
    addState("on").nextStateName = "off";
    addState("off").nextStateName = "on";
    target->setTransitionTime("on", "off", 0);
    target->setTransitionTime("off", "on", 0);
    target->setState("on", 0);
    frames(3, 0.25f);
    EXPECT_EQ(manager().runningActionCount(), 1u);
}

}  // namespace
}  // namespace kt::test

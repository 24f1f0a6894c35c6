// Instant actions, and the state transitions that run them.
#include <gmock/gmock.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/actions/KTInstantActions.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTScene.h"
#include "engine/core/KTState.h"
#include "tests/engine/actions/ActionTestFixture.h"

namespace kt::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A node with operations that data can call by name ("bump", "note:"); it writes down each call.
class RecordingNode : public KTNode {
public:
    KT_CLASS(RecordingNode)

    void bump() { calls.emplace_back("bump"); }
    void note(const std::string& text) { calls.push_back("note " + text); }

    std::vector<std::string> calls;
};

// A scene that handler messages can reach with "note:"; it writes down each call.
class RecordingScene : public KTScene {
public:
    KT_CLASS(RecordingScene)

    void note(const std::string& text) { calls.push_back("note " + text); }

    std::vector<std::string> calls;
};

const KTClass& RecordingNode::staticClass() {
    static const KTClass& cls = KTClass::define<RecordingNode>("RecordingNode", KTNode::staticClass())
                                    .operation("bump", &RecordingNode::bump)
                                    .operation("note:", &RecordingNode::note);
    return cls;
}
KT_REGISTER_CLASS(RecordingNode);

const KTClass& RecordingScene::staticClass() {
    static const KTClass& cls = KTClass::define<RecordingScene>("RecordingScene", KTScene::staticClass())
                                    .operation("note:", &RecordingScene::note);
    return cls;
}
KT_REGISTER_CLASS(RecordingScene);

struct FlagCase {
    const char* name;
    std::function<std::shared_ptr<KTActionInstant>()> make;
    std::function<void(KTNode&)> prepare;
    std::function<bool(const KTNode&)> holds;
};

using InstantActionTest = ActionTest;

// Each works on its node when started and not in a later frame; started without a node, it does nothing.
TEST_F(InstantActionTest, FlagsAndColourAreSetWhenStartedAndNotLater) {
    const FlagCase cases[] = {
        {"Show", [] { return KTShow::action(); }, [](KTNode& n) { n.setVisible(false); },
         [](const KTNode& n) { return n.visible(); }},
        {"Hide", [] { return KTHide::action(); }, [](KTNode& n) { n.setVisible(true); },
         [](const KTNode& n) { return !n.visible(); }},
        {"Enable", [] { return KTEnable::action(); }, [](KTNode& n) { n.setEnabled(false); },
         [](const KTNode& n) { return n.enabled(); }},
        {"Disable", [] { return KTDisable::action(); }, [](KTNode& n) { n.setEnabled(true); },
         [](const KTNode& n) { return !n.enabled(); }},
        {"SetColor", [] { return KTSetColor::actionWithTargetColor(Color{0x80102030}); },
         [](KTNode& n) { n.setColor(kColorWhite); },
         [](const KTNode& n) { return n.color() == Color{0x80102030}; }}};
    for (const FlagCase& c : cases) {
        SCOPED_TRACE(c.name);
        c.make()->startWithTarget(nullptr);
        c.prepare(*node);
        node->runAction(c.make());
        EXPECT_TRUE(c.holds(*node));
        c.prepare(*node);
        frame(0.25f);
        EXPECT_FALSE(c.holds(*node));
        EXPECT_EQ(manager().runningActionCount(), 0u);
    }
}

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

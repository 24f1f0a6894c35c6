#include <gmock/gmock.h>

#include "engine/actions/KTCompositeActions.h"
#include "engine/actions/KTInstantActions.h"
#include "engine/actions/KTIntervalActions.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTScene.h"
#include "tests/engine/actions/ActionTestFixture.h"

namespace kt::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Runs an action on a node when it is started, as game actions do from inside the manager's pass.
class RunOnNode final : public KTActionInstant {
public:
    RunOnNode(std::shared_ptr<KTNode> node, std::shared_ptr<KTAction> action)
        : node_(std::move(node)), action_(std::move(action)) {}

protected:
    void execute() override { node_->runAction(action_); }

private:
    std::shared_ptr<KTNode> node_;
    std::shared_ptr<KTAction> action_;
};

using ActionManagerTest = ActionTest;

TEST_F(ActionManagerTest, StepsActionsInTheOrderTheyWereRun) {
    const auto other = KTNode::node();
    node->runAction(interval("a", 1));
    other->runAction(interval("b", 1));
    node->runAction(interval("c", 1));
    takeLog();
    frame(0.5f);
    EXPECT_THAT(takeLog(), ElementsAre("a 0", "b 0", "c 0"));
}

TEST_F(ActionManagerTest, StartsAnActionAddedDuringThePassAtOnceAndStepsItFromTheNextFrame) {
    const auto other = KTNode::node();
    node->runAction(KTWait::waitFor(0.25f, std::make_shared<RunOnNode>(other, interval("late", 1))));
    frame(0.25f);
    EXPECT_THAT(takeLog(), IsEmpty());
    frame(0.25f);
    EXPECT_THAT(takeLog(), ElementsAre("late start"));
    frame(0.25f);
    EXPECT_THAT(takeLog(), ElementsAre("late 0"));
}

TEST_F(ActionManagerTest, StoppingAnotherNodeStopsThatNodeOnlyAndBeforeItsActionsStepInThePass) {
    const auto other = KTNode::node();
    node->runAction(KTSequence::actions({KTWait::waitFor(0.25f), KTStopAllActions::actionWithTarget(other)}));
    node->runAction(interval("own", 1));
    other->runAction(interval("stopped", 1));
    frame(0.25f);
    takeLog();
    frame(0.25f);
    EXPECT_THAT(takeLog(), ElementsAre("own 0.25"));
    EXPECT_EQ(manager().runningActionCount(), 1u);
}

TEST_F(ActionManagerTest, AnActionThatStopsItsOwnTargetFinishesItsStepAndIsDropped) {
    node->runAction(
        KTSequence::actions({KTWait::waitFor(0.25f), KTStopAllActions::action(), instant("rest")}));
    node->runAction(interval("stopped", 1));
    frame(0.25f);
    takeLog();
    frame(0.25f);
    EXPECT_THAT(takeLog(), ElementsAre("rest"));
    EXPECT_EQ(manager().runningActionCount(), 0u);
}

TEST_F(ActionManagerTest, StopDuringThePassAlsoDropsActionsAddedInIt) {
    const auto other = KTNode::node();
    node->runAction(
        KTSequence::actions({KTWait::waitFor(0.25f), std::make_shared<RunOnNode>(other, interval("added", 1)),
                             KTStopAllActions::actionWithTarget(other)}));
    frames(4, 0.25f);
    EXPECT_THAT(takeLog(), ElementsAre("added start"));
    EXPECT_EQ(manager().runningActionCount(), 0u);
}

TEST_F(ActionManagerTest, CountsTheRunningActionsOfOneNode) {
    const auto other = KTNode::node();
    node->runAction(interval("short", 0.25f));
    node->runAction(interval("long", 1));
    other->runAction(KTWait::waitFor(0.25f, std::make_shared<RunOnNode>(node, interval("added", 1))));
    EXPECT_EQ(manager().runningActionCount(*node), 2u);
    frames(2, 0.25f);
    // The finished one is gone; the one added during the pass counts at once.
    EXPECT_EQ(manager().runningActionCount(*node), 2u);
    EXPECT_EQ(manager().runningActionCount(*other), 0u);
    node->stopAllActions();
    EXPECT_EQ(manager().runningActionCount(*node), 0u);
}

TEST_F(ActionManagerTest, LeavingTheStageStopsTheNodesActionsAndThoseOfItsChildren) {
    const auto scene = runScene();
    const auto parent = KTNode::node();
    const auto child = KTNode::node();
    parent->addChild(child);
    scene->addChild(parent);
    child->runAction(interval("child", 1));
    parent->runAction(interval("parent", 1));
    scene->removeChild(parent.get());
    takeLog();
    frame(0.25f);
    EXPECT_THAT(takeLog(), IsEmpty());
    EXPECT_EQ(manager().runningActionCount(), 0u);
}

TEST_F(ActionManagerTest, ARemovedNodeIsKeptAliveUntilItsActionsAreDropped) {
    const auto scene = runScene();
    auto child = KTNode::node();
    const std::weak_ptr<KTNode> watch = child;
    scene->addChild(child);
    child->runAction(KTSequence::actions({KTWait::waitFor(0.25f), KTRemove::action(), instant("after")}));
    child.reset();
    frames(2, 0.25f);
    EXPECT_THAT(takeLog(), ElementsAre("after"));
    EXPECT_FALSE(scene->hasChildren());
    EXPECT_TRUE(watch.expired());
}

TEST_F(ActionManagerTest, IsMadeOnFirstUseWhenNoneIsInstalled) {
    KTDirector::shared().shutdown();
    EXPECT_EQ(KTDirector::shared().actionRunner(), nullptr);
    KTActionManager* made = &KTActionManager::shared();
    EXPECT_EQ(made, KTDirector::shared().actionRunner());
    EXPECT_NE(KTDirector::shared().stateAnimator(), nullptr);
}

}  // namespace
}  // namespace kt::test

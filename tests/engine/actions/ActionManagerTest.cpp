// The action manager's pass, and the timing of interval, wait, spawn and sequence actions.
#include <gmock/gmock.h>

#include <cmath>

#include "engine/actions/KTCompositeActions.h"
#include "engine/actions/KTEase.h"
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

using IntervalTimingTest = ActionTest;

// The second action's last frame overshoots its duration and is clamped at one; the third, without
// duration, ends on its first step at one.
TEST_F(IntervalTimingTest, ShowsZeroFirstAndEndsOneFrameAfterItsDurationAtOne) {
    node->runAction(interval("a", 0.5f));
    node->runAction(interval("b", 0.4f));
    node->runAction(interval("c", 0));
    EXPECT_THAT(takeLog(), ElementsAre("a start", "b start", "c start"));
    frames(3, 0.25f);
    EXPECT_THAT(takeLog(), ElementsAre("a 0", "b 0", "c 1", "a 0.5", "b 0.625", "a 1", "b 1"));
    EXPECT_EQ(manager().runningActionCount(), 0u);
}

TEST_F(IntervalTimingTest, StartingAgainShowsZeroAgain) {
    const auto action = interval("a", 1);
    action->startWithTarget(node);
    action->step(0.5f);
    action->step(0.5f);
    action->startWithTarget(node);
    action->step(0.5f);
    EXPECT_EQ(action->elapsed(), 0);
    EXPECT_THAT(takeLog(), ElementsAre("a start", "a 0", "a 0.5", "a start", "a 0"));
}

TEST_F(IntervalTimingTest, AMoveWithoutDurationJumpsToItsEnd) {
    node->runAction(KTMoveTo::actionWithDuration(0, {7, 9}));
    frame(0);
    EXPECT_EQ(node->position(), CGPointMake(7, 9));
}

using WaitTest = ActionTest;

TEST_F(WaitTest, InsideASpawnStartsItsActionWhenTheSpawnEnds) {
    node->runAction(KTSpawn::actions({interval("long", 1), KTWait::waitFor(0.25f, instant("then"))}));
    frames(4, 0.25f);
    EXPECT_THAT(takeLog(), ElementsAre("long start", "long 0", "long 0.25", "long 0.5", "long 0.75"));
    frame(0.25f);
    EXPECT_THAT(takeLog(), ElementsAre("long 1", "then"));
}

TEST_F(WaitTest, InsideASequenceNeverStartsItsAction) {
    node->runAction(KTSequence::actions({KTWait::waitFor(0.5f, instant("never")), instant("after")}));
    frames(5, 0.25f);
    EXPECT_THAT(takeLog(), ElementsAre("after"));
    EXPECT_EQ(manager().runningActionCount(), 0u);
}

using SpawnTest = ActionTest;

TEST_F(SpawnTest, StretchesShorterActionsToItsLength) {
    const auto spawn = KTSpawn::actions({interval("long", 1), interval("short", 0.5f)});
    EXPECT_EQ(spawn->duration(), 1);
    node->runAction(spawn);
    frames(3, 0.5f);
    EXPECT_THAT(takeLog(), ElementsAre("long start", "short start", "long 0", "short 0", "long 0.5",
                                       "short 0.5", "long 1", "short 1"));
    EXPECT_EQ(manager().runningActionCount(), 0u);
}

using SequenceTest = ActionTest;

TEST_F(SequenceTest, RunsInstantActionsInARowWithinOneFrame) {
    node->runAction(KTSequence::actions({instant("show"), interval("move", 0.5f), instant("place"),
                                         instant("effect"), interval("fade", 0.5f), instant("done")}));
    EXPECT_THAT(takeLog(), ElementsAre("show"));
    frame(0.25f);
    EXPECT_THAT(takeLog(), ElementsAre("move start", "move 0"));
    frame(0.25f);
    EXPECT_THAT(takeLog(), ElementsAre("move 0.5"));
    frame(0.25f);
    EXPECT_THAT(takeLog(), ElementsAre("place", "effect", "fade start", "fade 0"));
    frame(0.25f);
    EXPECT_THAT(takeLog(), ElementsAre("fade 0.5"));
    frame(0.25f);
    EXPECT_THAT(takeLog(), ElementsAre("done"));
    EXPECT_EQ(manager().runningActionCount(), 0u);
}

TEST_F(SequenceTest, OfInstantActionsOnlyRunsTheFirstAtStartAndTheRestInItsFirstStepSkippingEmptyEntries) {
    node->runAction(KTSequence::actions({}));
    node->runAction(KTSequence::actions({nullptr, instant("a"), nullptr, instant("b"), instant("c")}));
    EXPECT_THAT(takeLog(), ElementsAre("a"));
    frame(0.25f);
    EXPECT_THAT(takeLog(), ElementsAre("b", "c"));
    EXPECT_EQ(manager().runningActionCount(), 0u);
}

TEST_F(SequenceTest, WithoutLengthGivesItsIntervalsNoNumberThatIsNotANumber) {
    const auto inner = KTSequence::actions({instant("a"), KTMoveTo::actionWithDuration(0, {5, 5})});
    node->runAction(KTSequence::actions({inner, interval("b", 1)}));
    frames(3, 0.5f);
    EXPECT_THAT(takeLog(), ElementsAre("a", "b start", "b 0"));
    EXPECT_FALSE(std::isnan(node->x()));
}

using CompositeStopTest = ActionTest;

TEST_F(CompositeStopTest, StopsTheInnerActionsItHasStarted) {
    const auto spawned = interval("spawned", 1);
    const auto eased = interval("eased", 1);
    const auto first = interval("first", 1);
    const auto second = interval("second", 1);
    const std::vector<std::shared_ptr<KTAction>> composites{KTSpawn::actions({spawned}),
                                                            KTEaseSineOut::actionWithAction(eased),
                                                            KTSequence::actions({first, second})};
    for (const auto& composite : composites) {
        composite->startWithTarget(node);
        composite->stop();
        EXPECT_EQ(composite->target(), nullptr);
    }
    for (const auto& inner : {spawned, eased, first})
        EXPECT_EQ(inner->target(), nullptr);
    EXPECT_THAT(takeLog(), ElementsAre("spawned start", "eased start", "first start"));
}

}  // namespace
}  // namespace kt::test

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/core/KTNode.h"
#include "engine/core/KTScheduler.h"
#include "tests/support/EngineTest.h"

namespace kt {
namespace {

// Writes its name into the journal on every update and then runs what the test asks of it.
class TickingNode : public KTNode {
public:
    TickingNode(std::vector<std::string>& journal, std::string tag) : journal_(journal) {
        setName(std::move(tag));
    }

    std::function<void()> onUpdate;

    void update(float) override {
        journal_.push_back(name());
        if (onUpdate) onUpdate();
    }

private:
    std::vector<std::string>& journal_;
};

class SchedulerTest : public test::EngineTest {
protected:
    std::shared_ptr<TickingNode> ticking(const std::string& tag) {
        return std::make_shared<TickingNode>(journal, tag);
    }

    static void frame() { schedulerFrame(0.016f); }

    std::vector<std::string> journal;
};

TEST_F(SchedulerTest, NodesScheduledDuringAPassStartNextFrameInReverseOrderAndOnceEach) {
    auto a = ticking("a");
    auto b = ticking("b");
    auto c = ticking("c");
    a->onUpdate = [&] {
        b->scheduleUpdate();
        c->scheduleUpdate();
        c->scheduleUpdate();
        a->onUpdate = nullptr;
    };
    a->scheduleUpdate();
    a->scheduleUpdate();
    frame();
    EXPECT_EQ(journal, (std::vector<std::string>{"a"}));
    journal.clear();
    frame();
    EXPECT_EQ(journal, (std::vector<std::string>{"a", "c", "b"}));
}

// a unschedules b, which unschedules itself too, and unschedules and schedules c again, all during the pass.
TEST_F(SchedulerTest, AnUnscheduledNodeIsStillUpdatedLaterInThePassAndStaysUnscheduledIfScheduledAgain) {
    auto a = ticking("a");
    auto b = ticking("b");
    auto c = ticking("c");
    a->onUpdate = [&] {
        b->unscheduleUpdate();
        c->unscheduleUpdate();
        c->scheduleUpdate();
        a->onUpdate = nullptr;
    };
    b->onUpdate = [&] { b->unscheduleUpdate(); };
    a->scheduleUpdate();
    b->scheduleUpdate();
    c->scheduleUpdate();
    frame();
    EXPECT_EQ(journal, (std::vector<std::string>{"a", "b", "c"}));
    journal.clear();
    frame();
    EXPECT_EQ(journal, (std::vector<std::string>{"a"}));
}

TEST_F(SchedulerTest, LeavingTheStageUnschedules) {
    auto scene = runScene();
    auto a = ticking("a");
    scene->addChild(a);
    a->scheduleUpdate();
    scene->removeChild(a.get());
    frame();
    EXPECT_TRUE(journal.empty());
}

}  // namespace
}  // namespace kt

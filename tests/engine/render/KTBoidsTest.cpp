#include <gtest/gtest.h>

#include <cmath>

#include "engine/render/KTBoids.h"
#include "tests/engine/render/EffectTest.h"

namespace kt::test {
namespace {

class BoidsTest : public EffectTest {
protected:
    std::shared_ptr<KTBoids> flockOnStage(const std::string& attributes) {
        flock = nodeFromElement<KTBoids>("<boids " + attributes + "/>");
        scene->addChild(flock);
        return flock;
    }

    Boid& boid(std::size_t index) const { return *flock->boids()[index]; }

    // Places a boid, flying with the velocity.
    void place(std::size_t index, CGPoint pos, CGPoint v) const {
        boid(index).pos = pos;
        boid(index).v = v;
    }

    std::shared_ptr<KTBoids> flock;
};

TEST_F(BoidsTest, TheFlockIsBuiltOnStageFromTheAttributes) {
    flockOnStage(R"(count="5" max_speed="150")");
    EXPECT_EQ(flock->boids().size(), 5u);
    EXPECT_EQ(flock->children().count(), 5u);
    for (std::size_t i = 0; i < 5; ++i)
        EXPECT_EQ(boid(i).ID, i);

    scene->removeChild(flock.get());
    scene->addChild(flock);
    EXPECT_EQ(flock->children().count(), 5u) << "re-entering replaces the flock";

    flockOnStage(R"(count="0")");
    EXPECT_TRUE(flock->boids().empty());
    flock->update(0.05f);
}

TEST_F(BoidsTest, AloneABoidHasNoNeighboursToFollow) {
    flockOnStage(R"(count="2" x="0" y="0" w="1000" h="1000")");
    place(0, {100, 100}, {100, 0});
    place(1, {800, 800}, {100, 0});
    EXPECT_EQ(flock->ruleCohesion(boid(0)), CGPointZero);
    EXPECT_EQ(flock->ruleAlignment(boid(0)), CGPointZero);
    EXPECT_EQ(flock->ruleSeparation(boid(0)), CGPointZero);
}

TEST_F(BoidsTest, SightReachesCloseBoidsAllAroundAndFarOnesOnlyAheadAndIsRememberedForATenthOfASecond) {
    flockOnStage(R"(count="4" vis_distance="20")");
    place(0, {100, 100}, {50, 0});
    place(1, {95, 100}, {50, 0});
    place(2, {130, 100}, {50, 0});
    place(3, {70, 100}, {50, 0});
    EXPECT_TRUE(boid(0).see(boid(1), 0)) << "within 10 units, whatever the distance asked";
    EXPECT_TRUE(boid(0).see(boid(2), 50));
    EXPECT_FALSE(boid(0).see(boid(3), 50)) << "behind";
    EXPECT_TRUE(boid(0).see(boid(2), 20)) << "the answer is remembered";

    // The update clears the table, then asks again with the flock's sight distance.
    flock->update(0.1f);
    EXPECT_FALSE(boid(0).see(boid(2), 50));
}

TEST_F(BoidsTest, RulesPullTogetherPushApartAndMatchVelocity) {
    flockOnStage(R"(count="3" min_distance="17")");
    place(0, {0, 0}, {10, 0});
    place(1, {30, 0}, {20, 10});
    place(2, {5, 0}, {40, 20});
    EXPECT_FLOAT_EQ(flock->ruleCohesion(boid(0)).x, 17.5f * 0.01f);
    EXPECT_EQ(flock->ruleSeparation(boid(0)), (CGPoint{-5, 0}));
    EXPECT_FLOAT_EQ(flock->ruleAlignment(boid(0)).x, (30 - 10) * 0.125f);
    EXPECT_FLOAT_EQ(flock->ruleAlignment(boid(0)).y, 15 * 0.125f);
}

TEST_F(BoidsTest, TheRectangleAndThePointerPushBoidsAway) {
    flockOnStage(R"(count="1" x="100" y="100" w="200" h="200" vis_distance="50")");
    place(0, {50, 150}, {});
    EXPECT_EQ(flock->ruleBounding(boid(0)), (CGPoint{50, 0}));
    place(0, {350, 350}, {});
    EXPECT_EQ(flock->ruleBounding(boid(0)), (CGPoint{-50, -50}));
    place(0, {150, 150}, {});
    EXPECT_EQ(flock->ruleBounding(boid(0)), CGPointZero);

    scene->mouseMove({170, 150});
    EXPECT_EQ(flock->ruleFromMouse(boid(0)), (CGPoint{-20, 0}));
    scene->mouseMove({250, 150});
    EXPECT_EQ(flock->ruleFromMouse(boid(0)), CGPointZero);
}

TEST_F(BoidsTest, SpeedIsCappedAtTheMaximumAndRaisedByATenthBelowTheMinimum) {
    flockOnStage(R"(count="1" x="-1000" y="-1000" w="2000" h="2000" min_speed="80" max_speed="200")");
    scene->mouseMove({5000, 5000});
    place(0, {0, 0}, {300, 400});
    flock->update(0.01f);
    EXPECT_NEAR(std::hypot(boid(0).v.x, boid(0).v.y), 200, 1e-3);

    place(0, {0, 0}, {30, 40});
    std::vector<float> speeds;
    for (int i = 0; i < 12; ++i) {
        flock->update(0.01f);
        speeds.push_back(std::hypot(boid(0).v.x, boid(0).v.y));
    }
    EXPECT_NEAR(speeds[0], 55, 1e-3);
    EXPECT_NEAR(speeds[1], 60.5, 1e-3);
    EXPECT_GE(speeds.back(), 80);
    EXPECT_LT(speeds.back(), 88.1);
    EXPECT_EQ(boid(0).position(), boid(0).pos);
}

}  // namespace
}  // namespace kt::test

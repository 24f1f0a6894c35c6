#include <gtest/gtest.h>

#include "engine/render/KTFly.h"
#include "tests/engine/render/EffectTest.h"

namespace kt::test {
namespace {

class FlyTest : public EffectTest {
protected:
    FlyTest() {
        parent->setPosition({100, 50});
        scene->addChild(parent);
    }

    std::shared_ptr<KTFly> flyOnStage(const std::string& attributes) {
        auto fly = nodeFromElement<KTFly>("<fly " + attributes + "/>");
        parent->addChild(fly);
        return fly;
    }

    std::shared_ptr<KTNode> parent = KTNode::node();
};

TEST_F(FlyTest, ASpeedSetsTheFlightTimeOverTheDistanceAndARandomTimeReplacesBoth) {
    const auto fly = flyOnStage(R"(x="0" y="0" to_x="250" to_y="50" speed="100")");
    EXPECT_FLOAT_EQ(fly->flyTime(), 1.5f);
    EXPECT_EQ(fly->source(), (CGPoint{100, 50})) << "the start is the node's own place in the scene";

    const auto random =
        flyOnStage(R"(to_x="900" to_y="50" speed="1" fly_time="7" fly_time_min="2" fly_time_max="3")");
    EXPECT_GE(random->flyTime(), 2);
    EXPECT_LE(random->flyTime(), 3);
}

TEST_F(FlyTest, TheEndPointWinsOverTheStartPoint) {
    const auto fly = flyOnStage(R"(x="10" y="0" to_x="300" to_y="50" from_x="0" from_y="0" fly_time="1")");
    EXPECT_EQ(fly->source(), (CGPoint{110, 50}));
    EXPECT_EQ(fly->destination(), (CGPoint{300, 50}));

    const auto back = flyOnStage(R"(x="10" y="0" from_x="0" from_y="0" fly_time="1")");
    EXPECT_EQ(back->source(), (CGPoint{0, 0}));
    EXPECT_EQ(back->destination(), (CGPoint{110, 50}));
}

TEST_F(FlyTest, TheFlightEndsOnTheDestinationAndTheFinishEffectStartsThereOnTheNextUpdate) {
    writeFile("data/effects/pop.xml", R"(<node><container name="pop"/></node>)");
    const auto fly = flyOnStage(R"(to_x="300" to_y="250" fly_time="1" on_finish="data/effects/pop.xml")");
    fly->update(0.5f);
    fly->update(0.5f);
    EXPECT_EQ(fly->position(), (CGPoint{200, 200})) << "the destination less the parent's place";
    EXPECT_TRUE(parent->hasChild(fly.get()));

    fly->update(0.01f);
    EXPECT_FALSE(parent->hasChild(fly.get()));
    const auto effect = parent->children().lastObject();
    ASSERT_TRUE(effect && effect->getChildByName("pop"));
    EXPECT_EQ(effect->position(), (CGPoint{200, 200}));
}

TEST_F(FlyTest, TheDisplacementBowsThePathSidewaysByHalfASine) {
    const auto fly = flyOnStage(R"(x="0" y="0" to_x="300" to_y="50" fly_time="2" disp="0.25")");
    fly->update(1);
    // Half way along (100, 50)..(300, 50), a quarter of the length off towards (0, 200) x sign.
    EXPECT_NEAR(fly->absolutePosition().x, 200, 1e-3);
    EXPECT_NEAR(fly->absolutePosition().y, 100, 1e-3);
}

TEST_F(FlyTest, AFlightWithoutTimeOrSpeedEndsAtOnceAndOneThatStaysFinishesOnce) {
    writeFile("data/effects/pop.xml", R"(<node/>)");
    const auto fly =
        flyOnStage(R"(to_x="300" to_y="250" disp="1" autoremove="NO" on_finish="data/effects/pop.xml")");
    const std::size_t before = parent->children().count();
    fly->update(0.01f);
    fly->update(0.01f);
    EXPECT_TRUE(parent->hasChild(fly.get()));
    EXPECT_EQ(parent->children().count(), before + 1);
    EXPECT_EQ(fly->position(), CGPointZero);
}

}  // namespace
}  // namespace kt::test

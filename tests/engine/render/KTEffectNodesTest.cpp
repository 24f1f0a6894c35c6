// Particles, the flock, the flight and the lightning bolt, as effect nodes on stage.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/KTDirector.h"
#include "engine/core/KTScene.h"
#include "engine/render/KTBoids.h"
#include "engine/render/KTFly.h"
#include "engine/render/KTLightning.h"
#include "engine/render/KTParticleEmitter.h"
#include "engine/render/KTParticleSystem.h"
#include "tests/support/DataFileTest.h"
#include "tests/support/RecordingRenderer.h"

namespace kt::test {
namespace {

// Effect nodes in a running scene that draws through a recording renderer.
class EffectTest : public DataFileTest {
protected:
    EffectTest() {
        KTDirector::shared().setRenderer(renderer);
        scene = runScene();
    }

    // Updates every scheduled node, then draws the scene.
    void frame(float dt) {
        KTDirector::shared().setFixedDeltaTime(dt);
        KTDirector::shared().doUpdate();
        KTDirector::shared().doDraw();
    }

    std::shared_ptr<RecordingRenderer> renderer = std::make_shared<RecordingRenderer>();
    std::shared_ptr<KTScene> scene;
};

class ParticleTest : public EffectTest {
protected:
    // A system holding one emitter made from the attributes, on stage.
    std::shared_ptr<KTParticleEmitter> emitterInSystem(const std::string& attributes) {
        system = nodeFromElement<KTParticleSystem>(R"(<particle_system w="10" h="10"><particle_emitter )" +
                                                   attributes + "/></particle_system>");
        scene->addChild(system);
        return std::dynamic_pointer_cast<KTParticleEmitter>(system->firstChild());
    }

    std::shared_ptr<KTParticleSystem> systemOnStage() {
        system = KTNode::node<KTParticleSystem>();
        system->setSize({10, 10});
        scene->addChild(system);
        return system;
    }

    static KTParticle particleAt(CGPoint position, CGPoint speed = {}) {
        KTParticle particle;
        particle.maxEnergy = particle.energy = 10;
        particle.position = position;
        particle.speed = speed;
        return particle;
    }

    std::shared_ptr<KTParticleSystem> system;
};

TEST_F(ParticleTest, TenPerSecondLeaveOneEveryOtherFrameOfAFiftiethOfASecond) {
    const auto emitter = emitterInSystem(R"(speed="10" energy="100")");
    std::vector<std::size_t> counts;
    for (int i = 0; i < 6; ++i) {
        frame(0.05f);
        counts.push_back(system->particles().size());
    }
    // The first frame only draws the emitter, which then knows where it is.
    EXPECT_EQ(counts, (std::vector<std::size_t>{0, 1, 1, 2, 2, 3}));
    for (int i = 0; i < 194; ++i)
        frame(0.05f);
    EXPECT_EQ(system->particles().size(), 100u) << "ten seconds make a hundred particles";
}

// A damaged effect file: a rate or a burst too large to count, with particles that hardly ever die.
TEST_F(ParticleTest, AHugeRateOrBurstFillsTheSystemOnlyToItsBound) {
    for (const char* attributes :
         {R"(speed="3E36" energy="1000")", R"(once="1" count="3E36" energy="1000")"}) {
        emitterInSystem(attributes);
        for (int i = 0; i < 4; ++i)
            frame(0.05f);
        EXPECT_EQ(system->particles().size(), KTParticleSystem::kMostParticles) << attributes;
        scene->removeChild(system.get());
    }
}

TEST_F(ParticleTest, ABurstEmitsItsCountOnceAfterTheFirstDrawAlongItsDirectionAndRemovesTheEmitter) {
    const auto emitter = emitterInSystem(R"(once="YES" count="12" speed="3" energy="1")");
    emitter->update(0.1f);
    EXPECT_TRUE(system->particles().empty()) << "not drawn yet";
    frame(0.01f);
    frame(0.01f);
    EXPECT_EQ(system->particles().size(), 12u);
    EXPECT_FALSE(system->hasChild(emitter.get()));
    frame(0.01f);
    EXPECT_EQ(system->particles().size(), 12u);

    // Without spread, every particle of a burst leaves along its direction.
    const std::pair<const char*, CGPoint> headings[] = {
        {"0", {0, -1}}, {"90", {1, 0}}, {"180", {0, 1}}, {"-90", {-1, 0}}};
    for (const auto& [direction, heading] : headings) {
        SCOPED_TRACE(::testing::Message() << "direction " << direction);
        emitterInSystem(
            std::string(R"(once="1" count="3" energy="5" speed_min="100" speed_max="100" direction=")") +
            direction + R"(")");
        frame(0.01f);
        frame(0.01f);
        ASSERT_EQ(system->particles().size(), 3u);
        for (const KTParticle& particle : system->particles()) {
            EXPECT_NEAR(particle.speed.x, 100 * heading.x, 1e-3);
            EXPECT_NEAR(particle.speed.y, 100 * heading.y, 1e-3);
        }
    }
}

TEST_F(ParticleTest, EmitterRangesFollowTheBaseMinimumAndMaximumSpellings) {
    const auto emitter =
        emitterInSystem(R"(energy="2" energy_max="4" gravity="7" spin="1" spin_min="3" speed="5" count="8" )"
                        R"(position_left="-5" position_right="5" position_top="-2")");
    EXPECT_FLOAT_EQ(emitter->minEnergy(), 2);
    EXPECT_FLOAT_EQ(emitter->maxEnergy(), 4);
    EXPECT_FLOAT_EQ(emitter->speed(), 8) << "count wins over speed";
    emitter->setOnce(true);
    frame(0.01f);
    frame(0.01f);
    ASSERT_EQ(system->particles().size(), 8u);
    for (const KTParticle& particle : system->particles()) {
        EXPECT_FLOAT_EQ(particle.acc.y, 7) << "the maximum defaults to the minimum";
        EXPECT_FLOAT_EQ(particle.spin, 3);
        // An area needs all four sides; gravity has moved the particle for one frame since.
        EXPECT_EQ(particle.position.x, emitter->position().x);
        EXPECT_NEAR(particle.position.y, emitter->position().y, 0.01);
        EXPECT_GE(particle.maxEnergy, 2);
        EXPECT_LE(particle.maxEnergy, 4);
    }
}

TEST_F(ParticleTest, RadialAndTangentialPushesActOnlyTogether) {
    systemOnStage()->setPosition({0, 0});
    KTParticle radialOnly = particleAt({10, 0});
    radialOnly.radialAcc = 5;
    KTParticle both = particleAt({10, 0});
    both.radialAcc = 5;
    both.tangentialAcc = 2;
    KTParticle onTheCentre = both;
    onTheCentre.position = {0, 0};
    for (const KTParticle& particle : {radialOnly, both, onTheCentre})
        system->emit(particle);

    system->update(1);

    const auto& moved = system->particles();
    EXPECT_EQ(moved[0].speed, CGPointZero);
    EXPECT_FLOAT_EQ(moved[1].speed.x, 5) << "pushed away from the system";
    EXPECT_FLOAT_EQ(moved[1].speed.y, 2) << "and sideways";
    EXPECT_EQ(moved[2].speed, CGPointZero) << "a particle on the centre has no direction to be pushed in";
}

TEST_F(ParticleTest, TheAttractorSwallowsAParticleThatWouldPassIt) {
    systemOnStage()->setAttractor({100, 0}, 1);
    system->emit(particleAt({0, 0}, {50, 0}));
    system->emit(particleAt({100, 0}));

    system->update(1);
    ASSERT_EQ(system->particles().size(), 2u);
    EXPECT_FLOAT_EQ(system->particles()[0].position.x, 60) << "pulled 10 x strength per second towards it";
    EXPECT_EQ(system->particles()[1].position, (CGPoint{100, 0}));
    EXPECT_FALSE(std::isnan(system->particles()[1].speed.x));

    system->update(1);
    ASSERT_EQ(system->particles().size(), 2u);
    EXPECT_EQ(system->particles()[0].position, (CGPoint{100, 0}));
    EXPECT_EQ(system->particles()[0].energy, 0);
    system->update(0.01f);
    EXPECT_EQ(system->particles().size(), 1u) << "a swallowed particle dies at the next update";
}

TEST_F(ParticleTest, ASystemLeavesWithItsLastParticleUnlessItStillHasAnEmitter) {
    const auto emitter = emitterInSystem(R"(once="1" count="2" energy="0.5")");
    frame(0.01f);
    frame(0.01f);
    ASSERT_EQ(system->particles().size(), 2u);
    ASSERT_FALSE(system->hasChildren());
    frame(0.3f);
    EXPECT_TRUE(scene->hasChild(system.get()));
    system->update(0.3f);
    EXPECT_FALSE(scene->hasChild(system.get())) << "removed in the update that ended its last particle";

    const auto kept = systemOnStage();
    kept->addChild(KTNode::node<KTParticleEmitter>());
    kept->update(1);
    EXPECT_TRUE(scene->hasChild(kept.get()));
}

TEST_F(ParticleTest, SizeAndColourRunThroughTheMiddleValuesAtHalfLife) {
    system = nodeFromElement<KTParticleSystem>(
        R"(<particle_system w="20" h="10" start_size="1" mid_size="2" end_size="0" )"
        R"(start_color="FF0000" mid_color="00FF00" end_color="0000FF"/>)");
    scene->addChild(system);
    for (const float energy : {10.0f, 5.0f, 2.5f}) {
        KTParticle particle = particleAt({100, 100});
        particle.energy = energy;
        system->emit(particle);
    }
    renderer->calls.clear();
    system->draw();

    std::vector<std::string> drawn;
    for (const std::string& call : renderer->calls) {
        if (call.starts_with("drawRect") || call.starts_with("multColor")) drawn.push_back(call);
    }
    EXPECT_EQ(drawn, (std::vector<std::string>{"multColor ffff0000", "drawRect 90 95 20 10",
                                               "multColor ff00ff00", "drawRect 80 90 40 20",
                                               "multColor ff007f7f", "drawRect 90 95 20 10"}));
}

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

void collectLeaves(const LightningSegment& segment, std::vector<const LightningSegment*>& leaves) {
    if (segment.isLeaf()) {
        leaves.push_back(&segment);
        return;
    }
    collectLeaves(*segment.left(), leaves);
    collectLeaves(*segment.right(), leaves);
}

std::vector<const LightningSegment*> leavesOf(const KTLightning& bolt) {
    std::vector<const LightningSegment*> leaves;
    collectLeaves(*bolt.root(), leaves);
    return leaves;
}

class LightningTest : public EffectTest {
protected:
    std::shared_ptr<KTLightning> boltOnStage(const std::string& attributes) {
        auto bolt = nodeFromElement<KTLightning>("<lightning " + attributes + "/>");
        scene->addChild(bolt);
        return bolt;
    }
};

TEST_F(
    LightningTest,
    EachLevelDoublesTheLeavesThatJoinStartToEndFromTheBoltsPlaceInTheSceneAndWithoutAmplitudeTheyLieOnALine) {
    for (const int levels : {0, 1, 3, 6}) {
        SCOPED_TRACE(::testing::Message() << levels << " levels");
        const auto bolt =
            boltOnStage(R"(x="10" y="20" x2="300" y2="120" iterations=")" + std::to_string(levels) + R"(")");
        const auto leaves = leavesOf(*bolt);
        ASSERT_EQ(leaves.size(), std::size_t{1} << levels);
        EXPECT_EQ(leaves.front()->p0(), (CGPoint{10, 20}));
        EXPECT_EQ(leaves.back()->p1(), (CGPoint{300, 120}));
        for (std::size_t i = 1; i < leaves.size(); ++i)
            EXPECT_EQ(leaves[i]->p0(), leaves[i - 1]->p1());
    }

    const auto straight = boltOnStage(R"(x2="400" y2="300" amp="0" iterations="5")");
    for (const LightningSegment* leaf : leavesOf(*straight)) {
        // On the line from (0, 0) to (400, 300): 3x - 4y = 0.
        EXPECT_NEAR(3 * leaf->p1().x - 4 * leaf->p1().y, 0, 1e-3);
    }

    // Inside an effect, the bolt starts from its place in the scene.
    const auto effect = KTNode::node();
    effect->setPosition({100, 100});
    scene->addChild(effect);
    const auto inside = nodeFromElement<KTLightning>(R"(<lightning x2="400" y2="300"/>)");
    effect->addChild(inside);
    EXPECT_EQ(inside->root()->p0(), (CGPoint{100, 100}));
}

TEST_F(LightningTest, OneStraightLevelDrawsOneQuadAlongTheBoltAndABoltOfNoLengthNone) {
    const auto bolt = boltOnStage(R"(x="0" y="0" x2="100" y2="0" iterations="0" width="6")");
    renderer->calls.clear();
    bolt->draw();
    EXPECT_EQ(renderer->calls, (std::vector<std::string>{"push", "identity", "pushColor", "setImageData",
                                                         "drawQuad 0 3 100 -3", "popColor", "pop"}));

    const auto point = boltOnStage(R"(x="50" y="50" x2="50" y2="50" iterations="3")");
    for (const LightningSegment* leaf : leavesOf(*point))
        EXPECT_FALSE(std::isnan(leaf->p1().x));
    renderer->calls.clear();
    point->draw();
    for (const std::string& call : renderer->calls)
        EXPECT_FALSE(call.starts_with("drawQuad")) << "a bolt of no length draws nothing: " << call;
}

TEST_F(LightningTest, TheBoltIsRebuiltEveryPeriod) {
    const auto bolt = boltOnStage(R"(x2="100" y2="100" rebuild_period="0.05")");
    std::vector<bool> rebuilt;
    for (int i = 0; i < 6; ++i) {
        const LightningSegment* before = bolt->root()->left().get();
        bolt->update(0.02f);
        rebuilt.push_back(bolt->root()->left().get() != before);
    }
    EXPECT_EQ(rebuilt, (std::vector<bool>{false, false, true, false, false, true}));
}

}  // namespace
}  // namespace kt::test

#include <gtest/gtest.h>

#include <cmath>

#include "engine/render/KTParticleEmitter.h"
#include "engine/render/KTParticleSystem.h"
#include "tests/engine/render/EffectTest.h"

namespace kt::test {
namespace {

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

}  // namespace
}  // namespace kt::test

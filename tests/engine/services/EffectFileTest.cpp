#include <gtest/gtest.h>

#include "engine/core/KTDirector.h"
#include "engine/core/KTScene.h"
#include "engine/render/KTLightning.h"
#include "tests/engine/services/AudioTest.h"
#include "tests/support/RecordingRenderer.h"

namespace kt::test {
namespace {

// An effect file as the game's content writes them: a sound, a burst of particles, a bolt and a flight.
constexpr const char* kEffect = R"(<effect>
  <sound filename="data/sounds/zap.ogg"/>
  <particle_system w="8" h="8">
    <particle_emitter once="1" count="5" energy="0.2" speed_min="50" speed_max="80" spread="180"/>
  </particle_system>
  <lightning x2="400" y2="300" iterations="4"/>
  <fly to_x="500" to_y="100" fly_time="0.3"><container/></fly>
</effect>)";

class EffectFileTest : public AudioTest {
protected:
    EffectFileTest() { KTDirector::shared().setRenderer(renderer); }

    void frames(int count) {
        KTDirector::shared().setFixedDeltaTime(0.05f);
        for (int i = 0; i < count; ++i) {
            KTDirector::shared().doUpdate();
            KTDirector::shared().doDraw();
        }
    }

    std::shared_ptr<RecordingRenderer> renderer = std::make_shared<RecordingRenderer>();
};

TEST_F(EffectFileTest, AnEffectPlaysOutAndLeavesOnceItsLastPartIsGone) {
    soundFile("data/sounds/zap.ogg");
    writeFile("data/effects/demo.xml", kEffect);
    const auto scene = runScene();
    const auto effect = scene->startEffect("data/effects/demo.xml", {100, 100});
    ASSERT_EQ(effect->children().count(), 4u);

    frames(20);
    EXPECT_EQ(backend.starts.size(), 1u);
    ASSERT_EQ(effect->children().count(), 1u) << "the sound, the particles and the flight have finished";
    const auto bolt = std::dynamic_pointer_cast<KTLightning>(effect->firstChild());
    ASSERT_TRUE(bolt);
    EXPECT_EQ(bolt->root()->p0(), (CGPoint{100, 100}));

    effect->removeChild(bolt.get());
    frames(1);
    EXPECT_FALSE(scene->hasChild(effect.get()));
}

}  // namespace
}  // namespace kt::test

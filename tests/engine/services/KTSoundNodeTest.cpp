#include <gtest/gtest.h>

#include "engine/core/KTDirector.h"
#include "engine/services/KTSample.h"
#include "engine/services/KTSoundNode.h"
#include "tests/engine/services/AudioTest.h"

namespace kt::test {
namespace {

class SoundNodeTest : public AudioTest {
protected:
    // A sound node read from a scene file element with the attributes given.
    std::shared_ptr<KTSoundNode> soundFromFile(const std::string& attributes) {
        soundFile("data/sounds/pop.ogg");
        return nodeFromElement<KTSoundNode>("<sound " + attributes + "/>");
    }
};

TEST_F(SoundNodeTest, TheElementSetsTheSharedSampleOfItsFile) {
    const auto node = soundFromFile(R"(filename="data/sounds/pop.ogg" vol="0.5" pan="-1" mingap="0.2")");
    ASSERT_TRUE(node && node->sample());
    EXPECT_FLOAT_EQ(node->sample()->volume(), 0.5f);
    EXPECT_FLOAT_EQ(node->sample()->pan(), -1.0f);
    EXPECT_FLOAT_EQ(node->sample()->minGap(), 0.2f);
    EXPECT_EQ(node->sample(), soundFromFile(R"(filename="data/sounds/pop.ogg")")->sample());
}

TEST_F(SoundNodeTest, AOneShotSoundPlaysAtTheEndOfTheUpdateAndLeavesAfterTheDraw) {
    const auto scene = runScene();
    const auto node = soundFromFile(R"(filename="data/sounds/pop.ogg")");
    scene->addChild(node);
    EXPECT_TRUE(backend.starts.empty());

    KTDirector::shared().doUpdate();
    EXPECT_EQ(backend.starts.size(), 1u);
    KTDirector::shared().doDraw();
    EXPECT_FALSE(scene->hasChild(node.get()));
}

TEST_F(SoundNodeTest, ALoopingSoundPlaysAtOnceAndUntilItLeavesTheStage) {
    const auto scene = runScene();
    const auto node = soundFromFile(R"(filename="data/sounds/pop.ogg" loop="YES")");
    scene->addChild(node);
    ASSERT_EQ(backend.starts.size(), 1u);
    EXPECT_TRUE(backend.starts[0].settings.loop);

    KTDirector::shared().doUpdate();
    KTDirector::shared().doDraw();
    EXPECT_TRUE(scene->hasChild(node.get()));
    EXPECT_EQ(backend.starts.size(), 1u);
    EXPECT_EQ(backend.playing.size(), 1u);

    scene->removeChild(node.get());
    EXPECT_TRUE(backend.playing.empty());
}

TEST_F(SoundNodeTest, ASoundWithoutAReadableFileStaysSilent) {
    const auto scene = runScene();
    const auto node = soundFromFile(R"(filename="data/sounds/missing.ogg" vol="0.5" loop="1")");
    ASSERT_TRUE(node);
    EXPECT_FALSE(node->sample());
    scene->addChild(node);
    scene->removeChild(node.get());
    KTDirector::shared().doUpdate();
    EXPECT_TRUE(backend.starts.empty());
}

}  // namespace
}  // namespace kt::test

#include <gmock/gmock.h>

#include "engine/actions/KTActionsModule.h"
#include "engine/actions/KTAffineAnimation.h"
#include "engine/actions/KTAffineAnimationNode.h"
#include "engine/actions/KTInstantActions.h"
#include "tests/support/DataFileTest.h"

namespace kt::test {
namespace {

constexpr const char* kPulse = R"(<pulse loop="true"><key t="0" scale="1"/><key t="0.5" scale="2"/></pulse>)";

class ContentLoadingTest : public DataFileTest {
protected:
    ContentLoadingTest() { KTInstallActionsModule(); }

    std::shared_ptr<KTNode> loadScene(std::string_view xml) {
        writeFile("scene.xml", xml);
        return KTNode::nodeFromFile("scene.xml");
    }
};

// An element without a file is its own animation, one with a file plays the file, and the node attribute
// attaches an animation pivoted on the node's centre.
TEST_F(ContentLoadingTest, AffineAnimationsComeFromTheirElementOrAFile) {
    writeFile("anims/pulse.xml", kPulse);
    const auto root = loadScene(R"(<scene>
        <affine_animation name="spin" loop="1"><key t="0"/><key t="2" angle="90"/><container/></affine_animation>
        <affine_animation name="pulse" filename="anims/pulse.xml"><key t="0"/><key t="9"/></affine_animation>
        <container name="box" x="10" y="20" w="40" h="60" affine_animation="anims/pulse.xml"/>
        <container name="plain" affine_animation="anims/missing.xml"/>
      </scene>)");
    const auto spin = std::dynamic_pointer_cast<KTAffineAnimationNode>(root->getChildByName("spin"));
    ASSERT_NE(spin, nullptr);
    ASSERT_NE(spin->affineAnimation(), nullptr);
    EXPECT_TRUE(spin->affineAnimation()->loop());
    EXPECT_EQ(spin->affineAnimation()->length(), 2);
    EXPECT_EQ(spin->children().count(), 1u);

    const auto& pulse = root->getChildByName("pulse")->affineAnimation();
    ASSERT_NE(pulse, nullptr);
    EXPECT_TRUE(pulse->loop());
    EXPECT_EQ(pulse->length(), 0.5f);

    const auto& attached = root->getChildByName("box")->affineAnimation();
    ASSERT_NE(attached, nullptr);
    EXPECT_EQ(attached->pivot(), CGPointMake(30, 50));
    EXPECT_EQ(root->getChildByName("plain")->affineAnimation(), nullptr);
}

TEST_F(ContentLoadingTest, StartEffectPlaysTheEffectFileOnTheNode) {
    writeFile("effects/pop.xml", R"(<effect><container name="spark"/></effect>)");
    const auto node = KTNode::node();
    node->runAction(KTStartEffect::actionWithEffectFilename("effects/pop.xml"));
    ASSERT_EQ(node->children().count(), 1u);
    EXPECT_NE(node->firstChild()->getChildByName("spark"), nullptr);
}

}  // namespace
}  // namespace kt::test

#include <gmock/gmock.h>

#include <string>
#include <vector>

#include "engine/actions/KTActionsModule.h"
#include "engine/actions/KTAffineAnimation.h"
#include "engine/actions/KTAffineAnimationNode.h"
#include "engine/actions/KTInstantActions.h"
#include "engine/core/XMLElement.h"
#include "tests/support/DataFileTest.h"
#include "tests/support/RecordingRenderer.h"

namespace kt::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

KTAffineAnimationKey moveKey(float t, float x, Color color = kColorWhite) {
    KTAffineAnimationKey key;
    key.t = t;
    key.move = {x, 0};
    key.color = color;
    return key;
}

std::vector<std::string> applied(const KTAffineAnimation& animation, float time) {
    RecordingRenderer renderer;
    animation.apply(renderer, time);
    return renderer.calls;
}

TEST(AffineAnimationTest, InterpolatesBetweenKeysAndTransformsAboutThePivot) {
    KTAffineAnimationKey end = moveKey(1, 100, Color{0xFF000000});
    end.scale = {3, 5};
    end.angle = 90;
    KTAffineAnimation animation({moveKey(0, 0), end}, false);
    animation.setPivot({10, 20});
    EXPECT_THAT(applied(animation, 0.25f),
                ElementsAre("translate 25 0", "translate 10 20", "rotate 22.5", "scale 1.5 2",
                            "translate -10 -20", "multColor ffbfbfbf"));
}

TEST(AffineAnimationTest, WrapsWhenLoopingAndHoldsTheLastKeyOtherwise) {
    const struct {
        bool loop;
        float time;
        const char* move;
    } cases[] = {{false, 0.5f, "translate 5 0"},  {false, 1, "translate 10 0"},
                 {false, 1.5f, "translate 20 0"}, {false, 2, "translate 30 0"},
                 {false, 5, "translate 30 0"},    {true, 5, "translate 10 0"},
                 {true, 4, "translate 0 0"},      {true, 1.5f, "translate 20 0"}};
    for (const auto& [loop, time, move] : cases) {
        SCOPED_TRACE(::testing::Message() << (loop ? "looping" : "once") << " at " << time);
        const KTAffineAnimation animation({moveKey(0, 0), moveKey(1, 10), moveKey(2, 30)}, loop);
        EXPECT_EQ(animation.length(), 2);
        EXPECT_EQ(applied(animation, time).front(), move);
    }
}

TEST(AffineAnimationTest, AppliesNothingWithFewerThanTwoKeysOrBeforeTheFirstKey) {
    EXPECT_THAT(applied(KTAffineAnimation({}, true), 0), IsEmpty());
    EXPECT_THAT(applied(KTAffineAnimation({moveKey(0, 10)}, false), 0), IsEmpty());
    EXPECT_THAT(applied(KTAffineAnimation({moveKey(0.5f, 10), moveKey(1, 20)}, false), 0.25f), IsEmpty());
}

TEST(AffineAnimationTest, KeysAtTheSameTimeJumpToTheLaterOne) {
    EXPECT_EQ(applied(KTAffineAnimation({moveKey(0, 10), moveKey(0, 20), moveKey(1, 40)}, false), 0).front(),
              "translate 20 0");
    // Keys that all sit at 0 have no period to loop over.
    EXPECT_EQ(applied(KTAffineAnimation({moveKey(0, 10), moveKey(0, 20)}, true), 3).front(),
              "translate 20 0");
}

TEST(AffineAnimationTest, ReadsKeysAndLoopFromAnElement) {
    const auto element = XMLElement::fromString(
        R"(<anim loop="YES">
             <key t="0" scale="2" scale_y="3" angle="45" move_x="4" move_y="-6" color="ff000080"/>
             <note t="7"/>
             <key t="1.5" move_x="nan" move_y="1e60"/>
           </anim>)");
    ASSERT_NE(element, nullptr);
    const auto animation = KTAffineAnimation::affineAnimationFromXMLElement(*element);
    EXPECT_TRUE(animation->loop());
    EXPECT_EQ(animation->length(), 1.5f);
    ASSERT_EQ(animation->keys().size(), 2u);
    const KTAffineAnimationKey& first = animation->keys()[0];
    EXPECT_EQ(first.scale, CGPointMake(2, 3));
    EXPECT_EQ(first.angle, 45);
    EXPECT_EQ(first.move, CGPointMake(4, -6));
    EXPECT_EQ(first.color, Color{0x80FF0000});
    const KTAffineAnimationKey& second = animation->keys()[1];
    EXPECT_EQ(second.move, CGPointMake(0, 0));
    EXPECT_EQ(second.scale, CGPointMake(1, 1));
    EXPECT_EQ(second.color, kColorWhite);
}

class AffineAnimationNodeTest : public EngineTest {
protected:
    AffineAnimationNodeTest() {
        animationNode->setRender(renderer);
        runScene()->addChild(container);
        animationNode->setAffineAnimation(std::make_shared<KTAffineAnimation>(
            std::vector<KTAffineAnimationKey>{moveKey(0, 0), moveKey(1, 100)}, false));
    }

    std::shared_ptr<RecordingRenderer> renderer = std::make_shared<RecordingRenderer>();
    std::shared_ptr<KTNode> container = KTNode::node();
    std::shared_ptr<KTAffineAnimationNode> animationNode = KTNode::node<KTAffineAnimationNode>();
};

TEST_F(AffineAnimationNodeTest, DrawsItsChildrenThroughTheAnimationAtItsOwnTime) {
    animationNode->setPosition({30, 40});
    animationNode->setSize({20, 10});
    animationNode->addChild(KTNode::node());
    container->addChild(animationNode);
    schedulerFrame(0.25f);
    EXPECT_EQ(animationNode->t(), 0.25f);
    renderer->calls.clear();
    animationNode->visit();
    EXPECT_THAT(renderer->calls,
                ElementsAre("push", "pushColor", "translate 25 0", "translate 10 5", "rotate 0", "scale 1 1",
                            "translate -10 -5", "multColor ffffffff", "translate 30 40", "multColor ffffffff",
                            "popColor", "pop"));
}

TEST_F(AffineAnimationNodeTest, WithoutChildrenOrHiddenAppliesNothing) {
    container->addChild(animationNode);
    animationNode->visit();
    animationNode->addChild(KTNode::node());
    animationNode->setVisible(false);
    animationNode->visit();
    EXPECT_THAT(renderer->calls, IsEmpty());
}

TEST_F(AffineAnimationNodeTest,
       RemovesItselfInTheFirstUpdateAfterItsLengthUnlessItLoopsAndRestartsOnEntering) {
    const auto child = KTNode::node();
    animationNode->addChild(child);
    container->addChild(animationNode);
    schedulerFrame(0.5f);
    schedulerFrame(0.5f);
    EXPECT_TRUE(container->hasChild(animationNode.get()));
    schedulerFrame(0.25f);
    EXPECT_FALSE(container->hasChild(animationNode.get()));
    EXPECT_FALSE(animationNode->hasChildren());
    EXPECT_EQ(child->parent(), nullptr);

    animationNode->setAffineAnimation(std::make_shared<KTAffineAnimation>(
        std::vector<KTAffineAnimationKey>{moveKey(0, 0), moveKey(1, 100)}, true));
    container->addChild(animationNode);
    EXPECT_EQ(animationNode->t(), 0);
    schedulerFrame(3);
    EXPECT_TRUE(container->hasChild(animationNode.get()));
    schedulerFrame(0.5f);
    ASSERT_GT(animationNode->t(), 0);
    animationNode->reset();
    EXPECT_EQ(animationNode->t(), 0);
}

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

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "engine/render/KTLightning.h"
#include "tests/engine/render/EffectTest.h"

namespace kt::test {
namespace {

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

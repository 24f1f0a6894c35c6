#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/KTDirector.h"
#include "engine/core/KTNode.h"
#include "engine/core/KTScene.h"
#include "tests/support/EngineTest.h"
#include "tests/support/RecordingRenderer.h"

namespace kt {
namespace {

// Draws a rectangle named after itself so that the recorded calls show the draw order.
class MarkerNode : public KTNode {
public:
    explicit MarkerNode(float id) : id_(id) {}
    void draw() override { render()->drawRect(CGRectMake(id_, 0, 0, 0)); }

private:
    float id_;
};

class NodeDrawTest : public test::EngineTest {
protected:
    NodeDrawTest() { KTDirector::shared().setRenderer(renderer); }

    std::shared_ptr<MarkerNode> marker(float id, int layer = 0, bool layeredNode = false) {
        auto node = std::make_shared<MarkerNode>(id);
        node->setLayered(layeredNode);
        node->setLayer(layer);
        return node;
    }

    std::vector<std::string> drawn() const {
        std::vector<std::string> rects;
        for (const auto& call : renderer->calls) {
            if (call.starts_with("drawRect")) rects.push_back(call.substr(9, call.find(' ', 9) - 9));
        }
        return rects;
    }

    std::shared_ptr<test::RecordingRenderer> renderer = std::make_shared<test::RecordingRenderer>();
};

TEST_F(NodeDrawTest, ChildrenAreTintedByTheirParentTranslatedOnlyOffTheOriginAndHiddenWithIt) {
    auto parent = marker(1);
    parent->addChild(marker(2));
    parent->visit();
    EXPECT_EQ(renderer->calls,
              (std::vector<std::string>{"drawRect 1 0 0 0", "pushColor", "multColor ffffffff",
                                        "drawRect 2 0 0 0", "popColor"}));
    renderer->calls.clear();
    parent->setPosition({10, 20});
    parent->setColor(Color{0x80FFFFFF});
    parent->visit();
    EXPECT_EQ(renderer->calls,
              (std::vector<std::string>{"drawRect 1 0 0 0", "push", "translate 10 20", "pushColor",
                                        "multColor 80ffffff", "drawRect 2 0 0 0", "popColor", "pop"}));
    renderer->calls.clear();
    parent->setVisible(false);
    parent->visit();
    EXPECT_TRUE(renderer->calls.empty());
}

TEST_F(NodeDrawTest, LayeredSubtreesDrawHigherLayersAfterLowerOnesAndRaiseTheTopLayerThroughLayeredParents) {
    auto root = marker(0, 0, true);
    auto high = marker(1, 2, true);
    auto low = marker(2, 0, true);
    auto middle = marker(3, 1, true);
    auto plain = marker(4);
    high->addChild(marker(5));  // drawn with its layered parent
    root->addChild(high);
    root->addChild(low);
    root->addChild(middle);
    root->addChild(plain);  // not layered: drawn in the root's own layer pass
    EXPECT_EQ(root->maxChildLayer(), 2);

    root->visit();
    EXPECT_EQ(drawn(), (std::vector<std::string>{"0", "2", "4", "3", "1", "5"}));

    // A layer raised later reaches the root through layered parents, but not through a plain one.
    auto deep = marker(6, 0, true);
    low->addChild(deep);
    deep->setLayer(3);
    auto underPlain = marker(7, 0, true);
    plain->addChild(underPlain);
    underPlain->setLayer(5);
    EXPECT_EQ(root->maxChildLayer(), 3);
}

TEST_F(NodeDrawTest, AnEffectIsRemovedAtTheEndOfTheDrawAfterItsLastChildLeftButAnEnabledNodeStays) {
    auto parent = KTNode::node();
    auto enabledNode = KTNode::node();
    enabledNode->setAutoremove(true);
    parent->addChild(enabledNode);
    auto effect = KTNode::node();
    effect->setEnabled(false);
    effect->setAutoremove(true);
    auto particle = KTNode::node();
    effect->addChild(particle);
    parent->addChild(effect);

    parent->visit();
    EXPECT_TRUE(parent->hasChild(effect.get()));
    effect->removeChild(particle.get());
    EXPECT_TRUE(parent->hasChild(effect.get())) << "removal waits for the parent's next draw";
    parent->visit();
    EXPECT_FALSE(parent->hasChild(effect.get()));
    EXPECT_TRUE(parent->hasChild(enabledNode.get()));
}

TEST_F(NodeDrawTest, TheSceneDrawsTheNodeUnderTheMouseAtThePointer) {
    auto scene = runScene();
    auto cursor = marker(7);
    scene->mouseMove({300, 200});
    scene->setUnderMouse(cursor);
    EXPECT_TRUE(cursor->isOnStage());
    scene->mouseMove({310, 220});
    scene->visit();
    EXPECT_EQ(cursor->position(), (CGPoint{310, 220}));
    EXPECT_EQ(drawn(), (std::vector<std::string>{"7"}));
    scene->setUnderMouse(nullptr);
    EXPECT_FALSE(cursor->isOnStage());
}

TEST_F(NodeDrawTest, AHoveredNodesTooltipSitsAboveThePointerFlipsLeftAtTheRightEdgeAndLeavesWithThePointer) {
    auto scene = runScene();
    auto button = KTNode::node();
    button->setSize({1024, 400});
    auto tooltip = KTNode::node();
    tooltip->setSize({200, 40});
    button->setTooltip(tooltip);
    scene->addChild(button);
    // Where the pointer is, and where the tooltip's left edge goes.
    const std::pair<float, float> placements[] = {{100, 100}, {824, 824}, {825, 625}, {1000, 800}};
    for (const auto& [pointerX, expectedX] : placements) {
        SCOPED_TRACE(pointerX);
        scene->mouseMove({pointerX, 300});
        scene->visit();
        EXPECT_EQ(scene->currentTooltip(), tooltip);
        EXPECT_EQ(tooltip->position(), (CGPoint{expectedX, 260}));
    }
    EXPECT_TRUE(tooltip->isOnStage());
    scene->mouseMove({100, 500});
    EXPECT_EQ(scene->currentTooltip(), nullptr);
    EXPECT_FALSE(tooltip->isOnStage());
}

}  // namespace
}  // namespace kt

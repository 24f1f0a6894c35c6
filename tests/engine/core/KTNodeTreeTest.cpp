#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/core/KTNode.h"
#include "engine/core/KTScene.h"
#include "tests/engine/core/NodeHelpers.h"
#include "tests/support/EngineTest.h"

namespace kt {
namespace {

using JournalNode = test::Journaling<KTNode>;
using test::childNames;

std::shared_ptr<JournalNode> journalNode(std::vector<std::string>& journal, const std::string& name,
                                         CGRect frame = CGRectZero) {
    auto node = std::make_shared<JournalNode>();
    node->journal = &journal;
    node->setName(name);
    node->setPosition(frame.origin);
    node->setSize(frame.size);
    return node;
}

class NodeTreeTest : public test::EngineTest {
protected:
    std::vector<std::string> journal;
};

TEST_F(NodeTreeTest, ReAddingAChildMovesItToTheEndAnotherParentTakesItAwayAndReplacingKeepsTheSlot) {
    auto parent = KTNode::node();
    auto a = KTNode::node();
    auto b = KTNode::node();
    parent->addChild(a, "a");
    parent->addChild(b, "b");

    parent->addChild(b);
    EXPECT_EQ(childNames(*parent), (std::vector<std::string>{"a", "b"}));
    parent->addChild(a);
    EXPECT_EQ(childNames(*parent), (std::vector<std::string>{"b", "a"}));
    EXPECT_EQ(a->parent(), parent.get());

    auto other = KTNode::node();
    other->addChild(a);
    EXPECT_EQ(childNames(*parent), (std::vector<std::string>{"b"}));
    EXPECT_EQ(a->parent(), other.get());

    // Replacing keeps the slot, and appends when the old child is missing.
    auto c = KTNode::node();
    c->setName("c");
    parent->replaceChild(b.get(), c);
    EXPECT_EQ(childNames(*parent), (std::vector<std::string>{"c"}));
    EXPECT_EQ(b->parent(), nullptr);
    parent->replaceChild(b.get(), b);
    EXPECT_EQ(childNames(*parent), (std::vector<std::string>{"c", "b"}));
    parent->replaceChild(c.get(), nullptr);
    EXPECT_EQ(parent->children().count(), 2u);
}

TEST_F(NodeTreeTest, ReAddingToTheSameParentOnStageLeavesAndEntersTheStageAgain) {
    auto scene = runScene();
    auto child = journalNode(journal, "child");
    scene->addChild(child);
    scene->addChild(child);
    EXPECT_EQ(journal, (std::vector<std::string>{"child enter", "child exit", "child enter"}));
    EXPECT_TRUE(child->isOnStage());
}

TEST_F(NodeTreeTest, ADestroyedParentLeavesNoDanglingParentPointer) {
    auto child = KTNode::node();
    {
        auto parent = KTNode::node();
        parent->addChild(child);
    }
    EXPECT_EQ(child->parent(), nullptr);
    EXPECT_EQ(child->absolutePosition(), CGPointZero);
}

TEST_F(NodeTreeTest, LookupsByNameClassAndAncestor) {
    auto scene = runScene();
    auto outer = KTNode::node();
    auto inner = KTNode::node();
    auto tooltip = KTNode::node();
    scene->addChild(outer, "outer");
    outer->addChild(inner, "inner");
    outer->setTooltip(tooltip);

    EXPECT_EQ(outer->getChildByName("inner"), inner);
    EXPECT_EQ(outer->getChildByName("tooltip"), tooltip);
    EXPECT_EQ(outer->getChildByName("missing"), nullptr);
    EXPECT_EQ(inner->getParentChildWithName("outer"), outer);
    EXPECT_EQ(inner->getParentOfClass(KTScene::staticClass()), scene.get());
    EXPECT_EQ(scene->getChildByClass<KTNode>(), outer);
    EXPECT_EQ(inner->scene(), scene);
}

class PointerTest : public test::EngineTest {
protected:
    std::vector<std::string> journal;
    std::shared_ptr<KTScene> scene = runScene();
};

TEST_F(PointerTest, TheLaterOfOverlappingChildrenIsHoveredAndMovingToAnotherLeavesBeforeItEnters) {
    scene->addChild(journalNode(journal, "a", CGRectMake(0, 0, 100, 100)));
    scene->addChild(journalNode(journal, "b", CGRectMake(50, 50, 100, 100)));
    journal.clear();
    scene->mouseMove({60, 60});
    EXPECT_EQ(scene->hoverChild()->name(), "b");
    // Children receive points in their parent's space, here the scene's.
    EXPECT_EQ(journal, (std::vector<std::string>{"b mouseEnter", "b mouseMove 60,60"}));
    journal.clear();
    scene->mouseMove({25, 5});
    EXPECT_EQ(journal, (std::vector<std::string>{"b mouseLeave", "a mouseEnter", "a mouseMove 25,5"}));
    scene->mouseMove({500, 500});
    EXPECT_EQ(journal.back(), "a mouseLeave");
    EXPECT_EQ(scene->hoverChild(), nullptr);
}

TEST_F(PointerTest, HitTestIncludesEdgesAndSkipsHiddenDisabledAndUntestableChildren) {
    auto a = journalNode(journal, "a", CGRectMake(10, 10, 20, 20));
    scene->addChild(a);
    EXPECT_TRUE(a->hitTest({30, 30}));
    EXPECT_TRUE(a->hitTest({10, 10}));
    EXPECT_FALSE(a->hitTest({30.01f, 30}));

    // Hidden, disabled or left out of hit testing, the node is passed over.
    for (const auto set : {&KTNode::setVisible, &KTNode::setEnabled, &KTNode::setHitTest}) {
        (a.get()->*set)(false);
        scene->mouseMove({15, 15});
        EXPECT_EQ(scene->hoverChild(), nullptr);
        (a.get()->*set)(true);
    }
}

TEST_F(PointerTest, ChildHitTestCountsOnlyWhereAnEnabledChildIsHit) {
    auto panel = journalNode(journal, "panel", CGRectMake(100, 100, 200, 200));
    panel->setChildHitTest(true);
    auto button = journalNode(journal, "button", CGRectMake(10, 10, 20, 20));
    panel->addChild(button);

    EXPECT_TRUE(panel->hitTest({115, 115}));
    EXPECT_FALSE(panel->hitTest({250, 250}));
    button->setEnabled(false);
    EXPECT_FALSE(panel->hitTest({115, 115}));
}

TEST_F(PointerTest, ButtonsAndKeysGoOnlyToAnEnabledHoverChildInItsParentsSpace) {
    auto a = journalNode(journal, "a", CGRectMake(10, 10, 50, 50));
    scene->addChild(a);
    journal.clear();
    scene->buttonDown(msLeft, {20, 20});
    EXPECT_TRUE(journal.empty()) << "no hover child before the first move";

    scene->mouseMove({20, 20});
    journal.clear();
    scene->buttonDown(msLeft, {20, 25});
    scene->keyDown(kbSpace);
    EXPECT_EQ(journal, (std::vector<std::string>{"a buttonDown 256 20,25", "a keyDown 32"}));

    journal.clear();
    a->setEnabled(false);
    scene->buttonDown(msLeft, {20, 25});
    scene->keyDown(kbSpace);
    EXPECT_TRUE(journal.empty());
}

TEST_F(PointerTest, NestedHoverChildrenLeaveWithTheirParent) {
    auto outer = journalNode(journal, "outer", CGRectMake(0, 0, 100, 100));
    auto inner = journalNode(journal, "inner", CGRectMake(10, 10, 10, 10));
    outer->addChild(inner);
    scene->addChild(outer);
    scene->mouseMove({15, 15});
    journal.clear();
    scene->removeChild(outer.get());
    EXPECT_EQ(journal,
              (std::vector<std::string>{"outer mouseLeave", "inner mouseLeave", "outer exit", "inner exit"}));
}

// A node that removes itself from its parent when the pointer enters it.
class SelfRemovingNode : public KTNode {
public:
    void mouseEnter() override {
        KTNode::mouseEnter();
        if (parent()) parent()->removeChild(this);
    }
};

TEST_F(PointerTest, AChildMayRemoveItselfWhileItIsBeingEntered) {
    auto vanishing = std::make_shared<SelfRemovingNode>();
    vanishing->setSize({10, 10});
    std::weak_ptr<KTNode> watch = vanishing;
    scene->addChild(vanishing);
    vanishing.reset();
    scene->mouseMove({5, 5});
    EXPECT_FALSE(scene->hasChildren());
    EXPECT_TRUE(watch.expired());
}

TEST_F(PointerTest, MouseFocusCapturesThePointerOutsideEveryNodeAndKeyboardFocusTheKeys) {
    auto panel = journalNode(journal, "panel", CGRectMake(100, 100, 0, 0));
    auto slider = journalNode(journal, "slider", CGRectMake(10, 10, 10, 10));
    panel->addChild(slider);
    scene->addChild(panel);
    scene->addChild(journalNode(journal, "field"));
    scene->setMouseFocus(slider);
    scene->setFocusByName("field");
    journal.clear();

    scene->mouseMove({900, 700});
    scene->buttonDown(msLeft, {900, 700});
    scene->keyDown(kbA);
    EXPECT_EQ(journal, (std::vector<std::string>{"slider mouseMove 800,600", "slider buttonDown 256 800,600",
                                                 "field keyDown 97"}));
    EXPECT_EQ(scene->mousePosition(), (CGPoint{900, 700}));
}

}  // namespace
}  // namespace kt

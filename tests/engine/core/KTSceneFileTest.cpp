#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "engine/core/KTControllerManager.h"
#include "engine/core/KTDataSource.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTMessage.h"
#include "engine/core/KTNodeFactory.h"
#include "engine/core/KTScene.h"
#include "engine/core/KTState.h"
#include "engine/core/KTTextValues.h"
#include "tests/engine/core/FakeStateAnimator.h"
#include "tests/engine/core/NodeHelpers.h"
#include "tests/support/DataFileTest.h"

namespace kt {
namespace {

// A scene that hands out value providers by operation name; the tests also set one as a controller.
class ProviderScene : public KTScene {
public:
    KT_CLASS(ProviderScene)
    std::shared_ptr<KTNumberDataSource> volume = std::make_shared<KTNumberDataSource>(0.5);
    std::shared_ptr<KTNumberDataSource> muted = std::make_shared<KTNumberDataSource>(0);
    KTObjectRef volumeSource() { return volume; }
    KTObjectRef mutedSource() { return muted; }
};

const KTClass& ProviderScene::staticClass() {
    static const KTClass& cls = KTClass::define<ProviderScene>("ProviderScene", KTScene::staticClass())
                                    .operation("volumeSource", &ProviderScene::volumeSource)
                                    .operation("mutedSource", &ProviderScene::mutedSource);
    return cls;
}
KT_REGISTER_CLASS(ProviderScene);

using test::childNames;

class SceneFileTest : public test::DataFileTest {
protected:
    SceneFileTest() : animator(std::make_shared<test::FakeStateAnimator>()) {
        KTDirector::shared().setStateAnimator(animator);
    }

    std::shared_ptr<KTNode> load(const std::string& xml) {
        writeFile("data/scenes/test.xml", xml);
        return KTNode::nodeFromFile("data/scenes/test.xml");
    }

    static KTNode& child(const KTNode& node, std::size_t index) {
        return *node.children().objectAtIndex(index);
    }

    std::shared_ptr<test::FakeStateAnimator> animator;
};

TEST_F(SceneFileTest, GenericAttributesSetTheNode) {
    const auto root = load(
        "<scene><container name='panel' x='10.5' y='-3' w='200' h='100' visible='NO' enabled='false'"
        " state_stop='YES' child_hit_test='1' hit_test='0' autoremove='true' color='ff000080'"
        " background_color='00ff00' on_click='startGame:level_01' on_enter='hover' on_leave='leave'"
        " on_mouse_down='press' text='Play' custom='kept'/></scene>");
    ASSERT_EQ(root->children().count(), 1u);
    const KTNode& panel = child(*root, 0);
    EXPECT_EQ(panel.className(), "KTNode");
    EXPECT_EQ(panel.name(), "panel");
    EXPECT_EQ(panel.position(), (CGPoint{10.5f, -3}));
    EXPECT_EQ(panel.size(), (CGSize{200, 100}));
    EXPECT_FALSE(panel.visible());
    EXPECT_FALSE(panel.enabled());
    EXPECT_TRUE(panel.stateStop());
    EXPECT_TRUE(panel.childHitTest());
    EXPECT_FALSE(panel.hitTestEnabled());
    EXPECT_TRUE(panel.autoremove());
    EXPECT_EQ(panel.color().rep, 0x80FF0000u);
    EXPECT_TRUE(panel.drawBackground());
    EXPECT_EQ(panel.backgroundColor().rep, 0xFF00FF00u);
    for (const char* event : {"on_click", "on_enter", "on_leave", "on_mouse_down"}) {
        EXPECT_TRUE(panel.hasHandler(event)) << event;
    }
    EXPECT_EQ(panel.text(), "Play");
    EXPECT_EQ(*panel.attributes().find("custom"), "kept");
}

// Each text with the switch and the leading number it reads as.
TEST(TextValueTest, ReadsSwitchesAndLeadingNumbers) {
    const std::tuple<const char*, bool, double> texts[] = {
        {"YES", true, 0},    {"true", true, 0},       {"1", true, 1},   {"NO", false, 0},
        {"false", false, 0}, {"0", false, 0},         {"", false, 0},   {" 12.5px", true, 12.5},
        {"+3", true, 3},     {"-0.25", false, -0.25}, {"007", true, 7}, {"000", false, 0},
        {"-0", false, 0},    {"x1", false, 0}};
    for (const auto& [text, flag, real] : texts) {
        EXPECT_EQ(KTBoolFromText(text), flag) << text;
        EXPECT_DOUBLE_EQ(KTLeadingReal(text), real) << text;
    }
}

TEST_F(SceneFileTest, UnknownElementsAreSkippedWithTheirSubtrees) {
    const auto root = load(
        "<scene><container name='a'/><mystery name='m'><container name='lost'/></mystery>"
        "<image name='not_registered_in_the_core'/><container name='b'><container "
        "name='c'/></container></scene>");
    EXPECT_EQ(childNames(*root), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(childNames(*root->getChildByName("b")), std::vector<std::string>{"c"});
}

TEST(NodeFactoryTest, SpellingsShareAClassAndNamesAreExact) {
    EXPECT_EQ(KTNodeFactory::classNameForElement("drag_box"), "KTDragBox");
    EXPECT_EQ(KTNodeFactory::classNameForElement("dragbox"), "KTDragBox");
    EXPECT_EQ(KTNodeFactory::classNameForElement("edit"), KTNodeFactory::classNameForElement("text_input"));
    for (const char* none : {"Container", "state", "transition", "tooltip", ""}) {
        EXPECT_EQ(KTNodeFactory::classNameForElement(none), "") << none;
    }
}

// The panel file includes another file in turn; what a file leaves out keeps its value, and a missing include
// loads nothing.
TEST_F(SceneFileTest, IncludedContentNestsAndComesFirstAndOwnAttributesOverride) {
    writeFile("data/partials/panel.xml",
              "<panel x='5' y='6' name='from_file' content='data/partials/inner.xml'>"
              "<container name='inner1'/><state name='shown' x='50'/></panel>");
    writeFile("data/partials/inner.xml", "<p w='9'><container name='inner'/></p>");
    const auto root = load(
        "<scene><container content='data/partials/panel.xml' x='7'><container name='own'/></container>"
        "<container content='data/missing.xml'/></scene>");
    const KTNode& panel = child(*root, 0);
    EXPECT_EQ(panel.position(), (CGPoint{7, 6}));
    EXPECT_EQ(panel.w(), 9);
    EXPECT_EQ(panel.name(), "from_file");
    EXPECT_EQ(childNames(panel), (std::vector<std::string>{"inner", "inner1", "own"}));
    EXPECT_NE(panel.stateNamed("shown"), nullptr);
    EXPECT_FALSE(child(*root, 1).hasChildren());
}

TEST_F(SceneFileTest, AFileThatIncludesItselfIsLoadedOnce) {
    writeFile("data/partials/a.xml", "<p content='data/partials/b.xml'><container name='a'/></p>");
    writeFile("data/partials/b.xml", "<p><container name='b' content='data/partials/a.xml'/></p>");
    const auto root =
        load("<scene content='data/scenes/test.xml'><container content='data/partials/a.xml'/></scene>");
    // a includes b, whose child includes a again: that inner include is refused.
    const KTNode& a = child(*root, 0);
    EXPECT_EQ(childNames(a), (std::vector<std::string>{"b", "a"}));
    EXPECT_FALSE(child(a, 0).hasChildren());
    EXPECT_EQ(countInLog("scene file includes itself"), 2);
}

TEST_F(SceneFileTest, TooltipsComeFromAnElementOrFromAFileThatLoadsOnceWhenItNamesItself) {
    writeFile("data/tooltips/loop.xml", "<tip w='5' tooltip='data/tooltips/loop.xml'/>");
    const auto root = load(
        "<scene><container name='inline'><tooltip w='50'><container name='inside'/></tooltip></container>"
        "<container tooltip='data/tooltips/loop.xml'/></scene>");
    const auto inlineTip = child(*root, 0).tooltip();
    ASSERT_NE(inlineTip, nullptr);
    EXPECT_EQ(inlineTip->w(), 50);
    EXPECT_EQ(child(*root, 0).children().count(), 0u);

    const auto tip = child(*root, 1).tooltip();
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->w(), 5);
    ASSERT_NE(tip->tooltip(), nullptr);
    EXPECT_EQ(tip->tooltip()->w(), 0);
}

// A state of the same name replaces the earlier one, and so does a default state written in the file; the
// second "shown" state carries every attribute a state reads, and one it ignores.
TEST_F(SceneFileTest, TheDefaultStateIsTheNodeBeforeItsFirstStateElementUnlessTheFileDefinesIt) {
    const auto root = load(
        "<scene><container name='p' x='1' y='2' w='3' h='4' color='10203040'>"
        "<state name='shown' x='100' y='7' next_state='idle'/>"
        "<state name='shown' x='200' h='2.5' color='ff000080' visible='NO' enabled='YES' next_state='later'"
        " call='ping' on_end='scene done' on_start='begin' bogus='9'/>"
        "<transition from='default' to='shown' time='0.25'/></container>"
        "<container x='1'><state name='default' x='9'/></container></scene>");
    const KTNode& p = child(*root, 0);
    const auto snapshot = p.stateNamed("default");
    ASSERT_NE(snapshot, nullptr);
    EXPECT_EQ(
        snapshot->values,
        (std::map<std::string, double>{
            {"x", 1}, {"y", 2}, {"w", 3}, {"h", 4}, {"color", 0x40102030u}, {"visible", 1}, {"enabled", 1}}));
    const auto shown = p.stateNamed("shown");
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->values,
              (std::map<std::string, double>{
                  {"x", 200}, {"h", 2.5}, {"color", 0x80FF0000u}, {"visible", 0}, {"enabled", 1}}));
    EXPECT_EQ(shown->nextStateName, "later");
    EXPECT_EQ(shown->callName, "ping");
    EXPECT_EQ(shown->message, "scene done");
    EXPECT_EQ(shown->startMessage, "begin");
    EXPECT_EQ(child(*root, 1).stateNamed("default")->values, (std::map<std::string, double>{{"x", 9}}));
}

constexpr const char* kStatefulScene =
    "<scene name='root'>"
    "<transition from='default' to='visible' time='0'/>"
    "<state name='visible' x='1'/>"
    "<container name='a' x='0'>"
    "  <state name='visible' x='10'/>"
    "  <transition from='default' to='visible' time='2'/>"
    "  <container name='a1'><state name='visible' y='5'/></container>"
    "</container>"
    "<container name='b' state_stop='YES'>"
    "  <state name='visible' x='20'/>"
    "  <container name='b1'><state name='visible' x='30'/></container>"
    "</container>"
    "<container name='c'><container name='c1'><state name='visible' x='40'/></container></container>"
    "</scene>";

TEST_F(SceneFileTest, ATransitionOfTimeZeroSwitchesTheWholeTreeAtOnce) {
    const auto root = load(kStatefulScene);
    root->setState("visible");
    // With a transition, the time overrides the children's own tables; b stops the switch below itself and
    // c, which lacks the state, still passes it on.
    EXPECT_EQ(animator->switches,
              (std::vector<std::string>{"root:visible@0.0", "a:visible@0.0", "a1:visible@0.0",
                                        "b:visible@0.0", "c1:visible@0.0"}));
    EXPECT_EQ(root->getChildByName("b")->x(), 20);
    EXPECT_EQ(root->getChildByName("b")->getChildByName("b1")->x(), 0);
    EXPECT_EQ(root->getChildByName("c")->getChildByName("c1")->x(), 40);
}

TEST_F(SceneFileTest, WithoutATransitionEachNodeUsesItsOwnTable) {
    const auto root = load(kStatefulScene);
    root->getChildByName("a")->setState("visible");
    root->getChildByName("c")->setState("visible");
    EXPECT_EQ(animator->switches,
              (std::vector<std::string>{"a:visible@2.0", "a1:visible@2.0", "c1:visible@0.5"}));
    animator->switches.clear();
    root->getChildByName("a")->setState("visible");
    EXPECT_TRUE(animator->switches.empty());
}

TEST_F(SceneFileTest, DataSourcesBindToSceneAndControllerOperations) {
    writeFile("data/scenes/settings.xml",
              "<scene><container name='volume' dataSource='volumeSource'/>"
              "<container name='mute' enableDataSource='SoundSettings mutedSource'/>"
              "<container name='fps' dataSource='fpsDataSource'/>"
              "<container name='nothing' dataSource='noSuchOperation' enableDataSource='NoController "
              "op'/></scene>");
    const auto fps = std::make_shared<KTNumberDataSource>(60);
    KTNodeFactory::shared().setFpsDataSource(fps);
    const auto settings = std::make_shared<ProviderScene>();
    KTControllerManager::shared().setController("SoundSettings", settings);
    const auto scene = KTNode::nodeFromFile<ProviderScene>("data/scenes/settings.xml");

    EXPECT_EQ(scene->getChildByName("mute")->enableDataSource(), settings->muted);
    EXPECT_EQ(scene->getChildByName("fps")->dataSource(), fps);

    // Children are loaded before they know their scene; scene operations bind when they come on stage.
    EXPECT_EQ(scene->getChildByName("volume")->dataSource(), nullptr);
    runScene(scene);
    EXPECT_EQ(scene->getChildByName("volume")->dataSource(), scene->volume);
    EXPECT_EQ(scene->getChildByName("nothing")->dataSource(), nullptr);
    EXPECT_EQ(scene->getChildByName("nothing")->enableDataSource(), nullptr);
}

// Their removal once their parts are gone is the drawing's part.
TEST_F(SceneFileTest, EffectsAreCentredOrPlacedOnTheNodeAndGoOnALayeredNodesTopLayer) {
    writeFile("data/effects/pop.xml", "<effect><container name='spark'/></effect>");
    auto button = KTNode::node();
    button->setPosition({400, 300});
    button->setSize({100, 40});
    const auto centred = button->startEffect("data/effects/pop.xml");
    EXPECT_EQ(centred->position(), (CGPoint{50, 20}));
    EXPECT_FALSE(centred->enabled());
    EXPECT_TRUE(centred->autoremove());
    const auto placed = button->startEffect("data/effects/pop.xml", {5, 6});
    EXPECT_EQ(placed->position(), (CGPoint{5, 6}));
    EXPECT_EQ(button->children().count(), 2u);

    button->setLayered(true);
    button->setMaxChildLayer(3);
    const auto layered = button->startEffect("data/effects/missing.xml", {0, 0});
    EXPECT_TRUE(layered->layered());
    EXPECT_EQ(layered->layer(), 3);
}

class SceneOverlayTest : public SceneFileTest {
protected:
    SceneOverlayTest() : scene(runScene()) {}

    void writePopup(const std::string& name) {
        writeFile("data/popups/" + name + ".xml",
                  "<popup name='" + name +
                      "'><state name='initial' y='-100'/><state name='default' y='100'/>"
                      "<state name='closing' y='-100' on_end='removePopup'/></popup>");
    }

    // Runs a handler message as a button press would.
    static void send(const std::string& message) {
        KTDirector::shared().addMessage(std::make_shared<KTMessage>(message));
        KTDirector::shared().processMessages();
    }

    std::shared_ptr<KTScene> scene;
};

TEST_F(SceneOverlayTest, TooltipsStartFromDefaultAndMoveToVisible) {
    writeFile("data/tooltips/tip.xml",
              "<tip><state name='visible' x='3'/><transition from='default' to='visible' time='0.2'/></tip>");
    const auto first = KTNode::nodeFromFile("data/tooltips/tip.xml");
    first->setName("first");
    const auto second = KTNode::nodeFromFile("data/tooltips/tip.xml");
    second->setName("second");
    scene->mouseMove({300, 200});

    scene->setCurrentTooltip(first);
    EXPECT_EQ(scene->currentTooltip(), first);
    EXPECT_TRUE(first->isOnStage());
    scene->replaceCurrentTooltipWith(second);
    EXPECT_FALSE(first->isOnStage());
    scene->setCurrentTooltip(nullptr);
    EXPECT_EQ(scene->currentTooltip(), nullptr);
    EXPECT_EQ(animator->switches,
              (std::vector<std::string>{"first:default@0.0", "first:visible@0.2", "first:default@0.0",
                                        "second:default@0.0", "second:visible@0.0", "second:default@0.0"}));
}

TEST_F(SceneOverlayTest, PopupsShowOneAtATimeAndTheRestWaitInOrder) {
    writePopup("first");
    writePopup("second");
    writePopup("third");
    writeFile("data/popups/broken.xml", "<popup><state");
    EXPECT_FALSE(scene->showPopup("data/popups/missing.xml"));
    EXPECT_FALSE(scene->showPopup("data/popups/broken.xml"));
    EXPECT_EQ(scene->currentPopup(), nullptr);

    EXPECT_TRUE(scene->showPopup("data/popups/first.xml"));
    EXPECT_TRUE(scene->showPopup("data/popups/second.xml"));
    // Handler messages open and close popups too.
    send("showPopup:data/popups/third.xml");
    ASSERT_NE(scene->currentPopup(), nullptr);
    EXPECT_EQ(scene->currentPopup()->name(), "first");
    EXPECT_EQ(scene->children().lastObject(), scene->currentPopup());
    EXPECT_EQ(scene->popupQueue().size(), 2u);
    EXPECT_EQ(animator->switches, (std::vector<std::string>{"first:initial@0.0", "first:default@0.5"}));

    const auto first = scene->currentPopup();
    send("closePopup");
    EXPECT_EQ(animator->switches.back(), "first:closing@0.5");
    send("removePopup");
    EXPECT_EQ(scene->currentPopup()->name(), "second");
    EXPECT_FALSE(scene->hasChild(first.get()));
    scene->removePopup();
    EXPECT_EQ(scene->currentPopup()->name(), "third");
    scene->removePopup();
    EXPECT_EQ(scene->currentPopup(), nullptr);
    EXPECT_FALSE(scene->hasChildren());
    EXPECT_EQ(countInLog("showPopup: data/popups/"), 3);
}

}  // namespace
}  // namespace kt

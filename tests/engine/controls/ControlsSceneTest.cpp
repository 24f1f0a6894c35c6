#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/actions/KTActionsModule.h"
#include "engine/controls/KTBaseMenuScene.h"
#include "engine/controls/KTButton.h"
#include "engine/controls/KTCheckbox.h"
#include "engine/controls/KTDragBox.h"
#include "engine/controls/KTSlider.h"
#include "engine/controls/KTTextInput.h"
#include "engine/controls/KTVariantContainer.h"
#include "engine/core/KTControllerManager.h"
#include "engine/core/KTDataSource.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTState.h"
#include "engine/services/KTSettingsManager.h"
#include "engine/services/KTUserManager.h"
#include "tests/engine/services/ProfileTest.h"
#include "tests/support/FakePlatform.h"

namespace kt::test {

// The test scene with every control, running in the director, driven by window events as a player would:
// each input call queues the platform's events and runs one frame.
class ControlsSceneTest : public ProfileTest {
protected:
    ControlsSceneTest() {
        auto fake = std::make_unique<FakePlatform>();
        platform = fake.get();
        KTDirector& director = KTDirector::shared();
        director.setPlatform(std::move(fake));
        director.createWindow();
        auto recording = std::make_shared<RecordingAudio>();
        audio = recording.get();
        director.setAudio(std::move(recording));
        writeFile("screens/controls.sg.xml", readFile(MOONBROOK_TEST_SCENE));
    }

    // Loads and starts the scene; tests that prepare profiles first call it themselves.
    void start() {
        scene = KTNode::nodeFromFile<KTBaseMenuScene>("screens/controls.sg.xml");
        runScene(scene);
        frame();
    }
    template <typename T = KTNode>
    std::shared_ptr<T> node(const std::string& name) const {
        return std::dynamic_pointer_cast<T>(scene->getChildByName(name));
    }
    // The centre of a node on the logical screen, where the pointer calls below take their points.
    CGPoint centreOf(const std::string& name) const { return node(name)->absoluteCenter(); }
    std::string state() const { return scene->currentState() ? scene->currentState()->name : ""; }

    void frame() { KTDirector::shared().runFrame(); }
    void move(CGPoint point) {
        queuePointer(KTEvent::Type::mouseMove, point);
        frame();
    }
    void press(CGPoint point) {
        queuePointer(KTEvent::Type::mouseMove, point);
        queuePointer(KTEvent::Type::mouseDown, point);
        frame();
    }
    void release(CGPoint point) {
        queuePointer(KTEvent::Type::mouseUp, point);
        frame();
    }
    void click(CGPoint point) {
        press(point);
        release(point);
    }
    void clickNode(const std::string& name) { click(centreOf(name)); }
    void type(const std::string& text) {
        KTEvent event;
        event.type = KTEvent::Type::textInput;
        event.text = text;
        send(event);
    }
    void key(ButtonName pressed) {
        KTEvent event;
        event.type = KTEvent::Type::keyDown;
        event.key = pressed;
        send(event);
    }

    FakePlatform* platform = nullptr;
    RecordingAudio* audio = nullptr;
    std::shared_ptr<KTBaseMenuScene> scene;

private:
    void queuePointer(KTEvent::Type type, CGPoint point) {
        KTEvent event;
        event.type = type;
        event.mouseButton = 1;
        platform->pointer = KTDirector::shared().screenPointFromRenderPoint(point);
        platform->events.push_back(event);
    }
    void send(const KTEvent& event) {
        platform->events.push_back(event);
        frame();
    }
};

}  // namespace kt::test

namespace kt {
namespace {

// The buttons, check box, sliders and text fields of the test scene, through window events.
class ControlInputTest : public test::ControlsSceneTest {
protected:
    ControlInputTest() { start(); }

    bool shows(const std::string& control, const std::string& look) const {
        return node(control)->getChildByName(look)->visible();
    }
    static KTUserManager& users() { return KTUserManager::sharedManager(); }
};

TEST_F(ControlInputTest, AButtonShowsThePointerAndTheReleaseOverItClicksIt) {
    EXPECT_TRUE(shows("add_button", "default"));
    move(centreOf("add_button"));
    EXPECT_TRUE(shows("add_button", "active"));
    EXPECT_FALSE(shows("add_button", "default"));
    press(centreOf("add_button"));
    EXPECT_TRUE(shows("add_button", "pressed"));
    EXPECT_EQ(state(), "");
    release(centreOf("add_button"));
    EXPECT_TRUE(shows("add_button", "active"));
    EXPECT_EQ(state(), "add_user");
    move({900, 20});
    EXPECT_TRUE(shows("add_button", "default"));
    EXPECT_FALSE(shows("add_button", "active"));

    // A click belongs to the button under the release.
    press({900, 20});
    release(centreOf("cancel_button"));
    EXPECT_EQ(state(), "users");
    press(centreOf("cancel_button"));
    release(centreOf("add_button"));
    EXPECT_EQ(state(), "add_user");
}

TEST_F(ControlInputTest, ADisabledButtonShowsSoAndNeverClicks) {
    EXPECT_TRUE(shows("first_user_button", "disabled"));
    EXPECT_FALSE(shows("first_user_button", "default"));
    clickNode("first_user_button");
    EXPECT_EQ(state(), "");

    move(centreOf("add_button"));
    node("add_button")->setEnabled(false);
    EXPECT_TRUE(shows("add_button", "disabled"));
    EXPECT_FALSE(shows("add_button", "active"));
    click(centreOf("add_button"));
    EXPECT_EQ(state(), "");
}

// Enabled, the check box switches the window mode, sets its provider and follows it; disabled, it mirrors its
// data object every frame.
TEST_F(ControlInputTest, ACheckboxTogglesTheWindowModeAndFollowsItsProviderOrWhenDisabledItsDataObject) {
    const auto checkbox = node<KTCheckbox>("fullscreen_checkbox");
    const auto provider = std::make_shared<KTNumberDataSource>(0);
    checkbox->setDataSource(provider);
    KTDirector::shared().setFullscreen(false);
    clickNode("fullscreen_checkbox");
    EXPECT_TRUE(provider->boolValue());
    EXPECT_TRUE(shows("fullscreen_checkbox", "mark"));
    EXPECT_TRUE(KTDirector::shared().fullscreen());
    clickNode("fullscreen_checkbox");
    EXPECT_FALSE(provider->boolValue());
    EXPECT_FALSE(KTDirector::shared().fullscreen());
    provider->setBool(true);
    EXPECT_TRUE(checkbox->checked());
    EXPECT_TRUE(shows("fullscreen_checkbox", "mark"));

    const auto controller = KTControllerManager::shared().getControllerByName("KTUsersController");
    checkbox->setEnabled(false);
    checkbox->setDataObject(controller, "fullscreen", {});
    KTSettingsManager::sharedManager().fullscreen()->setBool(false);
    frame();
    EXPECT_FALSE(checkbox->checked());
    EXPECT_FALSE(shows("fullscreen_checkbox", "mark"));
    KTSettingsManager::sharedManager().fullscreen()->setBool(true);
    frame();
    EXPECT_TRUE(checkbox->checked());
}

TEST_F(ControlInputTest, ASliderFollowsTheDragInsideItsTrackAndSetsTheVolume) {
    const auto slider = node<KTSlider>("sound_volume_value");
    const CGPoint left = slider->absolutePosition();
    press({left.x + 75, left.y + 9});
    EXPECT_FLOAT_EQ(slider->value(), 0.25f);
    EXPECT_EQ(audio->sound, 2500);
    move({left.x + 5000, left.y + 300});
    EXPECT_FLOAT_EQ(slider->value(), 1.0f);
    EXPECT_EQ(audio->sound, 10000);
    move({left.x - 5000, left.y});
    EXPECT_FLOAT_EQ(slider->value(), 0.0f);
    release({left.x - 5000, left.y});
    move({left.x + 150, left.y + 9});
    EXPECT_FLOAT_EQ(slider->value(), 0.0f);
    EXPECT_EQ(audio->sound, 0);
    // The other sound slider follows the scene's volume.
    EXPECT_FLOAT_EQ(node<KTSlider>("sound_volume_value2")->value(), 0.0f);
}

TEST_F(ControlInputTest, ASliderBoundToTheSettingsDrivesThemAndTheProfile) {
    users().add("Ada");
    const auto slider = node<KTSlider>("sound_volume_value2");
    const CGPoint left = slider->absolutePosition();
    click({left.x + 225, left.y + 9});
    EXPECT_DOUBLE_EQ(KTSettingsManager::sharedManager().soundVolume()->numberValue(), 0.75);
    EXPECT_EQ(audio->sound, 7500);
    EXPECT_DOUBLE_EQ(savedFile()["users"].at(0)["sound_volume"].realValue(), 0.75);
}

TEST_F(ControlInputTest, ATextFieldTakesTheFocusAndEditsWholeCharacters) {
    const auto input = node<KTTextInput>("username_input");
    type("ignored");
    EXPECT_EQ(input->text(), "");
    clickNode("username_input");
    EXPECT_TRUE(input->hasFocus());
    EXPECT_TRUE(node("username_input")->getChildByName("cursor")->visible());
    EXPECT_FALSE(node("first_username_input")->getChildByName("cursor")->visible());
    type("Zoë");
    type("\x01ß");
    EXPECT_EQ(input->text(), "Zoëß");
    key(kbBackspace);
    EXPECT_EQ(input->text(), "Zoë");
    key(kbBackspace);
    EXPECT_EQ(input->text(), "Zo");
    // The limit of 16 cuts a paste between two characters, never inside one.
    type("Дмитрий😀😀abcdefg");
    EXPECT_EQ(input->text(), "ZoДмитрий😀😀abcde");
    type("x");
    EXPECT_EQ(input->text(), "ZoДмитрий😀😀abcde");
    for (int i = 0; i < 20; ++i)
        key(kbBackspace);
    EXPECT_EQ(input->text(), "");

    const auto withoutLimit = std::make_shared<KTTextInput>();
    withoutLimit->textInput("abc");
    EXPECT_EQ(withoutLimit->text(), "") << "a field without a limit takes nothing";
}

class BaseMenuSceneTest : public test::ControlsSceneTest {
protected:
    static KTUserManager& users() { return KTUserManager::sharedManager(); }
    void addUsers(int count) {
        for (int i = 0; i < count; ++i)
            users().add("Player " + std::to_string(i));
    }
};

TEST_F(BaseMenuSceneTest, ATakenNameShowsThePopupAndAddsNothing) {
    writeFile(KTBaseMenuScene::kUserExistsPopup, "<container name=\"exists\"/>");
    addUsers(1);
    start();
    clickNode("username_input");
    type(" Player 0 ");
    EXPECT_FALSE(scene->addUser());
    EXPECT_EQ(users().count(), 1u);
    ASSERT_TRUE(scene->currentPopup());
    EXPECT_EQ(scene->currentPopup()->name(), "exists");
    EXPECT_FALSE(scene->focus());
}

TEST_F(BaseMenuSceneTest, DeletingTheOnlyProfileAsksForTheFirstNamePrefilled) {
    addUsers(1);
    start();
    scene->deleteSelectedUser();
    EXPECT_EQ(users().count(), 0u);
    EXPECT_EQ(state(), "add_first_user");
    EXPECT_EQ(scene->focus(), node("first_username_input"));
    EXPECT_EQ(node("first_username_input")->text(), KTResourceManager::osUserName());
    key(kbReturn);
    ASSERT_EQ(users().count(), 1u);
    EXPECT_EQ(state(), "default");
    EXPECT_EQ(node("first_username_input")->text(), "");
}

TEST_F(BaseMenuSceneTest, WithoutAProfileFullScreenAtFourFifthsVolumeAndASelectedOneAppliesItsOwn) {
    KTDirector::shared().setFullscreen(false);
    KTBaseMenuScene::loadCurrentUserSettings();
    EXPECT_TRUE(KTDirector::shared().fullscreen());
    EXPECT_EQ(audio->sound, 8000);
    EXPECT_EQ(audio->music, 8000);

    addUsers(2);
    users().users()[0]->setObject(false, "fullscreen");
    users().users()[0]->setObject(0.3, "sound_volume");
    users().users()[0]->setObject(0.6, "music_volume");
    users().save();
    start();
    KTDirector::shared().setFullscreen(true);
    scene->selectUser("Player 0");
    EXPECT_FALSE(KTDirector::shared().fullscreen());
    EXPECT_EQ(audio->sound, 3000);
    EXPECT_EQ(audio->music, 6000);
    EXPECT_FLOAT_EQ(node<KTSlider>("sound_volume_value")->value(), 0.3f);
    EXPECT_FLOAT_EQ(node<KTSlider>("music_volume_value")->value(), 0.6f);
    EXPECT_FALSE(node<KTCheckbox>("fullscreen_checkbox")->checked());
}

TEST_F(BaseMenuSceneTest, EachTutorialShowsOncePerProfile) {
    writeFile("data/partials/tutorial/swap.xml", "<container/>");
    addUsers(2);
    start();
    scene->showTutorial("swap");
    scene->showTutorial("missing");
    scene->removePopup();
    scene->showTutorial("swap");
    EXPECT_FALSE(scene->currentPopup());
    EXPECT_EQ(savedFile()["users"].at(1)["tutorials"], KTPlist(KTPlist::Dictionary{{"swap", 1}}));
    scene->selectUser("Player 0");
    scene->showTutorial("swap");
    EXPECT_TRUE(scene->currentPopup());
}

TEST_F(BaseMenuSceneTest, BrokenControlsAndNamesAreLoggedOnceWithTheirFile) {
    writeFile("screens/broken.xml",
              "<scene><checkbox name=\"box\" x=\"100\" w=\"20\" h=\"20\" on_check=\"noSuchOperation\"/>"
              "<edit name=\"field\" limit=\"twelve\"/>"
              "<text dataSource=\"KTUsersController noSuchProvider\"/>"
              "<button name=\"b\" w=\"50\" h=\"50\" on_click=\"noSuchHandler\"/></scene>");
    auto broken = KTNode::nodeFromFile<KTBaseMenuScene>("screens/broken.xml");
    scene = broken;
    runScene(broken);
    for (int i = 0; i < 2; ++i) {
        broken->setupVolumeControl();
        clickNode("b");
        clickNode("box");
    }
    const std::string file = "screens/broken.xml";
    EXPECT_EQ(countInLog("checkbox without a \"mark\" child: " + file), 1);
    EXPECT_EQ(countInLog("text input limit \"twelve\" is not a number: " + file), 1);
    EXPECT_EQ(countInLog("no value provider \"KTUsersController noSuchProvider\": " + file), 1);
    EXPECT_EQ(countInLog("names no operation of KTBaseMenuScene: " + file), 1);
    EXPECT_EQ(countInLog("names no operation \"noSuchOperation\" of KTBaseMenuScene: " + file), 1);
    EXPECT_EQ(countInLog("no KTSlider named \"sound_volume_value\""), 1);
    EXPECT_EQ(node<KTTextInput>("field")->limit(), 0u);
}

// The test scene's strip: 300 wide at (40, 520), pages centred at 150, 450 and 750 of its content, which
// moves from 0 to -600.
class DragBoxTest : public test::ControlsSceneTest {
protected:
    DragBoxTest() {
        KTInstallActionsModule();
        KTDirector::shared().setFixedDeltaTime(0.05f);
        start();
        strip = node<KTDragBox>("strip");
    }

    void drag(float fromX, float toX) {
        press({fromX, kY});
        move({(fromX + toX) / 2, kY});
        move({toX, kY});
        release({toX, kY});
    }
    void glide() {
        for (int i = 0; i < 40; ++i)
            frame();
    }

    static constexpr float kY = 585;
    std::shared_ptr<KTDragBox> strip;
};

TEST_F(DragBoxTest, AShortPressAndReleaseClicksTheContentUnderIt) {
    KTDirector::shared().setFullscreen(true);
    press({190, kY});
    release({205, kY});
    EXPECT_FALSE(KTDirector::shared().fullscreen());
    EXPECT_EQ(strip->displacement(), CGPointZero);
}

TEST_F(DragBoxTest, ADragSnapsToTheNextChildAndItsClicksReachThatChild) {
    drag(300, 100);
    EXPECT_FLOAT_EQ(strip->displacementX(), -200);
    EXPECT_FLOAT_EQ(strip->autoscrollTime(), 0.2f);
    glide();
    EXPECT_FLOAT_EQ(strip->displacementX(), -300);
    KTDirector::shared().setFullscreen(false);
    click({190, kY});
    EXPECT_TRUE(KTDirector::shared().fullscreen());
}

TEST_F(DragBoxTest, TheContentStaysWithinTheLimits) {
    drag(100, 300);
    EXPECT_FLOAT_EQ(strip->displacementX(), 0);
    EXPECT_FLOAT_EQ(strip->displacementY(), 0);
    strip->setAttributes({{"min_displacement_x", "50"}});
    drag(300, 100);
    EXPECT_FLOAT_EQ(strip->displacementX(), 0);
}

TEST_F(DragBoxTest, ScrollsGlideAtTheirSpeedAndShortOnesDoNothing) {
    strip->scrollTo({1150, 65});
    EXPECT_FLOAT_EQ(strip->autoscrollTime(), 1.2f);
    glide();
    EXPECT_FLOAT_EQ(strip->displacementX(), -600);
    strip->scrollTo({150, 65}, true);
    EXPECT_FLOAT_EQ(strip->displacementX(), 0);
    strip->scrollTo({165, 65});
    EXPECT_FLOAT_EQ(strip->autoscrollTime(), 0);
    EXPECT_FLOAT_EQ(strip->displacementX(), 0);
}

TEST_F(DragBoxTest, BoxesWithoutChildSwitchOrGlideSpeed) {
    strip->setAttributes({{"autoscroll_speed", "0"}});
    strip->scrollChild({-300, 0});
    EXPECT_FLOAT_EQ(strip->displacementX(), -300);
    strip->setAttributes({{"child_switch", "0"}});
    strip->scrollChild({-300, 0});
    EXPECT_FLOAT_EQ(strip->displacementX(), -300);
}

TEST(DragBoxAloneTest, AVerticalBoxNeverScrolls) {
    auto box = std::make_shared<KTDragBox>();
    box->setAttributes(
        {{"w", "100"}, {"h", "100"}, {"drag_vertically", "1"}, {"min_displacement_y", "-500"}});
    box->scrollTo({50, 400}, true);
    EXPECT_EQ(box->displacement(), CGPointZero);
}

class VariantContainerTest : public test::ControlsSceneTest {
protected:
    static std::vector<std::string> shown(const KTNode& container) {
        std::vector<std::string> names;
        for (const auto& child : container.children()) {
            if (child->visible()) names.push_back(child->name());
        }
        return names;
    }
};

TEST_F(VariantContainerTest, TheProviderNamesTheShownChild) {
    KTUserManager::sharedManager().add("Ada");
    start();
    const auto stars = node<KTVariantContainer>("tokens_stars");
    EXPECT_EQ(shown(*stars), std::vector<std::string>{"0"});
    KTUserManager::sharedManager().selectedUser()->setTokens(2);
    EXPECT_EQ(shown(*stars), std::vector<std::string>{"2"});
    EXPECT_EQ(stars->selectedName(), "2");
    KTUserManager::sharedManager().selectedUser()->setTokens(7);
    EXPECT_TRUE(shown(*stars).empty());
}

TEST_F(VariantContainerTest, ANamedChildStartsItsEffectEveryTime) {
    writeFile("effects/spark.xml", "<container><container w=\"4\" h=\"4\"/></container>");
    start();
    const auto stars = node<KTVariantContainer>("tokens_stars");
    auto chosen = stars->children().objectAtIndex(1);
    chosen->setAttributes({{"name", "1"}, {"onActivateEffect", "effects/spark.xml"}});
    const std::size_t before = scene->children().count();
    stars->selectChildByName("1");
    stars->selectChildByName("1");
    EXPECT_EQ(scene->children().count(), before + 2);
    EXPECT_EQ(scene->children().lastObject()->position(), chosen->absoluteCenter());
}

TEST_F(VariantContainerTest, ARandomContainerSwitchesEachPeriodAndCarriesTheExcess) {
    start();
    const auto random = node<KTVariantContainer>("random_stars");
    EXPECT_EQ(shown(*random).size(), 1u);
    random->update(1.5f);
    random->update(0.7f);
    EXPECT_NEAR(random->timeSinceSwitch(), 0.2f, 1e-5);
    EXPECT_EQ(shown(*random).size(), 1u);

    auto empty = KTVariantContainer::variantContainer();
    empty->setAttributes({{"period", "1"}});
    empty->update(3);
    EXPECT_FALSE(empty->hasChildren()) << "one without children chooses nothing";
}

}  // namespace
}  // namespace kt

#include <gtest/gtest.h>

#include "engine/controls/KTButton.h"
#include "engine/controls/KTCheckbox.h"
#include "engine/controls/KTSlider.h"
#include "engine/controls/KTTextInput.h"
#include "engine/core/KTControllerManager.h"
#include "engine/core/KTDirector.h"
#include "engine/services/KTSettingsManager.h"
#include "engine/services/KTUserManager.h"
#include "tests/engine/controls/ControlsSceneTest.h"

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

}  // namespace
}  // namespace kt

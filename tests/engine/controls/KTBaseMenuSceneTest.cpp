#include <gtest/gtest.h>

#include "engine/controls/KTCheckbox.h"
#include "engine/controls/KTSlider.h"
#include "engine/controls/KTTextInput.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTResourceManager.h"
#include "engine/services/KTUserManager.h"
#include "tests/engine/controls/ControlsSceneTest.h"

namespace kt {
namespace {

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

}  // namespace
}  // namespace kt

#include <gtest/gtest.h>

#include <string>

#include "engine/core/KTDirector.h"
#include "engine/core/KTState.h"
#include "engine/services/KTUser.h"
#include "engine/services/KTUserManager.h"
#include "game/scenes/PreloadScene.h"
#include "game/scenes/SplashScene.h"
#include "game/scenes/StoryScene.h"
#include "tests/game/board/BoardTest.h"

namespace moonbrook::test {
namespace {

using OpeningScenesTest = BoardTest;

// The scene's state after a click given in each state; "" where the click changed nothing it could see.
template <typename Scene>
std::string stateAfterClickIn(const std::string& state) {
    auto scene = kt::KTNode::node<Scene>();
    scene->init();
    scene->onEnterStage();
    scene->setState(state);
    scene->buttonDown(kt::msLeft, {500, 400});
    return scene->currentState() ? scene->currentState()->name : "";
}

// A click hurries the splash only while a picture is coming, and shows the whole story page, doing nothing
// once it is shown.
TEST_F(OpeningScenesTest, AClickHurriesTheSplashAndTheStoryOnlyWhileAPictureOrPageIsComing) {
    EXPECT_EQ(stateAfterClickIn<SplashScene>("v1"), "v3");
    EXPECT_EQ(stateAfterClickIn<SplashScene>("v2"), "v3");
    EXPECT_EQ(stateAfterClickIn<SplashScene>("v3"), "v3");
    EXPECT_EQ(stateAfterClickIn<SplashScene>("v4"), "default");
    EXPECT_EQ(stateAfterClickIn<SplashScene>("v5"), "default");
    EXPECT_EQ(stateAfterClickIn<StoryScene>("s1-0"), "s1-2");
    EXPECT_EQ(stateAfterClickIn<StoryScene>("s2-0"), "s2-2");
    EXPECT_EQ(stateAfterClickIn<StoryScene>("s4-1"), "s4-2");
    EXPECT_EQ(stateAfterClickIn<StoryScene>("s2-2"), "s2-2");
    EXPECT_EQ(stateAfterClickIn<StoryScene>("s3-read"), "s3-read");
}

// The state the main menu will start in after the story's end.
std::string menuStateAfterStory() {
    auto story = kt::KTNode::node<StoryScene>();
    story->init();
    story->toMain();
    const auto loading = std::dynamic_pointer_cast<PreloadScene>(kt::KTDirector::shared().currentScene());
    return loading ? loading->following().firstState : "";
}

TEST_F(OpeningScenesTest, TheFirstStoryEndLeadsToTheMapTutorialAndTheSecondToTheMap) {
    kt::KTUserManager& users = kt::KTUserManager::sharedManager();
    users.add("Ann");
    users.selectByName("Ann");
    EXPECT_EQ(menuStateAfterStory(), "tutorial");

    EXPECT_TRUE(users.selectedUser()->tutorialHandled(StoryScene::kMapTutorial));
    const kt::KTPlist before = users.selectedUser()->objectForKey(kt::KTUser::kTutorials);
    EXPECT_EQ(menuStateAfterStory(), "map");
    EXPECT_EQ(users.selectedUser()->objectForKey(kt::KTUser::kTutorials), before);
}

// A loading scene whose following scene names no class, or one that does not exist, queues nothing when left.
TEST_F(OpeningScenesTest, ALoadingSceneForNoOrAnUnknownClassQueuesNothing) {
    for (const PreloadScene::Following& following :
         {PreloadScene::Following{}, PreloadScene::Following{"NoSuchScene", "", std::nullopt, ""}}) {
        auto loading = kt::KTNode::node<PreloadScene>();
        loading->setFollowing(following);
        loading->onEnterStage();
        loading->onExitStage();
    }
    EXPECT_EQ(kt::KTDirector::shared().queuedSceneCount(), 0u);
}

}  // namespace
}  // namespace moonbrook::test

#include <gtest/gtest.h>

#include "engine/core/KTDirector.h"
#include "engine/core/KTState.h"
#include "game/scenes/GameScene.h"
#include "game/scenes/PreloadScene.h"
#include "tests/game/board/BoardTest.h"

namespace moonbrook::test {
namespace {

using PreloadSceneTest = BoardTest;

// The loading scene on stage, then left, as the director does at the end of its list.
std::shared_ptr<PreloadScene> leave(PreloadScene::Following following) {
    auto loading = kt::KTNode::node<PreloadScene>();
    loading->setFollowing(std::move(following));
    loading->onEnterStage();
    loading->onExitStage();
    return loading;
}

TEST_F(PreloadSceneTest, LeavingBuildsTheFollowingSceneByItsClassName) {
    kt::KTDirector& director = kt::KTDirector::shared();
    leave({"GameScene", "initWithLevel:", "002", "pause"});
    ASSERT_EQ(director.queuedSceneCount(), 1u);
    director.nextScene();
    const auto game = std::dynamic_pointer_cast<GameScene>(director.currentScene());
    ASSERT_TRUE(game);
    EXPECT_EQ(game->levelName(), "002");
    ASSERT_TRUE(game->board());
    ASSERT_TRUE(game->currentState());
    EXPECT_EQ(game->currentState()->name, "pause");
}

TEST_F(PreloadSceneTest, NoClassOrAnUnknownOneQueuesNothing) {
    leave({});
    leave({"NoSuchScene", "", std::nullopt, ""});
    EXPECT_EQ(kt::KTDirector::shared().queuedSceneCount(), 0u);
}

}  // namespace
}  // namespace moonbrook::test

#include <gtest/gtest.h>

#include <vector>

#include "engine/core/KTControllerManager.h"
#include "engine/core/KTDataSource.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTState.h"
#include "engine/services/KTAudioManager.h"
#include "engine/services/KTUser.h"
#include "engine/services/KTUserManager.h"
#include "game/board/GameBoardController.h"
#include "game/progress/PowerupManager.h"
#include "game/scenes/GameScene.h"
#include "tests/game/board/BoardTest.h"

namespace moonbrook::test {
namespace {

// Every node the board, its candy requests, its powerups, its win check and the scene look up by name.
const std::vector<std::vector<const char*>> kNamedNodes = {
    {"board", "highlights", "turns", "selection_marker", "score", "time", "timeStars", "plates_count",
     "tokens_count"},
    {"candy_requestor0", "candy_requestor1", "candy_requestors"},
    {"powerup_hammer", "powerup_random", "powerup_color", "powerup_bonuses"},
    {"stars", "final_score", "final_gold", "final_tokens", "final_time", "bestLevelTime",
     "win_effect_holder"},
    {"tutorial_box", "background", "level_name", "no_move_notice", "pause_button", "restart_hud_button"}};

class GameSceneTest : public BoardTest {
protected:
    GameSceneTest() {
        kt::KTUserManager& users = kt::KTUserManager::sharedManager();
        users.add("Ann");
        users.selectByName("Ann");
        // The first level's own tutorials would cover the board from its third second.
        for (const char* tutorial : {"basics", "plates"})
            users.selectedUser()->setTutorialHandled(tutorial);
        PowerupManager::resetCurrentPowerupManager();
        game = kt::KTNode::node<GameScene>();
        game->initWithLevel("001");
        runScene(game);
        board = game->board();
    }
    void TearDown() override {
        game.reset();
        kt::KTDirector::shared().setDevMode(false);
        BoardTest::TearDown();
    }
    std::string state() const { return game->currentState() ? game->currentState()->name : ""; }
    const kt::KTPlist& tutorials() const {
        return kt::KTUserManager::sharedManager().selectedUser()->objectForKey("tutorials");
    }

    std::shared_ptr<GameScene> game;
};

// Leaving the scene detaches the board from the HUD.
TEST_F(GameSceneTest, LayoutHoldsEveryNamedNodeAndTheHudFollowsTheBoardUntilTheSceneIsLeft) {
    for (const auto& group : kNamedNodes) {
        for (const char* name : group)
            EXPECT_TRUE(game->getChildByName(name)) << name;
    }
    ASSERT_TRUE(board);
    EXPECT_EQ(board->parent(), game->getChildByName("board").get());
    for (const char* child : {"button_l_0", "button_l_1", "button_l_2", "button_l_3", "progress", "tooltip"})
        EXPECT_TRUE(game->getChildByName("powerup_hammer")->getChildByName(child)) << child;
    for (const char* name : {"timeStars", "stars"})
        EXPECT_EQ(game->getChildByName(name)->className(), "KTVariantContainer") << name;

    const auto controller = GameBoardController::shared();
    ASSERT_TRUE(controller);
    EXPECT_EQ(controller->board(), board);
    EXPECT_EQ(game->getChildByName("level_name")->text(), "1");
    ASSERT_TRUE(settle());
    step();
    EXPECT_EQ(game->getChildByName("score")->text(), std::to_string(board->score()));
    EXPECT_LT(controller->timeProgress()->numberValue(), 1.0);

    runScene();
    EXPECT_FALSE(controller->board());
}

TEST_F(GameSceneTest, LosingTheWindowPausesTheGame) {
    game->onDeactivate();
    EXPECT_EQ(state(), "pause");
    EXPECT_TRUE(board->pause());
}

TEST_F(GameSceneTest, TheDefaultOperationLeavesAPowerupMode) {
    game->perform("remcolor");
    EXPECT_EQ(board->clickMode(), ClickMode::removeColor);
    game->perform("default");
    EXPECT_EQ(board->clickMode(), ClickMode::normal);
}

TEST_F(GameSceneTest, F8ForgetsTheHandledTutorialsOnlyInDevelopment) {
    game->keyDown(kt::kbF8);
    EXPECT_EQ(tutorials().size(), 2u);
    kt::KTDirector::shared().setDevMode(true);
    game->keyDown(kt::kbF8);
    EXPECT_TRUE(tutorials().isDictionary());
    EXPECT_EQ(tutorials().size(), 0u);
}

TEST_F(GameSceneTest, TheMusicPlaysTheListFromAnyTrackAndF1F2SwitchAndTheWinStopsIt) {
    kt::KTAudioManager& audio = kt::KTAudioManager::shared();
    ASSERT_EQ(audio.musicList().size(), 8u);
    const int first = audio.currentMusicIdx();
    game->keyDown(kt::kbF2);
    EXPECT_EQ(audio.currentMusicIdx(), (first + 1) % 8);
    game->keyDown(kt::kbF1);
    game->keyDown(kt::kbF1);
    EXPECT_EQ(audio.currentMusicIdx(), (first + 7) % 8);
    EXPECT_TRUE(audio.currentMusicFilename());
    game->perform("win");
    EXPECT_FALSE(audio.currentMusicFilename());
}

}  // namespace
}  // namespace moonbrook::test

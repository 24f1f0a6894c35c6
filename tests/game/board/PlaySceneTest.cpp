#include <gtest/gtest.h>

#include <algorithm>

#include "engine/core/KTControllerManager.h"
#include "engine/core/KTDataSource.h"
#include "engine/core/KTState.h"
#include "game/PlayScene.h"
#include "game/board/GameBoardController.h"
#include "tests/game/board/BoardTest.h"

namespace moonbrook::test {
namespace {

// Every node the board, its candy requests, its powerups and its win check look up by name.
constexpr const char* kNamedNodes[] = {"board",
                                       "highlights",
                                       "turns",
                                       "selection_marker",
                                       "candy_requestor0",
                                       "candy_requestor1",
                                       "candy_requestors",
                                       "score",
                                       "time",
                                       "timeStars",
                                       "plates_count",
                                       "tokens_count",
                                       "powerup_hammer",
                                       "powerup_random",
                                       "powerup_color",
                                       "powerup_bonuses",
                                       "stars",
                                       "final_score",
                                       "final_gold",
                                       "final_tokens",
                                       "final_time",
                                       "bestLevelTime",
                                       "win_effect_holder"};

class PlaySceneTest : public BoardTest {
protected:
    PlaySceneTest() {
        play = PlayScene::sceneWithLevel("001");
        runScene(play);
        board = play->board();
    }
    void TearDown() override {
        play.reset();
        BoardTest::TearDown();
    }

    std::shared_ptr<PlayScene> play;
};

TEST_F(PlaySceneTest, LayoutHoldsEveryNamedNodeAndTheBoardInItsHolder) {
    for (const char* name : kNamedNodes)
        EXPECT_TRUE(play->getChildByName(name)) << name;
    ASSERT_TRUE(board);
    EXPECT_EQ(board->parent(), play->getChildByName("board").get());
    EXPECT_EQ(board->levelName(), "001");
    EXPECT_GT(board->plates(), 0u);
    // The powerup buttons carry what the powerups show: a picture per charged level and the charging bar.
    for (const char* child : {"button_l_0", "button_l_1", "button_l_2", "button_l_3", "progress", "tooltip"})
        EXPECT_TRUE(play->getChildByName("powerup_hammer")->getChildByName(child)) << child;
    for (const char* name : {"timeStars", "stars"})
        EXPECT_EQ(play->getChildByName(name)->className(), "KTVariantContainer") << name;
    for (const char* name : {"powerup_hammer", "powerup_random", "powerup_color", "powerup_bonuses"})
        EXPECT_EQ(play->getChildByName(name)->className(), "KTButton") << name;
}

TEST_F(PlaySceneTest, HudFollowsTheControllerTheBoardWrites) {
    const auto controller = GameBoardController::shared();
    ASSERT_TRUE(controller);
    EXPECT_EQ(controller, kt::KTControllerManager::shared().getControllerByName("GameBoardController"));
    EXPECT_EQ(controller->board(), board);
    EXPECT_EQ(play->getChildByName("level_name")->text(), "1");
    ASSERT_TRUE(settle());
    step();
    EXPECT_GT(board->score(), 0u);
    EXPECT_EQ(controller->gameScore()->numberValue(), board->score());
    EXPECT_EQ(play->getChildByName("score")->text(), std::to_string(board->score()));
    EXPECT_LT(controller->timeProgress()->numberValue(), 1.0);
    // The HUD binds by operation name.
    kt::KTObjectRef provider;
    ASSERT_TRUE(controller->perform("tokensCount", {}, &provider));
    EXPECT_EQ(provider, controller->tokensCount());
}

TEST_F(PlaySceneTest, HandlersSwitchClickModesAndTheWinShowsTheResults) {
    play->perform("hammer");
    EXPECT_EQ(board->clickMode(), ClickMode::hammer);
    play->perform("default");
    EXPECT_EQ(board->clickMode(), ClickMode::normal);
    play->perform("remcolor");
    EXPECT_EQ(board->clickMode(), ClickMode::removeColor);
    play->buttonDown(kt::ButtonName::msRight, {10, 10});
    EXPECT_EQ(board->clickMode(), ClickMode::normal);

    ASSERT_TRUE(settle());
    board->instantWin();
    step(static_cast<int>(kWinCheckDelay * 60) + 30);
    EXPECT_TRUE(board->pause());
    ASSERT_TRUE(play->currentState());
    EXPECT_EQ(play->currentState()->name, "win");
    EXPECT_TRUE(play->getChildByName("win_panel")->visible());
    EXPECT_EQ(play->getChildByName("final_score")->text(), std::to_string(board->score()));
}

TEST_F(PlaySceneTest, TutorialsAreRecordedOnceAndLeavingDetachesTheBoard) {
    step(static_cast<int>(4 * 60));
    ASSERT_FALSE(play->requestedTutorials().empty());
    EXPECT_EQ(play->requestedTutorials().front(), "basics");
    play->showTutorial("basics");
    EXPECT_EQ(std::count(play->requestedTutorials().begin(), play->requestedTutorials().end(), "basics"), 1);

    runScene();
    EXPECT_FALSE(GameBoardController::shared()->board());
}

}  // namespace
}  // namespace moonbrook::test

#pragma once

#include <memory>
#include <string>

#include "engine/core/KTScene.h"

namespace moonbrook {

class Board;

// The screen a level is played on: the board inside "data/scenes/game.sg.xml" with the HUD, the pause, hide
// and restart popups, the tutorials, the win panel, the level's background and music, and the way back
// through the loading screen. Its states are "default" (playing), "pause", "hide", "restart_question",
// "tutorial" and "win"; the board is paused in all but the first.
class GameScene : public kt::KTScene {
public:
    KT_CLASS(GameScene)

    static constexpr const char* kSceneFile = "data/scenes/game.sg.xml";
    static constexpr const char* kHudFile = "data/partials/hud.xml";
    static constexpr const char* kWinEffect = "data/effects/win.xml";

    // The layout and the HUD loaded; the level is chosen with setLevel and built on entering the stage.
    void init();
    void initWithLevel(const std::string& levelName);
    void setLevel(const std::string& levelName);

    const std::string& levelName() const { return levelName_; }
    const std::shared_ptr<Board>& board() const { return board_; }
    // A popup that Escape must not cover is shown: a tutorial or the win panel.
    bool popup() const { return popup_; }

    void onEnterStage() override;
    void onExitStage() override;
    // Losing the window's focus pauses the level.
    void onDeactivate() override;
    // The right button leaves a powerup mode before anything else sees it.
    void buttonDown(kt::ButtonName button, kt::CGPoint point) override;
    void keyDown(kt::ButtonName key) override;

    // Operations named by the layout's buttons.
    void pause();
    void hide();
    void resume();
    void showRestartPopup();
    void restart();
    void defaultMode();
    void hammer();
    void remcolor();
    void removeRandomBlocks();
    void placeRandomBonuses();
    void toMainMenu();
    void toMainMenuAfterWin();
    void edit();

    // Called by the board.
    void win();
    // Shows the tutorial once per player; a missing file counts as shown. A run without a profile (a
    // level started from the command line) has nowhere to remember them and shows none.
    void showTutorial(const std::string& name);

private:
    void createBoard();
    void loadBackground();
    void toggleBackground();
    void developmentKey(kt::ButtonName key);
    void forgetTutorials();
    void pauseInState(const char* state);
    // The board given up and the loading screen on its way to the menu state.
    void leaveLevel(const std::string& menuState);
    void emptyWinEffect();

    std::string levelName_;
    std::shared_ptr<Board> board_;
    bool noback_ = false;
    bool popup_ = false;
    bool won_ = false;
    bool tutorialsSkippedLogged_ = false;
};

}  // namespace moonbrook

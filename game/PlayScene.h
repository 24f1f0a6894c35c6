#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/core/KTScene.h"

namespace moonbrook {

class Board;

// The screen a level is played on during development and in tests: the board inside the layout of
// "data/scenes/play.sg.xml" (HUD, candy requestors, powerup buttons, result panel), and the handlers the
// layout and the board call by name.
class PlayScene : public kt::KTScene {
public:
    KT_CLASS(PlayScene)

    static constexpr const char* kSceneFile = "data/scenes/play.sg.xml";
    static constexpr const char* kWinEffect = "data/effects/win.xml";

    // The layout loaded and the level chosen; the board is built when the scene enters the stage.
    static std::shared_ptr<PlayScene> sceneWithLevel(const std::string& levelName);

    const std::string& levelName() const { return levelName_; }
    const std::shared_ptr<Board>& board() const { return board_; }
    // Tutorials the board asked for, in order; each is asked for once.
    const std::vector<std::string>& requestedTutorials() const { return requestedTutorials_; }

    void onEnterStage() override;
    void onExitStage() override;
    // The right button leaves a powerup mode before anything else sees it.
    void buttonDown(kt::ButtonName button, kt::CGPoint point) override;

    // Handlers named by the layout and by the board.
    void hammer();
    void remcolor();
    void defaultMode();
    void removeRandomBlocks();
    void placeRandomBonuses();
    void showTutorial(const std::string& name);
    void win();

private:
    void createBoard();

    std::string levelName_;
    std::shared_ptr<Board> board_;
    std::vector<std::string> requestedTutorials_;
};

}  // namespace moonbrook

#pragma once

#include <memory>
#include <string>

#include "editor/EditorCell.h"
#include "editor/LevelCheckJob.h"
#include "engine/core/KTScene.h"

namespace moonbrook {

class EditorBoard;

// The level editor, a development screen: the layout of "data/scenes/editor.sg.xml" around an editor board,
// and the operations its buttons call by name. Opened by the game scene for the level being played;
// "saveexit" saves and plays the level again.
class EditorScene : public kt::KTScene {
public:
    KT_CLASS(EditorScene)

    static constexpr const char* kSceneFile = "data/scenes/editor.sg.xml";
    static constexpr const char* kLevelSetFile = "data/levelset.xml";
    static constexpr const char* kBackgroundsFolder = "data/partials/backgrounds";

    static std::shared_ptr<EditorScene> sceneWithLevel(const std::string& levelName);

    const std::string& levelName() const { return levelName_; }
    const std::shared_ptr<EditorBoard>& board() const { return board_; }

    void initWithLevel(const std::string& levelName);
    void loadLevel(const std::string& levelName);
    void onEnterStage() override;
    void onExitStage() override;
    void update(float dt) override;
    // Every text of the layout from the level: weights, delays, requests, options, background, level set.
    void updateData();
    void keyDown(kt::ButtonName button) override;
    void keyUp(kt::ButtonName button) override;
    void buttonUp(kt::ButtonName button, kt::CGPoint point) override;

    void boardMode();
    void locksMode();
    void emittersMode();
    void woodenCratesMode();
    void stoneCratesMode();
    void ball(const std::string& letter);
    void incProb(const std::string& letter);
    void decProb(const std::string& letter);
    void incDelay(const std::string& letter);
    void decDelay(const std::string& letter);
    void incReq(const std::string& letter);
    void decReq(const std::string& letter);
    void incOption(const std::string& key);
    void decOption(const std::string& key);
    void prevBg();
    void nextBg();
    void switchBg(int offset);
    void moveLevel(const std::string& offset);
    void switchLevel(const std::string& offset);
    void save();
    void saveexit();
    void undo();
    void redo();
    // The level check panel: plays the level with the check's bot in the background.
    void check();
    // Writes the check's suggested gold time and time limit into the level.
    void applyCheck();
    void closeCheck();

private:
    // Saves the level in place; true when every copy was written, otherwise the message says why.
    bool saveLevel();
    void showText(const std::string& node, const std::string& text);
    void showMessage(const std::string& message);
    void setMode(EditorBoardMode mode);
    void showMode();
    void showCellsCount();
    void showBackground();
    void changeNumber(const std::string& letter, const char* what, int direction);

    void showCheckProgress();
    void showVerdict(const LevelCheckVerdict& verdict);

    std::string levelName_;
    std::shared_ptr<EditorBoard> board_;
    bool controlHeld_ = false;
    // The background partial in the "background" node; "0" for none.
    std::string shownBackground_ = "0";
    std::unique_ptr<LevelCheckJob> checkJob_;
    std::optional<LevelCheckVerdict> verdict_;
};

}  // namespace moonbrook

#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/core/KTScene.h"
#include "game/board/BoardPresentation.h"

namespace moonbrook {

class GameBoardController;

// The board's presentation on a screen laid out with named nodes: the HUD texts and the game board
// controller, the "turns" and "highlights" layers, the "selection_marker", the candy requestor holders, the
// powerup buttons, the no-move notice and the result panel. A node the layout lacks is simply not shown. Winning also keeps the
// result in the selected profile, and tutorials and the win are passed to the scene's "showTutorial:" and
// "win" handlers.
class ScenePresentation final : public BoardPresentation {
public:
    explicit ScenePresentation(const std::shared_ptr<kt::KTScene>& scene);

    // Plates and tokens as the HUD shows them: the player's own plus what this level has yielded.
    int shownPlates() const;
    int shownTokens() const;

    void bind(Board& board) override;
    void showHud(const Board& board) override;
    void showHints(const std::vector<Turn>& turns) override;
    void showSelection(const Cell* cell) override;
    void showHighlights(Highlight kind, const std::vector<std::shared_ptr<Cell>>& cells) override;
    kt::KTNode::Ref startEffect(const std::string& path, EffectLayer layer, kt::CGPoint point) override;
    void showBolt(kt::CGPoint from, kt::CGPoint to, float delay) override;
    void showPointer(const char* decorationFile) override;
    std::shared_ptr<kt::KTNode> requestorHolder(int slot) override;
    void showTutorial(const std::string& key) override;
    // The HUD's "no_move_notice".
    void showNoMoveNotice(bool shown) override;
    void levelWon(const Board& board) override;

private:
    kt::KTNode::Ref node(std::string_view name) const;
    void setText(std::string_view name, const std::string& text) const;
    void setTime(std::string_view name, float seconds) const;
    // A point of the board in the coordinates of the scene's children.
    kt::CGPoint scenePoint(kt::CGPoint boardPoint) const;

    std::weak_ptr<kt::KTScene> scene_;
    std::weak_ptr<Board> board_;
    std::weak_ptr<GameBoardController> controller_;
    int userPlates_ = 0;
    int userTokens_ = 0;
};

}  // namespace moonbrook

#pragma once

#include <memory>

#include "engine/render/KTSprite.h"

namespace kt {
class KTImageData;
}

namespace moonbrook {

class EditorBoard;

// What the designer paints with the mouse; the painted letter matters in ball mode only.
enum class EditorBoardMode : int {
    board = 0,
    locks = 1,
    emitters = 2,
    woodenCrates = 3,
    stoneCrates = 4,
    ball = 5
};

// Everything one place of the field holds in the level file.
struct EditorCellState {
    // -1 no cell, 0 a cell without plate, 1 or 2 plates.
    int plates = -1;
    char16_t crateType = u'0';
    bool locked = false;
    bool emitter = false;
    // '0' for none.
    char16_t ballType = u'0';

    friend bool operator==(const EditorCellState&, const EditorCellState&) = default;
};

// The state after one click: the right button takes an unlocked cell's ball away in every mode, otherwise
// the mode decides what the left button puts on and the right button takes off.
EditorCellState paintedState(EditorCellState state, EditorBoardMode mode, char16_t ballType,
                             bool rightButton);

// One place of the edited field: the grid sprite's plate animations, the preplaced ball as a child sprite,
// and the lock, crate and emitter pictures over them. A click paints it through its board.
class EditorCell : public kt::KTSprite {
public:
    KT_CLASS(EditorCell)

    EditorCell() = default;
    // Loads "data/gfx/board/grid.sprite.xml" and the pictures drawn over the cell.
    void init(const kt::CGRect& rect, const std::shared_ptr<EditorBoard>& board);

    const EditorCellState& cellState() const { return state_; }
    void setCellState(const EditorCellState& state);

    void buttonUp(kt::ButtonName button, kt::CGPoint point) override;
    void drawAfterChildren() override;

private:
    void showPlates();
    void showBall();
    const kt::KTImageData* crateImage() const;

    EditorCellState state_;
    std::weak_ptr<EditorBoard> board_;
    std::shared_ptr<kt::KTSprite> ball_;
    std::shared_ptr<kt::KTImageData> lock_;
    std::shared_ptr<kt::KTImageData> emitterImage_;
    std::shared_ptr<kt::KTImageData> woodenCrate_;
    std::shared_ptr<kt::KTImageData> stoneCrate_;
};

}  // namespace moonbrook

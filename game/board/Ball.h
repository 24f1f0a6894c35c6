#pragma once

#include <memory>

#include "engine/render/KTSprite.h"

namespace moonbrook {

class Board;
class Cell;

// A ball of the board, identified by its type letter. A resting ball is a child of its cell; a ball in flight
// is a child of the board. Balls take no mouse input (cells do).
class Ball : public kt::KTSprite {
public:
    KT_CLASS(Ball)

    Ball() = default;
    // Loads "data/gfx/balls/<letter>.sprite.xml".
    void init(const std::shared_ptr<Board>& board, char16_t type);

    char16_t type() const { return type_; }
    std::shared_ptr<Board> board() const { return board_.lock(); }
    // The cell the ball rests in, or none while it flies.
    Cell* cell() const;

    bool moving() const { return moving_; }
    // Keeps the board's moving counter: one per ball in flight.
    void setMoving(bool moving);
    // Sets the flag without touching the board's counter (placeholders that only block their cell).
    void setMovingFlag(bool moving) { moving_ = moving; }

    bool selected() const { return selected_; }
    void setSelected(bool selected);

    const std::shared_ptr<Cell>& target() const { return target_; }
    // Starts a single fall step into the cell when it can take the ball.
    void setTarget(const std::shared_ptr<Cell>& cell);
    void clearTarget() { target_.reset(); }

    bool detonated() const { return detonated_; }
    void setDetonated(bool detonated) { detonated_ = detonated; }

    virtual bool matchWith(const Ball& other) const;
    virtual bool canDetonate() const { return false; }
    virtual void detonate() {}
    virtual void detonateWith(Ball& /*partner*/) { detonate(); }
    // Called when a falling ball has come to rest in its cell.
    virtual void moveEnd() {}

    void draw() override;

private:
    char16_t type_ = u'a';
    std::weak_ptr<Board> board_;
    bool selected_ = false;
    std::shared_ptr<Cell> target_;
    bool detonated_ = false;
    bool moving_ = false;
};

}  // namespace moonbrook

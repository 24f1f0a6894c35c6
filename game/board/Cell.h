#pragma once

#include <memory>

#include "engine/core/KTGeometry.h"
#include "engine/render/KTSprite.h"

namespace kt {
class KTImageData;
}

namespace moonbrook {

class Ball;
class Board;

// One place of the field: draws its plate state (sprite animations), holds its resting ball as a child and
// draws the lock and crate over it. Emitter cells sit above the field and produce balls.
class Cell : public kt::KTSprite {
public:
    KT_CLASS(Cell)

    Cell() = default;
    // Loads "data/gfx/board/grid.sprite.xml".
    void init(const kt::CGRect& rect, const std::shared_ptr<Board>& board, int x, int y);

    kt::KTPosition boardPosition() const { return boardPosition_; }
    int x() const { return boardPosition_.x; }
    int y() const { return boardPosition_.y; }
    std::shared_ptr<Board> board() const { return board_.lock(); }
    const kt::CGRect& trect() const { return trect_; }

    // Not an emitter. (An empty grid entry does not exist either.)
    bool exists() const { return !emitter_; }
    // A crate with hits left.
    bool crate() const;
    bool canBeTarget() const;

    const std::shared_ptr<Ball>& ball() const { return ball_; }
    void setBall(std::shared_ptr<Ball> ball);
    void removeChild(kt::KTNode* child) override;

    bool emitter() const { return emitter_; }
    void setEmitter(bool emitter);
    bool target() const { return target_; }
    void setTarget(bool target);
    unsigned plates() const { return plates_; }
    void setPlates(unsigned plates);
    void removePlate();
    bool locked() const { return locked_; }
    void setLocked(bool locked) { locked_ = locked; }
    char16_t crateType() const { return crateType_; }
    void setCrateType(char16_t type);
    int crateLevel() const { return crateLevel_; }
    void setCrateLevel(int level) { crateLevel_ = level; }
    void removeCrate();
    bool removeFlag() const { return removeFlag_; }
    void setRemoveFlag(bool flag) { removeFlag_ = flag; }
    bool removeCrateFlag() const { return removeCrateFlag_; }
    void setRemoveCrateFlag(bool flag) { removeCrateFlag_ = flag; }
    int emission() const { return emission_; }
    void setEmission(int emission) { emission_ = emission; }
    void incEmission() { ++emission_; }
    void decEmission() { --emission_; }
    bool mdown() const { return mdown_; }
    kt::CGPoint dragPoint() const { return dragPoint_; }

    // Mouse input (CellInput.cpp): select, swap by click or drag, powerup clicks.
    void buttonDown(kt::ButtonName button, kt::CGPoint point) override;
    void buttonUp(kt::ButtonName button, kt::CGPoint point) override;
    void mouseMove(kt::CGPoint point) override;
    void mouseEnter() override;
    bool canMoveToCell(const Cell& other) const;
    // Same column and rows one apart, or same row and columns one apart.
    bool isOrthogonalNeighbourOf(const Cell& other) const;

    void draw() override {}
    void drawAfterChildren() override;

private:
    // True when this cell is the scene's mouse focus; clears the focus when asked to.
    bool isMouseFocus() const;
    void clearMouseFocus();
    void handleNormalClick(kt::CGPoint point);
    // The picture of the live crate, or none.
    const kt::KTImageData* crateImage() const;

    kt::KTPosition boardPosition_;
    std::weak_ptr<Board> board_;
    kt::CGRect trect_;
    std::shared_ptr<Ball> ball_;
    bool emitter_ = false;
    bool target_ = false;
    unsigned plates_ = 0;
    bool locked_ = false;
    bool mdown_ = false;
    kt::CGPoint dragPoint_;
    char16_t crateType_ = u'0';
    int crateLevel_ = 0;
    std::shared_ptr<kt::KTImageData> woodenCrate_;
    std::shared_ptr<kt::KTImageData> stoneCrate0_;
    std::shared_ptr<kt::KTImageData> stoneCrate1_;
    bool removeFlag_ = false;
    bool removeCrateFlag_ = false;
    int emission_ = 0;
};

}  // namespace moonbrook

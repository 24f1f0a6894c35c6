#include <cmath>
#include <cstdlib>

#include "engine/core/KTScene.h"
#include "game/board/Ball.h"
#include "game/board/BallKinds.h"
#include "game/board/Board.h"
#include "game/board/Cell.h"

namespace moonbrook {

namespace {

// A drag shorter than this share of a cell in both directions is not a swap.
constexpr float kDragThreshold = 0.2f;

}  // namespace

void Cell::buttonDown(kt::ButtonName /*button*/, kt::CGPoint point) {
    const auto owner = board();
    if (!owner || owner->pause() || target_ || emitter_) return;
    if (!ball_ && !crate()) return;
    // A ball still flying in or a placeholder of a removed ball cannot be picked.
    if (ball_ && (ball_->target() || isGhost(ball_.get()))) return;

    switch (owner->clickMode()) {
        case ClickMode::normal:
            handleNormalClick(point);
            break;
        case ClickMode::hammer:
            owner->hammerClickAt(sharedAs<Cell>());
            break;
        case ClickMode::removeColor:
            owner->removeColorClickAt(sharedAs<Cell>());
            break;
    }
}

void Cell::handleNormalClick(kt::CGPoint point) {
    if (!ball_) return;
    const auto owner = board();
    if (locked_) {
        owner->presentation().startEffect("data/effects/click_lock.xml",
                                          BoardPresentation::EffectLayer::board, center());
        return;
    }
    if (crate()) return;

    dragPoint_ = point;
    mdown_ = true;
    if (const auto stage = scene()) stage->setMouseFocus(sharedAs<Cell>());

    const auto self = sharedAs<Cell>();
    const auto selectedCell = owner->selected();
    if (selectedCell == self) {
        owner->setSelected(nullptr);
        // Held here: setting a ball off may take it out of this cell.
        const auto clicked = ball_;
        if (clicked->canDetonate()) clicked->detonate();
        owner->finalizeRemove();
    } else if (selectedCell && selectedCell->canMoveToCell(*this)) {
        owner->startSwapWith(self);
    } else {
        owner->setSelected(self);
    }
    owner->presentation().startEffect("data/effects/click.xml", BoardPresentation::EffectLayer::board,
                                      center());
}

void Cell::buttonUp(kt::ButtonName /*button*/, kt::CGPoint /*point*/) {
    const auto owner = board();
    if (!owner || owner->pause() || emitter_) return;
    mdown_ = false;
    clearMouseFocus();
}

void Cell::mouseMove(kt::CGPoint point) {
    const auto owner = board();
    if (!owner || emitter_ || !isMouseFocus() || owner->selected().get() != this) return;

    const kt::CGPoint d = kt::CGPointSub(point, dragPoint_);
    kt::KTPosition to = boardPosition_;
    if (std::fabs(d.x) > std::fabs(d.y) && std::fabs(d.x) > kDragThreshold * w()) {
        to.x += d.x > 0 ? 1 : -1;
    } else if (std::fabs(d.y) > kDragThreshold * h()) {
        to.y += d.y > 0 ? 1 : -1;
    } else {
        return;
    }
    if (const auto neighbour = owner->cellAt(to.x, to.y); neighbour && canMoveToCell(*neighbour))
        owner->startSwapWith(neighbour);
    mdown_ = false;
}

void Cell::mouseEnter() {
    KTSprite::mouseEnter();
    if (!locked_ && ball_) ball_->setAnimation("active");
}

bool Cell::isOrthogonalNeighbourOf(const Cell& other) const {
    const int dx = std::abs(x() - other.x());
    const int dy = std::abs(y() - other.y());
    return dx + dy == 1;
}

bool Cell::canMoveToCell(const Cell& other) const {
    if (&other == this || !other.exists() || other.locked() || other.crate() || !other.enabled())
        return false;
    const auto& otherBall = other.ball();
    if (!otherBall || otherBall->target() || isGhost(otherBall.get())) return false;
    return isOrthogonalNeighbourOf(other);
}

bool Cell::isMouseFocus() const {
    // The cell's scene is its board's.
    const auto owner = board();
    const auto stage = owner ? owner->scene() : nullptr;
    return stage && stage->mouseFocus().get() == this;
}

void Cell::clearMouseFocus() {
    if (isMouseFocus()) scene()->setMouseFocus(nullptr);
}

}  // namespace moonbrook

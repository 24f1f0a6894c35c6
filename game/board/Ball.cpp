#include "game/board/Ball.h"

#include "engine/actions/KTCompositeActions.h"
#include "engine/actions/KTIntervalActions.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTRenderer.h"
#include "game/board/BallKinds.h"
#include "game/board/Board.h"
#include "game/board/BoardActions.h"
#include "game/board/Cell.h"

namespace moonbrook {

const kt::KTClass& Ball::staticClass() {
    static const kt::KTClass& cls = kt::KTClass::define<Ball>("Ball", kt::KTSprite::staticClass());
    return cls;
}
KT_REGISTER_CLASS(Ball);

void Ball::init(const std::shared_ptr<Board>& board, char16_t type) {
    setSize({kCellW, kCellH});
    loadFromFile(kt::KTFormat("data/gfx/balls/%c.sprite.xml", type));
    type_ = type;
    setEnabled(false);
    board_ = board;
    if (const auto trail = getChildByName("trail")) removeChild(trail.get());
}

Cell* Ball::cell() const {
    return dynamic_cast<Cell*>(parent());
}

void Ball::setMoving(bool moving) {
    if (moving != moving_) {
        if (const auto owner = board()) {
            if (moving)
                owner->incMoving();
            else
                owner->decMoving();
        }
    }
    moving_ = moving;
}

void Ball::setSelected(bool selected) {
    selected_ = selected;
    setAnimation(selected ? "selected" : "default");
}

void Ball::setTarget(const std::shared_ptr<Cell>& target) {
    Cell* own = cell();
    if (moving_ || !own || !target) return;
    target_ = target;
    if (!target->canBeTarget()) {
        target_.reset();
        return;
    }
    setMoving(true);
    own->setEnabled(false);
    target->setEnabled(false);
    target->setTarget(true);
    stopAllActions();
    const kt::CGPoint offset = kt::CGPointSub(target->position(), own->position());
    runAction(kt::KTSequence::actions(
        {kt::KTMoveTo::actionWithDuration(kFallTime, offset), FinishFallAction::action()}));
}

bool Ball::matchWith(const Ball& other) const {
    if (dynamic_cast<const Hameleon*>(&other)) return type_ <= kLastOrdinaryBall;
    return type_ == other.type_;
}

void Ball::draw() {
    KTSprite::draw();
    const auto owner = board();
    kt::KTRenderer* renderer = render();
    if (!owner || !owner->debugRender() || !moving_ || !renderer) return;
    renderer->pushColor();
    renderer->setColor(kt::kColorWhite);
    renderer->setImageData(nullptr);
    renderer->drawRect({{x(), y() + 27}, {27, 27}});
    renderer->popColor();
}

}  // namespace moonbrook

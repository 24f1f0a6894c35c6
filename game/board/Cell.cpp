#include "game/board/Cell.h"

#include "engine/core/KTFormat.h"
#include "engine/core/KTRandom.h"
#include "engine/core/KTRenderer.h"
#include "engine/core/KTResourceManager.h"
#include "engine/render/KTImageData.h"
#include "game/board/Ball.h"
#include "game/board/Board.h"

namespace moonbrook {

const kt::KTClass& Cell::staticClass() {
    static const kt::KTClass& cls = kt::KTClass::define<Cell>("Cell", kt::KTSprite::staticClass());
    return cls;
}
KT_REGISTER_CLASS(Cell);

void Cell::init(const kt::CGRect& rect, const std::shared_ptr<Board>& board, int x, int y) {
    loadFromFile("data/gfx/board/grid.sprite.xml");
    setPosition(rect.origin);
    setSize(rect.size);
    boardPosition_ = {x, y};
    board_ = board;
    const auto columns = static_cast<float>(kSizeX);
    const auto rows = static_cast<float>(kSizeY);
    trect_ = {{static_cast<float>(x) / columns, static_cast<float>(y) / rows}, {1 / columns, 1 / rows}};
    auto& resources = kt::KTResourceManager::shared();
    woodenCrate_ = resources.getImage(kt::KTFormat("data/gfx/board/wooden_crate%i.png", kt::randi(1, 3)));
    stoneCrate0_ = resources.getImage("data/gfx/board/stone_crate_0.png");
    stoneCrate1_ = resources.getImage("data/gfx/board/stone_crate_1.png");
    setAnimation("default");
}

bool Cell::crate() const {
    return crateType_ != u'0' && crateLevel_ > 0;
}

bool Cell::canBeTarget() const {
    return !target_ && enabled() && !crate() && !ball_;
}

void Cell::setBall(std::shared_ptr<Ball> ball) {
    clearMouseFocus();
    const auto owner = board();
    if (owner && owner->selected().get() == this) owner->setSelected(nullptr);
    if (const std::shared_ptr<Ball> old = ball_) {
        if (old->moving() && !ball) old->stopAllActions();
        old->setMoving(false);
        removeChild(old.get());
    }
    ball_ = std::move(ball);
    if (!ball_) return;
    addChild(ball_);
    ball_->moveTo({0, 0});
}

void Cell::removeChild(kt::KTNode* child) {
    if (child && child == ball_.get()) {
        if (const auto& target = ball_->target()) target->setTarget(false);
        const auto keep = ball_;
        ball_.reset();
        KTSprite::removeChild(child);
        return;
    }
    KTSprite::removeChild(child);
}

void Cell::setEmitter(bool emitter) {
    emitter_ = emitter;
    if (!emitter) return;
    setAnimation("none");
    setVisible(false);
    setEnabled(false);
}

void Cell::setTarget(bool target) {
    target_ = target;
    setEnabled(!target);
    if (!target) return;
    clearMouseFocus();
    const auto owner = board();
    if (owner && owner->selected().get() == this) owner->setSelected(nullptr);
}

void Cell::setPlates(unsigned plates) {
    plates_ = plates;
    switch (plates) {
        case 0:
            setAnimation("default");
            break;
        case 1:
            setAnimation("plate1");
            break;
        case 2:
            setAnimation("plate2");
            break;
        default:
            break;
    }
}

void Cell::removePlate() {
    if (plates_ > 0) {
        --plates_;
        if (const auto owner = board(); owner && plates_ <= 1) {
            owner->presentation().startEffect(
                plates_ == 0 ? "data/effects/remove_plate1.xml" : "data/effects/remove_plate2.xml",
                BoardPresentation::EffectLayer::board, center());
        }
    }
    setPlates(plates_);
}

void Cell::removeCrate() {
    if (crateLevel_ <= 0) return;
    const int before = crateLevel_--;
    const char* effect = nullptr;
    if (crateType_ == u'w' && before == 1) effect = "data/effects/remove_crate_w.xml";
    if (crateType_ == u's')
        effect = before == 1 ? "data/effects/remove_crate_s1.xml" : "data/effects/remove_crate_s2.xml";
    if (!effect) return;
    if (const auto owner = board())
        owner->presentation().startEffect(effect, BoardPresentation::EffectLayer::scene, center());
}

void Cell::setCrateType(char16_t type) {
    crateType_ = type;
    crateLevel_ = type == u'w' ? 1 : type == u's' ? 2 : 0;
}

const kt::KTImageData* Cell::crateImage() const {
    if (!crate()) return nullptr;
    if (crateType_ == u'w') return woodenCrate_.get();
    if (crateType_ == u's') return crateLevel_ >= 2 ? stoneCrate1_.get() : stoneCrate0_.get();
    return nullptr;
}

void Cell::drawAfterChildren() {
    kt::KTRenderer* renderer = render();
    if (!renderer) return;
    const auto owner = board();
    if (locked_ && owner && owner->lock()) {
        renderer->setImageData(owner->lock().get());
        renderer->drawRect(getRect());
    }
    const kt::KTImageData* picture = crateImage();
    if (!picture) return;
    renderer->pushColor();
    renderer->multColor(color());
    renderer->setImageData(picture);
    renderer->drawRect(getRect());
    renderer->popColor();
}

}  // namespace moonbrook

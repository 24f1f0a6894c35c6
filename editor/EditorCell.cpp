#include "editor/EditorCell.h"

#include <array>

#include "editor/EditorBoard.h"
#include "engine/core/KTFormat.h"
#include "engine/core/KTRenderer.h"
#include "engine/core/KTResourceManager.h"
#include "engine/render/KTImageData.h"

namespace moonbrook {

EditorCellState paintedState(EditorCellState state, EditorBoardMode mode, char16_t ballType,
                             bool rightButton) {
    if (rightButton && state.ballType != u'0' && !state.locked) {
        state.ballType = u'0';
        return state;
    }
    switch (mode) {
        case EditorBoardMode::board:
            if (!rightButton && state.plates <= 1) ++state.plates;
            if (rightButton && state.plates >= 0) --state.plates;
            break;
        case EditorBoardMode::locks:
            state.locked = !rightButton;
            break;
        case EditorBoardMode::emitters:
            state.emitter = !rightButton;
            break;
        case EditorBoardMode::woodenCrates:
            state.crateType = rightButton ? u'0' : u'w';
            break;
        case EditorBoardMode::stoneCrates:
            state.crateType = rightButton ? u'0' : u's';
            break;
        case EditorBoardMode::ball:
            if (!rightButton) state.ballType = ballType;
            break;
    }
    return state;
}

const kt::KTClass& EditorCell::staticClass() {
    static const kt::KTClass& cls =
        kt::KTClass::define<EditorCell>("EditorCell", kt::KTSprite::staticClass());
    return cls;
}
KT_REGISTER_CLASS(EditorCell);

void EditorCell::init(const kt::CGRect& rect, const std::shared_ptr<EditorBoard>& board) {
    loadFromFile("data/gfx/board/grid.sprite.xml");
    setPosition(rect.origin);
    setSize(rect.size);
    board_ = board;
    auto& resources = kt::KTResourceManager::shared();
    lock_ = resources.getImage("data/gfx/board/lock.png");
    emitterImage_ = resources.getImage("data/gfx/gui/editor/emitter.png");
    woodenCrate_ = resources.getImage("data/gfx/board/wooden_crate.png");
    stoneCrate_ = resources.getImage("data/gfx/board/stone_crate_1.png");
    showPlates();
}

void EditorCell::setCellState(const EditorCellState& state) {
    const bool ballChanged = state.ballType != state_.ballType;
    state_ = state;
    showPlates();
    if (ballChanged) showBall();
}

void EditorCell::showPlates() {
    static constexpr const char* kAnimations[] = {"none", "default", "plate1", "plate2"};
    const int index = state_.plates + 1;
    setAnimation(index >= 0 && index <= 3 ? kAnimations[index] : "plate2");
}

void EditorCell::showBall() {
    if (ball_) removeChild(ball_.get());
    ball_.reset();
    if (state_.ballType == u'0') return;
    ball_ = kt::KTNode::node<kt::KTSprite>();
    ball_->loadFromFile(kt::KTFormat("data/gfx/balls/%c.sprite.xml", state_.ballType));
    ball_->setHitTest(false);
    addChild(ball_);
}

void EditorCell::buttonUp(kt::ButtonName button, kt::CGPoint point) {
    kt::KTSprite::buttonUp(button, point);
    if (button != kt::ButtonName::msLeft && button != kt::ButtonName::msRight) return;
    if (const auto board = board_.lock()) board->paintCell(*this, button == kt::ButtonName::msRight);
}

const kt::KTImageData* EditorCell::crateImage() const {
    if (state_.crateType == u'w') return woodenCrate_.get();
    if (state_.crateType == u's') return stoneCrate_.get();
    return nullptr;
}

void EditorCell::drawAfterChildren() {
    kt::KTSprite::drawAfterChildren();
    kt::KTRenderer* renderer = render();
    if (!renderer) return;
    const std::array<const kt::KTImageData*, 3> pictures{state_.locked ? lock_.get() : nullptr, crateImage(),
                                                         state_.emitter ? emitterImage_.get() : nullptr};
    for (const kt::KTImageData* picture : pictures) {
        if (!picture) continue;
        renderer->setImageData(picture);
        renderer->drawRect(getRect());
    }
}

}  // namespace moonbrook

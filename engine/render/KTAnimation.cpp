#include "engine/render/KTAnimation.h"

#include <algorithm>

#include "engine/actions/KTAffineAnimation.h"
#include "engine/core/KTRandom.h"
#include "engine/core/KTRenderer.h"
#include "engine/core/KTTextValues.h"
#include "engine/render/KTAnimationFrame.h"
#include "engine/render/KTSprite.h"

namespace kt {

const KTClass& KTAnimation::staticClass() {
    static const KTClass& cls = KTClass::define<KTAnimation>("KTAnimation", KTNode::staticClass());
    return cls;
}
KT_REGISTER_CLASS(KTAnimation);

void KTAnimation::addChild(Ref child) {
    if (auto frame = std::dynamic_pointer_cast<KTAnimationFrame>(child)) {
        appendFrame(std::move(frame));
    } else {
        KTNode::addChild(std::move(child));
    }
}

void KTAnimation::addFrame(std::shared_ptr<KTImageData> image, float length) {
    appendFrame(std::make_shared<KTAnimationFrame>(std::move(image), length));
}

void KTAnimation::appendFrame(std::shared_ptr<KTAnimationFrame> frame) {
    length_ += frame->length();
    frames_.push_back(std::move(frame));
}

void KTAnimation::onEnterStage() {
    scheduleUpdate();
    KTNode::onEnterStage();
    if (!frames_.empty() && w() == 0) setSize(frames_.front()->size());
    t_ = 0;
    applyTimeShift();
}

void KTAnimation::onExitStage() {
    unscheduleUpdate();
    KTNode::onExitStage();
}

void KTAnimation::reset() {
    t_ = 0;
    currentFrame_ = frames_.empty() ? nullptr : frames_.front().get();
    frameT_ = 0;
    currentFrameIdx_ = 0;
    applyTimeShift();
}

// The shift is drawn in whole milliseconds. A damaged file's shift that is not a number or not above zero gives
// none; one too long to count in milliseconds is held to a day.
void KTAnimation::applyTimeShift() {
    constexpr float kLongestShift = 86400;
    if (!(maxTimeShift_ > 0)) return;
    const int range = static_cast<int>(std::min(maxTimeShift_, kLongestShift) * 1000);
    if (range > 0) t_ += static_cast<float>(KTRandom::shared().next() % range) / 1000;
}

void KTAnimation::update(float dt) {
    if (!isOnStage() || frames_.empty()) return;
    if (!currentFrame_) {
        currentFrame_ = frames_.front().get();
        currentFrameIdx_ = 0;
        frameT_ = 0;
    }
    t_ += dt;
    frameT_ += dt;
    if (!advanceFrames()) finish();
}

bool KTAnimation::advanceFrames() {
    // A loop whose frames take no time (lengths missing, 0 or negative in a damaged file) would never use the
    // elapsed time up: once every frame has been passed without doing so, the animation stays where it is.
    std::size_t framesWithoutTime = 0;
    while (frameT_ > currentFrame_->length()) {
        std::size_t next = currentFrameIdx_ + 1;
        if (next >= frames_.size()) {
            if (!loop_) return false;
            next = 0;
        }
        if (frames_[next].get() == currentFrame_) return true;
        framesWithoutTime = currentFrame_->length() > 0 ? 0 : framesWithoutTime + 1;
        if (framesWithoutTime > frames_.size()) return true;
        frameT_ -= currentFrame_->length();
        currentFrameIdx_ = next;
        currentFrame_ = frames_[next].get();
    }
    return true;
}

// The parent may drop this animation from its handler, so the node keeps itself alive until it is done.
void KTAnimation::finish() {
    const Ref self = sharedAs<KTNode>();
    if (auto* sprite = dynamic_cast<KTSprite*>(parent())) sprite->animationFinished();
    if (autoremove() && parent()) parent()->removeChild(this);
}

void KTAnimation::drawAfterChildren() {
    KTRenderer* renderer = render();
    if (!renderer || !currentFrame_) return;
    const std::shared_ptr<KTAffineAnimation>& affine = affineAnimation();
    if (affine) {
        renderer->push();
        renderer->pushColor();
        affine->apply(*renderer, t_);
    }
    renderer->setImageData(currentFrame_->imageData().get());
    renderer->drawRect(getRect());
    if (affine) {
        renderer->popColor();
        renderer->pop();
    }
}

void KTAnimation::setAttributes(const XMLAttributes& attributes) {
    KTNode::setAttributes(attributes);
    if (const std::string* loop = attributes.find("loop")) loop_ = KTBoolFromText(*loop);
    if (const std::string* shift = attributes.find("max_time_shift")) {
        maxTimeShift_ = static_cast<float>(KTLeadingReal(*shift));
    }
}

}  // namespace kt

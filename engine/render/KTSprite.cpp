#include "engine/render/KTSprite.h"

#include "engine/render/KTAnimation.h"

namespace kt {

const KTClass& KTSprite::staticClass() {
    static const KTClass& cls = KTClass::define<KTSprite>("KTSprite", KTNode::staticClass())
                                    .operation("setAnimation:", &KTSprite::setAnimation)
                                    .operation("setAnimationIfDefault:", &KTSprite::setAnimationIfDefault);
    return cls;
}
KT_REGISTER_CLASS(KTSprite);

void KTSprite::addChild(Ref child) {
    if (auto animation = std::dynamic_pointer_cast<KTAnimation>(child)) {
        animation->setSize(size());
        animations_[animation->name()] = std::move(animation);
    } else {
        KTNode::addChild(std::move(child));
    }
}

void KTSprite::setAnimation(const std::string& name) {
    if (currentAnimation_ && currentAnimation_->name() == name) {
        currentAnimation_->reset();
        return;
    }
    const auto found = animations_.find(name);
    if (found == animations_.end()) return;
    const std::shared_ptr<KTAnimation> next = found->second;
    replaceChild(currentAnimation_.get(), next);
    currentAnimation_ = next;
    currentAnimation_->reset();
}

void KTSprite::setAnimationIfDefault(const std::string& name) {
    if (currentAnimationName() == "default") setAnimation(name);
}

std::string KTSprite::currentAnimationName() const {
    return currentAnimation_ ? currentAnimation_->name() : std::string();
}

std::vector<std::string> KTSprite::animationNames() const {
    std::vector<std::string> names;
    for (const auto& entry : animations_)
        names.push_back(entry.first);
    return names;
}

void KTSprite::onEnterStage() {
    if (!currentAnimation_) setAnimation("default");
    KTNode::onEnterStage();
}

void KTSprite::onExitStage() {
    unscheduleUpdate();
    KTNode::onExitStage();
}

}  // namespace kt

#include "engine/actions/KTActionTween.h"

#include "engine/actions/KTFloatProperty.h"
#include "engine/core/KTLog.h"

namespace kt {

void KTActionTweenFloat::startWithTarget(std::shared_ptr<KTNode> target) {
    KTActionInterval::startWithTarget(std::move(target));
    if (!this->target()) return;
    startValue_ = read(*this->target());
    delta_ = endValue_ - startValue_;
}

void KTActionTweenFloat::update(float t) {
    if (KTNode* node = target()) write(*node, endValue_ - (1 - t) * delta_);
}

void KTActionTween::startWithTarget(std::shared_ptr<KTNode> target) {
    property_ = target ? KTFloatProperty::find(*target, key_) : nullptr;
    if (target && !property_) KTLog("KTActionTween: %@ has no float property %@", target->className(), key_);
    KTActionTweenFloat::startWithTarget(std::move(target));
}

float KTActionTween::read(const KTNode& node) const {
    return property_ ? property_->get(node) : 0.0f;
}

void KTActionTween::write(KTNode& node, float value) const {
    if (property_) property_->set(node, value);
}

void KTActionTweenColor::startWithTarget(std::shared_ptr<KTNode> target) {
    KTActionInterval::startWithTarget(std::move(target));
    if (this->target()) startColor_ = this->target()->color();
}

void KTActionTweenColor::update(float t) {
    if (KTNode* node = target()) node->setColor(KTLerpColor(startColor_, endColor_, t));
}

}  // namespace kt

#include "engine/render/KTFly.h"

#include <cmath>
#include <numbers>

#include "engine/core/KTRandom.h"
#include "engine/core/KTTextValues.h"

namespace kt {
namespace {

struct PointAttribute {
    bool present = false;
    CGPoint point;
};

PointAttribute pointOf(const XMLAttributes& attributes, std::string_view x, std::string_view y) {
    const std::string* xText = attributes.find(x);
    const std::string* yText = attributes.find(y);
    if (!xText || !yText) return {};
    return {true, {static_cast<float>(KTLeadingReal(*xText)), static_cast<float>(KTLeadingReal(*yText))}};
}

}  // namespace

const KTClass& KTFly::staticClass() {
    static const KTClass& cls = KTClass::define<KTFly>("KTFly", KTNode::staticClass());
    return cls;
}
KT_REGISTER_CLASS(KTFly);

KTFly::KTFly() {
    setAutoremove(true);
}

void KTFly::setAttributes(const XMLAttributes& attributes) {
    KTNode::setAttributes(attributes);
    source_ = destination_ = absolutePosition();
    if (const PointAttribute to = pointOf(attributes, "to_x", "to_y"); to.present) {
        destination_ = to.point;
        destinationFromSelf_ = false;
    } else if (const PointAttribute from = pointOf(attributes, "from_x", "from_y"); from.present) {
        source_ = from.point;
        sourceFromSelf_ = false;
    }
    const auto real = [&attributes](std::string_view name, float& field) {
        if (const std::string* text = attributes.find(name)) field = static_cast<float>(KTLeadingReal(*text));
    };
    real("speed", speed_);
    real("fly_time", flyTime_);
    const std::string* shortest = attributes.find("fly_time_min");
    const std::string* longest = attributes.find("fly_time_max");
    if (shortest && longest) {
        flyTime_ =
            randf(static_cast<float>(KTLeadingReal(*shortest)), static_cast<float>(KTLeadingReal(*longest)));
    }
    real("disp", disp_);
    if (const std::string* effect = attributes.find("on_finish")) onFinishEffectName_ = *effect;
}

void KTFly::onEnterStage() {
    t_ = 0;
    finished_ = false;
    if (destinationFromSelf_) destination_ = absolutePosition();
    if (sourceFromSelf_) source_ = absolutePosition();
    delta_ = CGPointSub(destination_, source_);
    dlen_ = CGPointLength(delta_);
    // Without a duration the speed sets it; with neither, the flight ends at the first update.
    if (flyTime_ == 0 && speed_ > 0) flyTime_ = dlen_ / speed_;
    tng_ = CGPointNormalize({-delta_.y, delta_.x});
    scheduleUpdate();
    KTNode::onEnterStage();
}

void KTFly::onExitStage() {
    removeAllChildren();
    KTNode::onExitStage();
}

void KTFly::reset() {
    t_ = 0;
    finished_ = false;
    KTNode::reset();
}

void KTFly::update(float dt) {
    t_ += dt;
    if (!(t_ <= flyTime_)) {
        arrive();
        return;
    }
    const float k = flyTime_ > 0 ? t_ / flyTime_ : 1;
    CGPoint p = CGPointAdd(source_, CGPointScale(delta_, k));
    if (disp_ != 0) {
        const float bow = disp_ * dlen_ * std::sin(std::numbers::pi_v<float> * k);
        p = CGPointAdd(p, CGPointScale(tng_, bow));
    }
    const CGPoint origin = parent() ? parent()->absolutePosition() : CGPointZero;
    moveTo(CGPointSub(p, origin));
}

void KTFly::arrive() {
    // A node that stays after its flight starts the finish effect once, not on every later frame.
    if (finished_) return;
    finished_ = true;
    KTNode* owner = parent();
    if (!owner) return;
    if (onFinishEffectName_) owner->startEffect(*onFinishEffectName_, position());
    if (autoremove()) owner->removeChild(this);
}

}  // namespace kt

#include "engine/controls/KTDragBox.h"

#include <algorithm>

#include "engine/actions/KTActionTween.h"
#include "engine/actions/KTFloatProperty.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTRenderer.h"
#include "engine/core/KTTextValues.h"

namespace kt {
namespace {

constexpr float kFarAway = 100000000;
// A child this close to the target point counts whatever the direction, as a share of the box's width.
constexpr float kNearShare = 0.3f;

}  // namespace

const KTClass& KTDragBox::staticClass() {
    static const KTClass& cls = KTClass::define<KTDragBox>("KTDragBox", KTNode::staticClass());
    return cls;
}
KT_REGISTER_CLASS(KTDragBox);
KT_REGISTER_FLOAT_PROPERTY(KTDragBox, "displacementX", displacementX, setDisplacementX);
KT_REGISTER_FLOAT_PROPERTY(KTDragBox, "displacementY", displacementY, setDisplacementY);

// State changes of the box stay off its content.
KTDragBox::KTDragBox() {
    setStateStop(true);
}

void KTDragBox::setAttributes(const XMLAttributes& attributes) {
    KTNode::setAttributes(attributes);
    const auto flag = [&](const char* key, bool& field) {
        if (const std::string* value = attributes.find(key)) field = KTBoolFromText(*value);
    };
    const auto real = [&](const char* key, float& field) {
        if (const std::string* value = attributes.find(key))
            field = static_cast<float>(KTLeadingReal(*value));
    };
    flag("drag_vertically", dragVertically_);
    flag("drag_horizontally", dragHorizontally_);
    flag("child_switch", childSwitch_);
    real("min_displacement_x", minDisplacement_.x);
    real("min_displacement_y", minDisplacement_.y);
    real("max_displacement_x", maxDisplacement_.x);
    real("max_displacement_y", maxDisplacement_.y);
    real("autoscroll_speed", autoscrollSpeed_);
}

// Raised to the minimum, then lowered to the maximum: crossed limits leave the maximum.
CGPoint KTDragBox::clamped(CGPoint displacement) const {
    return {std::min(std::max(displacement.x, minDisplacement_.x), maxDisplacement_.x),
            std::min(std::max(displacement.y, minDisplacement_.y), maxDisplacement_.y)};
}

void KTDragBox::visit() {
    KTRenderer* renderer = render();
    if (renderer) {
        renderer->push();
        renderer->translate(displacement_);
    }
    KTNode::visit();
    if (renderer) renderer->pop();
}

void KTDragBox::buttonDown(ButtonName, CGPoint point) {
    autoscrollTime_ = 0;
    buttonDown_ = true;
    downPoint_ = CGPointSub(point, displacement_);
    v_ = point;
    KTLog("DragBox buttonDown: %f %f", point.x, point.y);
}

void KTDragBox::mouseMove(CGPoint point) {
    lastMousePosition_ = point;
    if (!buttonDown_) return;
    if (dragHorizontally_) displacement_.x = point.x - downPoint_.x;
    if (dragVertically_) displacement_.y = point.y - downPoint_.y;
    displacement_ = clamped(displacement_);
}

void KTDragBox::buttonUp(ButtonName button, CGPoint point) {
    if (!buttonDown_) return;
    KTLog("DragBox buttonUp: %f %f", point.x, point.y);
    buttonDown_ = false;
    const CGPoint drag = CGPointSub(point, v_);
    if (CGPointLength(drag) <= kClickDistance) {
        KTLog("click");
        const CGPoint content = CGPointSub(point, displacement_);
        KTNode::mouseMove(content);
        KTNode::buttonDown(button, content);
        KTNode::buttonUp(button, content);
        return;
    }
    KTLog("v.x: %f drag_time: %f", drag.x, 0.0);
    dragBy(drag, 0);
    if (childSwitch_) scrollTo(findClosestChildWithDisplacementChange(v_));
}

void KTDragBox::mouseLeave() {
    if (buttonDown_) {
        buttonDown_ = false;
        if (childSwitch_) {
            dragBy(CGPointSub(lastMousePosition_, v_), 0);
            scrollTo(findClosestChildWithDisplacementChange(v_));
        }
        v_ = CGPointZero;
    }
    KTNode::mouseLeave();
}

void KTDragBox::dragBy(CGPoint drag, float) {
    v_ = CGPointNormalize(drag);
    if (autoscrollSpeed_ < 0) return;
    autoscrollVelocity_ = CGPointScale(v_, autoscrollSpeed_);
    autoscrollTime_ = autoscrollSpeed_ > 0 ? CGPointLength(drag) / autoscrollSpeed_ : 0;
}

// The children's centres are in the box's own space, so the box's centre is taken there too: a box placed
// anywhere but the origin still brings its child to its middle.
CGPoint KTDragBox::localCenter() const {
    return {0.5f * w(), 0.5f * h()};
}

CGPoint KTDragBox::findClosestChildWithDisplacementChange(CGPoint change) {
    const CGPoint target = CGPointSub(localCenter(), CGPointAdd(displacement_, change));
    KTLog("findClosestChildWithDirection");
    KTLog("[self center]: %f, %f", localCenter().x, localCenter().y);
    KTLog("displacement: %f, %f", displacement_.x, displacement_.y);
    KTLog("p: %f, %f", target.x, target.y);
    const CGPoint direction = CGPointNormalize(change);
    CGPoint closest = CGPointSub(localCenter(), displacement_);
    float best = kFarAway;
    for (const auto& child : children()) {
        const CGPoint childCenter = child->center();
        const CGPoint away = CGPointSub(target, childCenter);
        const float distance = CGPointLength(away);
        KTLog("dist: %f hw: %f", distance, 0.5f * w());
        const bool ahead = CGPointDotProduct(CGPointNormalize(away), direction) > 0;
        if ((ahead || distance < kNearShare * w()) && distance < best) {
            closest = childCenter;
            best = distance;
        }
    }
    KTLog("closest_cc: %f, %f", closest.x, closest.y);
    return closest;
}

void KTDragBox::scrollChild(CGPoint change) {
    if (childSwitch_) scrollTo(findClosestChildWithDisplacementChange(change));
}

// A box without glide speed jumps.
void KTDragBox::scrollTo(CGPoint point, bool immediately) {
    const CGPoint target = clamped(CGPointSub(localCenter(), point));
    const CGPoint delta = CGPointSub(target, displacement_);
    const float distance = CGPointLength(delta);
    if (distance < kMinScroll) {
        autoscrollTime_ = 0;
        KTLog("scrollTo: NO SCROLL");
        return;
    }
    const bool jump = immediately || autoscrollSpeed_ <= 0;
    autoscrollVelocity_ = CGPointScale(CGPointNormalize(delta), autoscrollSpeed_);
    autoscrollTime_ = jump ? 0 : distance / autoscrollSpeed_;
    KTLog("scrollTo: %f, (%f, %f) nd: (%f, %f)", autoscrollTime_, point.x, point.y, target.x, target.y);
    stopAllActions();
    if (!dragHorizontally_) return;
    if (jump) {
        setDisplacementX(target.x);
    } else {
        runAction(KTActionTween::actionWithDuration(autoscrollTime_, "displacementX", target.x));
    }
}

}  // namespace kt

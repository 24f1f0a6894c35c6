#pragma once

#include "engine/core/KTNode.h"

namespace kt {

// A container whose content the pointer drags along x, y or both, within fixed limits. A press and release
// that barely moves is a click, handed to the children at the content's coordinates. With child switching
// the content glides after a drag (or on request) until the nearest child in the direction of travel sits
// at the centre. Glides are tweens of "displacementX", so only horizontal boxes scroll.
class KTDragBox : public KTNode {
public:
    KT_CLASS(KTDragBox)

    // A release this close to the press is a click.
    static constexpr float kClickDistance = 20;
    // A scroll shorter than this is not worth a glide.
    static constexpr float kMinScroll = 20;

    KTDragBox();

    CGPoint displacement() const { return displacement_; }
    float displacementX() const { return displacement_.x; }
    float displacementY() const { return displacement_.y; }
    void setDisplacementX(float x) { displacement_.x = x; }
    void setDisplacementY(float y) { displacement_.y = y; }
    bool dragHorizontally() const { return dragHorizontally_; }
    bool dragVertically() const { return dragVertically_; }
    bool childSwitch() const { return childSwitch_; }
    CGPoint minDisplacement() const { return minDisplacement_; }
    CGPoint maxDisplacement() const { return maxDisplacement_; }
    float autoscrollSpeed() const { return autoscrollSpeed_; }
    float autoscrollTime() const { return autoscrollTime_; }
    CGPoint autoscrollVelocity() const { return autoscrollVelocity_; }
    bool buttonIsDown() const { return buttonDown_; }

    // Notes the drag's direction and the glide it would start.
    void dragBy(CGPoint drag, float seconds);
    // The centre of the child closest to where the content would show after moving by the vector, among
    // those that lie in the vector's direction or near the middle; the present centre when none does.
    CGPoint findClosestChildWithDisplacementChange(CGPoint change);
    void scrollChild(CGPoint change);
    void scrollTo(CGPoint point) { scrollTo(point, false); }
    // Brings the content point to the box's centre, within the limits; at once or as a glide.
    void scrollTo(CGPoint point, bool immediately);

    void setAttributes(const XMLAttributes& attributes) override;
    void visit() override;
    void mouseMove(CGPoint point) override;
    void buttonDown(ButtonName button, CGPoint point) override;
    void buttonUp(ButtonName button, CGPoint point) override;
    void mouseEnter() override {}
    void mouseLeave() override;

private:
    CGPoint localCenter() const;
    CGPoint clamped(CGPoint displacement) const;

    bool buttonDown_ = false;
    CGPoint downPoint_;
    CGPoint v_;
    bool dragHorizontally_ = false;
    bool dragVertically_ = false;
    bool childSwitch_ = false;
    CGPoint minDisplacement_;
    CGPoint maxDisplacement_;
    CGPoint displacement_;
    float autoscrollSpeed_ = 500;
    float autoscrollTime_ = 0;
    CGPoint autoscrollVelocity_;
    CGPoint lastMousePosition_;
};

}  // namespace kt

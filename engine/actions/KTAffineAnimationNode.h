#pragma once

#include "engine/core/KTNode.h"

namespace kt {

// Plays its affine animation over its children with a clock of its own, which starts at 0 each time the
// node enters the stage. A node whose animation does not loop removes itself once the animation is over.
// The pivot is half the node's size, measured where the node sits in its parent. Scene files make it from
// the element "affine_animation".
class KTAffineAnimationNode : public KTNode {
public:
    KT_CLASS(KTAffineAnimationNode)

    float t() const { return t_; }

    // "filename" names the animation's file.
    void setAttributes(const XMLAttributes& attributes) override;
    // Without a file, the element itself is the animation: its "key" children are the keys.
    void loadFromXMLElement(const XMLElement& element) override;

    void onEnterStage() override;
    // Leaving the stage empties the node.
    void onExitStage() override;
    void reset() override;
    void update(float dt) override;
    void visit() override;

private:
    float t_ = 0;
};

}  // namespace kt

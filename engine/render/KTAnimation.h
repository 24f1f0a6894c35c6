#pragma once

#include <memory>
#include <vector>

#include "engine/core/KTNode.h"

namespace kt {

class KTAnimationFrame;
class KTImageData;

// Plays its frames in order while it is on stage, each for its length; a short frame can be skipped within
// one update. At the end it loops, or tells a sprite parent that it has finished and keeps its last frame.
// An attached affine animation is played over the frames at the animation's time, which may start at a
// random phase (max_time_shift) so that copies of one animation do not move in step.
class KTAnimation : public KTNode {
public:
    KT_CLASS(KTAnimation)

    static std::shared_ptr<KTAnimation> animation() { return node<KTAnimation>(); }

    // Frames are kept apart from the children; other nodes become children as usual.
    using KTNode::addChild;
    void addChild(Ref child) override;
    void addFrame(std::shared_ptr<KTImageData> image, float length);

    void onEnterStage() override;
    void onExitStage() override;
    void reset() override;
    void update(float dt) override;
    void drawAfterChildren() override;
    void setAttributes(const XMLAttributes& attributes) override;

    float t() const { return t_; }
    float length() const { return length_; }
    bool loop() const { return loop_; }
    void setLoop(bool loop) { loop_ = loop; }
    float maxTimeShift() const { return maxTimeShift_; }
    void setMaxTimeShift(float seconds) { maxTimeShift_ = seconds; }
    std::size_t currentFrameIndex() const { return currentFrameIdx_; }
    const KTAnimationFrame* currentFrame() const { return currentFrame_; }

private:
    void appendFrame(std::shared_ptr<KTAnimationFrame> frame);
    void applyTimeShift();
    // Moves past every frame whose time is over; false once a non-looping animation has run out.
    bool advanceFrames();
    void finish();

    std::vector<std::shared_ptr<KTAnimationFrame>> frames_;
    bool loop_ = false;
    float length_ = 0;
    const KTAnimationFrame* currentFrame_ = nullptr;
    float t_ = 0;
    std::size_t currentFrameIdx_ = 0;
    float frameT_ = 0;
    float maxTimeShift_ = 0;
};

}  // namespace kt

#pragma once

#include <memory>

#include "engine/core/KTNode.h"

namespace kt {

class KTSample;

// Plays a sample when it enters the stage, so scene and effect files can carry sounds (element "sound").
// A one-shot node queues its sample for the end of the frame's update and, being disabled and
// auto-removed, leaves its parent after the next draw; a looping node plays until it leaves the stage.
class KTSoundNode : public KTNode {
public:
    KT_CLASS(KTSoundNode)

    KTSoundNode();

    const std::shared_ptr<KTSample>& sample() const { return sample_; }
    void setSample(std::shared_ptr<KTSample> sample) { sample_ = std::move(sample); }
    bool loop() const { return loop_; }
    void setLoop(bool loop) { loop_ = loop; }

    // "loop", then "filename", then the sample's "volume" (or "vol"), "pan" and "mingap" in seconds. The
    // sample is shared by every user of the file, so its settings are too.
    void setAttributes(const XMLAttributes& attributes) override;
    void onEnterStage() override;
    void onExitStage() override;

private:
    std::shared_ptr<KTSample> sample_;
    bool loop_ = false;
};

}  // namespace kt

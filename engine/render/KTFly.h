#pragma once

#include <optional>
#include <string>

#include "engine/core/KTNode.h"

namespace kt {

// Carries its children along a flight between two points of the scene, bowed sideways by half a sine
// wave, then starts an optional effect where it arrived and leaves its parent (element "fly"). One end is
// the node's own place when it enters the stage, the other comes from the file; the duration is given, or
// drawn from a range, or follows from a speed.
class KTFly : public KTNode {
public:
    KT_CLASS(KTFly)

    KTFly();

    // Valid once the node has entered the stage, or after the attributes for a duration given in the file.
    float flyTime() const { return flyTime_; }
    CGPoint source() const { return source_; }
    CGPoint destination() const { return destination_; }
    float t() const { return t_; }

    // "to_x" with "to_y", else "from_x" with "from_y"; "speed", "fly_time", "fly_time_min" with
    // "fly_time_max", "disp", "on_finish".
    void setAttributes(const XMLAttributes& attributes) override;
    void onEnterStage() override;
    void onExitStage() override;
    void update(float dt) override;
    // Starts the flight again from its start.
    void reset() override;

private:
    void arrive();

    float t_ = 0;
    CGPoint source_;
    CGPoint destination_;
    bool sourceFromSelf_ = true;
    bool destinationFromSelf_ = true;
    CGPoint delta_;
    float dlen_ = 0;
    CGPoint tng_;
    float disp_ = 0;
    float speed_ = 0;
    float flyTime_ = 0;
    std::optional<std::string> onFinishEffectName_;
    bool finished_ = false;
};

}  // namespace kt

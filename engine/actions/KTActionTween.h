#pragma once

#include <memory>
#include <string>

#include "engine/actions/KTAction.h"
#include "engine/core/KTColor.h"
#include "engine/core/KTNode.h"

namespace kt {

class KTFloatProperty;

// Drives one float of the target from its value when the action starts to an end value. Values are written
// as end - (1 - t) * delta, so t = 1 lands exactly on the end value.
class KTActionTweenFloat : public KTActionInterval {
public:
    void startWithTarget(std::shared_ptr<KTNode> target) override;
    void update(float t) override;

    float startValue() const { return startValue_; }
    float endValue() const { return endValue_; }

protected:
    KTActionTweenFloat(float seconds, float endValue) : KTActionInterval(seconds), endValue_(endValue) {}

    virtual float read(const KTNode& node) const = 0;
    virtual void write(KTNode& node, float value) const = 0;

private:
    float startValue_ = 0;
    float endValue_;
    float delta_ = 0;
};

// Drives a float property registered by name (KTFloatProperty), such as a drag box's "displacementX".
// A node without that property is left alone.
class KTActionTween final : public KTActionTweenFloat {
public:
    KTActionTween(float seconds, std::string key, float endValue)
        : KTActionTweenFloat(seconds, endValue), key_(std::move(key)) {}
    static std::shared_ptr<KTActionTween> actionWithDuration(float seconds, std::string key, float endValue) {
        return std::make_shared<KTActionTween>(seconds, std::move(key), endValue);
    }

    void startWithTarget(std::shared_ptr<KTNode> target) override;

protected:
    float read(const KTNode& node) const override;
    void write(KTNode& node, float value) const override;

private:
    std::string key_;
    const KTFloatProperty* property_ = nullptr;
};

// Tweens of the node's x, y, width and height.
template <float (KTNode::*Getter)() const, void (KTNode::*Setter)(float)>
class KTActionTweenNodeFloat final : public KTActionTweenFloat {
public:
    KTActionTweenNodeFloat(float seconds, float endValue) : KTActionTweenFloat(seconds, endValue) {}
    static std::shared_ptr<KTActionTweenNodeFloat> actionWithDuration(float seconds, float endValue) {
        return std::make_shared<KTActionTweenNodeFloat>(seconds, endValue);
    }

protected:
    float read(const KTNode& node) const override { return (node.*Getter)(); }
    void write(KTNode& node, float value) const override { (node.*Setter)(value); }
};

using KTActionTweenX = KTActionTweenNodeFloat<&KTNode::x, &KTNode::setX>;
using KTActionTweenY = KTActionTweenNodeFloat<&KTNode::y, &KTNode::setY>;
using KTActionTweenW = KTActionTweenNodeFloat<&KTNode::w, &KTNode::setW>;
using KTActionTweenH = KTActionTweenNodeFloat<&KTNode::h, &KTNode::setH>;

// Fades the node's colour, channel by channel, from its colour when the action starts to an end colour.
class KTActionTweenColor final : public KTActionInterval {
public:
    KTActionTweenColor(float seconds, Color endColor) : KTActionInterval(seconds), endColor_(endColor) {}
    static std::shared_ptr<KTActionTweenColor> actionWithDuration(float seconds, Color endColor) {
        return std::make_shared<KTActionTweenColor>(seconds, endColor);
    }

    void startWithTarget(std::shared_ptr<KTNode> target) override;
    void update(float t) override;

private:
    Color startColor_;
    Color endColor_;
};

}  // namespace kt

#pragma once

#include <memory>

#include "engine/actions/KTAction.h"

namespace kt {

// Wraps an interval action and reshapes its time: the wrapped action is shown at ease(t) while the ease's own
// time decides when both are done. The wrapped action is started with the ease and never stepped.
class KTActionEase : public KTActionInterval {
public:
    explicit KTActionEase(std::shared_ptr<KTActionInterval> other);

    static std::shared_ptr<KTActionEase> actionWithAction(std::shared_ptr<KTActionInterval> other) {
        return std::make_shared<KTActionEase>(std::move(other));
    }

    void startWithTarget(std::shared_ptr<KTNode> target) override;
    void stop() override;
    void update(float t) final;

    // The reshaped time; this class leaves it as it is.
    virtual float ease(float t) const { return t; }

private:
    std::shared_ptr<KTActionInterval> other_;
};

// An ease shaped by a rate: the power of its curve.
class KTActionEaseRate : public KTActionEase {
public:
    float rate() const { return rate_; }
    void setRate(float rate) { rate_ = rate; }

protected:
    KTActionEaseRate(std::shared_ptr<KTActionInterval> other, float rate)
        : KTActionEase(std::move(other)), rate_(rate) {}

private:
    float rate_;
};

// The eases. Curves follow the usual easing formulas; powers are taken in double precision and rounded to
// float, sines and cosines in float.

// t ^ rate: starts slowly.
class KTEaseIn final : public KTActionEaseRate {
public:
    KTEaseIn(std::shared_ptr<KTActionInterval> other, float rate)
        : KTActionEaseRate(std::move(other), rate) {}
    static std::shared_ptr<KTEaseIn> actionWithAction(std::shared_ptr<KTActionInterval> other, float rate) {
        return std::make_shared<KTEaseIn>(std::move(other), rate);
    }
    float ease(float t) const override;
};

// t ^ (1 / rate): stops softly.
class KTEaseOut final : public KTActionEaseRate {
public:
    KTEaseOut(std::shared_ptr<KTActionInterval> other, float rate)
        : KTActionEaseRate(std::move(other), rate) {}
    static std::shared_ptr<KTEaseOut> actionWithAction(std::shared_ptr<KTActionInterval> other, float rate) {
        return std::make_shared<KTEaseOut>(std::move(other), rate);
    }
    float ease(float t) const override;
};

// Eases in over the first half and out over the second, point-symmetric about (0.5, 0.5).
class KTEaseInOut final : public KTActionEaseRate {
public:
    KTEaseInOut(std::shared_ptr<KTActionInterval> other, float rate)
        : KTActionEaseRate(std::move(other), rate) {}
    static std::shared_ptr<KTEaseInOut> actionWithAction(std::shared_ptr<KTActionInterval> other,
                                                         float rate) {
        return std::make_shared<KTEaseInOut>(std::move(other), rate);
    }
    float ease(float t) const override;
};

// 2 ^ (10 (t - 1)) - 0.001, so it ends at 0.999; 0 at t = 0.
class KTEaseExponentialIn final : public KTActionEase {
public:
    using KTActionEase::KTActionEase;
    static std::shared_ptr<KTEaseExponentialIn> actionWithAction(std::shared_ptr<KTActionInterval> other) {
        return std::make_shared<KTEaseExponentialIn>(std::move(other));
    }
    float ease(float t) const override;
};

// 1 - 2 ^ (-10 t); exactly 1 at t = 1.
class KTEaseExponentialOut final : public KTActionEase {
public:
    using KTActionEase::KTActionEase;
    static std::shared_ptr<KTEaseExponentialOut> actionWithAction(std::shared_ptr<KTActionInterval> other) {
        return std::make_shared<KTEaseExponentialOut>(std::move(other));
    }
    float ease(float t) const override;
};

// The exponential curve in over the first half and out over the second.
class KTEaseExponentialInOut final : public KTActionEase {
public:
    using KTActionEase::KTActionEase;
    static std::shared_ptr<KTEaseExponentialInOut> actionWithAction(std::shared_ptr<KTActionInterval> other) {
        return std::make_shared<KTEaseExponentialInOut>(std::move(other));
    }
    float ease(float t) const override;
};

// 1 - cos(t pi/2).
class KTEaseSineIn final : public KTActionEase {
public:
    using KTActionEase::KTActionEase;
    static std::shared_ptr<KTEaseSineIn> actionWithAction(std::shared_ptr<KTActionInterval> other) {
        return std::make_shared<KTEaseSineIn>(std::move(other));
    }
    float ease(float t) const override;
};

// sin(t pi/2).
class KTEaseSineOut final : public KTActionEase {
public:
    using KTActionEase::KTActionEase;
    static std::shared_ptr<KTEaseSineOut> actionWithAction(std::shared_ptr<KTActionInterval> other) {
        return std::make_shared<KTEaseSineOut>(std::move(other));
    }
    float ease(float t) const override;
};

// -(cos(pi t) - 1) / 2.
class KTEaseSineInOut final : public KTActionEase {
public:
    using KTActionEase::KTActionEase;
    static std::shared_ptr<KTEaseSineInOut> actionWithAction(std::shared_ptr<KTActionInterval> other) {
        return std::make_shared<KTEaseSineInOut>(std::move(other));
    }
    float ease(float t) const override;
};

}  // namespace kt

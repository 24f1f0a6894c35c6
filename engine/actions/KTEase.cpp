#include "engine/actions/KTEase.h"

#include <cmath>
#include <numbers>

namespace kt {
namespace {

constexpr float kPi = std::numbers::pi_v<float>;
constexpr float kHalfPi = kPi / 2;

// Powers in double precision, rounded to float by the callers.
double power(double base, double exponent) {
    return std::pow(base, exponent);
}

}  // namespace

KTActionEase::KTActionEase(std::shared_ptr<KTActionInterval> other)
    : KTActionInterval(other ? other->duration() : 0), other_(std::move(other)) {}

void KTActionEase::startWithTarget(std::shared_ptr<KTNode> target) {
    KTActionInterval::startWithTarget(std::move(target));
    if (other_) other_->startWithTarget(targetRef());
}

void KTActionEase::stop() {
    if (other_) other_->stop();
    KTActionInterval::stop();
}

void KTActionEase::update(float t) {
    if (other_) other_->update(ease(t));
}

float KTEaseIn::ease(float t) const {
    return static_cast<float>(power(t, rate()));
}

float KTEaseOut::ease(float t) const {
    return static_cast<float>(power(t, 1.0f / rate()));
}

float KTEaseInOut::ease(float t) const {
    const float u = 2 * t;
    if (u < 1) return static_cast<float>(0.5 * power(u, rate()));
    // The mirror of the first half. Raising the negative base u - 2 instead, as the usual formula does, gives
    // the same value for whole rates and no number at all for fractional ones.
    return static_cast<float>(1 - 0.5 * power(2 - u, rate()));
}

float KTEaseExponentialIn::ease(float t) const {
    if (t == 0) return 0;
    return static_cast<float>(power(2, 10 * (t - 1)) - 0.001);
}

float KTEaseExponentialOut::ease(float t) const {
    if (t == 1) return 1;
    return static_cast<float>(1 - power(2, -10 * t));
}

float KTEaseExponentialInOut::ease(float t) const {
    const float u = 2 * t;
    if (u < 1) return static_cast<float>(0.5 * power(2, 10 * (u - 1)));
    return static_cast<float>(0.5 * (2 - power(2, -10 * (u - 1))));
}

float KTEaseSineIn::ease(float t) const {
    return 1 - std::cos(t * kHalfPi);
}

float KTEaseSineOut::ease(float t) const {
    return std::sin(t * kHalfPi);
}

float KTEaseSineInOut::ease(float t) const {
    return -0.5f * (std::cos(kPi * t) - 1);
}

}  // namespace kt

#include "engine/render/KTParticleEmitter.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/core/KTRandom.h"
#include "engine/core/KTRenderer.h"
#include "engine/core/KTTextValues.h"
#include "engine/render/KTParticleSystem.h"

namespace kt {
namespace {

constexpr float kRadiansPerDegree = std::numbers::pi_v<float> / 180;
// A burst beyond what a system holds would only be dropped; the bound also keeps the count in range.
unsigned burstSize(float count) {
    return static_cast<unsigned>(
        std::clamp(count, 0.0f, static_cast<float>(KTParticleSystem::kMostParticles)));
}

float realOr(const XMLAttributes& attributes, std::string_view name, float fallback) {
    const std::string* text = attributes.find(name);
    return text ? static_cast<float>(KTLeadingReal(*text)) : fallback;
}

// "name" sets the lower end, "name_min" overrides it, "name_max" sets the upper end, by default the lower.
KTParticleEmitter::Range rangeOf(const XMLAttributes& attributes, const std::string& name) {
    const float min = realOr(attributes, name + "_min", realOr(attributes, name, 0));
    return {min, realOr(attributes, name + "_max", min)};
}

float randf(const KTParticleEmitter::Range& range) {
    return kt::randf(range.min, range.max);
}

}  // namespace

const KTClass& KTParticleEmitter::staticClass() {
    static const KTClass& cls =
        KTClass::define<KTParticleEmitter>("KTParticleEmitter", KTNode::staticClass());
    return cls;
}
KT_REGISTER_CLASS(KTParticleEmitter);

KTParticleEmitter::KTParticleEmitter() {
    setAutoremove(true);
}

void KTParticleEmitter::setDirection(float degrees, float spreadDegrees) {
    direction_ = degrees * kRadiansPerDegree;
    spread_ = spreadDegrees * kRadiansPerDegree;
}

void KTParticleEmitter::setAttributes(const XMLAttributes& attributes) {
    setDirection(realOr(attributes, "direction", 0), realOr(attributes, "spread", 0));
    initialSpeed_ = {realOr(attributes, "speed_min", 0), realOr(attributes, "speed_max", 0)};
    speed_ = realOr(attributes, "count", realOr(attributes, "speed", 0));
    if (const std::string* once = attributes.find("once")) once_ = KTBoolFromText(*once);
    energy_ = rangeOf(attributes, "energy");
    gravity_ = rangeOf(attributes, "gravity");
    spin_ = rangeOf(attributes, "spin");
    tangentialAcc_ = rangeOf(attributes, "tangential");
    radialAcc_ = rangeOf(attributes, "radial");
    const std::string* left = attributes.find("position_left");
    const std::string* right = attributes.find("position_right");
    const std::string* top = attributes.find("position_top");
    const std::string* bottom = attributes.find("position_bottom");
    if (left && right && top && bottom) {
        setArea({static_cast<float>(KTLeadingReal(*left)), static_cast<float>(KTLeadingReal(*top))},
                {static_cast<float>(KTLeadingReal(*right)), static_cast<float>(KTLeadingReal(*bottom))});
    }
    if (const std::string* name = attributes.find("system_name")) systemName_ = *name;
    KTNode::setAttributes(attributes);
}

std::shared_ptr<KTParticleSystem> KTParticleEmitter::findPS() {
    if (!searchedPS_) {
        searchedPS_ = true;
        KTNode* found = systemName_.empty() ? getParentOfClass(KTParticleSystem::staticClass())
                                            : getParentChildWithName(systemName_).get();
        if (found && found->isKindOf(KTParticleSystem::staticClass())) {
            ps_ = found->sharedAs<KTParticleSystem>();
        }
    }
    return ps_.lock();
}

void KTParticleEmitter::emitWithCount(unsigned count) {
    const std::shared_ptr<KTParticleSystem> system = findPS();
    for (unsigned i = 0; i < count; ++i) {
        // The draws keep this order, so that a seed reproduces an effect.
        KTParticle particle;
        const float x = kt::randf(areaMin_.x, areaMax_.x);
        const float y = kt::randf(areaMin_.y, areaMax_.y);
        particle.position = CGPointAdd(sap_, {x, y});
        particle.energy = particle.maxEnergy = randf(energy_);
        const float angle = kt::randf(direction_ - spread_, direction_ + spread_);
        const float speed = randf(initialSpeed_);
        particle.speed = {speed * std::sin(angle), -speed * std::cos(angle)};
        particle.acc = {0, randf(gravity_)};
        particle.tangentialAcc = randf(tangentialAcc_);
        particle.radialAcc = randf(radialAcc_);
        particle.spin = randf(spin_);
        if (system) system->emit(particle);
    }
}

void KTParticleEmitter::onEnterStage() {
    scheduleUpdate();
    KTNode::onEnterStage();
}

void KTParticleEmitter::onExitStage() {
    unscheduleUpdate();
    ps_.reset();
    searchedPS_ = false;
    KTNode::onExitStage();
}

void KTParticleEmitter::update(float dt) {
    if (!enabled() || !wasFirstDraw_) return;
    if (once_) {
        emitWithCount(burstSize(std::ceil(speed_)));
        setEnabled(false);
        if (parent()) parent()->removeChild(this);
        return;
    }
    if (!(speed_ > 0)) return;
    // Rounding up starts the first particle at once; the time owed is carried into the next frame.
    const float owed = dt + rest_;
    const float count = std::ceil(owed * speed_);
    if (count > 0) emitWithCount(burstSize(count));
    rest_ = owed - std::max(count, 0.0f) / speed_;
}

void KTParticleEmitter::draw() {
    findPS();
    const KTRenderer* renderer = render();
    sap_ = renderer ? renderer->translatePoint(position()) : absolutePosition();
    wasFirstDraw_ = true;
}

}  // namespace kt

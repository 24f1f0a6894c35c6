#include "engine/render/KTBoids.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "engine/core/KTRandom.h"
#include "engine/core/KTRenderer.h"
#include "engine/core/KTScene.h"
#include "engine/core/KTTextValues.h"

namespace kt {
namespace {

// Closer than this a boid is always seen, whatever its place.
constexpr float kAlwaysSeenDistance = 10;
// The sight table is cleared at most this often.
constexpr float kSightPeriod = 0.1f;
constexpr float kBoundingPush = 50;
constexpr float kCohesionFactor = 0.01f;
constexpr float kAlignmentFactor = 0.125f;
// A boid below the minimum speed speeds up by this factor a frame.
constexpr float kSpeedUp = 1.1f;
constexpr float kTwoPi = 2 * std::numbers::pi_v<float>;

}  // namespace

const KTClass& Boid::staticClass() {
    static const KTClass& cls = KTClass::define<Boid>("Boid", KTAnimation::staticClass());
    return cls;
}
KT_REGISTER_CLASS(Boid);

bool Boid::see(const Boid& other, float distance) const {
    if (sight_) {
        const std::int8_t known = sight_->answer(ID, other.ID);
        if (known != KTBoidSight::kUnknown) return known == 1;
    }
    const CGPoint offset = CGPointSub(other.pos, pos);
    const float d = CGPointLength(offset);
    if (d <= kAlwaysSeenDistance) return true;
    const CGPoint heading = CGPointNormalize(v);
    const bool ahead = heading == CGPointZero || CGPointDotProduct(heading, CGPointNormalize(offset)) > 0;
    const bool sees = ahead && d <= distance;
    if (sight_) sight_->remember(ID, other.ID, sees);
    return sees;
}

void Boid::drawAfterChildren() {
    KTRenderer* renderer = render();
    if (!renderer) return;
    const CGPoint u = CGPointNormalize(v);
    float angle = std::atan2(u.y, u.x) + std::numbers::pi_v<float>;
    if (angle >= kTwoPi) angle -= kTwoPi;
    renderer->push();
    renderer->translate(position());
    renderer->rotate(angle * 180 / std::numbers::pi_v<float>);
    renderer->translate({-position().x, -position().y});
    KTAnimation::drawAfterChildren();
    renderer->pop();
}

const KTClass& KTBoids::staticClass() {
    static const KTClass& cls = KTClass::define<KTBoids>("KTBoids", KTNode::staticClass());
    return cls;
}
KT_REGISTER_CLASS(KTBoids);

void KTBoids::setAttributes(const XMLAttributes& attributes) {
    KTNode::setAttributes(attributes);
    if (const std::string* file = attributes.find("filename")) spriteFileName_ = *file;
    if (const std::string* count = attributes.find("count")) {
        setBoidsCount(
            static_cast<unsigned>(std::clamp<std::int64_t>(KTLeadingInteger(*count), 0, kLargestFlock)));
    }
    const auto real = [&attributes](std::string_view name, float& field) {
        if (const std::string* text = attributes.find(name)) field = static_cast<float>(KTLeadingReal(*text));
    };
    real("min_distance", minDistance_);
    real("min_speed", minSpeed_);
    real("max_speed", maxSpeed_);
    real("vis_distance", visDistance_);
    real("cohesion_k", cohesionK_);
    real("separation_k", separationK_);
    real("alignment_k", alignmentK_);
    real("from_mouse_k", fromMouseK_);
}

void KTBoids::onEnterStage() {
    removeAllChildren();
    boids_.clear();
    updateT_ = 0;
    sight_ = std::make_shared<KTBoidSight>(boidsCount_);
    for (unsigned i = 0; i < boidsCount_; ++i) {
        auto boid = node<Boid>();
        boid->ID = i;
        boid->setSight(sight_);
        if (!spriteFileName_.empty()) boid->loadFromFile(spriteFileName_);
        boids_.push_back(boid);
        // Vertical first: the order of the draws is part of a seeded run.
        boid->v.y = randf(-20, 20);
        boid->v.x = randf(-20, 20);
        addChild(boid);
    }
    scheduleUpdate();
    KTNode::onEnterStage();
}

void KTBoids::onExitStage() {
    KTNode::onExitStage();
    boids_.clear();
}

template <typename Visit>
void KTBoids::forEachSeen(const Boid& boid, Visit visit) const {
    for (const auto& other : boids_) {
        if (other.get() != &boid && boid.see(*other, visDistance_)) visit(*other);
    }
}

CGPoint KTBoids::ruleCohesion(const Boid& boid) const {
    CGPoint sum;
    int seen = 0;
    forEachSeen(boid, [&](const Boid& other) {
        sum = CGPointAdd(sum, other.pos);
        ++seen;
    });
    if (seen == 0) return CGPointZero;
    const CGPoint centre = CGPointScale(sum, 1.0f / static_cast<float>(seen));
    return CGPointScale(CGPointSub(centre, boid.pos), kCohesionFactor);
}

CGPoint KTBoids::ruleSeparation(const Boid& boid) const {
    CGPoint away;
    forEachSeen(boid, [&](const Boid& other) {
        const CGPoint offset = CGPointSub(boid.pos, other.pos);
        if (CGPointLength(offset) < minDistance_) away = CGPointAdd(away, offset);
    });
    return away;
}

CGPoint KTBoids::ruleAlignment(const Boid& boid) const {
    CGPoint sum;
    int seen = 0;
    forEachSeen(boid, [&](const Boid& other) {
        sum = CGPointAdd(sum, other.v);
        ++seen;
    });
    if (seen == 0) return CGPointZero;
    const CGPoint mean = CGPointScale(sum, 1.0f / static_cast<float>(seen));
    return CGPointScale(CGPointSub(mean, boid.v), kAlignmentFactor);
}

CGPoint KTBoids::ruleBounding(const Boid& boid) const {
    // The rectangle is the node's own, in its parent's space, as the flock has always been tuned.
    const CGRect bounds = getRect();
    const auto push = [](float at, float low, float high) {
        if (at < low) return kBoundingPush;
        if (at > high) return -kBoundingPush;
        return 0.0f;
    };
    return {push(boid.pos.x, CGRectGetMinX(bounds), CGRectGetMaxX(bounds)),
            push(boid.pos.y, CGRectGetMinY(bounds), CGRectGetMaxY(bounds))};
}

CGPoint KTBoids::ruleFromMouse(const Boid& boid) {
    const std::shared_ptr<KTScene> owner = scene();
    if (!owner) return CGPointZero;
    const CGPoint away = CGPointSub(boid.pos, owner->mousePosition());
    return CGPointLength(away) < visDistance_ ? away : CGPointZero;
}

void KTBoids::update(float dt) {
    if (updateT_ + dt >= kSightPeriod) {
        updateT_ = 0;
        if (sight_) sight_->clear();
    } else {
        updateT_ += dt;
    }
    // Later boids see the earlier ones where they have just moved.
    for (std::size_t i = 0; i < boids_.size(); ++i) {
        const std::shared_ptr<Boid> boid = boids_[i];
        steer(*boid, dt);
    }
}

void KTBoids::steer(Boid& boid, float dt) {
    const CGPoint cohesion = ruleCohesion(boid);
    const CGPoint separation = ruleSeparation(boid);
    const CGPoint alignment = ruleAlignment(boid);
    const CGPoint bounding = ruleBounding(boid);
    const CGPoint fromMouse = ruleFromMouse(boid);
    CGPoint v = boid.v;
    v = CGPointAdd(v, CGPointScale(cohesion, cohesionK_));
    v = CGPointAdd(v, CGPointScale(separation, separationK_));
    v = CGPointAdd(v, CGPointScale(alignment, alignmentK_));
    v = CGPointAdd(v, bounding);
    v = CGPointAdd(v, CGPointScale(fromMouse, fromMouseK_));
    const float speedSq = CGPointLengthSq(v);
    if (speedSq > maxSpeed_ * maxSpeed_) {
        v = CGPointScale(v, maxSpeed_ / std::sqrt(speedSq));
    } else if (speedSq < minSpeed_ * minSpeed_) {
        v = CGPointScale(v, kSpeedUp);
    }
    boid.v = v;
    boid.pos = CGPointAdd(boid.pos, CGPointScale(v, dt));
    boid.moveTo(boid.pos);
}

}  // namespace kt

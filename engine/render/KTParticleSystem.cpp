#include "engine/render/KTParticleSystem.h"

#include "engine/core/KTRenderer.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTTextValues.h"
#include "engine/render/KTImageData.h"

namespace kt {
namespace {

constexpr Color kDefaultStartColor = kColorWhite;
constexpr Color kDefaultEndColor{0x00FFFFFF};
// Rotations this small are not worth a transform change, which would split the batch.
constexpr float kSmallestDrawnAngle = 0.5f;

float realOf(const std::string& text) {
    return static_cast<float>(KTLeadingReal(text));
}

float realOr(const XMLAttributes& attributes, std::string_view name, float fallback) {
    const std::string* text = attributes.find(name);
    return text ? realOf(*text) : fallback;
}

Color colorOr(const XMLAttributes& attributes, std::string_view name, Color fallback) {
    const std::string* text = attributes.find(name);
    return text ? KTMakeColorFromCString(*text) : fallback;
}

// The unit vector along the offset, or none for a zero offset, which has no direction.
bool unitVector(CGPoint offset, CGPoint& unit, float& length) {
    length = CGPointLength(offset);
    if (!(length > 0)) return false;
    unit = CGPointScale(offset, 1 / length);
    return true;
}

}  // namespace

const KTClass& KTParticleSystem::staticClass() {
    static const KTClass& cls = KTClass::define<KTParticleSystem>("KTParticleSystem", KTNode::staticClass());
    return cls;
}
KT_REGISTER_CLASS(KTParticleSystem);

KTParticleSystem::KTParticleSystem() {
    setAutoremove(true);
}

void KTParticleSystem::setImageData(std::shared_ptr<KTImageData> image) {
    imageData_ = std::move(image);
    if (imageData_ && w() == 0) setSize(imageData_->size());
}

void KTParticleSystem::emit(const KTParticle& particle) {
    if (isOnStage() && particles_.size() < kMostParticles) particles_.push_back(particle);
}

void KTParticleSystem::setAttractor(CGPoint position, float strength) {
    withAttractor_ = true;
    attractorPosition_ = position;
    attractorStrength_ = strength;
}

void KTParticleSystem::setAttributes(const XMLAttributes& attributes) {
    KTNode::setAttributes(attributes);
    startSize_ = realOr(attributes, "start_size", 1);
    endSize_ = realOr(attributes, "end_size", 0);
    if (const std::string* mid = attributes.find("mid_size")) setMidSize(realOf(*mid));
    startColor_ = colorOr(attributes, "start_color", kDefaultStartColor);
    endColor_ = colorOr(attributes, "end_color", kDefaultEndColor);
    if (const std::string* mid = attributes.find("mid_color")) setMidColor(KTMakeColorFromCString(*mid));
    if (const std::string* file = attributes.find("filename")) {
        setImageData(KTResourceManager::shared().getImage(*file));
    }
    const std::string* attractorX = attributes.find("attractor_x");
    const std::string* attractorY = attributes.find("attractor_y");
    const std::string* strength = attributes.find("attractor_strength");
    if (attractorX && attractorY && strength) {
        setAttractor({realOf(*attractorX), realOf(*attractorY)}, realOf(*strength));
    }
}

void KTParticleSystem::onEnterStage() {
    KTNode::onEnterStage();
    scheduleUpdate();
}

void KTParticleSystem::onExitStage() {
    unscheduleUpdate();
    particles_.clear();
    particles_.shrink_to_fit();
    KTNode::onExitStage();
}

void KTParticleSystem::update(float dt) {
    if (!isOnStage()) return;
    std::size_t alive = 0;
    for (KTParticle& particle : particles_) {
        if (move(particle, dt)) particles_[alive++] = particle;
    }
    particles_.resize(alive);
    if (particles_.empty() && !hasChildren() && parent()) parent()->removeChild(this);
}

bool KTParticleSystem::move(KTParticle& particle, float dt) const {
    particle.energy -= dt;
    if (particle.energy <= 0) return false;
    particle.speed = CGPointAdd(particle.speed, CGPointScale(particle.acc, dt));
    particle.angle += particle.spin * dt;

    CGPoint push;
    CGPoint away;
    float distance = 0;
    if (particle.radialAcc != 0 && particle.tangentialAcc != 0 &&
        unitVector(CGPointSub(particle.position, position()), away, distance)) {
        push = CGPointAdd(CGPointScale(away, particle.radialAcc),
                          CGPointScale({-away.y, away.x}, particle.tangentialAcc));
    }
    if (!withAttractor_) {
        particle.speed = CGPointAdd(particle.speed, CGPointScale(push, dt));
        particle.position = CGPointAdd(particle.position, CGPointScale(particle.speed, dt));
        return true;
    }
    CGPoint towards;
    float toAttractor = 0;
    if (unitVector(CGPointSub(attractorPosition_, particle.position), towards, toAttractor)) {
        push = CGPointAdd(push, CGPointScale(towards, 10 * attractorStrength_));
    }
    particle.speed = CGPointAdd(particle.speed, CGPointScale(push, dt));
    const CGPoint step = CGPointScale(particle.speed, dt);
    if (CGPointLength(step) > toAttractor) {
        // Swallowed: it sits on the attractor for its last frame.
        particle.position = attractorPosition_;
        particle.energy = 0;
    } else {
        particle.position = CGPointAdd(particle.position, step);
    }
    return true;
}

float KTParticleSystem::sizeFactor(float life) const {
    if (!withMidSize_) return endSize_ + (startSize_ - endSize_) * life;
    if (life >= 0.5f) return midSize_ + 2 * (life - 0.5f) * (startSize_ - midSize_);
    return endSize_ + 2 * life * (midSize_ - endSize_);
}

Color KTParticleSystem::tint(float life) const {
    if (!withMidColor_) return KTLerpColor(startColor_, endColor_, 1 - life);
    if (life >= 0.5f) return KTLerpColor(startColor_, midColor_, 1 - 2 * (life - 0.5f));
    return KTLerpColor(midColor_, endColor_, 1 - 2 * life);
}

void KTParticleSystem::draw() {
    KTRenderer* renderer = render();
    if (renderer) {
        // Particles live in scene coordinates: the system's own transform does not apply.
        renderer->push();
        renderer->identity();
        renderer->pushColor();
        renderer->setImageData(imageData_.get());
        for (const KTParticle& particle : particles_)
            drawParticle(*renderer, particle);
        renderer->popColor();
        renderer->pop();
    }
    if (particles_.empty() && !hasChildren()) setEnabled(false);
}

void KTParticleSystem::drawParticle(KTRenderer& renderer, const KTParticle& particle) const {
    const float life = particle.maxEnergy > 0 ? particle.energy / particle.maxEnergy : 0;
    const float scale = sizeFactor(life);
    const bool rotated = particle.angle > kSmallestDrawnAngle;
    if (rotated) {
        renderer.push();
        renderer.translate(particle.position);
        renderer.rotate(particle.angle);
        renderer.translate({-particle.position.x, -particle.position.y});
    }
    const Color color = renderer.color();
    renderer.multColor(tint(life));
    const CGSize size{w() * scale, h() * scale};
    renderer.drawRect({{particle.position.x - size.width / 2, particle.position.y - size.height / 2}, size});
    renderer.setColor(color);
    if (rotated) renderer.pop();
}

}  // namespace kt

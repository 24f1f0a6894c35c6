#include "engine/render/KTLightning.h"

#include <algorithm>

#include "engine/core/KTRandom.h"
#include "engine/core/KTRenderer.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTTextValues.h"
#include "engine/render/KTImageData.h"

namespace kt {
namespace {

// Beyond this many levels a bolt would be millions of quads; the picture stops changing long before.
constexpr int kMostIterations = 16;

float realOf(const std::string& text) {
    return static_cast<float>(KTLeadingReal(text));
}

}  // namespace

void LightningSegment::split(float amplitude, float degrade) {
    if (!isLeaf()) {
        left_->split(amplitude * degrade, degrade);
        right_->split(amplitude * degrade, degrade);
        return;
    }
    const CGPoint middle = CGPointLerp(p0_, p1_, 0.5f);
    const CGPoint along = CGPointNormalize(CGPointSub(middle, p0_));
    const float offset = randf(-amplitude, amplitude);
    const CGPoint bend = CGPointAdd(middle, {along.y * offset, -along.x * offset});
    left_ = std::make_unique<LightningSegment>(p0_, bend, width_);
    right_ = std::make_unique<LightningSegment>(bend, p1_, width_);
}

void LightningSegment::draw(KTRenderer& renderer) const {
    if (!isLeaf()) {
        left_->draw(renderer);
        right_->draw(renderer);
        return;
    }
    const CGPoint along = CGPointNormalize(CGPointSub(p1_, p0_));
    if (along == CGPointZero) return;
    const CGPoint side = CGPointScale({-along.y, along.x}, width_);
    renderer.drawQuad(
        {{CGPointAdd(p0_, side), CGPointAdd(p1_, side), CGPointSub(p1_, side), CGPointSub(p0_, side)}});
}

void LightningSegment::clear() {
    left_.reset();
    right_.reset();
}

const KTClass& KTLightning::staticClass() {
    static const KTClass& cls = KTClass::define<KTLightning>("KTLightning", KTNode::staticClass());
    return cls;
}
KT_REGISTER_CLASS(KTLightning);

void KTLightning::setAttributes(const XMLAttributes& attributes) {
    KTNode::setAttributes(attributes);
    if (const std::string* file = attributes.find("filename")) {
        imageData_ = KTResourceManager::shared().getImage(*file);
    }
    const std::string* x2 = attributes.find("x2");
    const std::string* y2 = attributes.find("y2");
    if (x2 && y2) position2_ = {realOf(*x2), realOf(*y2)};
    if (const std::string* period = attributes.find("rebuild_period")) rebuildPeriod_ = realOf(*period);
    if (const std::string* amp = attributes.find("amp")) amp_ = realOf(*amp);
    if (const std::string* deg = attributes.find("deg")) deg_ = realOf(*deg);
    if (const std::string* width = attributes.find("width")) width_ = realOf(*width);
    if (const std::string* iterations = attributes.find("iterations")) {
        iterations_ =
            static_cast<int>(std::clamp<std::int64_t>(KTLeadingInteger(*iterations), 0, kMostIterations));
    }
    if (const std::string* absolute = attributes.find("absolute"))
        absolutePositions_ = KTBoolFromText(*absolute);
}

void KTLightning::onEnterStage() {
    if (isOnStage()) return;
    root_ = std::make_unique<LightningSegment>(CGPointZero, CGPointZero, 0.0f);
    rebuild();
    scheduleUpdate();
    KTNode::onEnterStage();
}

void KTLightning::rebuild() {
    if (!root_) return;
    root_->clear();
    root_->setP0(absolutePositions_ ? absolutePosition() : position());
    root_->setP1(position2_);
    root_->setWidth(0.5f * width_);
    t_ = 0;
    for (int i = 0; i < std::min(iterations_, kMostIterations); ++i)
        root_->split(amp_, deg_);
}

void KTLightning::update(float dt) {
    t_ += dt;
    if (t_ >= rebuildPeriod_) rebuild();
}

void KTLightning::draw() {
    KTRenderer* renderer = render();
    if (!renderer || !root_) return;
    if (absolutePositions_) {
        renderer->push();
        renderer->identity();
    }
    renderer->pushColor();
    if (imageData_) setSize(imageData_->size());
    renderer->setImageData(imageData_.get());
    root_->draw(*renderer);
    renderer->popColor();
    if (absolutePositions_) renderer->pop();
}

}  // namespace kt

#include "engine/actions/KTAffineAnimation.h"

#include <cmath>
#include <limits>

#include "engine/core/KTRenderer.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTTextValues.h"
#include "engine/core/XMLElement.h"

namespace kt {
namespace {

// Damaged data must not put a value that is not a number into the renderer's matrix.
float finiteFloat(const std::string& text) {
    const double value = KTLeadingReal(text);
    const bool representable = std::isfinite(value) && std::fabs(value) <= std::numeric_limits<float>::max();
    return representable ? static_cast<float>(value) : 0.0f;
}

void readFloat(const XMLAttributes& attributes, std::string_view name, float& out) {
    if (const std::string* text = attributes.find(name)) out = finiteFloat(*text);
}

}  // namespace

KTAffineAnimationKey KTAffineAnimationKey::fromAttributes(const XMLAttributes& attributes) {
    KTAffineAnimationKey key;
    readFloat(attributes, "t", key.t);
    readFloat(attributes, "angle", key.angle);
    readFloat(attributes, "move_x", key.move.x);
    readFloat(attributes, "move_y", key.move.y);
    readFloat(attributes, "scale", key.scale.x);
    readFloat(attributes, "scale", key.scale.y);
    readFloat(attributes, "scale_x", key.scale.x);
    readFloat(attributes, "scale_y", key.scale.y);
    if (const std::string* text = attributes.find("color")) key.color = KTMakeColorFromCString(*text);
    return key;
}

KTAffineAnimation::KTAffineAnimation(std::vector<KTAffineAnimationKey> keys, bool loop) : loop_(loop) {
    for (const auto& key : keys)
        addKey(key);
}

std::shared_ptr<KTAffineAnimation> KTAffineAnimation::affineAnimationFromFile(const std::string& path) {
    const auto root = KTResourceManager::shared().getXML(path);
    return root ? affineAnimationFromXMLElement(*root) : nullptr;
}

std::shared_ptr<KTAffineAnimation> KTAffineAnimation::affineAnimationFromXMLElement(
    const XMLElement& element) {
    auto animation = std::make_shared<KTAffineAnimation>();
    animation->loadFromXMLElement(element);
    return animation;
}

void KTAffineAnimation::loadFromXMLElement(const XMLElement& element) {
    if (const std::string* loop = element.attribute("loop")) loop_ = KTBoolFromText(*loop);
    for (const XMLElement& child : element.children()) {
        if (child.name() == "key") addKey(KTAffineAnimationKey::fromAttributes(child.attributes()));
    }
}

void KTAffineAnimation::addKey(const KTAffineAnimationKey& key) {
    keys_.push_back(key);
    if (key.t > length_) length_ = key.t;
}

void KTAffineAnimation::apply(KTRenderer& render, float time, CGPoint pivot) const {
    const std::optional<Frame> frame = frameAt(effectiveTime(time));
    if (!frame) return;
    render.translate(frame->move);
    render.translate(pivot);
    render.rotate(frame->angle);
    render.scale(frame->scale);
    render.translate({-pivot.x, -pivot.y});
    render.multColor(frame->color);
}

float KTAffineAnimation::effectiveTime(float time) const {
    if (time < length_) return time;
    // An animation whose keys all sit at 0 has no period to wrap around.
    if (loop_ && length_ > 0) return time - length_ * std::trunc(time / length_);
    return length_;
}

std::optional<KTAffineAnimation::Frame> KTAffineAnimation::frameAt(float time) const {
    for (std::size_t i = 0; i + 1 < keys_.size(); ++i) {
        const KTAffineAnimationKey& a = keys_[i];
        const KTAffineAnimationKey& b = keys_[i + 1];
        if (a.t > time || time > b.t) continue;
        // Two keys at the same time are a jump; at that time the later one shows.
        const float span = b.t - a.t;
        const float f = span > 0 ? (time - a.t) / span : 1.0f;
        return Frame{CGPointLerp(a.move, b.move, f), CGPointLerp(a.scale, b.scale, f),
                     a.angle + (b.angle - a.angle) * f, KTLerpColor(a.color, b.color, f)};
    }
    return std::nullopt;
}

}  // namespace kt

#include "engine/actions/KTAffineAnimationNode.h"

#include "engine/actions/KTAffineAnimation.h"
#include "engine/core/KTRenderer.h"

namespace kt {

const KTClass& KTAffineAnimationNode::staticClass() {
    static const KTClass& cls =
        KTClass::define<KTAffineAnimationNode>("KTAffineAnimationNode", KTNode::staticClass());
    return cls;
}
KT_REGISTER_CLASS(KTAffineAnimationNode);

void KTAffineAnimationNode::setAttributes(const XMLAttributes& attributes) {
    KTNode::setAttributes(attributes);
    if (const std::string* file = attributes.find("filename")) {
        setAffineAnimation(KTAffineAnimation::affineAnimationFromFile(*file));
    }
}

void KTAffineAnimationNode::loadFromXMLElement(const XMLElement& element) {
    KTNode::loadFromXMLElement(element);
    if (!affineAnimation()) setAffineAnimation(KTAffineAnimation::affineAnimationFromXMLElement(element));
}

void KTAffineAnimationNode::onEnterStage() {
    t_ = 0;
    scheduleUpdate();
    KTNode::onEnterStage();
}

void KTAffineAnimationNode::onExitStage() {
    removeAllChildren();
    KTNode::onExitStage();
}

void KTAffineAnimationNode::reset() {
    t_ = 0;
    KTNode::reset();
}

void KTAffineAnimationNode::update(float dt) {
    t_ += dt;
    const auto& animation = affineAnimation();
    if (animation && !animation->loop() && t_ > animation->length() && parent()) parent()->removeChild(this);
}

void KTAffineAnimationNode::visit() {
    if (!visible()) return;
    draw();
    KTRenderer* renderer = render();
    if (!hasChildren() || !renderer) return;
    renderer->push();
    renderer->pushColor();
    if (const auto& animation = affineAnimation()) animation->apply(*renderer, t_, {w() * 0.5f, h() * 0.5f});
    renderer->translate(position());
    // Like every node, the node's colour tints its children.
    renderer->multColor(color());
    for (std::size_t i = 0; i < children().count(); ++i) {
        if (const Ref child = children().objectAtIndex(i)) child->visit();
    }
    renderer->popColor();
    renderer->pop();
}

}  // namespace kt

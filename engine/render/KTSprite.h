#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/core/KTNode.h"

namespace kt {

class KTAnimation;

// Plays one of its named frame animations at a time; only the current one is a child, so only it updates
// and draws. A finished animation hands over to "default". Sprite files are scene files whose "animation"
// elements become the sprite's animations.
class KTSprite : public KTNode {
public:
    KT_CLASS(KTSprite)

    static std::shared_ptr<KTSprite> sprite() { return node<KTSprite>(); }

    // Animations are stored by name (replacing one of the same name) instead of becoming children.
    using KTNode::addChild;
    void addChild(Ref child) override;
    // Restarts the current animation when it has that name; an unknown name changes nothing.
    void setAnimation(const std::string& name);
    void setAnimationIfDefault(const std::string& name);
    void animationFinished() { setAnimation("default"); }
    std::string currentAnimationName() const;
    std::vector<std::string> animationNames() const;
    const std::shared_ptr<KTAnimation>& currentAnimation() const { return currentAnimation_; }

    void onEnterStage() override;
    void onExitStage() override;
    void reset() override { setAnimation("default"); }

private:
    std::shared_ptr<KTAnimation> currentAnimation_;
    std::map<std::string, std::shared_ptr<KTAnimation>, std::less<>> animations_;
};

}  // namespace kt

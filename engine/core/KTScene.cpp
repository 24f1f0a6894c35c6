#include "engine/core/KTScene.h"

#include <algorithm>
#include <cstdint>

#include "engine/core/KTAudioControl.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTResourceManager.h"
#include "engine/core/KTState.h"
#include "engine/core/KTTextValues.h"

namespace kt {
namespace {

// Sliders hand over their value, 0..1, as text; the audio takes 0..10000.
int audioVolume(const std::string& text) {
    const std::int64_t volume = KTClampToInteger(KTLeadingReal(text) * KTAudioControl::kFullVolume);
    return static_cast<int>(std::clamp<std::int64_t>(volume, 0, KTAudioControl::kFullVolume));
}

}  // namespace

const KTClass& KTScene::staticClass() {
    static const KTClass& cls =
        KTClass::define<KTScene>("KTScene", KTNode::staticClass())
            .operation("setSoundVolumeStr:", &KTScene::setSoundVolumeStr)
            .operation("setMusicVolumeStr:", &KTScene::setMusicVolumeStr)
            .operation("setFocusByName:", &KTScene::setFocusByName)
            .operation("showPopup:",
                       [](KTObject& scene, const KTArgument& argument) -> KTObjectRef {
                           if (const auto* path = std::get_if<std::string>(&argument)) {
                               static_cast<KTScene&>(scene).showPopup(*path);
                           }
                           return nullptr;
                       })
            .operation("closePopup", &KTScene::closePopup)
            .operation("removePopup", &KTScene::removePopup);
    return cls;
}
KT_REGISTER_CLASS(KTScene);

KTScene::KTScene() {
    setSize(KTDirector::shared().size());
}

void KTScene::registerName(const std::string& name, Ref node) {
    // The scene holds its registry, so registering itself would keep it alive forever.
    if (node.get() == this) return;
    names_[name] = std::move(node);
}

KTNode::Ref KTScene::getChildByName(std::string_view name) const {
    const auto found = names_.find(name);
    if (found != names_.end()) return found->second;
    return KTNode::getChildByName(name);
}

void KTScene::removeAllChildren() {
    KTNode::removeAllChildren();
    names_.clear();
}

void KTScene::setFocus(Ref node) {
    if (focus_) focus_->onUnfocus();
    focus_ = std::move(node);
    if (focus_) focus_->onFocus();
}

void KTScene::setUnderMouse(Ref node) {
    if (underMouse_) underMouse_->onExitStage();
    underMouse_ = std::move(node);
    if (!underMouse_) return;
    underMouse_->moveTo(mousePosition_);
    underMouse_->onEnterStage();
}

void KTScene::setCurrentTooltip(Ref tooltip) {
    showTooltip(std::move(tooltip), false);
}

void KTScene::replaceCurrentTooltipWith(Ref tooltip) {
    showTooltip(std::move(tooltip), true);
}

void KTScene::showTooltip(Ref tooltip, bool immediately) {
    if (currentTooltip_) {
        currentTooltip_->setState("default", 0);
        currentTooltip_->onExitStage();
    }
    currentTooltip_ = std::move(tooltip);
    if (!currentTooltip_) return;
    currentTooltip_->setState("default", 0);
    currentTooltip_->moveTo(mousePosition_);
    if (isOnStage()) currentTooltip_->onEnterStage();
    if (immediately) {
        currentTooltip_->setState("visible", 0);
    } else {
        currentTooltip_->setState("visible");
    }
}

bool KTScene::showPopup(const std::string& path) {
    if (!KTResourceManager::shared().getXML(path)) return false;
    if (currentPopup_) {
        popupQueue_.push_back(path);
        return true;
    }
    currentPopup_ = nodeFromFile(path);
    addChild(currentPopup_);
    currentPopup_->setState("initial", 0);
    currentPopup_->setState("default");
    KTLog("showPopup: %@", path);
    return true;
}

void KTScene::closePopup() {
    if (currentPopup_) currentPopup_->setState("closing");
}

void KTScene::removePopup() {
    KTLog("removePopup");
    if (const Ref popup = std::move(currentPopup_)) removeChild(popup.get());
    // A queued file that went bad meanwhile is passed over, so the queue never stalls.
    while (!currentPopup_ && !popupQueue_.empty()) {
        const std::string next = std::move(popupQueue_.front());
        popupQueue_.pop_front();
        showPopup(next);
    }
}

void KTScene::setSoundVolumeStr(const std::string& volume) {
    if (KTAudioControl* audio = KTDirector::shared().audio()) audio->setSoundVolume(audioVolume(volume));
}

void KTScene::setMusicVolumeStr(const std::string& volume) {
    if (KTAudioControl* audio = KTDirector::shared().audio()) audio->setMusicVolume(audioVolume(volume));
}

void KTScene::setState(const std::string& name, float seconds, bool overrideChildren) {
    KTNode::setState(name, seconds, overrideChildren);
    if (currentState()) return;
    auto state = std::make_shared<KTState>();
    state->name = name;
    state->loadFromNode(*this);
    addState(state);
    setCurrentState(state.get());
}

void KTScene::onEnterStage() {
    KTNode::onEnterStage();
    if (underMouse_) underMouse_->onEnterStage();
}

void KTScene::drawAfterChildren() {
    if (underMouse_) {
        underMouse_->moveTo(mousePosition_);
        underMouse_->visit();
    }
    if (currentTooltip_) {
        const CGSize tooltipSize = currentTooltip_->size();
        const bool pastRightEdge = mousePosition_.x + tooltipSize.width > w();
        const CGPoint offset{pastRightEdge ? -tooltipSize.width : 0, -tooltipSize.height};
        currentTooltip_->moveTo(CGPointAdd(mousePosition_, offset));
        currentTooltip_->visit();
    }
}

CGPoint KTScene::pointForMouseFocus(CGPoint point) const {
    const KTNode* parent = mouseFocus_->parent();
    return parent ? CGPointSub(point, parent->absolutePosition()) : point;
}

void KTScene::mouseMove(CGPoint point) {
    mousePosition_ = point;
    if (mouseFocus_ && mouseFocus_->parent()) {
        const Ref target = mouseFocus_;
        target->mouseMove(pointForMouseFocus(point));
    } else {
        KTNode::mouseMove(point);
    }
}

void KTScene::buttonDown(ButtonName button, CGPoint point) {
    if (const Ref target = mouseFocus_) {
        target->buttonDown(button, pointForMouseFocus(point));
    } else {
        KTNode::buttonDown(button, point);
    }
}

void KTScene::buttonUp(ButtonName button, CGPoint point) {
    if (const Ref target = mouseFocus_) {
        target->buttonUp(button, pointForMouseFocus(point));
    } else {
        KTNode::buttonUp(button, point);
    }
}

void KTScene::keyDown(ButtonName button) {
    if (const Ref target = focus_) {
        target->keyDown(button);
    } else {
        KTNode::keyDown(button);
    }
}

void KTScene::keyUp(ButtonName button) {
    if (const Ref target = focus_) {
        target->keyUp(button);
    } else {
        KTNode::keyUp(button);
    }
}

void KTScene::textInput(const std::string& text) {
    if (const Ref target = focus_) {
        target->textInput(text);
    } else {
        KTNode::textInput(text);
    }
}

}  // namespace kt

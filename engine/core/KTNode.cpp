#include "engine/core/KTNode.h"

#include <cstdint>
#include <vector>

#include "engine/core/KTActionRunner.h"
#include "engine/core/KTDataSource.h"
#include "engine/core/KTDirector.h"
#include "engine/core/KTLog.h"
#include "engine/core/KTMessage.h"
#include "engine/core/KTNotificationCenter.h"
#include "engine/core/KTRenderer.h"
#include "engine/core/KTScene.h"
#include "engine/core/KTScheduler.h"
#include "engine/core/KTState.h"
#include "engine/core/KTStateAnimator.h"

namespace kt {

const KTClass& KTNode::staticClass() {
    static const KTClass& cls =
        KTClass::define<KTNode>("KTNode", KTObject::staticClass())
            .operation("reset", &KTNode::reset)
            .operation("setText:", &KTNode::setText)
            .operation("scheduleUpdate", &KTNode::scheduleUpdate)
            .operation("unscheduleUpdate", &KTNode::unscheduleUpdate)
            .operation("stopAllActions", &KTNode::stopAllActions)
            .operation("setState:", static_cast<void (KTNode::*)(const std::string&)>(&KTNode::setState));
    return cls;
}
KT_REGISTER_CLASS(KTNode);

KTNode::KTNode() : render_(KTDirector::shared().renderer()) {}

KTNode::~KTNode() {
    KTNotificationCenter::shared().removeObserver(this);
    for (const Ref& child : children_)
        child->parent_ = nullptr;
}

// Tree

void KTNode::addChild(Ref child) {
    if (!child) return;
    children_.removeObject(child.get());
    if (child->parent_) child->parent_->removeChild(child.get());
    children_.addObject(child);
    child->parent_ = this;
    if (isOnStage_) child->onEnterStage();
    if (child->layered_) hasLayeredChildren_ = true;
    if (child->layer_ > maxChildLayer_) setMaxChildLayer(child->layer_);
}

void KTNode::addChild(Ref child, std::string name) {
    if (!child) return;
    child->setName(std::move(name));
    addChild(std::move(child));
}

void KTNode::leaveParentOf(KTNode& child) {
    if (hoverChild_.lock().get() == &child) {
        child.mouseLeave();
        hoverChild_.reset();
    }
}

void KTNode::removeChild(KTNode* child) {
    if (!child || (child->parent_ != this && !hasChild(child))) return;
    const Ref keepAlive = child->sharedAs<KTNode>();
    leaveParentOf(*child);
    child->onExitStage();
    children_.removeObject(child);
    child->parent_ = nullptr;
}

void KTNode::removeAllChildren() {
    while (const Ref last = children_.lastObject())
        removeChild(last.get());
}

void KTNode::replaceChild(KTNode* old, Ref replacement) {
    if (!replacement) return;
    if (replacement->parent_) replacement->parent_->removeChild(replacement.get());
    const std::size_t index = old ? children_.indexOfObject(old) : KTArray<KTNode>::kNotFound;
    if (index != KTArray<KTNode>::kNotFound) {
        const Ref keepAlive = children_.objectAtIndex(index);
        leaveParentOf(*old);
        children_.replaceObjectAtIndex(index, replacement);
        old->parent_ = nullptr;
        old->onExitStage();
    } else {
        children_.addObject(replacement);
    }
    replacement->parent_ = this;
    if (isOnStage_) replacement->onEnterStage();
    if (replacement->layered_) hasLayeredChildren_ = true;
    if (replacement->layer_ > maxChildLayer_) setMaxChildLayer(replacement->layer_);
}

KTNode::Ref KTNode::getChildByName(std::string_view name) const {
    if (tooltip_ && name == "tooltip") return tooltip_;
    for (const Ref& child : children_) {
        if (child->name_ == name) return child;
    }
    return nullptr;
}

KTNode::Ref KTNode::getChildByClass(const KTClass& cls) const {
    for (const Ref& child : children_) {
        if (child->isKindOf(cls)) return child;
    }
    return nullptr;
}

KTNode* KTNode::getParentOfClass(const KTClass& cls) const {
    for (KTNode* ancestor = parent_; ancestor; ancestor = ancestor->parent_) {
        if (ancestor->isKindOf(cls)) return ancestor;
    }
    return nullptr;
}

KTNode::Ref KTNode::getParentChildWithName(std::string_view name) const {
    for (KTNode* ancestor = parent_; ancestor; ancestor = ancestor->parent_) {
        if (Ref found = ancestor->getChildByName(name)) return found;
    }
    return nullptr;
}

std::shared_ptr<KTScene> KTNode::scene() {
    if (auto cached = scene_.lock()) return cached;
    if (!parent_) return nullptr;
    auto inherited = parent_->scene();
    if (inherited) setScene(inherited);
    return inherited;
}

void KTNode::setScene(const std::shared_ptr<KTScene>& scene) {
    scene_ = scene;
    if (scene && !name_.empty()) scene->registerName(name_, sharedAs<KTNode>());
    for (std::size_t i = 0; i < children_.count(); ++i) {
        if (const Ref child = children_.objectAtIndex(i)) child->setScene(scene);
    }
}

CGPoint KTNode::absolutePosition() const {
    return parent_ ? CGPointAdd(parent_->absolutePosition(), position_) : position_;
}

CGPoint KTNode::absoluteCenter() const {
    return CGPointAdd(absolutePosition(), {size_.width * 0.5f, size_.height * 0.5f});
}

void KTNode::setBackgroundColor(Color color) {
    backgroundColor_ = color;
    drawBackground_ = true;
}

KTRenderer* KTNode::render() const {
    return render_.lock().get();
}

void KTNode::setLayer(int layer) {
    layer_ = layer;
    if (layer > maxChildLayer_) setMaxChildLayer(layer);
}

void KTNode::setMaxChildLayer(int layer) {
    maxChildLayer_ = layer;
    if (parent_ && parent_->layered_ && layer > parent_->maxChildLayer_) parent_->setMaxChildLayer(layer);
}

// Life cycle

void KTNode::onEnterStage() {
    isOnStage_ = true;
    if (!name_.empty()) {
        if (auto owner = scene()) owner->registerName(name_, sharedAs<KTNode>());
    }
    if (pendingBindings_) resolvePendingBindings();
    for (std::size_t i = 0; i < children_.count(); ++i) {
        if (const Ref child = children_.objectAtIndex(i)) child->onEnterStage();
    }
}

void KTNode::onExitStage() {
    if (!isOnStage_) return;
    isOnStage_ = false;
    for (std::size_t i = 0; i < children_.count(); ++i) {
        if (const Ref child = children_.objectAtIndex(i)) child->onExitStage();
    }
    stopAllActions();
    unscheduleUpdate();
}

void KTNode::reset() {
    for (std::size_t i = 0; i < children_.count(); ++i) {
        if (const Ref child = children_.objectAtIndex(i)) child->reset();
    }
}

void KTNode::scheduleUpdate() {
    KTScheduler::shared().scheduleUpdateFor(sharedAs<KTNode>());
}

void KTNode::unscheduleUpdate() {
    KTScheduler::shared().unscheduleUpdateFor(sharedAs<KTNode>());
}

void KTNode::runAction(std::shared_ptr<KTAction> action) {
    if (KTActionRunner* runner = KTDirector::shared().actionRunner())
        runner->runAction(std::move(action), *this);
}

void KTNode::stopAllActions() {
    if (KTActionRunner* runner = KTDirector::shared().actionRunner()) runner->stopAllActions(*this);
}

// Drawing

void KTNode::visit() {
    if (!visible_) return;
    if (layered_) {
        visitLayered();
    } else if (children_.empty()) {
        draw();
        drawAfterChildren();
    } else {
        draw();
        visitChildren([](KTNode& child) { child.visit(); });
        drawAfterChildren();
    }
    removeAutoremovedChildren();
}

void KTNode::visitChildren(auto&& visitChild) {
    KTRenderer* renderer = render();
    const bool translated = position_.x != 0 || position_.y != 0;
    if (renderer) {
        if (translated) {
            renderer->push();
            renderer->translate(position_);
        }
        renderer->pushColor();
        renderer->multColor(color_);
    }
    for (std::size_t i = 0; i < children_.count(); ++i) {
        if (const Ref child = children_.objectAtIndex(i)) visitChild(*child);
    }
    if (renderer) {
        renderer->popColor();
        if (translated) renderer->pop();
    }
}

void KTNode::visitLayered() {
    if (!visible_) return;
    for (int layer = layer_; layer <= maxChildLayer_; ++layer)
        visitLayer(layer);
    drawAfterLayeredChildren();
}

void KTNode::visitLayer(int layer) {
    if (!visible_) return;
    if (layer_ == layer) {
        draw();
        if (!children_.empty()) {
            visitChildren([layer](KTNode& child) {
                if (child.layered_) {
                    child.visitLayer(layer);
                } else {
                    child.visit();
                }
            });
        }
        drawAfterChildren();
    } else if (!children_.empty() && hasLayeredChildren_) {
        visitChildren([layer](KTNode& child) {
            if (child.layered_) child.visitLayer(layer);
        });
    }
}

void KTNode::removeAutoremovedChildren() {
    std::vector<Ref> finished;
    for (const Ref& child : children_) {
        if (child->autoremove_ && !child->enabled_ && child->children_.empty()) finished.push_back(child);
    }
    for (const Ref& child : finished)
        removeChild(child.get());
}

// Input

bool KTNode::hitTest(CGPoint point) const {
    if (!hitTest_) return false;
    const bool inside = position_.x <= point.x && point.x <= position_.x + size_.width &&
                        position_.y <= point.y && point.y <= position_.y + size_.height;
    if (!inside || !childHitTest_) return inside;
    const CGPoint local = CGPointSub(point, position_);
    for (const Ref& child : children_) {
        if (child->enabled_ && child->hitTest(local)) return true;
    }
    return false;
}

void KTNode::setHoverChild(const Ref& child) {
    const Ref previous = hoverChild_.lock();
    if (previous == child) return;
    if (previous) previous->mouseLeave();
    hoverChild_ = child;
    if (child) child->mouseEnter();
}

void KTNode::mouseMove(CGPoint point) {
    const CGPoint local = CGPointSub(point, position_);
    Ref found;
    for (std::size_t i = children_.count(); i-- > 0;) {
        const Ref& child = *(children_.begin() + static_cast<std::ptrdiff_t>(i));
        if (child->enabled_ && child->visible_ && child->hitTest(local)) {
            found = child;
            break;
        }
    }
    setHoverChild(found);
    if (found && hoverChild_.lock() == found) found->mouseMove(local);
}

void KTNode::forwardToHoverChild(auto&& call) {
    const Ref child = hoverChild_.lock();
    if (child && child->enabled_) call(*child);
}

void KTNode::buttonDown(ButtonName button, CGPoint point) {
    const CGPoint local = CGPointSub(point, position_);
    forwardToHoverChild([&](KTNode& child) { child.buttonDown(button, local); });
}

void KTNode::buttonUp(ButtonName button, CGPoint point) {
    const CGPoint local = CGPointSub(point, position_);
    forwardToHoverChild([&](KTNode& child) { child.buttonUp(button, local); });
}

void KTNode::keyDown(ButtonName button) {
    forwardToHoverChild([&](KTNode& child) { child.keyDown(button); });
}

void KTNode::keyUp(ButtonName button) {
    forwardToHoverChild([&](KTNode& child) { child.keyUp(button); });
}

void KTNode::textInput(const std::string& text) {
    forwardToHoverChild([&](KTNode& child) { child.textInput(text); });
}

void KTNode::mouseEnter() {
    callHandler("on_enter");
    if (tooltip_) {
        if (auto owner = scene()) owner->setCurrentTooltip(tooltip_);
    }
}

void KTNode::mouseLeave() {
    if (const Ref child = hoverChild_.lock()) {
        hoverChild_.reset();
        child->mouseLeave();
    }
    callHandler("on_leave");
    if (tooltip_) {
        if (auto owner = scene()) owner->setCurrentTooltip(nullptr);
    }
}

// Handlers

void KTNode::setHandlerByDefinition(const std::string& definition, const std::string& event) {
    handlers_[event] = std::make_shared<KTMessage>(definition, fileBeingLoaded());
}

void KTNode::callHandler(const std::string& event) {
    const auto found = handlers_.find(event);
    if (found == handlers_.end()) return;
    KTLog("calling %@ message: %@", event, found->second->description());
    KTDirector::shared().addMessage(found->second);
}

void KTNode::setDataSource(const std::shared_ptr<KTDataSource>& source) {
    dataSource_.bind(source, "", [this](const KTNotification&) { dataSourceChanged(false); });
    if (source) dataSourceChanged(true);
}

void KTNode::setEnableDataSource(const std::shared_ptr<KTDataSource>& source) {
    enableDataSource_.bind(source, KTDataSource::kChangedNotification, [this](const KTNotification&) {
        if (auto provider = enableDataSource_.source()) setEnabled(provider->boolValue());
    });
    if (source) setEnabled(source->boolValue());
}

// States

void KTNode::addState(std::shared_ptr<KTState> state) {
    if (!state) return;
    const std::string name = state->name;
    states_[name] = std::move(state);
}

std::shared_ptr<KTState> KTNode::stateNamed(std::string_view name) const {
    const auto found = states_.find(name);
    return found == states_.end() ? nullptr : found->second;
}

void KTNode::setTransitionTime(const std::string& from, const std::string& to, float seconds) {
    transitionTimes_[from + "-" + to] = seconds;
}

void KTNode::setState(const std::string& name) {
    const std::string from = currentState_ ? currentState_->name : "default";
    const auto found = transitionTimes_.find(from + "-" + name);
    if (found != transitionTimes_.end()) {
        setState(name, found->second, true);
    } else {
        setState(name, 0.5f, false);
    }
}

void KTNode::setState(const std::string& name, float seconds, bool overrideChildren) {
    const std::shared_ptr<KTState> state = stateNamed(name);
    if (state && state.get() != currentState_) {
        currentState_ = state.get();
        stopAllActions();
        if (KTStateAnimator* animator = KTDirector::shared().stateAnimator())
            animator->animate(*this, *state, seconds);
    }
    if (stateStop_) return;
    for (std::size_t i = 0; i < children_.count(); ++i) {
        const Ref child = children_.objectAtIndex(i);
        if (!child) continue;
        if (overrideChildren) {
            child->setState(name, seconds, true);
        } else {
            child->setState(name);
        }
    }
}

std::string KTNode::description() const {
    const auto identity = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(this));
    return KTFormat("<%@: %08X | name: %@>", className(), identity, name_);
}

}  // namespace kt

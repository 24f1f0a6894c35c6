#include "engine/controls/KTButton.h"

#include <array>

#include "engine/controls/KTControlLook.h"

namespace kt {
namespace {

constexpr std::array<std::string_view, 4> kLooks = {"default", "active", "pressed", "disabled"};

}  // namespace

const KTClass& KTButton::staticClass() {
    static const KTClass& cls = KTClass::define<KTButton>("KTButton", KTNode::staticClass());
    return cls;
}
KT_REGISTER_CLASS(KTButton);

KTButton::KTButton() {
    setStateStop(true);
}

void KTButton::showIdleLook() {
    KTShowOnlyLooks(*this, kLooks, {enabled() ? "default" : "disabled"});
}

void KTButton::reset() {
    KTNode::reset();
    showIdleLook();
}

void KTButton::setEnabled(bool enabled) {
    if (enabled == this->enabled()) return;
    KTNode::setEnabled(enabled);
    showIdleLook();
}

// A button loaded disabled shows so from the start.
void KTButton::onEnterStage() {
    KTNode::onEnterStage();
    showIdleLook();
}

void KTButton::mouseEnter() {
    KTShowOnlyLooks(*this, kLooks, {"active"});
    KTNode::mouseEnter();
}

void KTButton::mouseLeave() {
    showIdleLook();
    KTNode::mouseLeave();
}

void KTButton::buttonDown(ButtonName button, CGPoint point) {
    KTShowOnlyLooks(*this, kLooks, {"pressed"});
    callHandler("on_mouse_down");
    KTNode::buttonDown(button, point);
}

void KTButton::buttonUp(ButtonName button, CGPoint point) {
    KTShowOnlyLooks(*this, kLooks, {"active"});
    callHandler("on_click");
    startEffect(kClickEffect);
    KTNode::buttonUp(button, point);
}

}  // namespace kt
